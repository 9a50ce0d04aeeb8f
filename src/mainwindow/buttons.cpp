#include <algorithm>
#include <functional>

#include "device/orvex_fcu.h"
#include "forms/app.h"
#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/identity.h"
#include "host/log.h"
#include "lns/device.h"
#include "mainwindow/error_line.h"
#include "mainwindow/fmain.h"
#include "mainwindow/fmain_controls.h"
#include "points/nv/snvt_switch.h"

namespace mainwindow {
namespace {

constexpr float SchematicShown = 60;
constexpr float SchematicParked = 16000;

// A button's call on the device: a failure is logged, the rest of the action skipped and the
// default pointer put back; the plug-in goes on without a box.
void RunDeviceAction(const char* procedure, const std::function<void(rt::Steps&)>& action) {
  rt::Steps step([procedure](int line, const rt::Error& error) {
    host::WriteLog(ErrorLine(error, line, procedure));
    return rt::Resume::Exit;
  });
  action(step);
  forms::Screen().SetMousePointer(forms::vbDefault);
}

// The question names the directors besides the one the technician works in.
std::string ExitQuestion(int otherDirectors) {
  if (otherDirectors == 1) {
    return "A director is using this plug-in.  Exiting may cause the director to experience errors.  Are you sure "
           "that you want to exit?";
  }
  return "There are " + std::to_string(otherDirectors) +
         " directors using this plug-in.  Exiting may cause the directors to experience errors.  Are you sure that "
         "you want to exit?";
}

}  // namespace

void fMain::cmdExit_Click() {
  if (ConfirmExit()) {
    EndPlugIn();
  } else {
    Hide();
  }
}

// One director holds the plug-in: it ends without a question.
bool fMain::ConfirmExit() {
  if (host::g_InstanceCount == 1) return true;
  const std::string question = ExitQuestion(std::max(host::g_InstanceCount - 1, 0));
  return forms::MsgBox(question, forms::vbYesNo | forms::vbDefaultButton2, host::PlugInName) == forms::vbYes;
}

void fMain::cmdRefresh_Click() {
  auto& button = Ctl(controls::cmdRefresh);
  button.SetEnabled(false);
  int16_t page = CurrentPage();
  RefreshMainForm(page);
  button.SetEnabled(true);
}

void fMain::cmdSyncFromDevice_Click() {
  RunDeviceAction("cmdSyncFromDevice_Click", [this](rt::Steps& step) {
    step(1, [] { forms::Screen().SetMousePointer(forms::vbHourglass); });
    step(2, [this] { m_AppDevice->SynchronizeCpValues(1); });
    step(3, [] { forms::DoEvents(); });
    step(4, [this] {
      int16_t page = CurrentPage();
      RefreshMainForm(page);
    });
  });
}

void fMain::cmdWink_Click() {
  RunDeviceAction("cmdWink_Click", [this](rt::Steps& step) { step(1, [this] { FCU().Wink(); }); });
}

void fMain::cmdReset_Click() {
  RunDeviceAction("cmdReset_Click", [this](rt::Steps& step) { step(1, [this] { FCU().Reset(); }); });
}

// The unit clears its alarms when the switch goes on at full level. A client may have replaced
// the point with Nothing: that is logged like a refused wink.
void fMain::cmdClearFaults_Click() {
  RunDeviceAction("cmdClearFaults_Click", [this](rt::Steps& step) {
    rt::Ref<points::SNVT_switch> clearAlarm;
    step(1, [&] { clearAlarm = std::dynamic_pointer_cast<points::SNVT_switch>(FCU().Point("nviClearAlarm").Shared()); });
    step(2, [&] { clearAlarm->put_State(1); });
    step(3, [&] { clearAlarm->put_Value(100.0); });
    step(4, [&] { clearAlarm->WriteNV(); });
  });
}

void fMain::cmdOneOrTwo_Click() {
  auto& single = Ctl(controls::picSingleCompressorSystem);
  auto& dual = Ctl(controls::picDualCompressorSystem);
  auto& button = Ctl(controls::cmdOneOrTwo);
  const bool singleShown = single.Left() == SchematicShown;
  dual.SetLeft(singleShown ? SchematicShown : SchematicParked);
  single.SetLeft(singleShown ? SchematicParked : SchematicShown);
  button.SetCaption(singleShown ? "One" : "Two");
  int16_t statusPage = 0;
  RefreshMainForm(statusPage);
}

}  // namespace mainwindow
