// Process start to the window filled after Configure, as a director sees it on the real clock:
// the plug-in started with -Embedding, its object created, the demo network opened, "Configure"
// (13) sent for the demo unit and the window shown, until the Status page shows the unit's room
// temperature. Wall time, and its parts as counters (see Requests below). The
// plug-in's end, after the measured part, is not timed (docs/performance.md).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>

#include "plugin_process.h"
#include "session.h"
#include "support/temp_machine.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ReplyTimeoutMs = 30000;
constexpr const char* DemoRoomTemperature = "73.4";

// A director's side of the line: one request, its reply. A question the plug-in asks, an error
// reply or the plug-in's end fails the run.
class DirectorLine {
 public:
  explicit DirectorLine(director::PluginProcess& plugin) : plugin_(plugin) {}

  director::Json Ask(const std::string& request) {
    if (!plugin_.Send(request)) throw std::runtime_error("the plug-in ended before: " + request);
    ++sent_;
    std::string line;
    while (plugin_.ReadLine(line, ReplyTimeoutMs) == director::PluginProcess::Read::Line) {
      const director::Json message = director::Json::parse(line, nullptr, false);
      if (!message.is_object()) continue;
      if (message.value("waiting", false)) throw std::runtime_error("the plug-in asks a question: " + line);
      if (message.contains("event") || message.value("seq", int64_t{0}) != sent_) continue;
      if (!message.value("ok", true)) throw std::runtime_error(request + " failed: " + line);
      return message;
    }
    throw std::runtime_error("no reply to: " + request);
  }

 private:
  director::PluginProcess& plugin_;
  int64_t sent_ = 0;
};

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The director's requests up to the filled window, each with the counter its time goes to: the
// process start with the object's creation, the network's opening, "Configure", and the window
// shown and found filled.
struct TimedRequest {
  const char* counter;
  const char* request;
};
constexpr TimedRequest Requests[] = {
    {"start_ms", "create progid=OrvexUC_FCU.LNSPlugInAPI"},
    {"network_ms", "let object=1 member=networkName value=\"Demo\""},
    {"configure_ms", "call object=1 member=SendCommand args=[13, 7, \"Demo/Demo/Subsystem 1/FCU 1\"]"},
    {"shown_ms", "let object=1 member=Visible value=true"},
    {"shown_ms", "query form=fMain control=txtnvoSpaceTemp index=0"},
};

// One start, up to the filled window, from `start` on; adds each request's time to its counter.
void StartToFilledWindow(DirectorLine& director, Clock::time_point start, std::map<std::string, double>& ms) {
  director::Json reply;
  for (const auto& [counter, request] : Requests) {
    reply = director.Ask(request);
    ms[counter] += MsSince(start);
    start = Clock::now();
  }
  if (reply["control"].value("Text", "") != DemoRoomTemperature) {
    throw std::runtime_error("the window shows no room temperature of the unit: " + reply.dump());
  }
}

void EndPlugIn(director::PluginProcess& plugin, DirectorLine& director) {
  director.Ask("release object=1");
  plugin.CloseInput();
  const std::string end = plugin.WaitForEnd(ReplyTimeoutMs);
  if (!plugin.EndedWell()) throw std::runtime_error("the plug-in ended badly: " + end);
}

void StartToWindow(benchmark::State& state) {
  std::map<std::string, double> ms;
  for (auto _ : state) {
    try {
      const auto start = Clock::now();
      director::PluginProcess plugin(PLUGIN_PROGRAM, {"-Embedding"});
      DirectorLine director(plugin);
      StartToFilledWindow(director, start, ms);
      state.SetIterationTime(MsSince(start) / 1000);
      EndPlugIn(plugin, director);
    } catch (const std::exception& failure) {
      state.SkipWithError(failure.what());
      return;
    }
  }
  for (const auto& [counter, total] : ms) {
    state.counters[counter] = benchmark::Counter(total / static_cast<double>(state.iterations()));
  }
}

// The demo machine as bench/plugin_memory lays it: the demo tool's, with the plug-in registered.
bool LayDemoMachine() {
  const std::string quiet = " >/dev/null";
  return std::system(("'" DEMO_MACHINE_TOOL "'" + quiet).c_str()) == 0 &&
         std::system(("'" PLUGIN_PROGRAM "' /regserver" + quiet).c_str()) == 0;
}

}  // namespace

BENCHMARK(StartToWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvex::test::TempMachine machine("start_bench");
  if (!LayDemoMachine()) {
    std::cerr << "start_bench: cannot lay the demo machine\n";
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
