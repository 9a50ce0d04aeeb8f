#include <string>

#include "forms/app.h"
#include "forms/constants.h"
#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "host/log.h"
#include "host/main_window.h"
#include "lns/device.h"
#include "mainwindow/error_line.h"
#include "mainwindow/page_refresh.h"
#include "mainwindow/refresh/page_steps.h"
#include "mainwindow/refresh/refresh.h"

namespace mainwindow::refresh {
namespace {

constexpr int OpeningLine = 10;
constexpr int ReadLine = 20;
constexpr int LampsOffLine = 22;
constexpr int StateLine = 30;  // a failure here means the device did not answer
constexpr int ResyncLine = 36;
constexpr int ClosingLine = 5000;

using Lamp = forms::ControlRef<forms::PictureBox>;
constexpr Lamp LampAnswered = controls::picNetworkTraffic[1];
constexpr Lamp LampFailed = controls::picNetworkTraffic[2];

constexpr TextRow<int16_t> StateLogRows[] = {
    {2, "Device Online Status = UnConfig"},      {3, "Device Online Status = NoAppUnCnfg"},
    {4, ""},                                     {6, "Device Online Status = OffLine"},
    {12, "Device Online Status = Soft OffLine"}, {140, "Device Online Status = CnfgBypass"},
};
// The log line of a device state; none for "Config Online".
constexpr TextTable<int16_t> StateLogLine{StateLogRows, "Device Online Status = Undefined"};

void GeneralStep(Refresh& refresh) {
  SetpointGraph(refresh);
  GeneralPage(refresh);
}
void DebugPage(Refresh&) {}

struct PageStep {
  int line;  // of the tab test
  int tab;
  void (*render)(Refresh&);
};
constexpr PageStep PageSteps[] = {
    {50, 0, StatusPage},      {68, 1, GeneralStep},  {2000, 2, DeviceSetupPage},
    {2006, 3, InputOutputPage}, {3000, 4, JumpersPage}, {4000, 5, DebugPage},
};

void SetPointer(int pointer) { forms::Screen().SetMousePointer(pointer); }

void ShowLamp(Refresh& refresh, const Lamp& shown, const Lamp& hidden, int line) {
  refresh(line, [&] { refresh.Ctl(shown).SetVisible(true); });
  refresh(line, [&] { refresh.Ctl(hidden).SetVisible(false); });
}

void LogDeviceState(fMain& window) {
  const std::string_view line = StateLogLine(window.AppDevice()->get_State());
  if (!line.empty()) host::WriteLog(std::string(line));
}

// The resynchronisation runs once per window: the flag goes down before the call, so that a
// refresh run while the call lets the window's messages run does not ask again.
void ResynchronizeOnce(Refresh& refresh) {
  fMain& window = refresh.Window();
  RefreshState& state = refresh.State();
  if (!refresh.If(ResyncLine, [&] { return state.m_FirstRefresh; })) return;
  refresh(ResyncLine, [] { SetPointer(forms::vbHourglass); });
  refresh(ResyncLine, [&] { state.m_FirstRefresh = false; });
  refresh(ResyncLine, [&] { window.AppDevice()->SynchronizeCpValues(1); });
  refresh(ResyncLine, [] { forms::DoEvents(); });
  refresh(ResyncLine, [] { SetPointer(forms::vbDefault); });
}

void RenderCurrentPage(Refresh& refresh) {
  for (const PageStep& page : PageSteps) {
    if (refresh.If(page.line, [&] { return refresh.Ctl(controls::tabData).Tab() == page.tab; })) {
      page.render(refresh);
    }
  }
}

}  // namespace

void RefreshMainForm(fMain& window, RefreshState& state, int16_t& page) {
  Refresh refresh(window, state);
  if (refresh.If(OpeningLine, [] { return host::g_CannotConfigure != 0; })) {
    refresh(OpeningLine, [] { host::WriteLog("RefreshMainForm(g_CannotConfigure = True)"); });
    return;
  }
  const bool waitCursor = refresh.If(OpeningLine, [&] { return !refresh.Ctl(controls::tmrOverview).Enabled(); });
  if (waitCursor) refresh(OpeningLine, [] { SetPointer(forms::vbHourglass); });
  if (refresh.If(OpeningLine, [&] { return window.FCU().get_Initializing(); })) {
    if (waitCursor) refresh(OpeningLine, [] { SetPointer(forms::vbDefault); });
    return;
  }
  if (refresh.If(OpeningLine, [&] { return state.m_CommOk; })) {
    ShowLamp(refresh, LampAnswered, LampFailed, OpeningLine);
  } else {
    ShowLamp(refresh, LampFailed, LampAnswered, OpeningLine);
  }
  refresh(ReadLine, [&] { window.FCU().ReadDevice(page); });
  refresh(LampsOffLine, [&] { refresh.Ctl(LampAnswered).SetVisible(false); });
  refresh(LampsOffLine, [&] { refresh.Ctl(LampFailed).SetVisible(false); });
  refresh(LampsOffLine, [&] { state.m_CommOk = true; });
  refresh(StateLine, [&] { LogDeviceState(window); });
  ResynchronizeOnce(refresh);
  RenderCurrentPage(refresh);
  refresh(ClosingLine, [] { SetPointer(forms::vbDefault); });
}

void UsePageRefresh() { SetPageRefresh(RefreshMainForm); }

// The error line goes to the log; when even that fails the refresh goes on, since nothing may
// escape it into the event loop.
Refresh::Refresh(fMain& window, RefreshState& state)
    : window_(window), state_(state), steps_(rt::Steps::LogAndResumeNext([&state](int line, const rt::Error& error) {
        if (line == StateLine) state.m_CommOk = false;
        try {
          host::WriteLog(ErrorLine(error, line, "RefreshMainForm"));
        } catch (...) {  // NOLINT(bugprone-empty-catch)
        }
      })) {}

void Refresh::SetText(int line, const forms::ControlRef<forms::TextControl>& box,
                      const std::function<std::string()>& text) {
  (*this)(line, [&] { Ctl(box).SetText(text()); });
}

void Refresh::SetEnabled(int line, const forms::ControlRef<forms::Control>& control, bool enabled) {
  (*this)(line, [&] { Ctl(control).SetEnabled(enabled); });
}

void Refresh::UnlessBusy(int line, const forms::ControlRef<forms::Control>& box, const std::function<void()>& write) {
  if (If(line, [&] { return Ctl(box).Tag() != "Busy"; })) (*this)(line, write);
}

}  // namespace mainwindow::refresh
