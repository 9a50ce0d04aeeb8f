#include "mainwindow/fmain.h"

#include <memory>

#include "device/orvex_fcu.h"
#include "forms/app.h"
#include "forms/control.h"
#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "host/about.h"
#include "host/connection.h"
#include "host/log.h"
#include "host/main_window.h"
#include "host/short_timer.h"
#include "lns/calls/journal.h"
#include "lns/server.h"
#include "mainwindow/editors/editors.h"
#include "mainwindow/fmain_controls.h"
#include "mainwindow/settings_file.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace mainwindow {
namespace {

constexpr const char* MainCaption = "LonMark® Plug-In for the OrvexUC_FCU™";
constexpr const char* TestStandCaption = "OrvexUC_FCU™ Water Source Heat Pump Factory Test Stand";
constexpr size_t ShortestFirstLine = 4;
constexpr int DebugPage = 5;
constexpr int32_t ShortestPoll = 500;
constexpr int32_t ShortestQuiet = 1000;

void LogLoadFailure(const std::string& description) { host::WriteLog("FrmMain.load-" + description + " 0"); }

bool Contains(const std::string& line, const char* text) { return rt::InStr(line, text, 1, true) != 0; }

// The number a settings line gives after its key, which is cut off by position.
int32_t SettingValue(const std::string& line, const char* key) {
  return rt::DoubleToLong(rt::Val(rt::Mid(line, std::char_traits<char>::length(key) + 1)));
}

class MainWindowEntry : public host::MainWindow {
 public:
  forms::Form& Window() override { return forms::Default<fMain>(); }
  void ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, host::PlugInCommand& Command) override {
    forms::Default<fMain>().ProcessDeviceCommand(TheDevice, Command);
  }
  void ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, host::PlugInCommand& Command) override {
    forms::Default<fMain>().ProcessLonMarkObjectCommand(TheLMObject, Command);
  }
  void EndPlugIn() override { forms::Default<fMain>().EndPlugIn(); }
};

// The lamps whose Visible is set, shown window or not; looked at without loading the window, so
// calls made before it loads see no lamp.
lns::CallScene SceneNow() {
  lns::CallScene scene{forms::Screen().MousePointer(), {}};
  forms::Form* window = forms::FindForm("fMain");
  if (!window) return scene;
  for (int index : controls::picNetworkTraffic.members) {
    if (window->Ctl(controls::picNetworkTraffic.At(index)).Visible()) scene.lampsVisible.push_back(index);
  }
  return scene;
}

}  // namespace

fMain::fMain() : Form("fMain") {
  using forms::Event;
  using forms::EventArgs;
  On(Event::Load, [this](EventArgs&) { Form_Load(); });
  On(Event::Activate, [this](EventArgs&) { Form_Activate(); });
  On(Event::Deactivate, [this](EventArgs&) { Form_Deactivate(); });
  On(Event::LostFocus, [this](EventArgs&) { Form_Deactivate(); });
  On(Event::KeyDown, [this](EventArgs& e) { Form_KeyDown(e.keyCode); });
  On(Event::KeyPress, [this](EventArgs&) { ResetActivityTimer(); });
  On(Event::QueryUnload, [this](EventArgs& e) { Form_QueryUnload(e.unloadMode, e.cancel); });
  On(Event::Unload, [this](EventArgs&) { Form_Unload(); });
  const auto activity = [this](EventArgs&) { ResetActivityTimer(); };
  On(controls::lblnvs, Event::MouseMove, activity);
  On(controls::Picture2, Event::MouseMove, activity);
  for (Event event : {Event::KeyDown, Event::MouseDown, Event::MouseMove}) On(controls::tabData, event, activity);
  On(controls::tabData, Event::Click, [this](EventArgs&) { tabData_Click(); });
  On(controls::tmrActivity, Event::Timer, [this](EventArgs&) { tmrActivity_Timer(); });
  On(controls::tmrOverview, Event::Timer, [this](EventArgs&) { tmrOverview_Timer(); });
  On(controls::tmrShort, Event::Timer, [](EventArgs&) { host::ShortTimerTick(); });
  On(controls::cmdExit, Event::Click, [this](EventArgs&) { cmdExit_Click(); });
  const auto about = [](EventArgs&) { forms::Default<host::frmAbout>().Show(forms::vbModeless); };
  On(controls::cmdAbout, Event::Click, about);
  On(controls::mnuAbout, Event::Click, about);
  On(controls::cmdRefresh, Event::Click, [this](EventArgs&) { cmdRefresh_Click(); });
  On(controls::cmdSyncFromDevice, Event::Click, [this](EventArgs&) { cmdSyncFromDevice_Click(); });
  On(controls::cmdWink, Event::Click, [this](EventArgs&) { cmdWink_Click(); });
  On(controls::cmdReset, Event::Click, [this](EventArgs&) { cmdReset_Click(); });
  On(controls::cmdClearFaults, Event::Click, [this](EventArgs&) { cmdClearFaults_Click(); });
  On(controls::cmdClearLog, Event::Click, [this](EventArgs&) { Ctl(controls::lstLog).Clear(); });
  On(controls::cmdOneOrTwo, Event::Click, [this](EventArgs&) { cmdOneOrTwo_Click(); });
  editors::AttachEditors(*this, [this]() -> device::Orvex_FCU& { return FCU(); });
}

