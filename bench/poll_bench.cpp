// The plug-in's own CPU per full poll: the device object's read of every point (ReadDevice 99) and
// the main window's RefreshMainForm of the page that is current, one case per page, with the
// window attached to the demo unit by a director's "Configure" and shown, on the real clock and
// with the Object Server journaling every call as it does by default (docs/performance.md).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <iostream>

#include "attached_window.h"
#include "device/orvex_fcu.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "mainwindow/fmain_controls.h"

namespace {

using orvex::bench::Window;

constexpr int16_t AllPoints = 99;
// The demo unit's room temperature as the Status page shows it.
constexpr const char* DemoRoomTemperature = "73.4";

bool Filled() { return Window().Ctl(mainwindow::controls::txtnvoSpaceTemp[0]).Text() == DemoRoomTemperature; }

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
  orvex::bench::AttachedWindow attached("poll_bench");
  if (!Filled()) {
    std::cerr << "poll_bench: the window did not show the demo unit's values after Configure\n";
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
