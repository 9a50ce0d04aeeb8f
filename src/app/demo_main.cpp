// The demo: registers the plug-in on the simulated machine as an installer would
// ("orvexuc_fcu /regplugin") and shows the registry entries that made; then, as an LNS director
// does, has the plug-in register its command in the demo network (director command 50) and
// shows the component application that made; last, a director sends "Configure" for the demo
// unit, shows the main window, lets it poll and has every page drawn, then changes the unit's
// state and has every page drawn again.
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "lns/demo.h"
#include "lns/server.h"
#include "process/program.h"
#include "registry/dump.h"
#include "registry/machine.h"
#include "registry/registry.h"
#include "runtime/error.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* PlugInKey = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Plug-In";
constexpr const char* ClassKey = "SOFTWARE\\Classes\\OrvexUC_FCU.LNSPlugInAPI";
constexpr auto RegistrationWait = std::chrono::seconds(10);
constexpr auto ProgramWait = std::chrono::milliseconds(60000);

// The director's part: open the demo network, send command 50, say Yes to making "Configure" the
// devices' default action.
constexpr const char* RegisterCommandsScript = R"(create progid=OrvexUC_FCU.LNSPlugInAPI
expect object = 1
let object=1 member=networkName value="Demo"
expect ok
call object=1 member=SendCommand args=[50, 0, ""]
answer button=Yes
expect ok
release object=1
)";

// The director's "Configure" (command 13 on an application device), then the window in sight for
// a few polls on the real clock: after 4 s of quiet, one every 2 s, each reading the points of the
// page in sight, which the journal of Object Server calls shows.
constexpr const char* ConfigureScript = R"(create progid=OrvexUC_FCU.LNSPlugInAPI
expect object = 1
let object=1 member=networkName value="Demo"
expect ok
call object=1 member=SendCommand args=[13, 7, "Demo/Demo/Subsystem 1/FCU 1"]
expect ok
query form=fMain control=txtSPID
expect control.Text = 80071A5501030400
let object=1 member=Visible value=true
expect ok
journal-clear
advance ms=9000
journal path="AppDevice:FCU 1/" member=Value last=2
)";

// The unit starts heating: the heating valve opens, the cooling valve shuts, the fan runs at low
// speed, two-stage electric heat (jumper J10) runs its first stage, and the condensate pan
// overflows, which the unit reports as a fault. The Status page does not read the jumpers, so the
// "Configuration Jumpers" page, still in sight, is refreshed first.
constexpr const char* UnitChangesScript = R"(unit-set device="Demo/Subsystem 1/FCU 1" point=nvoTsnFcUnitStat value="4"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoHeatVlvOut value="45"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoCoolVlvOut value="0"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoFanSpeed value="33.0 1"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoTerminalLoad value="-100"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=UCPTsoftJumpers bytes=[33,75,64,0,0,0,0,0]
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoBinaryOut value="1,0,0,0,1,1,0,0,0,0,0,0,0,0,0,0"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoBinaryIn value="1,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0"
expect ok
unit-set device="Demo/Subsystem 1/FCU 1" point=nvoUnitFaults value="0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0"
expect ok
click form=fMain control=cmdRefresh
expect ok
)";

constexpr const char* EndScript = R"(let object=1 member=Visible value=false
release object=1
expect ended
)";

fs::path BuildFolder() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path(); }
fs::path PlugInProgram() { return BuildFolder() / "src" / "app" / "orvexuc_fcu"; }
fs::path DirectorProgram() { return BuildFolder() / "tools" / "director" / "director"; }

bool KeyExists(const char* key) {
  reg::HKEY handle{};
  if (reg::RegOpenKey(reg::HKEY_LOCAL_MACHINE, key, &handle) != reg::ERROR_SUCCESS) return false;
  reg::RegCloseKey(handle);
  return true;
}

