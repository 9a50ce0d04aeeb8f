#pragma once

#include <cstdint>
#include <deque>
#include <exception>
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

// How a verb's request runs beside the others.
enum class VerbKind {
  Other,       // runs when taken, inside the wait of an earlier request too
  ObjectCall,  // a director's call is synchronous: taken while another call runs, it waits until that one returns
};

// The server side of the line protocol: a table of verbs, each turning one request line into
// one reply. Layers above add their own verbs; a verb added again replaces the old one.
class Channel {
 public:
  Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  void AddVerb(std::string name, std::string help, VerbHandler handler, VerbKind kind = VerbKind::Other);

  // The reply line to one request line, run now ({"seq":n,"ok":true,...} or {"seq":n,"ok":false,
  // "error":{...}}); nothing for a blank line or a comment. Never throws.
  std::optional<std::string> Execute(std::string_view line);

  // Takes a request line as it arrives and writes its reply to the output: an object call taken
  // while another runs waits, in order of arrival, and runs when that one has returned, never
  // inside it; any other request runs at once. Blank lines and comments are skipped.
  void Take(std::string_view line);
  // A line that cannot even be taken (e.g. one over the length limit) gets its error reply.
  void Refuse(const std::string& reason);
  // The process ends now (a request's work ended it): the requests running are answered first,
  // the innermost first, with {"ok":true,"ending":true}; the calls waiting, and every request taken
  // from now on, with error 5 "Not run: the process ended". Nothing else is replied or run.
  void End();
  // No request runs or waits.
  bool Idle() const noexcept { return running_.empty() && waitingCalls_.empty(); }
  // Object calls taken that wait for the call running.
  size_t WaitingCalls() const noexcept { return waitingCalls_.size(); }
  // Runs `then` once, as soon as the channel is idle (at once when it is).
  void WhenIdle(std::function<void()> then);

  ObjectTable& Objects() noexcept { return objects_; }

  // Where the replies of taken requests and the unsolicited lines go, one line each. An event,
  // such as a message box that waits for its answer, carries the "seq" of the request last taken.
  void SetOutput(std::function<void(const std::string&)> output) { output_ = std::move(output); }
  void Notify(const Json& event);
  // Tells whether the process waits for an answer (a question is open); replies given meanwhile
  // carry "waiting":true, so a director knows the line that opened the question is still running.
  void SetWaitingProbe(std::function<bool()> probe) { waitingProbe_ = std::move(probe); }

  // What a request did, for the reply that says the process ends: `mark` is taken as each request
  // starts, and `fields` gives, from its mark, what that reply carries besides "ending" (the
  // calls the request made: the last ones the process makes, which no later request can ask for).
  struct EndingTrace {
    std::function<int64_t()> mark;
    std::function<Json(int64_t)> fields;
  };
  void SetEndingTrace(EndingTrace trace) { endingTrace_ = std::move(trace); }

 private:
  struct Verb {
    std::string help;
    VerbHandler handler;
    VerbKind kind;
  };
  // A request line numbered as it was taken; `failure` when it could not be read.
  struct Taken {
    int64_t seq;
    Json body;
    std::exception_ptr failure;
  };
  // A request that runs now (requests nest while a question waits for its answer).
  struct Running {
    Json reply;  // seq, verb and id
    bool answered = false;
    int64_t mark = 0;  // the ending trace's, as it started
  };
  Taken Read(std::string_view line);
  bool IsObjectCall(const Taken& request) const;
  // Runs the request, then, for a call, every call that came meanwhile, one after the other.
  void RunInTurn(Taken request);
  std::optional<std::string> Run(const Taken& request);
  Json Dispatch(const Json& body);
  void ReplyNotRun(const Taken& request);
  void Output(const std::string& line);
  void NoteIfIdle();
  Json ListVerbs() const;

  std::map<std::string, Verb, std::less<>> verbs_;
  ObjectTable objects_;
  std::function<void(const std::string&)> output_;
  std::function<bool()> waitingProbe_;
  EndingTrace endingTrace_;
  std::function<void()> whenIdle_;
  int64_t lastSeq_ = 0;
  std::vector<Running> running_;
  std::deque<Taken> waitingCalls_;
  bool callRunning_ = false;
  bool ending_ = false;
};

// JSON text of one line: invalid UTF-8 in a text (a byte string from the system) is replaced,
// not fatal.
std::string LineText(const Json& json);

}  // namespace automation
