#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "lns/calls/errors.h"
#include "runtime/variant.h"

namespace lns {

// Fault injection for tests and scripts. Objects are named by a pattern that matches an object
// when it is "*", the object's whole path, the end of its path after a "/" (as
// "NetworkVariable:nviSetpoint"), or its type name (as "AppDevice", every device).
//
// Each fault is given an id, by which it can be removed on its own (ClearFault).

using FaultId = int64_t;

enum class Repeat { Once, Always };

// The error a fault raises: its number, and the description the error shows (empty: the
// stand-in's own text for the number, with what the call was).
struct FaultError {
  // Not explicit: a number alone is the usual fault.
  FaultError(int32_t errorNumber, std::string errorDescription = {})
      : number(errorNumber), description(std::move(errorDescription)) {}
  int32_t number;
  std::string description;
};

// Narrows a member fault to one kind of call (the Get of a property and not its Let) and to one
// list of arguments, as the journal writes them (ArgumentText: "\"nviSetpoint\"").
struct MemberCall {
  std::optional<rt::Object::CallKind> kind;
  std::optional<std::string> arguments;
};

// The next call (Once) or every call (Always) of `member` on a matching object raises `error`
// before the member does anything.
FaultId FailMember(const std::string& objectPattern, const std::string& member, FaultError error,
                   Repeat repeat = Repeat::Always, MemberCall only = {});

enum class OpenTarget { ObjectServer, Network, EngineeredSystem };
// `Open` of the Object Server, of any network, or of a system that opens in engineered mode
// (attachment without a network interface) raises `error`; other opens succeed. A second
// engineered-mode fault replaces the first.
FaultId FailOpen(OpenTarget target, FaultError error, Repeat repeat = Repeat::Always);

// A format change (DsFormatType, FormatName) on a matching point is refused silently: the call
// succeeds and the point keeps its format. Undone with refuse = false (then no id: 0).
FaultId RefuseFormatChanges(const std::string& pointPattern, bool refuse = true);

// While set, every system reports ManagementMode 1 (OffNet), whatever is written to it.
FaultId KeepOffNet(bool keep);
bool OffNetKept();

// A matching device stops answering: every call that talks to the device raises
// err::DeviceNotResponding. Undone with responding = true (then no id: 0).
FaultId SetDeviceResponding(const std::string& devicePattern, bool responding);

// The calls of the resource catalog.
enum class CatalogCall {
  CatalogOpen,
  CatalogFind,
  CatalogAddDirectory,
  CatalogUpdate,
  CatalogClose,
  FileOpen,
  FileClose,
  ProfileFind,
};
// "ResourceCatalog.Find", ...; nothing for another text (letter case ignored).
std::optional<CatalogCall> CatalogCallNamed(const std::string& name);
const char* CatalogCallName(CatalogCall call);
// False for the catalog's own calls (Open, AddDirectory, Update, Close), which concern no
// program ID or scope: a fault that names either never meets them.
bool ConcernsProgramId(CatalogCall call);

// A catalog call that meets the fault either is not carried out and reports `status` (its
// outputs as they are when a call fails), or raises `error`. It meets the fault when it concerns
// the program ID (a look-up of resources that serve it, a resource file that serves it; empty:
// any), the scope (a look-up at that scope, a file of that scope; none: any), the resource file
// (`file`: its path, or the end of its path after a "/", letter case ignored; empty: any) and the
// type index of a functional profile's look-up (none: any).
struct CatalogFault {
  CatalogCall call = CatalogCall::CatalogFind;
  std::string programId;
  std::optional<int16_t> scope;
  std::optional<int32_t> status;
  FaultError error{err::InjectedFault};  // raised when no status is given
  Repeat repeat = Repeat::Always;
  std::string file{};
  std::optional<int16_t> typeIndex{};
  // A look-up reports this file found, with status 0 (a path relative to the catalog's types
  // folder, or a whole path).
  std::string foundFile{};
};
// Whether a fault of the call can name a resource file, and a type index.
bool ConcernsFile(CatalogCall call);
bool ConcernsTypeIndex(CatalogCall call);
FaultId FailCatalogCall(CatalogFault fault);

// Removes one fault; false when there is none of that id (a Once fault that was used up).
bool ClearFault(FaultId id);
// Removes every fault.
void ClearFaults();

// What the objects and the catalog ask of the fault rules while they run a call.

// The object a call is made on, as the patterns match it: its type name, and its path, which is
// built only when a pattern asks for it.
struct CallTarget {
  std::string typeName;
  std::function<std::string()> path;
};

// The error an injected member fault raises now (a Once rule is used up by the answer).
std::optional<FaultError> TakeMemberFault(const CallTarget& target, std::string_view member, rt::Object::CallKind kind,
                                         std::string_view arguments);
std::optional<FaultError> TakeEngineeredOpenFault();
bool FormatChangeRefused(const CallTarget& point);
bool DeviceResponding(const CallTarget& device);

// Raises a fault's error: with its own description, or with the stand-in's text and `detail`.
[[noreturn]] void RaiseFault(const FaultError& error, const std::string& detail);

// What a catalog call concerns: the program IDs it serves (a look-up's, or a resource file's
// template at its scope; nothing when unknown), that scope, the resource file it names and the
// type index it looks up. The catalog's own calls concern none of these.
struct CatalogSubject {
  std::function<bool(const std::string& programId)> serves;
  std::optional<int16_t> scope;
  std::string file;
  std::optional<int16_t> typeIndex;
};
// The fault a catalog call meets now (a Once rule is used up by the answer).
std::optional<CatalogFault> TakeCatalogFault(CatalogCall call, const CatalogSubject& subject);

}  // namespace lns
