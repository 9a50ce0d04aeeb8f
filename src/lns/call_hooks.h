#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lns/journal.h"

// What the objects ask of the journal and the fault rules while they run a member.
namespace lns {

class Node;

int64_t AppendJournal(JournalEntry entry);
void MarkJournalFailure(int64_t sequence, int32_t errorNumber);

// The error an injected member fault raises now (a Once rule is used up by the answer).
std::optional<int32_t> TakeMemberFault(const Node& node, std::string_view member);
std::optional<int32_t> TakeEngineeredOpenFault();
// The status an injected fault gives ResourceFile.Open, if any.
std::optional<int32_t> TakeResourceFileOpenFault();
bool FormatChangeRefused(const Node& point);
bool DeviceResponding(const Node& device);

}  // namespace lns
