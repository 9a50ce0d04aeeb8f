#include "host/plugin_api.h"

#include <exception>

#include "com/classes.h"
#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/commands.h"
#include "host/connection.h"
#include "host/identity.h"
#include "host/main_window.h"
#include "host/network_registration.h"
#include "host/plugin_errors.h"
#include "host/progress.h"
#include "lns/server.h"
#include "runtime/convert.h"
#include "runtime/members.h"
#include "runtime/steps.h"
#include "runtime/text.h"

namespace host {
namespace {

constexpr int32_t RegisterCommandsId = 50;
constexpr int32_t UnregisterCommandsId = 51;
constexpr size_t DevelopmentProgramIdLength = 16;
constexpr const char* MovedWhileNotNormal = "Plug-in can't be moved or sized while minimized or maximized";
constexpr const char* MinimizedWhileHidden =
    "Can not modify the minimzed property when invisble. The property will be applied the next time the plug-in is "
    "made visible";

forms::Form& MainForm() { return fMain().Window(); }

[[noreturn]] void RaiseReadOnly() { RaisePlugInError(plugin_err::ReadOnlyProperty, "Attempt to write to read-only property"); }

void RequireNormalWindowState() {
  if (MainForm().WindowState() != forms::vbNormal) RaisePlugInError(plugin_err::CannotDoThat, MovedWhileNotNormal);
}

void RequireSizableBorder() {
  const int style = MainForm().BorderStyle();
  if (style == forms::vbFixedSingle || style == forms::vbFixedDialog || style == forms::vbFixedToolWindow) {
    RaiseReadOnly();
  }
}

int32_t ToPixels(float twips, int twipsPerPixel) { return rt::DoubleToLong(static_cast<double>(twips) / twipsPerPixel); }

float ToTwips(int32_t pixels, int twipsPerPixel) {
  return static_cast<float>(static_cast<double>(pixels) * twipsPerPixel);
}

void ShowProgressStatus(const std::string& text) {
  forms::Default<fProgress>().SetStatus(text);
  forms::DoEvents();
}

void CloseProgressWindow() {
  UnloadProgressWindow();
  forms::DoEvents();
}

// Runs the command's own part while the progress window shows; the table match for the others.
CommandMatch RunWithProgress(int32_t commandId, int16_t objectClassId) {
  forms::Default<fProgress>().Show(forms::vbModeless);
  forms::DoEvents();
  if (commandId == RegisterCommandsId) {
    ShowProgressStatus("Registering plug-in . . .");
    if (!RegisterCommands()) RaisePlugInError(plugin_err::CannotRegisterCommands, "Unable to register Supported Commands");
    return {};
  }
  if (commandId == UnregisterCommandsId) {
    ShowProgressStatus("Unregistering plug-in . . .");
    bool offerTemplateRemoval = false;
    bool includeServerScope = true;
    UnregisterCommands(offerTemplateRemoval, includeServerScope);
    return {};
  }
  ShowProgressStatus("Initializing plug-in . . .");
  return MatchCommand(commandId, objectClassId);
}

void CountNewObject() {
  if (g_InstanceCount == INT16_MAX) rt::Raise(rt::err::Overflow);
  ++g_InstanceCount;
}

}  // namespace

LNSPlugInAPI::LNSPlugInAPI() {
  rt::Steps step([](int, const rt::Error& error) {
    forms::MsgBox("LNSPlugInAPI.Initialize-" + error.Description(), forms::vbOKOnly);
    return rt::Resume::Next;
  });
  if (g_InstanceCount == 0) {
    step(1, [] { InitCommandTable(); });
    step(2, [] { InitResourceTable(); });
    step(3, [] { g_ObjectServerOpen = false; });
    step(4, [] { g_NetworkOpen = false; });
    step(5, [] { g_ObjectServer = MainWindowObjectServer(); });
  }
  step(6, [] { CountNewObject(); });
}

LNSPlugInAPI::~LNSPlugInAPI() {
  --g_InstanceCount;
  try {
    if (!MainForm().Visible() && g_InstanceCount == 0) fMain().EndPlugIn();
  } catch (const std::exception& failure) {
    forms::PlatformLog(std::string("LNSPlugInAPI.Terminate: ") + failure.what());
  }
}

void LNSPlugInAPI::SendCommand(int32_t commandId, int16_t objectClassId, const std::string& objectName) {
  CommandMatch match;
  // The progress window and its hourglass go on every way out, errors included.
  try {
    match = RunWithProgress(commandId, objectClassId);
  } catch (...) {
    CloseProgressWindow();
    throw;
  }
  CloseProgressWindow();
  if (commandId == RegisterCommandsId || commandId == UnregisterCommandsId) return;
  if (match.index) {
    ParseObjectPath(objectName);
    DispatchCommand(*match.index, GetObjectFromPath(objectClassId));
  } else if (match.known) {
    RaisePlugInError(plugin_err::ObjectTypeNotSupported, "Object type not supported for this command");
  } else {
    RaisePlugInError(plugin_err::CommandNotSupported, "Command not supported");
  }
}

bool LNSPlugInAPI::get_Visible() const { return MainForm().Visible(); }
void LNSPlugInAPI::put_Visible(bool visible) { MainForm().SetVisible(visible); }

std::string LNSPlugInAPI::get_networkName() const { return g_NetworkName; }
void LNSPlugInAPI::put_networkName(const std::string& name) { OpenNetwork(name, networkInterfaceName_); }

std::string LNSPlugInAPI::get_NetworkInterfaceName() const { return networkInterfaceName_; }
void LNSPlugInAPI::put_NetworkInterfaceName(const std::string& name) { networkInterfaceName_ = name; }

bool LNSPlugInAPI::get_Remote() const { return g_ObjectServer->get_Remote(); }
void LNSPlugInAPI::put_Remote(bool remote) { SetObjectServerRemote(remote); }

void LNSPlugInAPI::put_Height(int32_t pixels) {
  RequireSizableBorder();
  RequireNormalWindowState();
  MainForm().SetHeight(ToTwips(pixels, forms::ScreenObject::TwipsPerPixelY()));
}
int32_t LNSPlugInAPI::get_Height() const { return ToPixels(MainForm().Height(), forms::ScreenObject::TwipsPerPixelY()); }

void LNSPlugInAPI::put_Width(int32_t pixels) {
  RequireSizableBorder();
  RequireNormalWindowState();
  MainForm().SetWidth(ToTwips(pixels, forms::ScreenObject::TwipsPerPixelX()));
}
int32_t LNSPlugInAPI::get_Width() const { return ToPixels(MainForm().Width(), forms::ScreenObject::TwipsPerPixelX()); }

void LNSPlugInAPI::put_Left(int32_t pixels) {
  RequireNormalWindowState();
  MainForm().SetLeft(ToTwips(pixels, forms::ScreenObject::TwipsPerPixelX()));
}
int32_t LNSPlugInAPI::get_Left() const { return ToPixels(MainForm().Left(), forms::ScreenObject::TwipsPerPixelX()); }

void LNSPlugInAPI::put_Minimized(bool minimized) {
  try {
    MainForm().SetWindowState(minimized ? forms::vbMinimized : forms::vbNormal);
  } catch (const std::exception&) {
    // The state is applied when it can be; the visibility test below still tells the caller.
  }
  if (!MainForm().Visible()) RaisePlugInError(plugin_err::CannotDoThat, MinimizedWhileHidden);
}
bool LNSPlugInAPI::get_Minimized() const { return MainForm().WindowState() == forms::vbMinimized; }

std::string LNSPlugInAPI::get_ManufacturerID() const { return ManufacturerId; }
void LNSPlugInAPI::put_ManufacturerID(const std::string&) { RaiseReadOnly(); }
std::string LNSPlugInAPI::get_ManufacturerName() const { return ManufacturerName; }
void LNSPlugInAPI::put_ManufacturerName(const std::string&) { RaiseReadOnly(); }
std::string LNSPlugInAPI::get_LcaVersion() const { return LcaVersion; }
void LNSPlugInAPI::put_LcaVersion(const std::string&) { RaiseReadOnly(); }
std::string LNSPlugInAPI::get_Version() const { return PlugInVersion; }
void LNSPlugInAPI::put_Version(const std::string&) { RaiseReadOnly(); }

void LNSPlugInAPI::put_Top(int32_t pixels) {
  RequireNormalWindowState();
  MainForm().SetTop(ToTwips(pixels, forms::ScreenObject::TwipsPerPixelY()));
}
int32_t LNSPlugInAPI::get_Top() const { return ToPixels(MainForm().Top(), forms::ScreenObject::TwipsPerPixelY()); }

std::string LNSPlugInAPI::get_Name() const { return PlugInName; }
void LNSPlugInAPI::put_Name(const std::string&) { RaiseReadOnly(); }

void LNSPlugInAPI::put_DevelopmentProgramId(std::string programId) {
  g_DevelopmentProgramId = rt::Len(programId) == DevelopmentProgramIdLength ? std::move(programId) : std::string();
}
std::string LNSPlugInAPI::get_DevelopmentProgramId() const { return g_DevelopmentProgramId; }

rt::Variant LNSPlugInAPI::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  using P = LNSPlugInAPI;
  // In slot order.
  static const rt::Members<P> members{
      rt::Method("SendCommand",
                 [](P& s, rt::Args& a) {
                   s.SendCommand(rt::Arg(a, 0).ToLong(), rt::Arg(a, 1).ToInteger(), rt::Arg(a, 2).ToString());
                 }),
      rt::Get("Visible", &P::get_Visible),
      rt::Let("Visible", &P::put_Visible),
      rt::Get("networkName", &P::get_networkName),
      rt::Let("networkName", &P::put_networkName),
      rt::Get("NetworkInterfaceName", &P::get_NetworkInterfaceName),
      rt::Let("NetworkInterfaceName", &P::put_NetworkInterfaceName),
      rt::Get("Remote", &P::get_Remote),
      rt::Let("Remote", &P::put_Remote),
      rt::Let("Height", &P::put_Height),
      rt::Get("Height", &P::get_Height),
      rt::Let("Width", &P::put_Width),
      rt::Get("Width", &P::get_Width),
      rt::Let("Left", &P::put_Left),
      rt::Get("Left", &P::get_Left),
      rt::Let("Minimized", &P::put_Minimized),
      rt::Get("Minimized", &P::get_Minimized),
      rt::Get("ManufacturerID", &P::get_ManufacturerID),
      rt::Let("ManufacturerID", &P::put_ManufacturerID),
      rt::Get("ManufacturerName", &P::get_ManufacturerName),
      rt::Let("ManufacturerName", &P::put_ManufacturerName),
      rt::Get("LcaVersion", &P::get_LcaVersion),
      rt::Let("LcaVersion", &P::put_LcaVersion),
      rt::Get("Version", &P::get_Version),
      rt::Let("Version", &P::put_Version),
      rt::Let("Top", &P::put_Top),
      rt::Get("Top", &P::get_Top),
      rt::Get("Name", &P::get_Name),
      rt::Let("Name", &P::put_Name),
      rt::Let("DevelopmentProgramId", &P::put_DevelopmentProgramId),
      rt::Get("DevelopmentProgramId", &P::get_DevelopmentProgramId),
  };
  return members.Invoke(*this, member, kind, args);
}

void AddPlugInClass() {
  com::Classes().Add({PlugInProgId, PlugInClassId, PlugInName, [] { return std::make_shared<LNSPlugInAPI>(); }});
}

}  // namespace host
