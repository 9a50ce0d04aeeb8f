#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "expectation.h"
#include "plugin_process.h"

namespace director {

// Exit codes of the director.
enum ExitCode : int {
  Success = 0,
  ExpectationFailed = 1,
  UsageError = 2,
  PluginEnded = 3,  // the plug-in ended before the script did, or ended badly
  NoReply = 4,
};

struct SessionOptions {
  int replyTimeoutMs = 60000;  // 0: wait for ever
  bool echo = true;            // print each sent line before its replies
  bool stopOnFailure = true;   // a script stops at its first failed expectation
  // At a terminal: the input's file descriptor. While the person types, what the plug-in says is
  // shown at once, and its end stops the session.
  int idleInputFd = -1;
  // The machine folder the plug-in works on, named when it finds its class unregistered, with the
  // ProgIDs registered there (none when not given).
  std::string machineFolder;
  std::function<std::vector<std::string>()> registeredProgIds;
};

// Runs the lines of a script (or of a terminal) against the plug-in: sends protocol lines,
// prints what comes back, checks `expect` lines against the last reply.
class Session {
 public:
  Session(PluginProcess& plugin, std::ostream& out, std::ostream& diagnostics, SessionOptions options);
  ExitCode Run(std::istream& lines, const std::string& sourceName);

 private:
  enum class Wait { Done, InputWanted, Ended, TimedOut };
  std::optional<ExitCode> Step(const std::string& line);
  std::optional<ExitCode> Expect(const std::string& line);
  std::optional<ExitCode> Send(const std::string& line);
  // The line did not reach the plug-in, or got no reply, because the plug-in has ended.
  ExitCode LineLost(std::string_view what);
  Wait AwaitReplies();
  void AwaitEnd();
  void WatchWhileIdle(std::istream& lines);
  void Take(const std::string& line);
  void ExplainFailure(const Json& reply);
  void NoteEnd();
  ExitCode Finish();
  void Fail(const std::string& message);

  PluginProcess& plugin_;
  std::ostream& out_;
  std::ostream& diagnostics_;
  SessionOptions options_;
  std::string where_;
  int64_t sent_ = 0;
  int64_t received_ = 0;
  bool latestAnswered_ = false;  // the latest line sent has its reply
  bool inputWanted_ = false;     // the plug-in waits for an answer to a question
  bool ended_ = false;
  bool failed_ = false;
  std::optional<Json> lastReply_;
};

}  // namespace director
