#pragma once

#include <cstdint>
#include <string>

namespace lns {

// Fault injection for tests and scripts. Objects are named by a pattern that matches an object
// when it is "*", the object's whole path, the end of its path after a "/" (as
// "NetworkVariable:nviSetpoint"), or its type name (as "AppDevice", every device).

enum class Repeat { Once, Always };

// The next call (Once) or every call (Always) of `member` on a matching object raises
// `errorNumber` before the member does anything.
void FailMember(const std::string& objectPattern, const std::string& member, int32_t errorNumber,
                Repeat repeat = Repeat::Always);

enum class OpenTarget { ObjectServer, Network, EngineeredSystem };
// `Open` of the Object Server, of any network, or of a system that opens in engineered mode
// (attachment without a network interface) raises `errorNumber`; other opens succeed.
void FailOpen(OpenTarget target, int32_t errorNumber, Repeat repeat = Repeat::Always);

// ResourceFile.Open of the resource catalog reports `status` instead of opening the file.
void FailResourceFileOpen(int32_t status, Repeat repeat = Repeat::Always);

// A format change (DsFormatType, FormatName) on a matching point is refused silently: the call
// succeeds and the point keeps its format.
void RefuseFormatChanges(const std::string& pointPattern, bool refuse = true);

// While set, every system reports ManagementMode 1 (OffNet), whatever is written to it.
void KeepOffNet(bool keep);
bool OffNetKept();

// A matching device stops answering: every call that talks to the device raises
// err::DeviceNotResponding.
void SetDeviceResponding(const std::string& devicePattern, bool responding);

// Removes every fault.
void ClearFaults();

}  // namespace lns
