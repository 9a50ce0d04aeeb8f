#include "lns/faults.h"

#include <algorithm>
#include <vector>

#include "lns/call_hooks.h"
#include "lns/node.h"
#include "runtime/text.h"

namespace lns {
namespace {

struct MemberRule {
  std::string pattern;
  std::string member;
  int32_t error;
  Repeat repeat;
};

struct OpenRule {
  int32_t error;
  Repeat repeat;
};

struct FaultState {
  std::vector<MemberRule> members;
  std::optional<OpenRule> engineeredOpen;
  std::optional<OpenRule> resourceFileOpen;
  std::vector<std::string> refusedFormats;
  std::vector<std::string> silentDevices;
  bool keepOffNet = false;
};

FaultState& State() {
  static FaultState state;
  return state;
}

bool PatternMatches(const std::string& pattern, const Node& node) {
  if (pattern == "*" || pattern == node.TypeName()) return true;
  std::string path = node.Path();
  if (pattern == path) return true;
  std::string tail = "/" + pattern;
  return path.size() > tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}

bool AnyMatches(const std::vector<std::string>& patterns, const Node& node) {
  return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return PatternMatches(p, node); });
}

void SetPattern(std::vector<std::string>& patterns, const std::string& pattern, bool present) {
  if (!present && pattern == "*") patterns.clear();
  std::erase(patterns, pattern);
  if (present) patterns.push_back(pattern);
}

}  // namespace

void FailMember(const std::string& objectPattern, const std::string& member, int32_t errorNumber, Repeat repeat) {
  State().members.push_back({objectPattern, member, errorNumber, repeat});
}

void FailOpen(OpenTarget target, int32_t errorNumber, Repeat repeat) {
  switch (target) {
    case OpenTarget::ObjectServer:
      FailMember("ObjectServer", "Open", errorNumber, repeat);
      break;
    case OpenTarget::Network:
      FailMember("Network", "Open", errorNumber, repeat);
      break;
    case OpenTarget::EngineeredSystem:
      State().engineeredOpen = OpenRule{errorNumber, repeat};
      break;
  }
}

void FailResourceFileOpen(int32_t status, Repeat repeat) { State().resourceFileOpen = OpenRule{status, repeat}; }

void RefuseFormatChanges(const std::string& pointPattern, bool refuse) {
  SetPattern(State().refusedFormats, pointPattern, refuse);
}

void KeepOffNet(bool keep) { State().keepOffNet = keep; }
bool OffNetKept() { return State().keepOffNet; }

void SetDeviceResponding(const std::string& devicePattern, bool responding) {
  SetPattern(State().silentDevices, devicePattern, !responding);
}

void ClearFaults() { State() = FaultState{}; }

std::optional<int32_t> TakeMemberFault(const Node& node, std::string_view member) {
  auto& rules = State().members;
  for (auto it = rules.begin(); it != rules.end(); ++it) {
    if (!rt::EqualsNoCase(it->member, member) || !PatternMatches(it->pattern, node)) continue;
    int32_t error = it->error;
    if (it->repeat == Repeat::Once) rules.erase(it);
    return error;
  }
  return std::nullopt;
}

namespace {

std::optional<int32_t> TakeOpenFault(std::optional<OpenRule>& rule) {
  if (!rule) return std::nullopt;
  int32_t error = rule->error;
  if (rule->repeat == Repeat::Once) rule.reset();
  return error;
}

}  // namespace

std::optional<int32_t> TakeEngineeredOpenFault() { return TakeOpenFault(State().engineeredOpen); }

std::optional<int32_t> TakeResourceFileOpenFault() { return TakeOpenFault(State().resourceFileOpen); }

bool FormatChangeRefused(const Node& point) { return AnyMatches(State().refusedFormats, point); }

bool DeviceResponding(const Node& device) { return !AnyMatches(State().silentDevices, device); }

}  // namespace lns
