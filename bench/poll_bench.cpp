// The plug-in's own CPU per full poll: the device object's read of every point (ReadDevice 99) and
// the main window's RefreshMainForm of the page that is current, one case per page, with the
// window attached to the demo unit by a director's "Configure" and shown, on the real clock and
// with the Object Server journaling every call as it does by default (docs/performance.md).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "device/orvex_fcu.h"
#include "forms/app.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "forms/msgbox.h"
#include "host/plugin_api.h"
#include "host/startup.h"
#include "lns/catalog/catalog_install.h"
#include "lns/tools/demo.h"
#include "mainwindow/fmain.h"
#include "mainwindow/fmain_controls.h"
#include "mainwindow/refresh/refresh.h"
#include "support/temp_machine.h"

namespace {

constexpr int32_t Configure = 13;
constexpr int32_t DeviceCommand = 7;
constexpr const char* DemoUnitPath = "Demo/Demo/Subsystem 1/FCU 1";
constexpr int16_t AllPoints = 99;
// The demo unit's room temperature as the Status page shows it.
constexpr const char* DemoRoomTemperature = "73.4";

mainwindow::fMain& Window() { return forms::Default<mainwindow::fMain>(); }

// The demo machine and the plug-in as the program sets them up, its window attached to the demo
// unit and shown as a director leaves it after "Configure".
struct AttachedWindow {
  orvex::test::TempMachine machine{"poll_bench"};
  std::optional<host::LNSPlugInAPI> plugIn;

  AttachedWindow() {
    lns::CreateDemoNetwork(lns::InstallLonWorks(XIF32BIN_TOOL).xifFolder.string());
    forms::App().SetPath(machine.Root().string());
    forms::App().SetEndHook([] {});
    forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
    // The plug-in's first object loads the window, which reads its settings from the path above.
    plugIn.emplace();
    plugIn->put_networkName(lns::DemoNetworkName);
    plugIn->SendCommand(Configure, DeviceCommand, DemoUnitPath);
    plugIn->put_Visible(true);
  }
  static bool Filled() {
    return Window().Ctl(mainwindow::controls::txtnvoSpaceTemp[0]).Text() == DemoRoomTemperature;
  }
};

void FullPoll(benchmark::State& state) {
  auto& window = Window();
  const auto tab = static_cast<int>(state.range(0));
  window.Ctl(mainwindow::controls::tabData).SetTab(tab);
  for (auto _ : state) {
    window.FCU().ReadDevice(AllPoints);
    auto page = static_cast<int16_t>(tab);
    window.RefreshMainForm(page);
  }
}

}  // namespace

BENCHMARK(FullPoll)->ArgName("page")->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  host::SetUpPlugIn();
  mainwindow::UseMainWindow();
  mainwindow::refresh::UsePageRefresh();
  AttachedWindow attached;
  if (!AttachedWindow::Filled()) {
    std::cerr << "poll_bench: the window did not show the demo unit's values after Configure\n";
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
