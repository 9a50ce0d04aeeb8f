// orvexuc_fcu: the plug-in. Started by COM (-Embedding) it serves a director on its standard input
// and output; started stand-alone it runs its command line or the registration dialog.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "automation/lns_verbs.h"
#include "automation/query_verbs.h"
#include "automation/server.h"
#include "automation/start_setup.h"
#include "device/orvex_fcu.h"
#include "forms/app.h"
#include "forms/form.h"
#include "host/log.h"
#include "host/register_dialog.h"
#include "host/startup.h"
#include "mainwindow/fmain.h"
#include "mainwindow/refresh/refresh.h"
#include "points/cp/points.h"
#include "points/nv/points.h"

namespace {

void TakeProgramIdentity(const std::vector<std::string>& ownArguments) {
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  auto& app = forms::App();
  app.SetPath(program.parent_path().string());
  app.SetEXEName(program.stem().string());
  std::string command;
  for (const std::string& argument : ownArguments) command += (command.empty() ? "" : " ") + argument;
  app.SetCommand(command);
}

void AddVerbs(automation::Channel& channel) {
  automation::AddStandardVerbs(channel);
  automation::AddLnsVerbs(channel);
  automation::AddLogVerb(channel, host::LogLines);
}

int Serve() {
  automation::Channel channel;
  AddVerbs(channel);
  return automation::ServeStdio(channel);
}

// The faults and settings a stand-alone start takes before it runs.
bool TakeStartLines() {
  automation::Channel channel;
  AddVerbs(channel);
  return automation::RunStartLines(channel, std::cerr);
}

// A person who started the program at a terminal would otherwise wait on a silent dialog.
void AnnounceDialogAtTerminal() {
  if (!forms::DefaultExists<host::fRegisterPlugIn>() || !isatty(STDIN_FILENO)) return;
  std::cerr << "orvexuc_fcu: the registration dialog is open and takes request lines here (\"verbs\" lists them); "
               "Ctrl-D closes it\n";
}

}  // namespace

int main(int argc, char** argv) {
  const automation::ServerCommandLine commandLine =
      automation::ReadServerCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  TakeProgramIdentity(commandLine.rest);
  host::SetUpPlugIn();
  points::AddNetworkVariableClasses();
  points::AddConfigPropertyClasses();
  device::AddDeviceClass();
  mainwindow::UseMainWindow();
  mainwindow::refresh::UsePageRefresh();
  if (const auto exitCode = automation::HandleServerSwitches(commandLine)) return *exitCode;
  if (commandLine.embedding) {
    host::Main(host::StartMode::Automation);
    return Serve();
  }
  if (!TakeStartLines()) return 2;
  host::Main(host::StartMode::StandAlone);
  AnnounceDialogAtTerminal();
  // The registration dialog is open: it is operated over the protocol, and closing the input
  // closes it, which ends the plug-in as the dialog's own buttons do.
  const int code = Serve();
  if (forms::DefaultExists<host::fRegisterPlugIn>()) forms::Default<host::fRegisterPlugIn>().Unload();
  return code;
}
