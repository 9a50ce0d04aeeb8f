#include <array>
#include <cstdint>
#include <optional>

#include "automation/by_name.h"
#include "automation/lns_verbs.h"
#include "automation/protocol_error.h"
#include "lns/catalog.h"
#include "lns/errors.h"
#include "lns/faults.h"

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

lns::FaultId FailMemberFault(const Request& request) {
  return lns::FailMember(NonEmptyText(request, "object"), NonEmptyText(request, "member"), ErrorOf(request),
                         RepeatOf(request));
}

lns::FaultId FailOpenFault(const Request& request) {
  constexpr std::array<Named<lns::OpenTarget>, 3> targets = {{{"server", lns::OpenTarget::ObjectServer},
                                                              {"network", lns::OpenTarget::Network},
                                                              {"engineered", lns::OpenTarget::EngineeredSystem}}};
  return lns::FailOpen(ByName(targets, request, "target", "open target"), ErrorOf(request), RepeatOf(request));
}

lns::FaultId RefuseFormatFault(const Request& request) {
  return lns::RefuseFormatChanges(ObjectPattern(request), request.Flag("on", true));
}

lns::FaultId OffNetFault(const Request& request) { return lns::KeepOffNet(request.Flag("on", true)); }

lns::FaultId NotRespondingFault(const Request& request) {
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

lns::FaultId FailCatalogFault(const Request& request) {
  const std::string name = request.Text("call");
  const auto call = lns::CatalogCallNamed(name);
  if (!call) RaiseUnknown("catalog call", name);
  if (request.Has("status") && (request.Has("error") || request.Has("description"))) {
    RaiseMalformed("give \"status\" or \"error\", not both");
  }
  lns::CatalogFault fault{*call, CatalogProgramId(request), CatalogScope(request), std::nullopt, ErrorOf(request),
                          RepeatOf(request)};
  if (request.Has("status")) fault.status = request.Int("status");
  // A fault that could never meet its call would look injected and change nothing.
  if ((!fault.programId.empty() || fault.scope) && !lns::ConcernsProgramId(*call)) {
    RaiseMalformed(name + " concerns no program ID or scope");
  }
  return lns::FailCatalogCall(std::move(fault));
}

using FaultSetter = lns::FaultId (*)(const Request&);

Json InjectFault(const Request& request) {
  constexpr std::array<Named<FaultSetter>, 6> kinds = {{{"member", FailMemberFault},
                                                        {"open", FailOpenFault},
                                                        {"refuse-format", RefuseFormatFault},
                                                        {"offnet", OffNetFault},
                                                        {"not-responding", NotRespondingFault},
                                                        {"catalog", FailCatalogFault}}};
  const lns::FaultId id = ByName(kinds, request, "kind", "fault kind")(request);
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
  channel.AddVerb("fault",
                  "kind=member|open|refuse-format|offnet|not-responding|catalog ...: injects a fault; replies its number",
                  InjectFault);
  channel.AddVerb("faults-clear", "[fault=N]: removes the fault of that number, or every fault", ClearFaults);
}

}  // namespace automation
