// The plug-in's registration in networks on a demo machine (the LonWorks installation, network
// "Demo" and four more networks laid like it, each with the unit's template and one unit):
//
// - Command50/again:0: director command 50 on "Demo" as a director sends it, the plug-in's
//   applications removed before each run so that it makes them; again:1 with them in place.
// - DeregisterFromNetworks/dialog:0: the exhaustive deregistration from every network of the
//   machine as "/deregplugin /deregmode:1" runs it; dialog:1 as the registration dialog runs it,
//   with its progress window. The plug-in is registered in every network before each run.
//
// "per_network" is the wall time per network: the director waits for it (docs/performance.md).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/app.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/network_registration.h"
#include "host/plugin_api.h"
#include "host/startup.h"
#include "lns/catalog/catalog_install.h"
#include "lns/server.h"
#include "lns/tools/demo.h"
#include "lns/values/fcu_unit.h"
#include "mainwindow/fmain.h"
#include "support/temp_machine.h"

namespace {

constexpr int32_t RegisterCommand = 50;
constexpr int NetworkCount = 5;

std::string NetworkName(int number) {
  std::string name = lns::DemoNetworkName;
  if (number > 1) name += ' ' + std::to_string(number);
  return name;
}

// The demo network's twin: the same system, template and unit under another name.
void AddNetworkLikeTheDemo(const std::string& name, const std::string& xifFolder) {
  lns::CreateNetwork({name, name, lns::DemoNetworkInterface, xifFolder, 0}, [](lns::System& system) {
    auto deviceTemplate = system.Library().Templates().AddNew(lns::DemoTemplateName, 1);
    deviceTemplate->Fill(std::string(lns::FcuProgramId), lns::UnitInterface());
    system.AddSubsystem(lns::DemoSubsystemName)
        ->AddDevice(lns::DemoDeviceName, *deviceTemplate, std::string(lns::FcuNeuronId));
  });
}

// The demo machine and the plug-in with its main window, as the program sets them up.
struct DemoMachine {
  orvex::test::TempMachine machine{"netreg_bench"};

  DemoMachine() {
    const std::string xifFolder = lns::InstallLonWorks(XIF32BIN_TOOL).xifFolder.string();
    lns::CreateDemoNetwork(xifFolder);
    for (int number = 2; number <= NetworkCount; ++number) AddNetworkLikeTheDemo(NetworkName(number), xifFolder);
    host::SetUpPlugIn();
    mainwindow::UseMainWindow();
    forms::App().SetPath(machine.Root().string());
    forms::App().SetEndHook([] {});
    forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
  }
};

// Command 50 in the network, the way a director has the plug-in do it; the network stays open.
void RegisterIn(host::LNSPlugInAPI& plugIn, const std::string& network) {
  plugIn.put_networkName(network);
  forms::QueueMsgBoxAnswer(forms::vbYes);
  plugIn.SendCommand(RegisterCommand, 0, "");
}

void RemoveRegistration() {
  bool offerTemplateRemoval = false;
  bool includeServerScope = true;
  host::UnregisterCommands(offerTemplateRemoval, includeServerScope);
}

void ReportPerNetwork(benchmark::State& state, int networks) {
  state.counters["per_network"] = benchmark::Counter(static_cast<double>(state.iterations()) * networks,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Command50(benchmark::State& state) {
  const bool again = state.range(0) != 0;
  host::LNSPlugInAPI plugIn;
  RegisterIn(plugIn, lns::DemoNetworkName);
  for (auto _ : state) {
    state.PauseTiming();
    if (!again) RemoveRegistration();
    forms::QueueMsgBoxAnswer(forms::vbYes);
    state.ResumeTiming();
    plugIn.SendCommand(RegisterCommand, 0, "");
  }
  host::CloseConnection();
  ReportPerNetwork(state, 1);
}

void DeregisterFromNetworks(benchmark::State& state) {
  const bool fromTheDialog = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      host::LNSPlugInAPI plugIn;
      for (int number = 1; number <= NetworkCount; ++number) {
        RegisterIn(plugIn, NetworkName(number));
        host::CloseConnection();
      }
    }
    host::g_ShowProgress = fromTheDialog ? rt::VbTrue : rt::VbFalse;
    state.ResumeTiming();
    host::DeregisterFromNetworks(true);
  }
  ReportPerNetwork(state, NetworkCount);
}

}  // namespace

BENCHMARK(Command50)->ArgName("again")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DeregisterFromNetworks)->ArgName("dialog")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  DemoMachine machine;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