void fMain::Form_Load() {
  BindObjectServerEvents();
  rt::Steps step = rt::Steps::LogAndResumeNext([](int, const rt::Error& error) { LogLoadFailure(error.Description()); });
  step(0, [this] { Move((forms::Screen().Width() - Width()) / 2, (forms::Screen().Height() - Height()) / 2, Width(), Height()); });
  step(0, [this] { SetCaption(MainCaption); });
  step(0, [this] { Ctl(controls::lstLog).Clear(); });
  SettingsLines lines;
  step(0, [&lines] { lines = ReadSettingsFile(LogLoadFailure); });
  step(0, [&lines] {
    if (rt::Len(lines[0]) >= ShortestFirstLine) return;
    lines = DefaultSettingsLines();
    if (!WriteSettingsFile(lines)) rt::Raise(rt::err::PathFileAccessError);
  });
  ReadIntervals(lines[2], lines[3], step);
  step(0, [&] { ApplyWindowMode(lines[0], lines[1]); });
  step(0, [this] { Ctl(controls::tmrActivity).SetEnabled(true); });
  m_RefreshState.m_FirstRefresh = true;
}

// A line with its key sets its timer, raised to the timer's minimum; without the key the timer
// keeps its design interval.
void fMain::ReadIntervals(const std::string& pollLine, const std::string& delayLine, rt::Steps& step) {
  struct Interval {
    const std::string& line;
    const char* key;
    forms::ControlRef<forms::Timer> timer;
    int32_t minimum;
    int32_t& kept;
  };
  for (const Interval& setting :
       {Interval{pollLine, "PollInterval =", controls::tmrOverview, ShortestPoll, m_PollInterval},
        Interval{delayLine, "ActiveDelay =", controls::tmrActivity, ShortestQuiet, m_ActiveDelay}}) {
    auto& timer = Ctl(setting.timer);
    if (Contains(setting.line, setting.key)) {
      step(0, [&] { timer.SetEnabled(false); });
      step(0, [&] { timer.SetInterval(SettingValue(setting.line, setting.key)); });
      step(0, [&] {
        if (timer.Interval() < setting.minimum) timer.SetInterval(setting.minimum);
      });
    }
    setting.kept = timer.Interval();
  }
}

