// The demo: the plug-in's whole job on the simulated machine. It registers the plug-in as an
// installer would ("orvexuc_fcu /regplugin") and shows the registry entries that made; a director
// has the plug-in register its command in the demo network (command 50), and the demo shows the
// component application that made. Then a director sends "Configure" for the demo unit, shows the
// window and lets it poll on the real clock, a technician edits a setpoint and a value of the
// property grid, and the unit starts its fan and raises and clears a fault; after each step the
// six pages are drawn to PNG. At last the unit stops answering for a moment, which the log shows.
// With --virtual-clock the window polls on a clock the director moves, so that the demo's sessions
// can be checked quickly.
#include <array>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "demo_session.h"
#include "host/identity.h"
#include "lns/server.h"
#include "lns/tools/demo.h"
#include "process/program.h"
#include "registry/dump.h"
#include "registry/machine.h"
#include "registry/registry.h"
#include "runtime/error.h"
#include "standard_options.h"

namespace {

namespace fs = std::filesystem;

constexpr tool::Tool Demo{
    "orvexuc_demo",
    "usage: orvexuc_demo [--virtual-clock] [OUTPUT-FOLDER]\n"
    "  Runs the plug-in's whole job on the machine folder (ORVEX_MACHINE), which holds the demo machine,\n"
    "  and draws the window's pages to PNG in OUTPUT-FOLDER (build/<preset>/demo by default).\n"};

const std::string PlugInKey = std::string("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\") + host::PlugInName;
const std::string ClassKey = std::string("SOFTWARE\\Classes\\") + host::PlugInProgId;
// Written last of the class's keys; a director can create the class once it is there.
const std::string LocalServerKey = std::string("SOFTWARE\\Classes\\CLSID\\") + host::PlugInClassId + "\\LocalServer32";
constexpr auto RegistrationWait = std::chrono::seconds(10);
constexpr auto ProgramWait = std::chrono::milliseconds(60000);

constexpr const char* Unit = "device=\"Demo/Subsystem 1/FCU 1\"";
constexpr const char* NoBits = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
// The window's poll: after 4 s of quiet, one every 2 s.
constexpr int PollSeconds = 12;
constexpr double FirstRoomTemperature = 73.4;
constexpr double RoomRisePerPoll = 0.5;

fs::path BuildFolder() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path(); }
fs::path PlugInProgram() { return BuildFolder() / "src" / "app" / "orvexuc_fcu"; }
fs::path DirectorProgram() { return BuildFolder() / "tools" / "director" / "director"; }

bool KeyExists(const std::string& key) {
  reg::HKEY handle{};
  if (reg::RegOpenKey(reg::HKEY_LOCAL_MACHINE, key.c_str(), &handle) != reg::ERROR_SUCCESS) return false;
  reg::RegCloseKey(handle);
  return true;
}

// The plug-in starts its COM self-registration without waiting for it.
bool WaitForKey(const std::string& key) {
  const auto deadline = std::chrono::steady_clock::now() + RegistrationWait;
  while (!KeyExists(key)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

void Show(const std::string& key) {
  std::string tree;
  const reg::LONG status = reg::DumpTree(reg::HKEY_LOCAL_MACHINE, key.c_str(), tree);
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
  if (!WaitForKey(LocalServerKey)) std::cerr << "The COM class registration did not appear in time.\n";
  std::cout << "The plug-in key (read by LNS directors):\n";
  Show(PlugInKey);
  std::cout << "The COM class registration (written by orvexuc_fcu /regserver):\n";
  Show(ClassKey);
  return true;
}

// Where the drawings and the director's sessions go: build/<preset>/demo unless the command line
// names a folder.
fs::path& OutputFolder() {
  static fs::path folder = BuildFolder() / "demo";
  return folder;
}

// False, with the folder and the system's reason on standard error, when it cannot be made.
bool MakeOutputFolder(const fs::path& folder) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  if (!failure) OutputFolder() = fs::absolute(folder, failure);
  if (!failure) return true;
  std::cerr << Demo.name << ": cannot make the output folder \"" << folder.string() << "\": " << failure.message()
            << "\n";
  return false;
}

// The plug-in draws into a folder named from the working folder it shares with the demo, so that
// the requests stay short.
fs::path Drawing(const std::string& name) {
  return fs::relative(OutputFolder(), fs::current_path()) / (name + ".svg");
}

// The director's script and its whole output stay in the output folder, as NAME.script and NAME.log.
demo::Outcome RunSession(const demo::Script& script, const std::string& name, std::vector<std::string> options = {}) {
  std::cout.flush();
  try {
    const auto outcome = demo::RunDirector(script, {DirectorProgram(), PlugInProgram(), std::move(options)},
                                           OutputFolder() / (name + ".script"), OutputFolder() / (name + ".log"));
    if (!outcome.directorEndedWell) {
      std::cerr << "The director's session did not end well; its whole output: "
                << (OutputFolder() / (name + ".log")).string() << "\n";
    }
    return outcome;
  } catch (const std::exception& failure) {
    std::cerr << "Cannot run the director: " << failure.what() << "\n";
  }
  return {};
}

void OpenDemoNetwork(demo::Script& script) {
  script.Send("create progid=OrvexUC_FCU.LNSPlugInAPI");
  script.Expect("object = 1");
  script.Send("let object=1 member=networkName value=\"Demo\"");
  script.Expect("ok");
}

// The director opens the demo network, sends command 50 and says Yes to making "Configure" the
// devices' default action. Its clock is a virtual one: nothing here waits for time.
bool RegisterCommands() {
  demo::Script script;
  script.Heading("A director has the plug-in register its command in network \"Demo\" (command 50):");
  OpenDemoNetwork(script);
  script.Send("call object=1 member=SendCommand args=[50, 0, \"\"]");
  script.Send("answer button=Yes");
  script.Expect("ok");
  script.Send("release object=1");
  return RunSession(script, "register_command", {"--virtual-clock"}).directorEndedWell;
}

void SetUnit(demo::Script& script, const std::string& point, const std::string& value,
             demo::Shown shown = demo::Shown::Line) {
  script.Send(std::string("unit-set ") + Unit + " point=" + point + " value=\"" + value + "\"", shown);
  script.Expect("ok");
}

// The pages in tab order, as their drawings are named.
constexpr std::array<std::string_view, 6> PageNames{"status",       "general", "device_setup", "input_output",
                                                    "configuration_jumpers", "debug"};
constexpr int DebugPage = 5;

// A click on a page's tab refreshes the page, and the page is drawn; the "Debug" page is switched
// off and is drawn as it stands.
void DrawPages(demo::Script& script, int step, std::string_view state) {
  const std::string prefix = "step" + std::to_string(step) + "_" + std::string(state) + "_page";
  for (int page = 0; page < static_cast<int>(PageNames.size()); ++page) {
    const std::string number = std::to_string(page);
    if (page != DebugPage) {
      script.Send("tab form=fMain control=tabData page=" + number, demo::Shown::Quiet);
      script.Expect("ok");
    }
    const fs::path svg = Drawing(prefix + std::to_string(page + 1) + "_" + std::string(PageNames[page]));
    const bool last = page == DebugPage;
    script.Send("render form=fMain page=" + number + " path=\"" + svg.string() + "\"", demo::Shown::Drawing,
                last ? "  the six pages drawn: " + prefix + "1_status.png ... " + prefix + "6_debug.png" : "");
    script.Expect("ok");
  }
}

// The window polls on the real clock while the room warms. The journal is emptied every second,
// so that each poll shows as the values it read.
void LetItPoll(demo::Script& script) {
  script.Heading("The window polls the unit on the real clock (after 4 s of quiet, every 2 s); the room warms:");
  script.Send("journal-clear", demo::Shown::Quiet);
  for (int second = 1; second <= PollSeconds; ++second) {
    script.Send("advance ms=1000", demo::Shown::Quiet);
    // The last rise would reach the unit after the last poll of this step.
    if (second % 2 == 0 && second < PollSeconds) {
      std::ostringstream room;
      room << std::fixed << std::setprecision(1) << FirstRoomTemperature + RoomRisePerPoll * second / 2;
      SetUnit(script, "nvoSpaceTemp", room.str(), demo::Shown::Quiet);
    }
    script.Send("query form=fMain control=txtnvoSpaceTemp index=0", demo::Shown::RoomReading);
    script.Send("journal path=\"AppDevice:FCU 1/\" member=Value last=1", demo::Shown::PollCount);
    script.Send("journal-clear", demo::Shown::Quiet);
  }
}

// A technician's edit: a click in the box, the new value typed, Enter; the unit's bytes show it.
void Edit(demo::Script& script, int page, const std::string& box, const std::string& value,
          const std::string& point, const std::string& bytes) {
  const std::string control = "form=fMain control=" + box;
  script.Send("tab form=fMain control=tabData page=" + std::to_string(page));
  script.Send("click " + control);
  script.Send("type " + control + " text=\"" + value + "\"");
  script.Send("key " + control + " key=Enter");
  script.Expect("ok");
  script.Send(std::string("unit-read ") + Unit + " point=" + point);
  script.Expect("bytes = " + bytes);
}

demo::Script TheJob() {
  demo::Script script;
  script.Heading("Step 1. A director opens network \"Demo\"; the unit \"FCU 1\" stands idle, its fan off:");
  OpenDemoNetwork(script);
  SetUnit(script, "nvoTsnFcUnitStat", "1");
  SetUnit(script, "nvoFanSpeed", "0.0 0");
  SetUnit(script, "nvoCoolVlvOut", "0");
  SetUnit(script, "nvoTerminalLoad", "0");
  SetUnit(script, "nvoBinaryOut", NoBits);
  script.Heading("The director sends \"Configure\" (command 13) for the unit and shows the window:");
  script.Send("call object=1 member=SendCommand args=[13, 7, \"Demo/Demo/Subsystem 1/FCU 1\"]");
  script.Expect("ok");
  script.Send("let object=1 member=Visible value=true");
  script.Expect("ok");
  LetItPoll(script);
  DrawPages(script, 1, "configured");

  script.Heading("Step 2. The technician sets the occupied cooling setpoint to 76 on the \"General\" page:");
  Edit(script, 1, "txtOccClgSpt index=2", "76", "SCPTsetPnts", "[9,140,9,196,11,84,8,52,7,108,6,64]");
  DrawPages(script, 2, "setpoint_edited");

  script.Heading("Step 3. The technician sets the cooling gain, row 6 of the \"Device Setup\" grid, to 35 %:");
  Edit(script, 2, "txtCP index=5", "35", "UCPTcoolKp", "[27,88]");
  DrawPages(script, 3, "grid_value_edited");

  script.Heading("Step 4. The unit starts cooling: its fan runs at high speed, the cooling valve opens:");
  SetUnit(script, "nvoTsnFcUnitStat", "6");
  SetUnit(script, "nvoFanSpeed", "100.0 1");
  SetUnit(script, "nvoCoolVlvOut", "35.5");
  SetUnit(script, "nvoTerminalLoad", "100");
  SetUnit(script, "nvoBinaryOut", "0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0");
  DrawPages(script, 4, "fan_running");

  script.Heading("Step 5. The condensate pan overflows, and the unit raises its condensate fault:");
  SetUnit(script, "nvoBinaryIn", "1,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0");
  SetUnit(script, "nvoUnitFaults", "0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0");
  SetUnit(script, "nvoCurrentAlarm", "Condensate Overflow");
  DrawPages(script, 5, "fault_raised");

  script.Heading("Step 6. The pan drains, and the unit clears the fault:");
  SetUnit(script, "nvoBinaryIn", "1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
  SetUnit(script, "nvoUnitFaults", NoBits);
  SetUnit(script, "nvoCurrentAlarm", "No Alarm");
  SetUnit(script, "nvoPreviousAlarm", "Condensate Overflow");
  DrawPages(script, 6, "fault_cleared");

  // A healthy session logs one line; a failure shows what the log is for.
  script.Heading("Step 7. The unit stops answering for a moment: a refresh of the \"Status\" page logs each read that "
                 "fails, and goes on:");
  script.Send("tab form=fMain control=tabData page=0");
  script.Expect("ok");
  script.Send("fault kind=not-responding");
  script.Expect("ok");
  script.Send("click form=fMain control=cmdRefresh");
  script.Expect("ok");
  script.Send("faults-clear");
  script.Send("click form=fMain control=cmdRefresh");
  script.Expect("ok");

  script.Heading("The last lines of the plug-in's log:");
  script.Send("log last=10", demo::Shown::LogLines);
  script.Heading("The director hides the window and lets the plug-in go:");
  script.Send("let object=1 member=Visible value=false");
  script.Send("release object=1");
  return script;
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

struct Call {
  bool virtualClock = false;
  std::optional<fs::path> outputFolder;
};

// Raises std::invalid_argument, saying which word is wrong, on a command line it cannot read.
Call ReadCall(const std::vector<std::string_view>& words) {
  Call call;
  for (const std::string_view word : words) {
    if (word == "--virtual-clock") {
      call.virtualClock = true;
    } else if (tool::IsOption(word)) {
      throw std::invalid_argument(tool::UnknownOption(word));
    } else if (call.outputFolder) {
      throw std::invalid_argument(tool::UnexpectedArgument(word));
    } else {
      call.outputFolder = fs::path(word);
    }
  }
  return call;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = tool::AnswerHelpOrVersion(Demo, argc, argv)) return *answered;
  const auto call =
      tool::ReadCommandLine(Demo, [&] { return ReadCall(std::vector<std::string_view>(argv + 1, argv + argc)); });
  if (!call) return tool::WrongCall;
  if (!MakeOutputFolder(call->outputFolder.value_or(OutputFolder()))) return 1;
  std::cout << "Simulated machine: " << reg::MachineFolder().string() << "\n";
  if (!RegisterPlugIn() || !RegisterCommands()) return 1;
  try {
    ShowDemoNetwork();
  } catch (const rt::Error& failure) {
    std::cerr << "Cannot read network \"" << lns::DemoNetworkName << "\": " << failure.Description() << "\n";
    return 1;
  }
  const auto job = RunSession(TheJob(), "the_job", call->virtualClock ? std::vector<std::string>{"--virtual-clock"}
                                                                     : std::vector<std::string>{});
  if (job.directorEndedWell && job.polls == 0) std::cerr << "The window did not poll the unit.\n";
  if (!job.directorEndedWell || job.polls == 0) return 1;
  std::cout << "\nThe pages, drawn after steps 1 to 6: " << OutputFolder().string() << "\n";
  return 0;
}
