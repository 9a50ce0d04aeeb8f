#include "lns/calls/faults.h"

#include <algorithm>
#include <array>
#include <vector>

#include "runtime/text.h"

namespace lns {
namespace {

struct MemberRule {
  FaultId id;
  std::string pattern;
  std::string member;
  FaultError error;
  Repeat repeat;
  MemberCall only;
};

struct OpenRule {
  FaultId id;
  FaultError error;
  Repeat repeat;
};

struct PatternRule {
  FaultId id;
  std::string pattern;
};

struct CatalogRule {
  FaultId id;
  CatalogFault fault;
};

struct FaultState {
  FaultId lastId = 0;
  std::vector<MemberRule> members;
  std::optional<OpenRule> engineeredOpen;
  std::vector<PatternRule> refusedFormats;
  std::vector<PatternRule> silentDevices;
  std::optional<FaultId> keepOffNet;
  std::vector<CatalogRule> catalog;
};

FaultState& State() {
  static FaultState state;
  return state;
}

FaultId NewId() { return ++State().lastId; }

constexpr std::array<std::pair<CatalogCall, const char*>, 8> CatalogCallNames = {{
    {CatalogCall::CatalogOpen, "ResourceCatalog.Open"},
    {CatalogCall::CatalogFind, "ResourceCatalog.Find"},
    {CatalogCall::CatalogAddDirectory, "ResourceCatalog.AddDirectory"},
    {CatalogCall::CatalogUpdate, "ResourceCatalog.Update"},
    {CatalogCall::CatalogClose, "ResourceCatalog.Close"},
    {CatalogCall::FileOpen, "ResourceFile.Open"},
    {CatalogCall::FileClose, "ResourceFile.Close"},
    {CatalogCall::ProfileFind, "FunctionalProfileLookup.Find"},
}};

// The whole path, or its end after a "/".
bool PathNamed(std::string_view path, std::string_view name) {
  return path == name ||
         (path.size() > name.size() && path.ends_with(name) && path[path.size() - name.size() - 1] == '/');
}

bool PatternMatches(const std::string& pattern, const CallTarget& target) {
  return pattern == "*" || pattern == target.typeName || PathNamed(target.path(), pattern);
}

// Resource files are named the Windows way: either separator, letter case ignored.
std::string FileKey(std::string_view file) {
  std::string key = rt::LCase(file);
  std::replace(key.begin(), key.end(), '\\', '/');
  return key;
}

bool AnyMatches(const std::vector<PatternRule>& rules, const CallTarget& target) {
  return std::any_of(rules.begin(), rules.end(), [&](const PatternRule& rule) { return PatternMatches(rule.pattern, target); });
}

FaultId SetPattern(std::vector<PatternRule>& rules, const std::string& pattern, bool present) {
  if (!present && pattern == "*") rules.clear();
  std::erase_if(rules, [&](const PatternRule& rule) { return rule.pattern == pattern; });
  if (!present) return 0;
  rules.push_back({NewId(), pattern});
  return rules.back().id;
}

bool Concerns(const CatalogFault& fault, const CatalogSubject& subject) {
  if (fault.scope && fault.scope != subject.scope) return false;
  if (!fault.programId.empty() && !(subject.serves && subject.serves(fault.programId))) return false;
  if (!fault.file.empty() && !PathNamed(FileKey(subject.file), FileKey(fault.file))) return false;
  return !fault.typeIndex || fault.typeIndex == subject.typeIndex;
}

Repeat RepeatOf(const MemberRule& rule) { return rule.repeat; }
Repeat RepeatOf(const CatalogRule& rule) { return rule.fault.repeat; }

// Takes the first rule that `fits`; a Once rule is used up.
template <class Rule, class Fits>
std::optional<Rule> TakeRule(std::vector<Rule>& rules, Fits&& fits) {
  const auto found = std::find_if(rules.begin(), rules.end(), fits);
  if (found == rules.end()) return std::nullopt;
  Rule rule = *found;
  if (RepeatOf(rule) == Repeat::Once) rules.erase(found);
  return rule;
}

}  // namespace

FaultId FailMember(const std::string& objectPattern, const std::string& member, FaultError error, Repeat repeat,
                   MemberCall only) {
  State().members.push_back({NewId(), objectPattern, member, std::move(error), repeat, std::move(only)});
  return State().members.back().id;
}

FaultId FailOpen(OpenTarget target, FaultError error, Repeat repeat) {
  switch (target) {
    case OpenTarget::ObjectServer:
      return FailMember("ObjectServer", "Open", std::move(error), repeat);
    case OpenTarget::Network:
      return FailMember("Network", "Open", std::move(error), repeat);
    case OpenTarget::EngineeredSystem:
      break;
  }
  State().engineeredOpen = OpenRule{NewId(), std::move(error), repeat};
  return State().engineeredOpen->id;
}

FaultId RefuseFormatChanges(const std::string& pointPattern, bool refuse) {
  return SetPattern(State().refusedFormats, pointPattern, refuse);
}

FaultId KeepOffNet(bool keep) {
  State().keepOffNet = keep ? std::optional(NewId()) : std::nullopt;
  return State().keepOffNet.value_or(0);
}

bool OffNetKept() { return State().keepOffNet.has_value(); }

FaultId SetDeviceResponding(const std::string& devicePattern, bool responding) {
  return SetPattern(State().silentDevices, devicePattern, !responding);
}

std::optional<CatalogCall> CatalogCallNamed(const std::string& name) {
  for (const auto& [call, text] : CatalogCallNames) {
    if (rt::EqualsNoCase(text, name)) return call;
  }
  return std::nullopt;
}

const char* CatalogCallName(CatalogCall call) {
  for (const auto& [known, text] : CatalogCallNames) {
    if (known == call) return text;
  }
  return "";
}

bool ConcernsProgramId(CatalogCall call) {
  return call == CatalogCall::CatalogFind || call == CatalogCall::FileOpen || call == CatalogCall::FileClose ||
         call == CatalogCall::ProfileFind;
}

bool ConcernsFile(CatalogCall call) {
  return call == CatalogCall::FileOpen || call == CatalogCall::FileClose || call == CatalogCall::ProfileFind;
}

bool ConcernsTypeIndex(CatalogCall call) { return call == CatalogCall::ProfileFind; }

FaultId FailCatalogCall(CatalogFault fault) {
  State().catalog.push_back({NewId(), std::move(fault)});
  return State().catalog.back().id;
}

bool ClearFault(FaultId id) {
  FaultState& state = State();
  const auto hasId = [id](const auto& rule) { return rule.id == id; };
  const size_t removed = std::erase_if(state.members, hasId) + std::erase_if(state.refusedFormats, hasId) +
                         std::erase_if(state.silentDevices, hasId) + std::erase_if(state.catalog, hasId);
  if (removed > 0) return true;
  if (state.engineeredOpen && state.engineeredOpen->id == id) {
    state.engineeredOpen.reset();
    return true;
  }
  if (state.keepOffNet == id) {
    state.keepOffNet.reset();
    return true;
  }
  return false;
}

// Ids go on counting, so that an old id never names a new fault.
void ClearFaults() {
  const FaultId lastId = State().lastId;
  State() = FaultState{};
  State().lastId = lastId;
}

std::optional<FaultError> TakeMemberFault(const CallTarget& target, std::string_view member, rt::Object::CallKind kind,
                                         std::string_view arguments) {
  const auto rule = TakeRule(State().members, [&](const MemberRule& r) {
    const bool call = r.only.kind.value_or(kind) == kind &&
                      (!r.only.arguments || rt::EqualsNoCase(*r.only.arguments, arguments));
    return call && rt::EqualsNoCase(r.member, member) && PatternMatches(r.pattern, target);
  });
  return rule ? std::optional(rule->error) : std::nullopt;
}

std::optional<FaultError> TakeEngineeredOpenFault() {
  auto& rule = State().engineeredOpen;
  if (!rule) return std::nullopt;
  FaultError error = rule->error;
  if (rule->repeat == Repeat::Once) rule.reset();
  return error;
}

std::optional<CatalogFault> TakeCatalogFault(CatalogCall call, const CatalogSubject& subject) {
  const auto rule = TakeRule(
      State().catalog, [&](const CatalogRule& r) { return r.fault.call == call && Concerns(r.fault, subject); });
  return rule ? std::optional(rule->fault) : std::nullopt;
}

bool FormatChangeRefused(const CallTarget& point) { return AnyMatches(State().refusedFormats, point); }

bool DeviceResponding(const CallTarget& device) { return !AnyMatches(State().silentDevices, device); }

void RaiseFault(const FaultError& error, const std::string& detail) {
  if (error.description.empty()) Fail(error.number, detail);
  throw rt::Error(error.number, ErrorSource, error.description);
}

}  // namespace lns
