#include "demo_session.h"

#include <chrono>
#include <ctime>
#include <deque>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "plugin_process.h"
#include "process/program.h"

namespace demo {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr size_t ScreenLine = 150;
constexpr int ReplyWaitMs = 120000;
constexpr auto ConversionWait = std::chrono::seconds(60);

std::string OneScreenLine(const std::string& text) {
  return text.size() <= ScreenLine ? text : text.substr(0, ScreenLine - 4) + " ...";
}

std::string TimeOfDay() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  std::ostringstream text;
  text << std::put_time(&local, "%H:%M:%S");
  return text.str();
}

// Turns each drawn page into a PNG while the session goes on, a few at a time.
class Conversions {
 public:
  void Start(const fs::path& svg) {
    if (running_.size() == AtOnce) WaitForOldest();
    try {
      running_.push_back({svg, proc::Program::Start({"rsvg-convert", svg.string(), "-o",
                                                     fs::path(svg).replace_extension(".png").string()})});
    } catch (const std::exception& failure) {
      std::cerr << "Cannot turn " << svg.string() << " into a PNG: " << failure.what() << "\n";
    }
  }
  void Finish() {
    while (!running_.empty()) WaitForOldest();
  }

 private:
  static constexpr size_t AtOnce = 3;
  void WaitForOldest() {
    auto& [svg, conversion] = running_.front();
    if (conversion.Wait(ConversionWait) != 0) std::cerr << "rsvg-convert failed on " << svg.string() << "\n";
    fs::remove(svg);
    running_.pop_front();
  }

  std::deque<std::pair<fs::path, proc::Program>> running_;
};

// Follows the director's output: its echo of each request ("> ..."), the replies (by `seq`, the
// request's number) and the plug-in's events.
class Follower {
 public:
  Follower(const Script& script, std::ostream& transcript) : requests_(script.Requests()), transcript_(transcript) {}

  void Take(const std::string& line) {
    transcript_ << line << "\n";
    if (line.starts_with("> ")) return Sent(line);
    const Json message = Json::parse(line, nullptr, false);
    if (!message.is_object()) return Print(line);
    if (message.contains("event")) return Print("  " + OneScreenLine(line));
    const int64_t seq = message.value("seq", int64_t{0});
    if (seq < 1 || seq > static_cast<int64_t>(requests_.size())) return Print(line);
    Replied(requests_[static_cast<size_t>(seq - 1)], message, line);
  }
  int Polls() const { return polls_; }
  void FinishConversions() { conversions_.Finish(); }

 private:
  void Sent(const std::string& line) {
    if (sent_ >= requests_.size()) return Print(line);
    const Request& request = requests_[sent_++];
    if (!request.heading.empty()) Print("\n" + request.heading);
    if (request.shown == Shown::Line || request.shown == Shown::LogLines) Print(OneScreenLine(line));
  }

  void Replied(const Request& request, const Json& reply, const std::string& line) {
    if (!reply.value("ok", false)) {
      Print(line);
    } else {
      switch (request.shown) {
        case Shown::Line: Print("  " + OneScreenLine(line)); break;
        case Shown::Quiet: break;
        case Shown::RoomReading: room_ = reply["control"].value("Text", std::string("?")); break;
        case Shown::PollCount: CountPoll(reply.value("matched", 0)); break;
        case Shown::Drawing: conversions_.Start(reply.value("path", std::string())); break;
        case Shown::LogLines:
          for (const auto& logLine : reply["lines"]) Print("  " + logLine.get<std::string>());
          break;
      }
    }
    if (!request.note.empty()) Print(request.note);
  }

  // The journal was emptied before the last second of the clock; one poll fits in a second.
  void CountPoll(int valuesRead) {
    if (valuesRead == 0) return;
    ++polls_;
    Print("  poll " + std::to_string(polls_) + " at " + TimeOfDay() + ": " + std::to_string(valuesRead) +
          " values read from the unit; the Status page shows the room at " + room_ + " F");
  }

  static void Print(const std::string& text) { std::cout << text << "\n" << std::flush; }

  const std::vector<Request>& requests_;
  std::ostream& transcript_;
  size_t sent_ = 0;
  int polls_ = 0;
  std::string room_ = "?";
  Conversions conversions_;
};

}  // namespace

void Script::Heading(std::string text) { heading_ = std::move(text); }

void Script::Send(std::string line, Shown shown, std::string note) {
  text_ += line + "\n";
  requests_.push_back({std::move(line), std::move(heading_), std::move(note), shown});
  heading_.clear();
}

void Script::Expect(const std::string& check) { text_ += "expect " + check + "\n"; }

Outcome RunDirector(const Script& script, const Programs& programs, const fs::path& scriptFile,
                    const fs::path& transcript) {
  std::ofstream(scriptFile) << script.Text();
  std::ofstream transcriptFile(transcript);
  std::vector<std::string> arguments = programs.directorOptions;
  arguments.push_back(programs.plugIn.string());
  arguments.push_back(scriptFile.string());
  Follower follower(script, transcriptFile);
  director::PluginProcess director(programs.director.string(), arguments);
  director.CloseInput();
  std::string line;
  while (director.ReadLine(line, ReplyWaitMs) == director::PluginProcess::Read::Line) follower.Take(line);
  director.WaitForEnd(ReplyWaitMs);
  follower.FinishConversions();
  return {director.EndedWell(), follower.Polls()};
}

}  // namespace demo
