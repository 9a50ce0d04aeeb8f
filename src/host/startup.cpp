#include "host/startup.h"

#include <filesystem>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/about.h"
#include "host/commands.h"
#include "host/cregistry.h"
#include "host/hidden_window.h"
#include "host/identity.h"
#include "host/network_registration.h"
#include "host/plugin_api.h"
#include "host/progress.h"
#include "host/register_dialog.h"
#include "lns/calls/errors.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "lns/store/session.h"
#include "process/paths.h"
#include "process/program.h"
#include "runtime/convert.h"
#include "runtime/steps.h"
#include "runtime/text.h"

namespace host {
namespace {

constexpr const char* PlugInsKey = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\";
constexpr int16_t PlugInScope = 2;
constexpr int16_t Prelaunch = -1;
constexpr int16_t MultiObject = -1;
constexpr int16_t SingleInstance = 1;
constexpr int DamagedStoreExitCode = 1;

std::string FlagText(int16_t flag) { return rt::Format(ClampToRange(-1, 1, flag), "#"); }

// The values of the plug-in key, in the order they are written.
std::vector<std::pair<std::string, std::string>> PlugInKeyValues() {
  return {{"", PlugInProgId},
          {"Name", PlugInName},
          {"Description", PlugInDescription},
          {"Scope", rt::Trim(rt::NumberText(PlugInScope))},
          {"ManufacturerName", ManufacturerName},
          {"Version", PlugInVersion},
          {"LcaVersion", LcaVersion},
          {"Prelaunch", FlagText(Prelaunch)},
          {"MultiObject", FlagText(MultiObject)},
          {"SingleInstance", FlagText(SingleInstance)}};
}

void Inform(const std::string& text) { forms::MsgBox(text, forms::vbOKOnly | forms::vbInformation, PlugInName); }

void Complain(const std::string& text) { forms::MsgBox(text, forms::vbOKOnly | forms::vbCritical); }

bool StoredVersionIsNewer(const std::string& storedVersion) {
  int16_t storedMajor = 0;
  int16_t storedMinor = 0;
  int16_t ownMajor = 0;
  int16_t ownMinor = 0;
  ParseVersion(storedVersion, storedMajor, storedMinor);
  ParseVersion(PlugInVersion, ownMajor, ownMinor);
  return storedMajor > ownMajor || (storedMajor == ownMajor && storedMinor > ownMinor);
}

// The program file as the registration starts it: the program's folder and file name.
std::string ProgramFile() { return forms::App().Path() + "\\" + forms::App().EXEName(); }

// The program file by its bare name, found in the program's own folder first, as the original
// platform's program search does.
std::string ProgramByName() {
  const std::string inOwnFolder = ProgramFile();
  return proc::FileExists(proc::ResolvePath(inOwnFolder).string()) ? inOwnFolder : forms::App().EXEName();
}

void DeleteSettingsFile() {
  std::error_code ignored;
  std::filesystem::remove(proc::ResolvePath(forms::App().Path() + "\\" + SettingsFileName), ignored);
}

// The command-line forms and what each runs before the process ends.
struct CommandLineAction {
  std::string_view text;
  std::function<void()> run;
  bool readsNetworks = false;  // it opens the Object Server and its networks
};

const std::vector<CommandLineAction>& CommandLineActions() {
  static const std::vector<CommandLineAction> actions = {
      {"/regplugin", [] { RegisterPlugIn(false); }},
      {"/deregplugin",
       [] {
         DeregisterAll(0, false);
         DeleteSettingsFile();
       },
       true},
      {"/deregplugin /deregmode:-1", [] { DeregisterAll(-1, false); }},
      {"/deregplugin /deregmode:0", [] { DeregisterAll(0, false); }, true},
      {"/deregplugin /deregmode:1", [] { DeregisterAll(1, false); }, true},
  };
  return actions;
}

// A stored file that cannot be read as what it should be: no action may go on from it, and none
// may replace it.
bool IsDamagedStore(const rt::Error& error) {
  return reg::IsStoreFailureNumber(error.Number()) || error.Number() == lns::err::DatabaseDamaged;
}

// Reads the Object Server's store and every network's database as files, past the Object Server's
// calls and the faults injected into them: a damaged one raises its file and reason before anything
// is written. Any other failure is the deregistration's to meet, as it meets it. A machine without
// a store has none.
void ReadNetworkStores() {
  std::error_code missing;
  if (!std::filesystem::exists(lns::StoreFolder(), missing)) return;
  try {
    for (const auto& network : lns::ServerStore::Load(nullptr)->NetworkList()->Items()) {
      lns::Session::Load(network->File());
    }
  } catch (const std::exception&) {
    if (IsDamagedStore(rt::AsError(std::current_exception()))) throw;
  }
}

enum class CommandLineOutcome { NoAction, Done, Failed, StoreDamaged };

CommandLineOutcome RunAction(const CommandLineAction& action) {
  try {
    // Read before anything is written: a damaged registry stops the action at its start.
    CRegistry().get_MachineSetting(PlugInKey(), "");
    if (action.readsNetworks) ReadNetworkStores();
    action.run();
    return CommandLineOutcome::Done;
  } catch (const std::exception&) {
    const rt::Error error = rt::AsError(std::current_exception());
    if (!IsDamagedStore(error)) return CommandLineOutcome::Failed;
    forms::PlatformLog(error.Description());
    Complain(error.Description());
    return CommandLineOutcome::StoreDamaged;
  }
}

CommandLineOutcome RunCommandLine(const std::string& commandLine) {
  for (const CommandLineAction& action : CommandLineActions()) {
    if (action.text == commandLine) return RunAction(action);
  }
  return CommandLineOutcome::NoAction;
}

}  // namespace

void SetUpPlugIn() {
  SetApplicationIdentity();
  AddPlugInClass();
  forms::RegisterFormClass<fProgress>("fProgress");
  forms::RegisterFormClass<fRegisterPlugIn>("fRegisterPlugIn");
  forms::RegisterFormClass<frmAbout>("frmAbout");
  forms::RegisterFormClass<fHidden>("fHidden");
}

std::string PlugInKey() { return PlugInsKey + std::string(PlugInName); }

void Main(StartMode mode) {
  if (mode == StartMode::Automation) return;
  switch (RunCommandLine(rt::LCase(rt::Trim(forms::App().Command())))) {
    case CommandLineOutcome::Done: forms::App().End(); return;
    case CommandLineOutcome::StoreDamaged: forms::App().End(DamagedStoreExitCode); return;
    case CommandLineOutcome::NoAction:
    case CommandLineOutcome::Failed: break;
  }
  forms::Default<fRegisterPlugIn>().Show(forms::vbModeless);
}

void RegisterPlugIn(bool showMessages) {
  const std::string key = PlugInKey();
  CRegistry registry;
  const bool update = !registry.get_MachineSetting(key, "").empty();
  if (update && StoredVersionIsNewer(registry.get_MachineSetting(key, "Version"))) {
    if (showMessages) Inform("A newer version of this plug-in is already registered");
    return;
  }
  if (!forms::App().Command().empty()) {
    try {
      proc::Program::Start({ProgramFile(), "/regserver"});
    } catch (const std::exception&) {
      if (showMessages) Complain(std::string("Plug-in ") + PlugInProgId + " registration as COM server failed");
      return;
    }
  }
  for (const auto& [name, text] : PlugInKeyValues()) registry.put_MachineSetting(key, name, text);
  if (!showMessages) return;
  Inform((update ? "Updated version of plug-in registered as " : "Plug-in registered as ") + std::string(PlugInProgId));
}

void DeregisterAll(int32_t mode, bool showProgress) {
  g_ShowProgress = showProgress ? rt::VbTrue : rt::VbFalse;
  if (mode == 0 || mode == 1) DeregisterFromNetworks(mode == 1);
  DeregisterPlugIn(true);
}

void DeregisterPlugIn(bool showMessages) {
  try {
    proc::Program::Start({ProgramByName(), "/unregserver"});
  } catch (const std::exception&) {
    const rt::Error error = rt::AsError(std::current_exception());
    if (showMessages) {
      Complain(std::string("Plug-in ") + PlugInProgId + " deregistration as COM server failed" + "\r" +
               "Verify that there are not instances running" + "\r" + error.Description());
    }
    return;
  }
  CRegistry registry;
  const bool deleted = registry.DeleteMachineKey(PlugInKey());
  if (!showMessages) return;
  Inform(std::string("Plug-in ") + PlugInName + (deleted ? " deregistered" : " does not exisit in the Windows registery"));
}

void ParseVersion(const std::string& text, int16_t& major, int16_t& minor) {
  std::string rest;
  std::string ignored;
  const std::string majorText = SplitFirst(text, ".", rest);
  rest = SplitFirst(rest, " ", ignored);
  rest = SplitFirst(rest, ".", ignored);
  if (rt::Len(rest) == 1) rest += "0";
  major = rt::DoubleToInteger(rt::Val(majorText));
  minor = rt::DoubleToInteger(rt::Val(rest));
}

int16_t ClampToRange(int16_t min, int16_t max, int16_t& value) {
  if (value < min || value > max) value = 1;
  return value;
}

}  // namespace host
