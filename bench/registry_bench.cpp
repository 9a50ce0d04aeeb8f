// The registry with many subkeys under one key (SOFTWARE\Classes, as on a machine with many COM
// classes): one look-up as the plug-in's registry class makes it, the same look-up right after
// another process replaced the file, and a plug-in's start to its first created object, on the
// demo machine's registry with and without 30,000 subkeys more, empty or with a description each,
// in turn in one run (docs/performance.md).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin_process.h"
#include "registry/registry.h"
#include "registry/store.h"
#include "runtime/file_writer.h"
#include "support/temp_machine.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int ReplyTimeoutMs = 60000;

const fs::path& BenchRoot() {
  static const orvex::test::TempMachine machine("registry_bench");
  return machine.Root();
}

// A machine folder of its own for each kind of run, so that each lays only what it needs.
void UseMachine(const std::string& name) {
  setenv("ORVEX_MACHINE", (BenchRoot() / name).c_str(), 1);
  reg::Reset();
}

std::string ClassKeyName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "Bench.Class%05d", index);
  return name;
}

// `count` ProgID-like keys under SOFTWARE\Classes, empty or each with a description as its
// default value, added in one change.
void AddClassKeys(int count, bool described) {
  reg::HKEY classes{};
  if (reg::RegCreateKey(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes", &classes) != reg::ERROR_SUCCESS) {
    throw std::runtime_error(reg::LastFailure());
  }
  reg::RegCloseKey(classes);
  reg::store::Change([count, described](reg::Hives& hives) {
    reg::Key& parent = *reg::Descend(hives.localMachine, {"SOFTWARE", "Classes"});
    for (int i = 0; i < count; ++i) {
      reg::Key& key = parent.AddSubkey(ClassKeyName(i));
      const std::string description = "Bench class " + std::to_string(i) + '\0';
      if (described) key.SetValue(reg::Value{"", reg::REG_SZ, {description.begin(), description.end()}});
    }
    return true;
  });
}

// The registry of the look-up runs: `count` class keys and nothing else, laid when `count` changes.
void UseLookUpMachine(int count) {
  static int laid = -1;
  UseMachine("lookup");
  if (laid == count) return;
  fs::remove(reg::RegistryFile());
  AddClassKeys(count, true);
  laid = count;
}

// As the registry class's MachineSetting Get reads a value: open, size, data, close.
void LookUp(const std::string& keyPath) {
  reg::HKEY key{};
  if (reg::RegOpenKey(reg::HKEY_LOCAL_MACHINE, keyPath.c_str(), &key) != reg::ERROR_SUCCESS) {
    throw std::runtime_error(keyPath + ": " + reg::LastFailure());
  }
  reg::DWORD size = 0;
  reg::RegQueryValueEx(key, "", nullptr, nullptr, nullptr, &size);
  std::string data(size, '\0');
  reg::RegQueryValueEx(key, "", nullptr, nullptr, reinterpret_cast<reg::BYTE*>(data.data()), &size);
  reg::RegCloseKey(key);
  if (data.rfind("Bench class", 0) != 0) throw std::runtime_error(keyPath + " has no description");
}

std::string LastClassKeyPath(int count) { return "SOFTWARE\\Classes\\" + ClassKeyName(count - 1); }

void LookUpAmong(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  try {
    UseLookUpMachine(count);
    const std::string path = LastClassKeyPath(count);
    for (auto _ : state) LookUp(path);
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
  state.counters["file_MiB"] = static_cast<double>(fs::file_size(reg::RegistryFile())) / (1 << 20);
}

// Another process's change, as the registry's writer makes it: the same content in a new file.
void LookUpAfterChange(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  try {
    UseLookUpMachine(count);
    const std::string path = LastClassKeyPath(count);
    const std::string content = orvex::test::ReadFile(reg::RegistryFile());
    for (auto _ : state) {
      state.PauseTiming();
      if (rt::ReplaceFile(reg::RegistryFile(), content)) throw std::runtime_error("the registry cannot be written");
      state.ResumeTiming();
      LookUp(path);
    }
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

// The registries a start is measured on: the demo machine's as bench/plugin_memory lays it, the
// plug-in registered, and the same with 30,000 class keys more, empty or described.
struct StartRegistry {
  const char* name;
  int extraKeys;
  bool described;
};
constexpr StartRegistry kStartRegistries[] = {{"demo", 0, false}, {"empty", 30000, false}, {"described", 30000, true}};

void UseStartMachine(const StartRegistry& registry) { UseMachine(std::string("start_") + registry.name); }

void LayStartMachines() {
  static bool laid = false;
  if (laid) return;
  const std::string quiet = " >/dev/null";
  for (const StartRegistry& registry : kStartRegistries) {
    UseStartMachine(registry);
    if (std::system(("'" DEMO_MACHINE_TOOL "'" + quiet).c_str()) != 0 ||
        std::system(("'" PLUGIN_PROGRAM "' /regserver" + quiet).c_str()) != 0) {
      throw std::runtime_error("cannot lay the demo machine");
    }
    AddClassKeys(registry.extraKeys, registry.described);
  }
  laid = true;
}

// The reply to the plug-in's first request; a question, an error reply or its end fails the run.
void Ask(director::PluginProcess& plugin, const std::string& request) {
  if (!plugin.Send(request)) throw std::runtime_error("the plug-in ended before: " + request);
  std::string line;
  while (plugin.ReadLine(line, ReplyTimeoutMs) == director::PluginProcess::Read::Line) {
    const auto message = nlohmann::json::parse(line, nullptr, false);
    if (!message.is_object() || message.value("seq", int64_t{0}) != 1) continue;
    if (!message.value("ok", false)) throw std::runtime_error(request + " failed: " + line);
    return;
  }
  throw std::runtime_error("no reply to: " + request);
}

// Milliseconds from the start to the created object; the plug-in's end afterwards is not timed.
double StartOnce(const StartRegistry& registry) {
  UseStartMachine(registry);
  const auto start = Clock::now();
  director::PluginProcess plugin(PLUGIN_PROGRAM, {"-Embedding"});
  Ask(plugin, "create progid=OrvexUC_FCU.LNSPlugInAPI");
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  plugin.CloseInput();
  const std::string end = plugin.WaitForEnd(ReplyTimeoutMs);
  if (!plugin.EndedWell()) throw std::runtime_error("the plug-in ended badly: " + end);
  return ms;
}

double Median(std::vector<double> samples) {
  const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
  std::nth_element(samples.begin(), middle, samples.end());
  return *middle;
}

// Each round starts the plug-in once on each registry, one right after the other, so that a
// ratio compares starts under the same load; the first of a round changes from round to round. The
// time reported is that of the start on the described registry.
void StartToFirstObject(benchmark::State& state) {
  constexpr size_t kKinds = std::size(kStartRegistries);
  std::vector<double> ms[kKinds];
  std::vector<double> ratios[kKinds];  // each round's start time over the demo registry's
  try {
    LayStartMachines();
    for (auto _ : state) {
      double round[kKinds] = {};
      for (size_t i = 0; i < kKinds; ++i) {
        const size_t kind = (i + ms[0].size()) % kKinds;
        round[kind] = StartOnce(kStartRegistries[kind]);
      }
      for (size_t kind = 0; kind < kKinds; ++kind) {
        ms[kind].push_back(round[kind]);
        ratios[kind].push_back(round[kind] / round[0]);
      }
      state.SetIterationTime(round[kKinds - 1] / 1000);
    }
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
    return;
  }
  for (size_t kind = 0; kind < kKinds; ++kind) {
    const std::string name = kStartRegistries[kind].name;
    state.counters[name + "_ms"] = Median(ms[kind]);
    if (kind > 0) state.counters[name + "_x"] = Median(ratios[kind]);
  }
}

}  // namespace

BENCHMARK(LookUpAmong)->ArgName("subkeys")->Arg(100)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(LookUpAfterChange)->ArgName("subkeys")->Arg(100)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartToFirstObject)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
