#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A director's session as the demo runs it: the script, built line by line with what the demo
// shows of each request, and the director run on it, its output followed line by line.
namespace demo {

// What the demo shows of a request and its reply; a failed reply is always shown whole.
enum class Shown {
  Line,         // the request and its reply, cut to one screen line
  Quiet,        // nothing
  RoomReading,  // nothing; the room temperature the window shows, for the next poll's line
  PollCount,    // a progress line when the journal shows that the window polled the unit
  Drawing,      // nothing; the drawn page is turned into a PNG
  LogLines,     // the request, then each log line of its reply
};

struct Request {
  std::string line;
  std::string heading;  // printed before the request goes out
  std::string note;     // printed when its reply has come
  Shown shown = Shown::Line;
};

class Script {
 public:
  // The heading goes before the next request.
  void Heading(std::string text);
  void Send(std::string line, Shown shown = Shown::Line, std::string note = "");
  void Expect(const std::string& check);
  const std::string& Text() const { return text_; }
  const std::vector<Request>& Requests() const { return requests_; }

 private:
  std::vector<Request> requests_;
  std::string text_;
  std::string heading_;
};

struct Outcome {
  bool directorEndedWell = false;
  int polls = 0;
};

struct Programs {
  std::filesystem::path director;
  std::filesystem::path plugIn;
  std::vector<std::string> directorOptions;
};

// Runs `director [options] PLUG-IN SCRIPT` on the script (kept in `scriptFile`), prints what the
// script says to show as the director's output comes, and keeps that output whole in
// `transcript`. Each drawn page is turned into a PNG beside its SVG, which is then removed.
Outcome RunDirector(const Script& script, const Programs& programs, const std::filesystem::path& scriptFile,
                    const std::filesystem::path& transcript);

}  // namespace demo