// The plug-in starts its COM self-registration without waiting for it.
bool WaitForKey(const char* key) {
  const auto deadline = std::chrono::steady_clock::now() + RegistrationWait;
  while (!KeyExists(key)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

void Show(const char* key) {
  std::string tree;
  const reg::LONG status = reg::DumpTree(reg::HKEY_LOCAL_MACHINE, key, tree);
  if (status != reg::ERROR_SUCCESS) {
    std::cout << key << ": " << reg::StatusText(status) << "\n\n";
    return;
  }
  std::cout << tree << "\n";
}

// Runs a program to its end; false, with the reason on stderr, unless it ended with 0.
bool RunToEnd(const std::vector<std::string>& arguments) {
  std::cout.flush();
  try {
    auto run = proc::Program::Start(arguments);
    if (run.Wait(ProgramWait) == 0) return true;
    std::cerr << arguments[0] << " did not end normally\n";
  } catch (const std::exception& failure) {
    std::cerr << "Cannot start " << arguments[0] << ": " << failure.what() << "\n";
  }
  return false;
}

bool RegisterPlugIn() {
  const std::string program = PlugInProgram().string();
  std::cout << "Running: " << program << " /regplugin\n\n";
  if (!RunToEnd({program, "/regplugin"})) return false;
  if (!WaitForKey(ClassKey)) std::cerr << "The COM class registration did not appear in time.\n";
  std::cout << "The plug-in key (read by LNS directors):\n";
  Show(PlugInKey);
  std::cout << "The COM class registration (written by orvexuc_fcu /regserver):\n";
  Show(ClassKey);
  return true;
}

bool RegisterCommands() {
  const fs::path script = reg::MachineFolder() / "register_commands.script";
  std::ofstream(script) << RegisterCommandsScript;
  std::cout << "A director has the plug-in register its command in network \"" << lns::DemoNetworkName
            << "\" (command 50); the session:\n";
  return RunToEnd({DirectorProgram().string(), "--virtual-clock", PlugInProgram().string(), script.string()});
}

// The pages in tab order, as their drawings are named.
constexpr std::array<std::string_view, 6> PageNames{"status",       "general", "device_setup", "input_output",
                                                    "configuration_jumpers", "debug"};
constexpr int DebugPage = 5;

// A click on a page's tab refreshes the page, and the page is drawn; the "Debug" page is switched
// off and is drawn as it stands.
std::string DrawPages(const fs::path& folder, std::string_view state) {
  std::string script;
  for (int page = 0; page < static_cast<int>(PageNames.size()); ++page) {
    const std::string number = std::to_string(page);
    if (page != DebugPage) script += "tab form=fMain control=tabData page=" + number + "\nexpect ok\n";
    const fs::path svg = folder / ("fMain_" + std::string(state) + "_" + std::string(PageNames[page]) + ".svg");
    script += "render form=fMain page=" + number + " path=\"" + svg.string() + "\"\nexpect ok\n";
  }
  return script;
}

bool ConfigureDemoUnit() {
  const fs::path folder = BuildFolder() / "demo";
  fs::create_directories(folder);
  const std::string script = std::string(ConfigureScript) + DrawPages(folder, "configured") + UnitChangesScript +
                             DrawPages(folder, "changed") + EndScript;
  const fs::path file = reg::MachineFolder() / "configure.script";
  std::ofstream(file) << script;
  std::cout << "\nA director sends \"Configure\" (command 13) for \"" << lns::DemoDeviceName
            << "\", shows the window, lets it poll and draws every page; then the unit starts heating and\n"
            << "every page is drawn again; the session:\n";
  return RunToEnd({DirectorProgram().string(), PlugInProgram().string(), file.string()});
}

void ShowComponentApps(const lns::DeviceTemplate& deviceTemplate) {
  for (const auto& app : deviceTemplate.get_ComponentApps()->Items()) {
    std::cout << "  on device template \"" << deviceTemplate.get_Name() << "\" (program ID "
              << deviceTemplate.get_ProgramId() << "): \"" << app->get_Name() << "\"\n"
              << "    ProgID " << app->get_ProgId() << ", command " << app->get_Command() << ", object class "
              << app->get_ObjectClass() << ", \"" << app->get_Description() << "\", version " << app->get_Version()
              << ", manufacturer " << app->get_ManufacturerId() << (app->get_IsDefault() ? ", default action" : "")
              << "\n";
  }
}

// Reads the demo network's database as any other LNS application on the machine would.
void ShowDemoNetwork() {
  auto server = std::make_shared<lns::ObjectServer>();
  server->Open();
  auto network = server->get_Networks()->Item(rt::Variant::String(lns::DemoNetworkName));
  network->Open();
  auto system = network->get_Systems()->Item(rt::Variant::Integer(1));
  system->Open();
  std::cout << "\nComponent applications in network \"" << network->get_Name() << "\":\n";
  for (const auto& deviceTemplate : system->get_TemplateLibrary()->get_DeviceTemplates()->Items()) {
    ShowComponentApps(*deviceTemplate);
  }
  system->Close();
  network->Close();
  server->Close();
}

}  // namespace

int main() {
  std::cout << "Simulated machine: " << reg::MachineFolder().string() << "\n";
  if (!RegisterPlugIn() || !RegisterCommands()) return 1;
  try {
    ShowDemoNetwork();
  } catch (const rt::Error& failure) {
    std::cerr << "Cannot read network \"" << lns::DemoNetworkName << "\": " << failure.Description() << "\n";
    return 1;
  }
  return ConfigureDemoUnit() ? 0 : 1;
}
