#include "host/plugin_api.h"

#include <exception>

#include "automation/classes.h"
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
  g_DevelopmentProgramId = programId.size() == DevelopmentProgramIdLength ? std::move(programId) : std::string();
}
std::string LNSPlugInAPI::get_DevelopmentProgramId() const { return g_DevelopmentProgramId; }

namespace {

using Args = std::vector<rt::Variant>;
using Kind = rt::Object::CallKind;

const rt::Variant& Argument(const Args& args, size_t index) {
  if (index >= args.size()) rt::Raise(rt::err::ArgumentNotOptional);
  return args[index];
}
const rt::Variant& Assigned(const Args& args) {
  if (args.empty()) rt::Raise(rt::err::ArgumentNotOptional);
  return args.back();
}

rt::Variant Text(std::string text) { return rt::Variant::String(std::move(text)); }

struct Member {
  std::string_view name;
  Kind kind;
  rt::Variant (*call)(LNSPlugInAPI& self, Args& args);
};

// The members in slot order.
constexpr Member Members[] = {
    {"SendCommand", Kind::Method,
     [](LNSPlugInAPI& s, Args& a) {
       s.SendCommand(Argument(a, 0).ToLong(), Argument(a, 1).ToInteger(), Argument(a, 2).ToString());
       return rt::Variant();
     }},
    {"Visible", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Boolean(s.get_Visible()); }},
    {"Visible", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Visible(Assigned(a).ToBoolean());
       return rt::Variant();
     }},
    {"networkName", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_networkName()); }},
    {"networkName", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_networkName(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"NetworkInterfaceName", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_NetworkInterfaceName()); }},
    {"NetworkInterfaceName", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_NetworkInterfaceName(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"Remote", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Boolean(s.get_Remote()); }},
    {"Remote", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Remote(Assigned(a).ToBoolean());
       return rt::Variant();
     }},
    {"Height", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Height(Assigned(a).ToLong());
       return rt::Variant();
     }},
    {"Height", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Long(s.get_Height()); }},
    {"Width", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Width(Assigned(a).ToLong());
       return rt::Variant();
     }},
    {"Width", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Long(s.get_Width()); }},
    {"Left", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Left(Assigned(a).ToLong());
       return rt::Variant();
     }},
    {"Left", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Long(s.get_Left()); }},
    {"Minimized", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Minimized(Assigned(a).ToBoolean());
       return rt::Variant();
     }},
    {"Minimized", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Boolean(s.get_Minimized()); }},
    {"ManufacturerID", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_ManufacturerID()); }},
    {"ManufacturerID", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_ManufacturerID(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"ManufacturerName", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_ManufacturerName()); }},
    {"ManufacturerName", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_ManufacturerName(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"LcaVersion", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_LcaVersion()); }},
    {"LcaVersion", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_LcaVersion(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"Version", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_Version()); }},
    {"Version", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Version(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"Top", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Top(Assigned(a).ToLong());
       return rt::Variant();
     }},
    {"Top", Kind::Get, [](LNSPlugInAPI& s, Args&) { return rt::Variant::Long(s.get_Top()); }},
    {"Name", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_Name()); }},
    {"Name", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_Name(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"DevelopmentProgramId", Kind::Let,
     [](LNSPlugInAPI& s, Args& a) {
       s.put_DevelopmentProgramId(Assigned(a).ToString());
       return rt::Variant();
     }},
    {"DevelopmentProgramId", Kind::Get, [](LNSPlugInAPI& s, Args&) { return Text(s.get_DevelopmentProgramId()); }},
};

// A property Get also answers a method-style call, as late binding allows.
bool KindFits(Kind member, Kind asked) {
  return member == asked || (member == Kind::Get && asked == Kind::Method) ||
         (member == Kind::Method && asked == Kind::Get);
}

}  // namespace

rt::Variant LNSPlugInAPI::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  for (const Member& entry : Members) {
    if (rt::EqualsNoCase(entry.name, member) && KindFits(entry.kind, kind)) return entry.call(*this, args);
  }
  return rt::Object::Invoke(member, kind, args);
}

void AddPlugInClass() {
  automation::Classes().Add({PlugInProgId, PlugInClassId, PlugInName, [] { return std::make_shared<LNSPlugInAPI>(); }});
}

}  // namespace host
