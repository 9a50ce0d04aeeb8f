#pragma once

#include <memory>

#include "forms/form.h"
#include "runtime/variant.h"

namespace lns {
class AppDevice;
class LonMarkObject;
}  // namespace lns

namespace host {

struct PlugInCommand;

// What the host uses of the main window fMain. The main window sits above the host, so it
// registers itself here at start; until then the host works with the bare window of its layout.
class MainWindow {
 public:
  virtual ~MainWindow() = default;
  // fMain's default instance; reaching it loads it, hidden, when it is not loaded.
  virtual forms::Form& Window() = 0;
  // Both keep what the object path named and catch their own errors.
  virtual void ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, PlugInCommand& Command) = 0;
  virtual void ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, PlugInCommand& Command) = 0;
  // Shuts the plug-in down and ends the process (returns only under a test's end hook).
  virtual void EndPlugIn() = 0;
};

// The main window's device handling found the network still OffNet (an Integer used as a
// Boolean); the main window sets and clears it, the About box reads it.
extern int16_t& g_CannotConfigure;

// What the main window's unload does to the program's other windows: unloads every one that is
// loaded, ignoring their failures.
void UnloadOtherWindows(const forms::Form& mainWindow);

// nullptr goes back to a fresh bare window.
void SetMainWindow(std::shared_ptr<MainWindow> window);
MainWindow& fMain();

}  // namespace host
