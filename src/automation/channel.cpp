#include "automation/channel.h"

#include <exception>

#include "automation/protocol_error.h"

namespace automation {
namespace {

Json ErrorFields(const rt::Error& error) {
  return {{"number", error.Number()}, {"source", error.Source()}, {"description", error.Description()}};
}

}  // namespace

std::string LineText(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

Channel::Channel() {
  AddVerb("verbs", "lists the verbs with a short help text", [this](const Request&) { return ListVerbs(); });
}

void Channel::AddVerb(std::string name, std::string help, VerbHandler handler) {
  verbs_.insert_or_assign(std::move(name), Verb{std::move(help), std::move(handler)});
}

std::optional<std::string> Channel::Execute(std::string_view line) {
  if (IsBlankOrComment(line)) return std::nullopt;
  Json reply = {{"seq", ++lastSeq_}};
  try {
    const Json body = ParseRequestLine(line);
    reply["verb"] = body["verb"];
    if (body.contains("id")) reply["id"] = body["id"];
    Json fields = Run(body);
    reply["ok"] = true;
    if (fields.is_object()) reply.update(fields);
  } catch (...) {
    reply["ok"] = false;
    reply["error"] = ErrorFields(rt::AsError(std::current_exception()));
  }
  if (waitingProbe_ && waitingProbe_()) reply["waiting"] = true;
  return LineText(reply);
}

std::string Channel::RefuseLine(const std::string& reason) {
  const rt::Error refusal(rt::err::InvalidProcedureCall, std::string(ChannelErrorSource), "Malformed request: " + reason);
  return LineText({{"seq", ++lastSeq_}, {"ok", false}, {"error", ErrorFields(refusal)}});
}

void Channel::Notify(const Json& event) {
  // The number of the line being run, so a director can tell which request the event belongs to.
  Json line = {{"seq", lastSeq_}};
  line.update(event);
  if (eventSink_) eventSink_(LineText(line));
}

Json Channel::Run(const Json& body) {
  const Request request(body);
  const auto name = request.Verb();
  const auto verb = verbs_.find(name);
  if (verb == verbs_.end()) RaiseUnknown("verb", name);
  // Copied: a handler may replace verbs while it runs.
  const VerbHandler handler = verb->second.handler;
  return handler(request);
}

Json Channel::ListVerbs() const {
  Json list = Json::object();
  for (const auto& [name, verb] : verbs_) list[name] = verb.help;
  return {{"verbs", list}};
}

}  // namespace automation
