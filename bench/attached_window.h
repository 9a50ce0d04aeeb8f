#pragma once

// The main window as a director leaves it after "Configure", for the benchmarks that work on it;
// a benchmark that includes this defines XIF32BIN_TOOL, the conversion tool's path.

#include <cstdint>
#include <optional>
#include <string_view>

#include "forms/app.h"
#include "forms/msgbox.h"
#include "host/plugin_api.h"
#include "host/startup.h"
#include "lns/catalog/catalog_install.h"
#include "lns/tools/demo.h"
#include "mainwindow/fmain.h"
#include "mainwindow/refresh/refresh.h"
#include "support/temp_machine.h"

namespace orvex::bench {

inline mainwindow::fMain& Window() { return forms::Default<mainwindow::fMain>(); }

// The demo machine and the plug-in as the program sets them up, its window attached to the demo
// unit and shown.
struct AttachedWindow {
  orvex::test::TempMachine machine;
  std::optional<host::LNSPlugInAPI> plugIn;

  explicit AttachedWindow(std::string_view tag) : machine(tag) {
    constexpr int32_t Configure = 13;
    constexpr int32_t DeviceCommand = 7;
    host::SetUpPlugIn();
    mainwindow::UseMainWindow();
    mainwindow::refresh::UsePageRefresh();
    lns::CreateDemoNetwork(lns::InstallLonWorks(XIF32BIN_TOOL).xifFolder.string());
    forms::App().SetPath(machine.Root().string());
    forms::App().SetEndHook([] {});
    forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
    // The plug-in's first object loads the window, which reads its settings from the path above.
    plugIn.emplace();
    plugIn->put_networkName(lns::DemoNetworkName);
    plugIn->SendCommand(Configure, DeviceCommand, "Demo/Demo/Subsystem 1/FCU 1");
    plugIn->put_Visible(true);
  }
};

}  // namespace orvex::bench
