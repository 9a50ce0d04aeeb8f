// The Object Server's network store at 1, 100 and 1000 devices: building a network through the
// API, opening it, one value write, one change of a component application, command 50 (the
// plug-in registering its command) the first time and again, and the heap a network takes.
// Each size is laid once, in a machine folder of its own under the system's temporary folder.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "forms/app.h"
#include "forms/msgbox.h"
#include "host/plugin_api.h"
#include "host/process_state.h"
#include "host/startup.h"
#include "lns/calls/journal.h"
#include "lns/catalog/catalog_install.h"
#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "lns/values/fcu_unit.h"
#include "registry/registry.h"

namespace {

namespace fs = std::filesystem;
using rt::Variant;

constexpr const char* NetworkName = "Bench";
constexpr const char* OwnProgId = "OrvexUC_FCU.LNSPlugInAPI";

// Every machine folder the run made, removed when it ends.
struct Machines {
  std::map<std::string, fs::path> folders;
  ~Machines() {
    std::error_code error;
    for (const auto& [name, folder] : folders) fs::remove_all(folder, error);
  }
};
Machines g_machines;

void UseMachine(const std::string& name) {
  auto& folder = g_machines.folders[name];
  if (folder.empty()) {
    folder = fs::temp_directory_path() / ("orvex_bench_" + std::to_string(getpid()) + "_" + name);
    fs::remove_all(folder);
  }
  setenv("ORVEX_MACHINE", folder.c_str(), 1);
  host::ResetProcessState();
  reg::Reset();
  lns::ResetPlatform();
}

std::string NeuronId(int device) {
  char id[17];
  std::snprintf(id, sizeof id, "05017A3C%04X", static_cast<unsigned>(device) & 0xFFFFu);
  return id;
}

void BuildNetwork(const std::string& name, int devices) {
  lns::CreateNetwork({name, name, "LON1", "", 0}, [&](lns::System& system) {
    auto unit = system.Library().Templates().AddNew("OrvexUC_FCU", 1);
    unit->Fill(std::string(lns::FcuProgramId), lns::UnitInterface());
    auto subsystem = system.AddSubsystem("Subsystem 1");
    for (int device = 1; device <= devices; ++device) subsystem->AddDevice("FCU " + std::to_string(device), *unit, NeuronId(device));
  });
}

// The machine with the LonWorks installation and network "Bench" of `devices` units.
void UseBenchMachine(int devices) {
  const std::string name = std::to_string(devices) + "_devices";
  const bool laid = g_machines.folders.count(name) > 0;
  UseMachine(name);
  if (laid) return;
  lns::InstallLonWorks(XIF32BIN_TOOL);
  lns::AddNetworkInterface("LON1");
  BuildNetwork(NetworkName, devices);
}

std::shared_ptr<lns::System> OpenSystem(const std::shared_ptr<lns::ObjectServer>& server) {
  server->Open();
  auto network = server->get_Networks()->Item(Variant::String(NetworkName));
  network->Open();
  auto system = network->get_Systems()->Item(Variant::Integer(1));
  system->Open();
  return system;
}

constexpr double MiB = 1024.0 * 1024.0;

double HeapMiB() { return static_cast<double>(mallinfo2().uordblks) / MiB; }

double NetworkFileMiB() {
  auto server = std::make_shared<lns::ObjectServer>();
  server->Open();
  const auto file = server->get_Networks()->Item(Variant::String(NetworkName))->File();
  server->Close();
  return static_cast<double>(fs::file_size(file)) / MiB;
}

void BM_BuildNetwork(benchmark::State& state) {
  const int devices = static_cast<int>(state.range(0));
  UseMachine("build");
  lns::AddNetworkInterface("LON1");
  static int built = 0;
  for (auto _ : state) BuildNetwork("Built " + std::to_string(++built) + " of " + std::to_string(devices), devices);
  state.SetItemsProcessed(state.iterations() * devices);
}
BENCHMARK(BM_BuildNetwork)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->MinTime(2);

// Opens the network in a fresh server, and with `everyInterface` reads every device's interface
// and values as well, as a tool that walks the whole network would; `heap_MiB` is what it holds.
void OpenNetwork(benchmark::State& state, bool everyInterface) {
  UseBenchMachine(static_cast<int>(state.range(0)));
  const double before = HeapMiB();
  double held = 0;
  for (auto _ : state) {
    auto server = std::make_shared<lns::ObjectServer>();
    auto system = OpenSystem(server);
    if (everyInterface) {
      auto devices = system->get_Subsystems()->Item(Variant::Integer(1))->get_AppDevices();
      for (int32_t device = 1; device <= devices->get_Count(); ++device) devices->Item(Variant::Long(device))->get_Interface();
    }
    state.PauseTiming();
    held = HeapMiB() - before;
    server->Close();
    state.ResumeTiming();
  }
  state.counters["heap_MiB"] = held;
}

void BM_OpenNetwork(benchmark::State& state) {
  OpenNetwork(state, false);
  state.counters["file_MiB"] = NetworkFileMiB();
}
BENCHMARK(BM_OpenNetwork)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ReadEveryInterface(benchmark::State& state) { OpenNetwork(state, true); }
BENCHMARK(BM_ReadEveryInterface)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ValueWrite(benchmark::State& state) {
  UseBenchMachine(static_cast<int>(state.range(0)));
  auto server = std::make_shared<lns::ObjectServer>();
  auto system = OpenSystem(server);
  auto setpoint = system->get_Subsystems()->Item(Variant::Integer(1))->get_AppDevices()->Item(Variant::Integer(1))
                      ->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  int step = 0;
  for (auto _ : state) setpoint->put_Value(Variant::Double(++step % 2 ? 70.7 : 71.6));
  server->Close();
}
BENCHMARK(BM_ValueWrite)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ComponentAppChange(benchmark::State& state) {
  UseBenchMachine(static_cast<int>(state.range(0)));
  auto server = std::make_shared<lns::ObjectServer>();
  auto system = OpenSystem(server);
  auto apps = system->get_ComponentApps();
  auto app = apps->Find("Bench tool") ? apps->Find("Bench tool") : apps->Add("Bench tool", "Bench.Tool", 7);
  int step = 0;
  for (auto _ : state) app->put_Description("change " + std::to_string(++step));
  server->Close();
}
BENCHMARK(BM_ComponentAppChange)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Command 50 as a director sends it: the first time (the application is made), and again
// (everything is in place: nothing is written).
void Command50(benchmark::State& state, bool first) {
  UseBenchMachine(static_cast<int>(state.range(0)));
  static const bool setUp = [] {
    host::SetUpPlugIn();
    forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
    forms::App().SetEndHook([] {});
    return true;
  }();
  (void)setUp;
  const double before = HeapMiB();
  auto plugIn = std::make_shared<host::LNSPlugInAPI>();
  plugIn->put_networkName(NetworkName);
  auto apps = lns::FindOpenDevice("Bench/Subsystem 1/FCU 1")->get_DeviceTemplate()->get_ComponentApps();
  for (auto _ : state) {
    state.PauseTiming();
    if (first) {
      for (const auto& app : apps->Items()) {
        if (app->get_ProgId() == OwnProgId) apps->Remove(Variant::String(app->Name()));
      }
    }
    forms::QueueMsgBoxAnswer(forms::vbYes);
    state.ResumeTiming();
    plugIn->SendCommand(50, 0, "");
  }
  // The network open in the plug-in and what command 50 keeps, less the calls' journal (which
  // holds the latest calls of any run).
  lns::ClearJournal();
  state.counters["heap_MiB"] = HeapMiB() - before;
}
void BM_Command50(benchmark::State& state) { Command50(state, true); }
void BM_Command50Again(benchmark::State& state) { Command50(state, false); }
BENCHMARK(BM_Command50)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command50Again)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
