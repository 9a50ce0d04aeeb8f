#include "device/orvex_fcu.h"
#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "host/main_window.h"
#include "mainwindow/fmain.h"
#include "mainwindow/fmain_controls.h"

namespace mainwindow {
namespace {

constexpr int LampAnswered = 1;
constexpr int LampFailed = 2;

}  // namespace

// The quiet time is over: the poll starts, unless the network could not be put OnNet.
void fMain::tmrActivity_Timer() {
  Ctl(controls::tmrActivity).SetEnabled(false);
  if (host::g_CannotConfigure) return;
  auto& poll = Ctl(controls::tmrOverview);
  poll.SetInterval(m_PollInterval);
  poll.SetEnabled(true);
}

// A tick refreshes the page the user looks at; otherwise it only reads every point.
void fMain::tmrOverview_Timer() {
  ShowTrafficLamp(m_RefreshState.m_CommOk);
  if (m_FormActive) {
    int16_t page = CurrentPage();
    RefreshMainForm(page);
  } else {
    FCU().ReadDevice(AllPoints);
  }
  HideTrafficLamps();
}

void fMain::ShowTrafficLamp(bool commOk) {
  Ctl(controls::picNetworkTraffic[LampAnswered]).SetVisible(commOk);
  Ctl(controls::picNetworkTraffic[LampFailed]).SetVisible(!commOk);
}

void fMain::HideTrafficLamps() {
  Ctl(controls::picNetworkTraffic[LampAnswered]).SetVisible(false);
  Ctl(controls::picNetworkTraffic[LampFailed]).SetVisible(false);
}

int16_t fMain::CurrentPage() { return static_cast<int16_t>(Ctl(controls::tabData).Tab()); }

}  // namespace mainwindow
