#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"

// What the objects ask of the journal and the fault rules while they run a member.
namespace lns {

class Node;

int64_t AppendJournal(JournalEntry entry);
void MarkJournalFailure(int64_t sequence, int32_t errorNumber);
void MarkJournalStatus(int64_t sequence, int32_t status);

// The error an injected member fault raises now (a Once rule is used up by the answer).
std::optional<FaultError> TakeMemberFault(const Node& node, std::string_view member, rt::Object::CallKind kind,
                                         std::string_view arguments);
std::optional<FaultError> TakeEngineeredOpenFault();
bool FormatChangeRefused(const Node& point);
bool DeviceResponding(const Node& device);

// Raises a fault's error: with its own description, or with the stand-in's text and `detail`.
[[noreturn]] void RaiseFault(const FaultError& error, const std::string& detail);

// What a catalog call concerns: the program IDs that a template serves at a scope (a look-up's
// arguments, a resource file's header; no scope when unknown), the resource file it names and the
// type index it looks up. The catalog's own calls concern none of these.
struct CatalogSubject {
  std::string programIdTemplate;
  std::optional<int16_t> scope;
  std::string file;
  std::optional<int16_t> typeIndex;
};
// The fault a catalog call meets now (a Once rule is used up by the answer).
std::optional<CatalogFault> TakeCatalogFault(CatalogCall call, const CatalogSubject& subject);

}  // namespace lns
