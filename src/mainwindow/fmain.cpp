#include "mainwindow/fmain.h"

#include <memory>

#include "forms/app.h"
#include "forms/control.h"
#include "host/connection.h"
#include "host/log.h"
#include "host/main_window.h"
#include "host/short_timer.h"
#include "lns/device.h"
#include "lns/interface.h"
#include "lns/journal.h"
#include "mainwindow/settings_file.h"
#include "runtime/convert.h"
#include "runtime/steps.h"

namespace mainwindow {
namespace {

constexpr const char* MainCaption = "LonMark® Plug-In for the OrvexUC_FCU™";
constexpr size_t ShortestFirstLine = 4;
constexpr const char* TrafficLamps = "picNetworkTraffic";

void LogLoadFailure(const std::string& description) { host::WriteLog("FrmMain.load-" + description + " 0"); }

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
  for (int index : window->Indexes(TrafficLamps)) {
    if (window->Ctl(TrafficLamps, index).Visible()) scene.lampsVisible.push_back(index);
  }
  return scene;
}

}  // namespace

fMain::fMain() : Form("fMain") {
  On(forms::Event::Load, [this](forms::EventArgs&) { Form_Load(); });
  On(forms::Event::Unload, [this](forms::EventArgs&) { Form_Unload(); });
  On("tmrShort", forms::Event::Timer, [this](forms::EventArgs&) { tmrShort_Timer(); });
}

void fMain::Form_Load() {
  rt::Steps step = rt::Steps::LogAndResumeNext([](int, const rt::Error& error) { LogLoadFailure(error.Description()); });
  step(1, [this] { Move((forms::Screen().Width() - Width()) / 2, (forms::Screen().Height() - Height()) / 2, Width(), Height()); });
  step(2, [this] { SetCaption(MainCaption); });
  step(3, [this] { Ctl<forms::ListBox>("lstLog").Clear(); });
  SettingsLines lines;
  step(4, [&lines] { lines = ReadSettingsFile(LogLoadFailure); });
  step(5, [&lines] {
    if (lines[0].size() >= ShortestFirstLine) return;
    lines = DefaultSettingsLines();
    if (!WriteSettingsFile(lines)) rt::Raise(rt::err::PathFileAccessError);
  });
}

void fMain::Form_Unload() { host::UnloadOtherWindows(*this); }

void fMain::tmrShort_Timer() { host::ShortTimerTick(); }

void fMain::ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, host::PlugInCommand&) { m_AppDevice = TheDevice; }

void fMain::ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, host::PlugInCommand&) {
  m_CmdLonMarkObject = TheLMObject;
  // The stand-in Object Server counts the collections among the parents, so look for the device.
  m_AppDevice = TheLMObject.IsNothing() ? nullptr : TheLMObject->Ancestor<lns::AppDevice>();
}

void fMain::EndPlugIn() {
  rt::Steps step([](int, const rt::Error&) { return rt::Resume::Next; });
  step(1, [this] { Hide(); });
  step(2, [this] { m_CmdLonMarkObject = nullptr; });
  step(3, [this] { m_AppDevice = nullptr; });
  step(4, [] { host::CloseConnection(); });
  step(5, [this] { Unload(); });
  forms::App().End();
}

void UseMainWindow() {
  forms::RegisterFormClass<fMain>("fMain");
  host::SetMainWindow(std::make_shared<MainWindowEntry>());
  lns::SetSceneProbe(SceneNow);
}

}  // namespace mainwindow
