#include "session.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>

#include "runtime/error.h"

namespace director {
namespace {

bool IsBlankOrComment(const std::string& line) {
  const auto start = line.find_first_not_of(" \t\r\n");
  return start == std::string::npos || line[start] == '#';
}

}  // namespace

Session::Session(PluginProcess& plugin, std::ostream& out, std::ostream& diagnostics, SessionOptions options)
    : plugin_(plugin), out_(out), diagnostics_(diagnostics), options_(options) {}

ExitCode Session::Run(std::istream& lines, const std::string& sourceName) {
  std::string line;
  for (int number = 1;; ++number) {
    if (options_.idleInputFd >= 0) WatchWhileIdle(lines);
    if ((options_.idleInputFd >= 0 && ended_) || !std::getline(lines, line)) break;
    where_ = sourceName + ":" + std::to_string(number);
    if (const auto stop = Step(line)) return *stop;
  }
  return Finish();
}

void Session::WatchWhileIdle(std::istream& lines) {
  std::string line;
  while (!ended_ && lines.rdbuf()->in_avail() <= 0) {
    if (plugin_.HasBufferedLine()) {
      plugin_.ReadLine(line, 0);
      Take(line);
      continue;
    }
    pollfd watched[2] = {{options_.idleInputFd, POLLIN, 0}, {plugin_.OutputFd(), POLLIN, 0}};
    if (poll(watched, 2, -1) < 0 && errno != EINTR) return;
    if (watched[1].revents != 0) {
      const auto read = plugin_.ReadLine(line, 50);
      if (read == PluginProcess::Read::Line) Take(line);
      if (read == PluginProcess::Read::Ended) NoteEnd();
    }
    if (watched[0].revents != 0) return;
  }
}

std::optional<ExitCode> Session::Step(const std::string& line) {
  if (IsBlankOrComment(line)) return std::nullopt;
  if (IsExpectLine(line)) return Expect(line);
  return Send(line);
}

std::optional<ExitCode> Session::Expect(const std::string& line) {
  Expectation expectation;
  try {
    expectation = ParseExpectation(line);
  } catch (const std::invalid_argument& bad) {
    diagnostics_ << "director: " << where_ << ": cannot read this expect line: " << bad.what() << "\n";
    return UsageError;
  }
  std::optional<std::string> failure;
  if (expectation.kind == Expectation::Kind::Ended) {
    if (!ended_) AwaitEnd();
    if (!ended_) failure = "the plug-in process is still running";
  } else if (!lastReply_) {
    failure = "there is no reply yet";
  } else {
    failure = CheckReply(expectation, *lastReply_);
  }
  if (!failure) return std::nullopt;
  Fail(*failure);
  return options_.stopOnFailure ? std::optional<ExitCode>(ExpectationFailed) : std::nullopt;
}

std::optional<ExitCode> Session::Send(const std::string& line) {
  if (ended_) return LineLost("not sent");
  if (options_.echo) out_ << "> " << line << "\n" << std::flush;
  inputWanted_ = false;
  latestAnswered_ = false;
  if (!plugin_.Send(line)) {
    NoteEnd();
    return LineLost("not sent");
  }
  ++sent_;
  const Wait wait = AwaitReplies();
  if (wait == Wait::TimedOut) {
    diagnostics_ << "director: " << where_ << ": no reply within " << options_.replyTimeoutMs / 1000.0
                 << " s; the plug-in process is ended\n";
    plugin_.End();
    ended_ = true;
    return NoReply;
  }
  // A request whose work ends the plug-in is answered first: a line left without its reply means
  // the plug-in ended before the script did.
  if (wait == Wait::Ended && received_ < sent_) return LineLost("no reply");
  return std::nullopt;
}

ExitCode Session::LineLost(std::string_view what) {
  diagnostics_ << "director: " << where_ << ": " << what << ", the plug-in process has ended\n";
  return PluginEnded;
}

// Reads until every sent line has its reply, or the plug-in waits for input: a question that the
// latest line opened, or a reply to the latest line given while a question stays open.
Session::Wait Session::AwaitReplies() {
  std::string line;
  while (!ended_ && received_ < sent_ && !inputWanted_) {
    switch (plugin_.ReadLine(line, options_.replyTimeoutMs)) {
      case PluginProcess::Read::Line: Take(line); break;
      case PluginProcess::Read::Ended: NoteEnd(); return Wait::Ended;
      case PluginProcess::Read::TimedOut: return Wait::TimedOut;
    }
  }
  return inputWanted_ ? Wait::InputWanted : Wait::Done;
}

// Reads what the plug-in still says until it ends or the reply timeout passes.
void Session::AwaitEnd() {
  std::string line;
  PluginProcess::Read read;
  while ((read = plugin_.ReadLine(line, options_.replyTimeoutMs)) == PluginProcess::Read::Line) Take(line);
  if (read == PluginProcess::Read::Ended) NoteEnd();
}

void Session::Take(const std::string& line) {
  out_ << line << "\n" << std::flush;
  const Json message = Json::parse(line, nullptr, false);
  if (!message.is_object()) return;
  const bool waiting = message.value("waiting", false);
  const int64_t seq = message.value("seq", int64_t{0});
  if (message.contains("event")) {
    inputWanted_ = inputWanted_ || (waiting && seq >= sent_);
    return;
  }
  if (!message.contains("seq")) return;
  ++received_;
  lastReply_ = message;
  ExplainFailure(message);
  if (seq == sent_) latestAnswered_ = true;
  inputWanted_ = inputWanted_ || (waiting && latestAnswered_);
}

// A class that is not registered most often means a shell that chose no machine folder, or
// another one than the plug-in was registered in; else a misspelt ProgID.
void Session::ExplainFailure(const Json& reply) {
  const Json error = reply.value("error", Json::object());
  if (!error.is_object() || error.value("number", Json()) != rt::err::ClassNotRegistered) return;
  const std::vector<std::string> registered =
      options_.registeredProgIds ? options_.registeredProgIds() : std::vector<std::string>{};
  if (registered.empty()) {
    diagnostics_ << "director: " << where_ << ": no plug-in is registered in the machine folder "
                 << options_.machineFolder << " (ORVEX_MACHINE chooses it)\n";
    return;
  }
  diagnostics_ << "director: " << where_ << ": the machine folder " << options_.machineFolder << " registers only";
  for (size_t i = 0; i < registered.size(); ++i) diagnostics_ << (i == 0 ? " " : ", ") << registered[i];
  diagnostics_ << "\n";
}

void Session::NoteEnd() {
  if (ended_) return;
  ended_ = true;
  diagnostics_ << "director: the plug-in process ended (" << plugin_.WaitForEnd(options_.replyTimeoutMs) << ")\n";
}

ExitCode Session::Finish() {
  if (!ended_) {
    plugin_.CloseInput();
    std::string line;
    while (plugin_.ReadLine(line, options_.replyTimeoutMs) == PluginProcess::Read::Line) Take(line);
    const std::string end = plugin_.WaitForEnd(options_.replyTimeoutMs);
    if (!plugin_.EndedWell()) diagnostics_ << "director: the plug-in process ended (" << end << ")\n";
    ended_ = true;
  }
  if (failed_) return ExpectationFailed;
  return plugin_.EndedWell() ? Success : PluginEnded;
}

void Session::Fail(const std::string& message) {
  failed_ = true;
  diagnostics_ << "director: " << where_ << ": expectation failed: " << message << "\n";
}

}  // namespace director
