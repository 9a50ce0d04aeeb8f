// The device object on the simulated unit: binding its 83 points, a read of them all (ReadDevice
// 99) and each page's read, with the Object Server journaling every call as it does by default.
// Each reports its time per point bound or read as "per_point" (docs/performance.md).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "device/orvex_fcu.h"
#include "forms/form.h"
#include "host/log.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "lns/tools/demo.h"
#include "support/temp_machine.h"

namespace {

// The window that holds the log, without the rest of the main window.
class LogWindow : public forms::Form {
 public:
  LogWindow() : Form("fMain") {}
};

// The demo unit, open through an Object Server in a machine folder of the run's own.
struct SimulatedUnit {
  orvex::test::TempMachine machine{"device_bench"};
  std::shared_ptr<lns::ObjectServer> server = std::make_shared<lns::ObjectServer>();
  std::shared_ptr<lns::AppDevice> device;

  SimulatedUnit() {
    host::SetLogWindow([]() -> forms::Form& { return forms::Default<LogWindow>(); });
    lns::CreateDemoNetwork("");
    server->Open();
    auto network = server->get_Networks()->Item(rt::Variant::String(lns::DemoNetworkName));
    network->Open();
    auto system = network->get_Systems()->Item(rt::Variant::Integer(1));
    system->Open();
    auto devices = system->get_Subsystems()->Item(rt::Variant::String(lns::DemoSubsystemName))->get_AppDevices();
    device = devices->Item(rt::Variant::String(lns::DemoDeviceName));
  }
  ~SimulatedUnit() {
    device.reset();
    server.reset();
    lns::ResetPlatform();
    forms::ResetForTests();
  }
};

SimulatedUnit* g_unit = nullptr;

void ReportPerPoint(benchmark::State& state, size_t points) {
  state.counters["per_point"] = benchmark::Counter(static_cast<double>(state.iterations() * points),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Binding(benchmark::State& state) {
  device::Orvex_FCU fcu;
  for (auto _ : state) fcu.putref_Device(g_unit->device);
  ReportPerPoint(state, device::PointCount);
}

void ReadDevice(benchmark::State& state) {
  device::Orvex_FCU fcu;
  fcu.putref_Device(g_unit->device);
  const auto range = static_cast<int16_t>(state.range(0));
  for (auto _ : state) fcu.ReadDevice(range);
  ReportPerPoint(state, device::PageList(range).size());
}

}  // namespace

BENCHMARK(Binding)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadDevice)->ArgName("range")->Arg(99)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SimulatedUnit unit;
  g_unit = &unit;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
