#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/object_table.h"
#include "automation/request.h"

namespace automation {

// A verb's work: reads its request, returns the reply's fields, raises rt::Error on failure.
using VerbHandler = std::function<Json(const Request&)>;

// The server side of the line protocol: a table of verbs, each turning one request line into
// one reply. Layers above add their own verbs; a verb added again replaces the old one.
class Channel {
 public:
  Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  void AddVerb(std::string name, std::string help, VerbHandler handler);

  // The reply line to one request line ({"seq":n,"ok":true,...} or {"seq":n,"ok":false,
  // "error":{...}}); nothing for a blank line or a comment. Never throws.
  std::optional<std::string> Execute(std::string_view line);

  // The error reply to a line that cannot even be taken (e.g. one over the length limit).
  std::string RefuseLine(const std::string& reason);

  // The process ends in the middle of requests (their work ended it): their replies now, the
  // innermost first, each {"ok":true,"ending":true}. Those requests give no other reply.
  std::vector<std::string> EndingReplies();

  ObjectTable& Objects() noexcept { return objects_; }

  // Unsolicited lines, such as a message box that waits for its answer, go to the sink, with the
  // "seq" of the request line last taken.
  void SetEventSink(std::function<void(const std::string&)> sink) { eventSink_ = std::move(sink); }
  void Notify(const Json& event);
  // Tells whether the process waits for an answer (a question is open); replies given meanwhile
  // carry "waiting":true, so a director knows the line that opened the question is still running.
  void SetWaitingProbe(std::function<bool()> probe) { waitingProbe_ = std::move(probe); }

 private:
  struct Verb {
    std::string help;
    VerbHandler handler;
  };
  // A request that runs now (requests nest while a question waits for its answer).
  struct Running {
    Json reply;  // seq, verb and id
    bool answered = false;
  };
  Json Run(const Json& body);
  Json ListVerbs() const;

  std::map<std::string, Verb, std::less<>> verbs_;
  ObjectTable objects_;
  std::function<void(const std::string&)> eventSink_;
  std::function<bool()> waitingProbe_;
  int64_t lastSeq_ = 0;
  std::vector<Running> running_;
};

// JSON text of one line: invalid UTF-8 in a text (a byte string from the system) is replaced,
// not fatal.
std::string LineText(const Json& json);

}  // namespace automation
