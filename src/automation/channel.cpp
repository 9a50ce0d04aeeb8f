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
  running_.push_back({Json{{"seq", ++lastSeq_}}});
  Json fields;
  try {
    const Json body = ParseRequestLine(line);
    running_.back().reply["verb"] = body["verb"];
    if (body.contains("id")) running_.back().reply["id"] = body["id"];
    const Json result = Run(body);
    fields = {{"ok", true}};
    if (result.is_object()) fields.update(result);
  } catch (...) {
    fields = {{"ok", false}, {"error", ErrorFields(rt::AsError(std::current_exception()))}};
  }
  // Requests that nested inside this one have finished: this one is the innermost again.
  Running finished = std::move(running_.back());
  running_.pop_back();
  if (finished.answered) return std::nullopt;
  Json reply = std::move(finished.reply);
  reply.update(fields);
  if (waitingProbe_ && waitingProbe_()) reply["waiting"] = true;
  return LineText(reply);
}

std::vector<std::string> Channel::EndingReplies() {
  std::vector<std::string> replies;
  for (auto request = running_.rbegin(); request != running_.rend(); ++request) {
    if (request->answered) continue;
    request->answered = true;
    Json reply = request->reply;
    reply["ok"] = true;
    reply["ending"] = true;
    replies.push_back(LineText(reply));
  }
  return replies;
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
