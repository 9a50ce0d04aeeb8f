#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "host/commands.h"
#include "host/main_window.h"
#include "host/short_timer.h"
#include "lns/device.h"
#include "lns/interface.h"

namespace host::test {

// fMain as the host sees it, from its own layout.
class TestMainForm : public forms::Form {
 public:
  TestMainForm() : Form("fMain") {
    On("tmrShort", forms::Event::Timer, [](forms::EventArgs&) { ShortTimerTick(); });
  }
};

// A window with a sizable border, for the geometry the fixed main window refuses.
class SizableMainForm : public forms::Form {
 public:
  SizableMainForm() : Form("fSizableMain") {}
};

inline constexpr const char* SizableMainLayout = R"({
  "Caption": "Sizable", "BorderStyle": 2, "Width": 4800, "Height": 3600,
  "Controls": [{"Name": "LcaOS", "Kind": "ObjectControl", "ProgID": "Lns.ObjectServerControl"}]
})";

// Records what the host hands to the main window's entry points.
class FakeMainWindow : public MainWindow {
 public:
  forms::Form& Window() override {
    if (windowFailure) throw *windowFailure;
    if (sizable) return forms::Default<SizableMainForm>();
    return forms::Default<TestMainForm>();
  }
  void ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, PlugInCommand& Command) override {
    devices.push_back(TheDevice);
    commands.push_back(Command);
    if (entryFailure) throw *entryFailure;
  }
  void ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, PlugInCommand& Command) override {
    lonMarkObjects.push_back(TheLMObject);
    commands.push_back(Command);
  }
  void EndPlugIn() override { ++endPlugInCalls; }

  bool sizable = false;
  std::optional<rt::Error> windowFailure;
  std::optional<rt::Error> entryFailure;
  std::vector<rt::Ref<lns::AppDevice>> devices;
  std::vector<rt::Ref<lns::LonMarkObject>> lonMarkObjects;
  std::vector<PlugInCommand> commands;
  int endPlugInCalls = 0;
};

}  // namespace host::test
