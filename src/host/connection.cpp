#include "host/connection.h"

#include "forms/app.h"
#include "forms/controls_command.h"
#include "forms/event_loop.h"
#include "host/commands.h"
#include "host/main_window.h"
#include "host/plugin_errors.h"
#include "lns/calls/errors.h"
#include "lns/server.h"
#include "mainwindow/fmain_controls.h"
#include "runtime/steps.h"

namespace host {

namespace {

constexpr int32_t RemoteModeBits = 0x30;
constexpr int32_t InternetOpenBit = 0x10;
constexpr int32_t InterfaceOpenBit = 0x20;
constexpr int32_t SystemOpenSetting = 200;
constexpr const char* InternetInterface = "Internet";

// Opens the Object Server unless the plug-in has it open; true for an internet open.
bool OpenObjectServer(lns::ObjectServer& server, bool remoteAtEntry, const std::string& networkInterfaceName) {
  if (g_ObjectServerOpen) return false;
  if (server.get_IsOpen()) server.Close();
  server.put_PreOpenFlag(false);
  bool internetOpen = false;
  if (remoteAtEntry) {
    internetOpen = networkInterfaceName == InternetInterface;
    const int32_t flags = server.get_RemoteFlags() & ~RemoteModeBits;
    server.put_RemoteFlags(flags | (internetOpen ? InternetOpenBit : InterfaceOpenBit));
  }
  server.Open();
  g_ObjectServerOpen = true;
  return internetOpen;
}

void OpeningSequence(const std::string& name, const std::string& networkInterfaceName) {
  if (name == g_NetworkName && g_NetworkOpen) return;
  lns::ObjectServer& server = *g_ObjectServer;
  const bool remoteAtEntry = server.get_Remote();
  const bool wantRemote = !networkInterfaceName.empty();
  if (wantRemote != remoteAtEntry) {
    if (server.get_IsOpen()) {
      server.Close();
      g_ObjectServerOpen = false;
    }
    server.put_Remote(wantRemote);
  }
  const bool internetOpen = OpenObjectServer(server, remoteAtEntry, networkInterfaceName);
  if (wantRemote && !internetOpen) {
    server.putref_ActiveNetworkInterface(server.get_NetworkInterfaces()->Item(rt::Variant::String(networkInterfaceName)));
  }
  g_Network = server.get_Networks()->Item(rt::Variant::String(name));
  g_Network->Open();
  g_NetworkName = g_Network->get_Name();
  g_System = g_Network->get_Systems()->Item(rt::Variant::Integer(1));
  g_System->Open();
  if (internetOpen) {
    g_System->put_PulsedFlag(true);
    g_System->put_InternetOption(0);
    g_System->put_PulsedFlag(false);
  }
  g_NetworkOpen = true;
  g_System->put_OpenSetting(SystemOpenSetting);
  FrameworkHookArg(rt::Variant::String(g_NetworkName));
}

}  // namespace

rt::Ref<lns::ObjectServer> MainWindowObjectServer() {
  const rt::ObjectRef& control = fMain().Window().Ctl(mainwindow::controls::LcaOS).Object();
  return rt::Ref<lns::ObjectServer>(std::dynamic_pointer_cast<lns::ObjectServer>(control));
}

void OpenNetwork(const std::string& name, const std::string& networkInterfaceName) {
  auto& screen = forms::Screen();
  screen.SetMousePointer(forms::vbHourglass);
  try {
    OpeningSequence(name, networkInterfaceName);
  } catch (const std::exception&) {
    const rt::Error failure = rt::AsError(std::current_exception());
    g_NetworkOpen = false;
    g_NetworkName.clear();
    screen.SetMousePointer(forms::vbDefault);
    std::string description = "Cannot open the network " + name;
    // A damaged store is named with its file and reason, not taken for a network that cannot open.
    if (failure.Number() == lns::err::DatabaseDamaged) {
      forms::PlatformLog(failure.Description());
      description += ": " + failure.Description();
    }
    RaisePlugInError(plugin_err::CannotDoThat, description);
  }
  screen.SetMousePointer(forms::vbDefault);
}

void SetObjectServerRemote(bool remote) {
  lns::ObjectServer& server = *g_ObjectServer;
  g_ObjectServerOpen = server.get_IsOpen();
  if (g_ObjectServerOpen) {
    server.Close();
    // Closing the server closed the network too; the next open must not take it for open.
    g_NetworkOpen = false;
  }
  server.put_Remote(remote);
  if (g_ObjectServerOpen) server.Open();
}

void CloseConnection() {
  rt::Steps step([](int, const rt::Error&) { return rt::Resume::Next; });
  step(1, [] {
    if (g_System && g_System->get_IsOpen()) g_System->Close();
  });
  step(2, [] { g_System = nullptr; });
  step(3, [] {
    if (g_Network && g_Network->get_IsOpen()) g_Network->Close();
  });
  step(4, [] { g_Network = nullptr; });
  step(5, [] {
    if (g_ObjectServer->get_IsOpen()) g_ObjectServer->Close();
  });
  g_ObjectServerOpen = false;
  g_NetworkOpen = false;
}

}  // namespace host
