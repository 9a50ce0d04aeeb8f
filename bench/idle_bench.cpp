// How often an idle plug-in wakes: the plug-in started with -Embedding as a director starts it,
// asked nothing after one "verbs" request, so that no timer is armed. A thread that wakes and
// sleeps again is one voluntary context switch; the kernel counts them per thread
// (/proc/PID/task/*/status). `wakeups_per_s` is their sum over the plug-in's threads per second of
// the measured window; `clock:1` runs the plug-in on the virtual clock, `clock:0` on the real one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "plugin_process.h"
#include "support/temp_machine.h"

namespace {

constexpr int ReplyTimeoutMs = 30000;
constexpr auto Window = std::chrono::seconds(5);

// The voluntary context switches of every thread of process `pid` so far.
long long VoluntarySwitches(pid_t pid) {
  long long total = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream status(task.path() / "status");
    for (std::string key; status >> key;) {
      if (key == "voluntary_ctxt_switches:") {
        long long count = 0;
        status >> count;
        total += count;
      }
    }
  }
  return total;
}

// Serving once shows the plug-in has started and sits in its event loop.
void AwaitServing(director::PluginProcess& plugin) {
  std::string line;
  if (!plugin.Send("verbs") || plugin.ReadLine(line, ReplyTimeoutMs) != director::PluginProcess::Read::Line) {
    throw std::runtime_error("the plug-in does not answer");
  }
}

void IdleWakeups(benchmark::State& state) {
  std::vector<std::string> arguments = {"-Embedding"};
  if (state.range(0) == 1) arguments.emplace_back("--virtual-clock");
  double switches = 0;
  double seconds = 0;
  for (auto _ : state) {
    try {
      director::PluginProcess plugin(PLUGIN_PROGRAM, arguments);
      AwaitServing(plugin);
      const auto before = VoluntarySwitches(plugin.Pid());
      const auto start = std::chrono::steady_clock::now();
      std::this_thread::sleep_for(Window);
      const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
      switches += static_cast<double>(VoluntarySwitches(plugin.Pid()) - before);
      seconds += elapsed.count();
      state.SetIterationTime(elapsed.count());
      plugin.CloseInput();
      plugin.WaitForEnd(ReplyTimeoutMs);
    } catch (const std::exception& failure) {
      state.SkipWithError(failure.what());
      return;
    }
  }
  state.counters["wakeups_per_s"] = benchmark::Counter(switches / seconds);
}

}  // namespace

BENCHMARK(IdleWakeups)->ArgName("clock")->Arg(1)->Arg(0)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvex::test::TempMachine machine("idle_bench");
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
