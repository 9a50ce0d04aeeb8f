#include "automation/channel.h"

#include <exception>

#include "automation/protocol_error.h"

namespace automation {
namespace {

Json ErrorFields(const rt::Error& error) {
  return {{"number", error.Number()}, {"source", error.Source()}, {"description", error.Description()}};
}

// What a request's reply starts with: its number, verb and id.
Json Head(const Json& body, int64_t seq) {
  Json head = {{"seq", seq}};
  if (body.is_object()) {
    if (body.contains("verb")) head["verb"] = body["verb"];
    if (body.contains("id")) head["id"] = body["id"];
  }
  return head;
}

}  // namespace

std::string LineText(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

Channel::Channel() {
  const VerbHandler list = [this](const Request&) { return ListVerbs(); };
  AddVerb("verbs", "lists the verbs with a short help text", list);
  AddVerb("help", "the same as verbs", list);
}

void Channel::AddVerb(std::string name, std::string help, VerbHandler handler, VerbKind kind) {
  verbs_.insert_or_assign(std::move(name), Verb{std::move(help), std::move(handler), kind});
}

std::optional<std::string> Channel::Execute(std::string_view line) {
  if (IsBlankOrComment(line)) return std::nullopt;
  return Run(Read(line));
}

void Channel::Take(std::string_view line) {
  if (IsBlankOrComment(line)) return;
  Taken request = Read(line);
  if (ending_) {
    ReplyNotRun(request);
  } else if (callRunning_ && IsObjectCall(request)) {
    waitingCalls_.push_back(std::move(request));
  } else {
    RunInTurn(std::move(request));
  }
}

Channel::Taken Channel::Read(std::string_view line) {
  Taken request{++lastSeq_, nullptr, nullptr};
  try {
    request.body = ParseRequestLine(line);
  } catch (...) {
    request.failure = std::current_exception();
  }
  return request;
}

bool Channel::IsObjectCall(const Taken& request) const {
  if (request.failure || !request.body["verb"].is_string()) return false;
  const auto verb = verbs_.find(request.body["verb"].get<std::string>());
  return verb != verbs_.end() && verb->second.kind == VerbKind::ObjectCall;
}

void Channel::RunInTurn(Taken request) {
  const bool call = IsObjectCall(request);
  callRunning_ = callRunning_ || call;
  for (;;) {
    if (auto reply = Run(request)) Output(*reply);
    if (!call || ending_ || waitingCalls_.empty()) break;
    request = std::move(waitingCalls_.front());
    waitingCalls_.pop_front();
  }
  if (call) callRunning_ = false;
  NoteIfIdle();
}

std::optional<std::string> Channel::Run(const Taken& request) {
  running_.push_back({Head(request.body, request.seq), false, endingTrace_.mark ? endingTrace_.mark() : 0});
  Json fields;
  try {
    if (request.failure) std::rethrow_exception(request.failure);
    const Json result = Dispatch(request.body);
    fields = {{"ok", true}};
    if (result.is_object()) fields.update(result);
  } catch (...) {
    fields = {{"ok", false}, {"error", ErrorFields(rt::AsError(std::current_exception()))}};
  }
  // Requests that ran inside this one have finished: this one is the innermost again.
  Running finished = std::move(running_.back());
  running_.pop_back();
  if (finished.answered) return std::nullopt;
  Json reply = std::move(finished.reply);
  reply.update(fields);
  if (waitingProbe_ && waitingProbe_()) reply["waiting"] = true;
  return LineText(reply);
}

void Channel::End() {
  ending_ = true;
  for (auto request = running_.rbegin(); request != running_.rend(); ++request) {
    if (request->answered) continue;
    request->answered = true;
    Json reply = request->reply;
    reply["ok"] = true;
    reply["ending"] = true;
    if (endingTrace_.fields) reply.update(endingTrace_.fields(request->mark));
    Output(LineText(reply));
  }
  std::deque<Taken> notRun = std::move(waitingCalls_);
  waitingCalls_.clear();
  for (const Taken& request : notRun) ReplyNotRun(request);
}

void Channel::ReplyNotRun(const Taken& request) {
  const rt::Error notRun(rt::err::InvalidProcedureCall, std::string(ChannelErrorSource), "Not run: the process ended");
  Json reply = Head(request.body, request.seq);
  reply.update({{"ok", false}, {"ending", true}, {"error", ErrorFields(notRun)}});
  Output(LineText(reply));
}

void Channel::WhenIdle(std::function<void()> then) {
  whenIdle_ = std::move(then);
  NoteIfIdle();
}

void Channel::NoteIfIdle() {
  if (!Idle() || !whenIdle_) return;
  const auto then = std::move(whenIdle_);
  whenIdle_ = nullptr;
  then();
}

void Channel::Refuse(const std::string& reason) {
  const rt::Error refusal(rt::err::InvalidProcedureCall, std::string(ChannelErrorSource), "Malformed request: " + reason);
  Output(LineText({{"seq", ++lastSeq_}, {"ok", false}, {"error", ErrorFields(refusal)}}));
}

void Channel::Notify(const Json& event) {
  // The number of the line last taken, so a director can tell which request the event belongs to.
  Json line = {{"seq", lastSeq_}};
  line.update(event);
  Output(LineText(line));
}

void Channel::Output(const std::string& line) {
  if (output_) output_(line);
}

Json Channel::Dispatch(const Json& body) {
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
