#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "automation/by_name.h"
#include "automation/lns_verbs.h"
#include "automation/protocol_error.h"
#include "lns/calls/errors.h"
#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "lns/catalog/catalog.h"

namespace automation {
namespace {

lns::Repeat RepeatOf(const Request& request) {
  constexpr std::array<Named<lns::Repeat>, 2> repeats = {
      {{"once", lns::Repeat::Once}, {"always", lns::Repeat::Always}}};
  return ByName(repeats, request, "repeat", "repeat", std::optional(lns::Repeat::Always));
}

lns::FaultError ErrorOf(const Request& request) {
  const int32_t number = request.Int("error", lns::err::InjectedFault);
  if (number == 0) RaiseMalformed("\"error\" must not be 0");
  return {number, request.OptionalText("description").value_or("")};
}

std::string NonEmptyText(const Request& request, std::string_view field, std::optional<std::string> fallback = {}) {
  const std::string text = fallback && !request.Has(field) ? *fallback : request.Text(field);
  if (text.empty()) RaiseMalformed("\"" + std::string(field) + "\" must not be empty");
  return text;
}

std::string ObjectPattern(const Request& request) { return NonEmptyText(request, "object", "*"); }

// The arguments as the journal writes them, so that a fault names a call as the journal shows it.
std::optional<std::string> ArgumentsOf(const Request& request, const ObjectTable& objects) {
  if (!request.Has("args")) return std::nullopt;
  const Json& list = request.Field("args");
  if (!list.is_array()) RaiseWrongType("args", "a list of values");
  std::vector<rt::Variant> arguments;
  for (const Json& item : list) arguments.push_back(DecodeVariant(item, objects, "args"));
  return lns::ArgumentText(arguments);
}

std::optional<rt::Object::CallKind> CallKindOf(const Request& request) {
  using K = rt::Object::CallKind;
  constexpr std::array<Named<K>, 4> kinds = {
      {{"Get", K::Get}, {"Let", K::Let}, {"Set", K::Set}, {"Method", K::Method}}};
  if (!request.Has("callKind")) return std::nullopt;
  return ByName(kinds, request, "callKind", "call kind");
}

lns::FaultId FailMemberFault(const Request& request, const ObjectTable& objects) {
  return lns::FailMember(NonEmptyText(request, "object"), NonEmptyText(request, "member"), ErrorOf(request),
                         RepeatOf(request), {CallKindOf(request), ArgumentsOf(request, objects)});
}

lns::FaultId FailOpenFault(const Request& request, const ObjectTable&) {
  constexpr std::array<Named<lns::OpenTarget>, 3> targets = {{{"server", lns::OpenTarget::ObjectServer},
                                                              {"network", lns::OpenTarget::Network},
                                                              {"engineered", lns::OpenTarget::EngineeredSystem}}};
  return lns::FailOpen(ByName(targets, request, "target", "open target"), ErrorOf(request), RepeatOf(request));
}

lns::FaultId RefuseFormatFault(const Request& request, const ObjectTable&) {
  return lns::RefuseFormatChanges(ObjectPattern(request), request.Flag("on", true));
}

lns::FaultId OffNetFault(const Request& request, const ObjectTable&) {
  return lns::KeepOffNet(request.Flag("on", true));
}

lns::FaultId NotRespondingFault(const Request& request, const ObjectTable&) {
  return lns::SetDeviceResponding(ObjectPattern(request), !request.Flag("on", true));
}

std::optional<int16_t> CatalogScope(const Request& request) {
  if (!request.Has("scope")) return std::nullopt;
  const int64_t scope = request.WholeNumber("scope");
  if (scope < 0 || scope > 6) RaiseWrongType("scope", "a resource scope from 0 to 6");
  return static_cast<int16_t>(scope);
}

std::string CatalogProgramId(const Request& request) {
  const std::string programId = request.OptionalText("programId").value_or("");
  if (!programId.empty() && !lns::IsProgramIdText(programId)) RaiseWrongType("programId", "16 hexadecimal digits");
  return programId;
}

std::optional<int16_t> CatalogTypeIndex(const Request& request) {
  if (!request.Has("typeIndex")) return std::nullopt;
  const int64_t typeIndex = request.WholeNumber("typeIndex");
  if (typeIndex < INT16_MIN || typeIndex > INT16_MAX) RaiseWrongType("typeIndex", "a 16-bit whole number");
  return static_cast<int16_t>(typeIndex);
}

std::string CatalogFile(const Request& request) {
  if (!request.Has("file")) return {};
  const std::string file = NonEmptyText(request, "file");
  if (file.find('\0') != std::string::npos) RaiseWrongType("file", "a file name without NUL");
  return file;
}

// A look-up's file is the one it reports found; every other call's is the one it meets.
void TakeFile(lns::CatalogFault& fault, const Request& request) {
  if (fault.call != lns::CatalogCall::CatalogFind) {
    fault.file = CatalogFile(request);
    return;
  }
  fault.foundFile = CatalogFile(request);
  if (fault.foundFile.empty()) return;
  if (request.Has("status") || request.Has("error") || request.Has("description")) {
    RaiseMalformed("a file found has status 0 and raises nothing");
  }
  fault.status = lns::catalog_status::Success;
}

// A fault that could never meet its call would look injected and change nothing.
void RequireReachable(const lns::CatalogFault& fault, const std::string& name) {
  if ((!fault.programId.empty() || fault.scope) && !lns::ConcernsProgramId(fault.call)) {
    RaiseMalformed(name + " concerns no program ID or scope");
  }
  if (!fault.file.empty() && !lns::ConcernsFile(fault.call)) {
    RaiseMalformed(name + " concerns no resource file");
  }
  if (fault.typeIndex && !lns::ConcernsTypeIndex(fault.call)) RaiseMalformed(name + " concerns no type index");
}

lns::FaultId FailCatalogFault(const Request& request, const ObjectTable&) {
  const std::string name = request.Text("call");
  const auto call = lns::CatalogCallNamed(name);
  if (!call) RaiseUnknown("catalog call", name);
  if (request.Has("status") && (request.Has("error") || request.Has("description"))) {
    RaiseMalformed("give \"status\" or \"error\", not both");
  }
  lns::CatalogFault fault;
  fault.call = *call;
  fault.programId = CatalogProgramId(request);
  fault.scope = CatalogScope(request);
  fault.typeIndex = CatalogTypeIndex(request);
  fault.error = ErrorOf(request);
  fault.repeat = RepeatOf(request);
  if (request.Has("status")) fault.status = request.Int("status");
  TakeFile(fault, request);
  RequireReachable(fault, name);
  return lns::FailCatalogCall(std::move(fault));
}

using FaultSetter = lns::FaultId (*)(const Request&, const ObjectTable&);

Json InjectFault(const Request& request, const ObjectTable& objects) {
  constexpr std::array<Named<FaultSetter>, 6> kinds = {{{"member", FailMemberFault},
                                                        {"open", FailOpenFault},
                                                        {"refuse-format", RefuseFormatFault},
                                                        {"offnet", OffNetFault},
                                                        {"not-responding", NotRespondingFault},
                                                        {"catalog", FailCatalogFault}}};
  const lns::FaultId id = ByName(kinds, request, "kind", "fault kind")(request, objects);
  return id == 0 ? Json::object() : Json{{"fault", id}};
}

// The fault's number travels as "fault": a request's "id" is the channel's own, which its reply repeats.
Json ClearFaults(const Request& request) {
  if (!request.Has("fault")) {
    lns::ClearFaults();
    return Json::object();
  }
  return {{"cleared", lns::ClearFault(request.WholeNumber("fault"))}};
}

}  // namespace

void AddFaultVerbs(Channel& channel) {
  const ObjectTable& objects = channel.Objects();
  channel.AddVerb("fault",
                  "kind=member|open|refuse-format|offnet|not-responding|catalog ...: injects a fault; replies its number",
                  [&objects](const Request& r) { return InjectFault(r, objects); });
  channel.AddVerb("faults-clear", "[fault=N]: removes the fault of that number, or every fault", ClearFaults);
}

}  // namespace automation
