#pragma once

#include "forms/form.h"
#include "host/commands.h"
#include "runtime/variant.h"

namespace lns {
class AppDevice;
class LonMarkObject;
}  // namespace lns

namespace mainwindow {

// The plug-in's main window. The device attach, polling, editors and pages come with the full
// window; here are the Object Server control, the log, the seconds countdown and the three entry
// points the host calls.
class fMain : public forms::Form {
 public:
  fMain();

  void ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, host::PlugInCommand& Command);
  void ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, host::PlugInCommand& Command);
  void EndPlugIn();

 private:
  void Form_Load();
  void Form_Unload();
  void tmrShort_Timer();

  rt::Ref<lns::AppDevice> m_AppDevice;
  rt::Ref<lns::LonMarkObject> m_CmdLonMarkObject;
};

// Makes fMain the host's main window.
void UseMainWindow();

}  // namespace mainwindow
