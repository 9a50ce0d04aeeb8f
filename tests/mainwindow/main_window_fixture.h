#pragma once

#include <memory>
#include <string>

#include "../host/host_fixture.h"
#include "forms/controls_command.h"
#include "forms/event_loop.h"
#include "forms/input.h"
#include "host/log.h"
#include "host/plugin_api.h"
#include "lns/calls/journal.h"
#include "lns/catalog/catalog_install.h"
#include "lns/tools/demo.h"
#include "mainwindow/fmain.h"
#include "mainwindow/page_refresh.h"
#include "process/files.h"

namespace mainwindow::test {

inline constexpr const char* DefaultSettings =
    "FactoryTester = False\r\nLogWindow = False\r\nPollInterval = 2000\r\nActiveDelay = 4000\r\n";
inline constexpr const char* DemoDevicePath = "Demo/Demo/Subsystem 1/FCU 1";

// The plug-in's process with the real main window, on the virtual clock.
class MainWindowTest : public host::test::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    UseMainWindow();
  }
  void TearDown() override {
    SetPageRefresh(nullptr);
    HostTest::TearDown();
  }

  fMain& Window() { return forms::Default<fMain>(); }
  // The same window as a plain form, whose controls a test reaches by name.
  forms::Form& ByName() { return Window(); }
  forms::Timer& Timer(const char* name) { return ByName().Ctl<forms::Timer>(name); }
  void WriteSettings(const std::string& text) { host::test::WriteFile(programFolder_ / "OrvexUC_FCU.ini", text); }
  std::string SettingsText() const {
    return proc::ReadWholeFile(programFolder_ / "OrvexUC_FCU.ini").value_or("<none>");
  }

  // A director's object on the demo network.
  std::shared_ptr<host::LNSPlugInAPI> OpenDemo() {
    lns::CreateDemoNetwork((root_ / "xif").string());
    auto plugIn = std::make_shared<host::LNSPlugInAPI>();
    plugIn->put_networkName("Demo");
    return plugIn;
  }
};

// The demo unit on a machine with the LonWorks installation, a director's object on its network.
class DemoUnitTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // The attach never runs the conversion tool: a stand-in file keeps the installation small.
    host::test::WriteFile(root_ / "xif32bin", "");
    lns::InstallLonWorks(root_ / "xif32bin");
    plugIn_ = OpenDemo();
  }
  void TearDown() override {
    plugIn_.reset();
    MainWindowTest::TearDown();
  }

  void Configure(const std::string& path = DemoDevicePath) { plugIn_->SendCommand(13, 7, path); }
  static size_t Calls(const std::string& member, rt::Object::CallKind kind) {
    size_t calls = 0;
    for (const auto& entry : lns::JournalEntries()) calls += entry.member == member && entry.kind == kind ? 1 : 0;
    return calls;
  }
  static size_t PointReads() { return Calls("Value", rt::Object::CallKind::Get); }

  std::shared_ptr<host::LNSPlugInAPI> plugIn_;
};

}  // namespace mainwindow::test