// The first line picks the test-stand caption or the debug page; the second shows the log.
void fMain::ApplyWindowMode(const std::string& modeLine, const std::string& logLine) {
  auto& tabs = Ctl(controls::tabData);
  const bool testStand = Contains(modeLine, "TRUE");
  const bool logWindow = Contains(logLine, "TRUE");
  for (int page = 0; page < tabs.Tabs(); ++page) tabs.SetTabVisible(page, page != DebugPage);
  if (testStand) SetCaption(TestStandCaption);
  if ((!testStand && Contains(modeLine, "DEBUG")) || logWindow) tabs.SetTabVisible(DebugPage, true);
  const forms::ControlRef<forms::Control> logControls[] = {controls::lstLog, controls::lblDataLogger,
                                                           controls::cmdClearLog};
  for (const auto& control : logControls) Ctl(control).SetVisible(logWindow);
}

void fMain::Form_Activate() {
  m_FormActive = true;
  if (Tag() == "Refuse to start") RefuseStart();
}

void fMain::Form_Deactivate() { m_FormActive = false; }

// Enter moves on to the next control, committing an editor; the key itself goes on unchanged.
void fMain::Form_KeyDown(int keyCode) {
  if (keyCode == forms::vbKeyReturn) {
    forms::SendKeys("{TAB}");
  } else if (keyCode == forms::vbKeyTab) {
    forms::SendKeys("{ENTER}");
  }
  ResetActivityTimer();
}

// The close box does what the OK button does, so the window is never unloaded under a director.
void fMain::Form_QueryUnload(int unloadMode, bool& cancel) {
  if (unloadMode != forms::vbFormControlMenu) return;
  cancel = true;
  cmdExit_Click();
}

void fMain::Form_Unload() { host::UnloadOtherWindows(*this); }

// User activity pauses the poll until the user has left the window alone for the quiet time.
void fMain::ResetActivityTimer() {
  auto& quiet = Ctl(controls::tmrActivity);
  quiet.SetEnabled(false);
  Ctl(controls::tmrOverview).SetEnabled(false);
  quiet.SetInterval(m_ActiveDelay);
  quiet.SetEnabled(true);
  m_FormActive = true;
}

void fMain::tabData_Click() {
  ResetActivityTimer();
  int16_t page = CurrentPage();
  RefreshMainForm(page);
}

// The control's events reach this window only while it lives.
void fMain::BindObjectServerEvents() {
  auto server = std::dynamic_pointer_cast<lns::ObjectServer>(Ctl(controls::LcaOS).Object());
  if (!server) return;
  std::weak_ptr<rt::Object> self = weak_from_this();
  server->OnRefreshNotify([] {
    if (forms::Form* active = forms::ActiveForm()) active->Refresh();
  });
  server->OnMonitorUpdate([self](int32_t tag, const rt::Variant& value, const rt::ObjectRef&) {
    if (auto window = std::static_pointer_cast<fMain>(self.lock())) window->LcaOS_MonitorUpdate(tag, value);
  });
}

void fMain::LcaOS_MonitorUpdate(int32_t tag, const rt::Variant& value) {
  host::WriteLog("Received LCA update MonitorTag=>" + std::to_string(tag) + "<  Value=>" + value.ToString() + "<");
}

device::Orvex_FCU& fMain::FCU() {
  if (m_FCU.IsNothing()) m_FCU = std::make_shared<device::Orvex_FCU>();
  return *m_FCU;
}

void fMain::EndPlugIn() {
  if (m_Ending) return;
  m_Ending = true;
  rt::Steps step([](int, const rt::Error&) { return rt::Resume::Next; });
  step(1, [this] { Hide(); });
  step(2, [this] { m_CmdLonMarkObject = nullptr; });
  step(2, [this] { m_AppDevice = nullptr; });
  step(2, [this] { m_FCU = nullptr; });
  step(3, [] { host::CloseConnection(); });
  step(7, [this] { Unload(); });
  forms::App().End();
}

void UseMainWindow() {
  forms::RegisterFormClass<fMain>("fMain");
  host::SetMainWindow(std::make_shared<MainWindowEntry>());
  lns::SetSceneProbe(SceneNow);
}

}  // namespace mainwindow
