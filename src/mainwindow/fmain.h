#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "forms/form.h"
#include "host/commands.h"
#include "mainwindow/page_refresh.h"
#include "runtime/steps.h"
#include "runtime/variant.h"

namespace device {
class Orvex_FCU;
}  // namespace device

namespace lns {
class AppDevice;
class LonMarkObject;
}  // namespace lns

namespace mainwindow {

// The plug-in's working window: loaded hidden with the director's first object, shown when the
// director asks. It attaches the device a "Configure" command names, polls it while left alone
// and ends the plug-in.
class fMain : public forms::Form {
 public:
  fMain();

  // The director's "Configure" command for an application device; catches its own errors.
  void ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, host::PlugInCommand& Command);
  // Binds the device that owns the LonMark object; every error is ignored.
  void ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, host::PlugInCommand& Command);
  // Shuts the plug-in down and ends the process; a second entry returns at once.
  void EndPlugIn();
  // Brings the window up to date with the device: reads the points of `page` and draws the page
  // that is current; never raises. The work is the installed PageRefresh's (page_refresh.h).
  void RefreshMainForm(int16_t& page);

  // What the page refresh and the editors work with.
  // The device object, created on first use and again after the shut-down released it.
  device::Orvex_FCU& FCU();
  // The application device of the last command; Nothing before the first.
  const rt::Ref<lns::AppDevice>& AppDevice() const { return m_AppDevice; }
  // The window's controls, by the references generated from its layout (mainwindow/fmain_controls.h)
  // alone: a misspelt control, or one taken for another kind, does not compile.
  template <class T>
  T& Ctl(const forms::ControlRef<T>& control) {
    return Form::Ctl(control);
  }

 private:
  void On(forms::Event event, forms::Handler handler) { Form::On(event, std::move(handler)); }
  template <class T>
  void On(const forms::ControlRef<T>& control, forms::Event event, forms::Handler handler) {
    Form::On(control, event, std::move(handler));
  }
  template <class T>
  void On(const forms::ControlArray<T>& control, forms::Event event, forms::Handler handler) {
    Form::On(control, event, std::move(handler));
  }

  // The page index that has the device object read every point.
  static constexpr int16_t AllPoints = 99;

  // Life cycle and activity.
  void Form_Load();
  void ReadIntervals(const std::string& pollLine, const std::string& delayLine, rt::Steps& step);
  void ApplyWindowMode(const std::string& modeLine, const std::string& logLine);
  void Form_Activate();
  void Form_Deactivate();
  void Form_KeyDown(int keyCode);
  void Form_QueryUnload(int unloadMode, bool& cancel);
  void Form_Unload();
  void ResetActivityTimer();
  void tabData_Click();
  void BindObjectServerEvents();
  void LcaOS_MonitorUpdate(int32_t tag, const rt::Variant& value);

  // Polling.
  void tmrActivity_Timer();
  void tmrOverview_Timer();
  void ShowTrafficLamp(bool commOk);
  void HideTrafficLamps();
  int16_t CurrentPage();

  // Buttons.
  void cmdExit_Click();
  bool ConfirmExit();
  void cmdRefresh_Click();
  void cmdSyncFromDevice_Click();
  void cmdWink_Click();
  void cmdReset_Click();
  void cmdClearFaults_Click();
  void cmdOneOrTwo_Click();

  // The device attach.
  bool SetDevTemplateLabel();
  bool InitDevice();
  bool DrfLookUp();
  void RefuseStart();

  rt::Ref<device::Orvex_FCU> m_FCU;
  rt::Ref<lns::AppDevice> m_AppDevice;
  rt::Ref<lns::LonMarkObject> m_CmdLonMarkObject;
  bool m_FormActive = false;
  // Held in 32 bits so that settings up to the timers' 65535 ms keep their value.
  int32_t m_PollInterval = 0;
  int32_t m_ActiveDelay = 0;
  bool m_Ending = false;
  RefreshState m_RefreshState;
};

// Makes fMain the host's main window.
void UseMainWindow();

}  // namespace mainwindow
