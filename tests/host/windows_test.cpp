#include <gmock/gmock.h>
#include <sys/stat.h>

#include "forms/app.h"
#include "forms/controls_text.h"
#include "forms/input.h"
#include "forms/msgbox.h"
#include "host/about.h"
#include "host/cregistry.h"
#include "host/main_window.h"
#include "host/progress.h"
#include "lns/calls/faults.h"
#include "plugin_test_support.h"
#include "support/eventually.h"

namespace host::test {
namespace {

std::string CaptionOf(forms::Form& form, const char* label) { return form.Ctl<forms::Label>(label).Caption(); }

class AboutTest : public PlugInTest {
 protected:
  frmAbout& ShowAbout() {
    auto& about = forms::Default<frmAbout>();
    about.Show(forms::vbModeless);
    return about;
  }
};

TEST_F(AboutTest, TextsOfTheRunningPlugIn) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  auto& about = ShowAbout();
  EXPECT_EQ(about.Caption(), "About OrvexUC_FCU™ Device Plug-In");
  EXPECT_EQ(CaptionOf(about, "lblTitle"), "OrvexUC_FCU™ Device Plug-In");
  EXPECT_EQ(CaptionOf(about, "lblVersion"), "Software PN 7350218-01-1");
  EXPECT_EQ(CaptionOf(about, "lblDescription"), "Configures the selected Orvex Fan Coil Unit");
  EXPECT_EQ(CaptionOf(about, "lblCommissionStatus"), "Commission Status: Commissioned");
  EXPECT_EQ(CaptionOf(about, "lblmgmtMode"), "Management Mode: OnNet");
}

TEST_F(AboutTest, LiveFactsAndVersionVariants) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  g_System->put_ManagementMode(1);
  g_CannotConfigure = rt::VbTrue;
  forms::App().SetVersion(1, 12);
  auto& about = ShowAbout();
  EXPECT_EQ(CaptionOf(about, "lblVersion"), "Software PN 7350218-01-12");
  EXPECT_EQ(CaptionOf(about, "lblCommissionStatus"), "Commission Status: Not Commissioned");
  EXPECT_EQ(CaptionOf(about, "lblmgmtMode"), "Management Mode: OffNet");
}

TEST_F(AboutTest, WithoutAnOpenSystemTheModeKeepsItsDesignText) {
  auto& about = ShowAbout();
  EXPECT_EQ(CaptionOf(about, "lblmgmtMode"), "Management Mode:");
  forms::input::Click(about.Ctl("cmdOK"));
  EXPECT_FALSE(forms::DefaultExists<frmAbout>());
}

TEST_F(AboutTest, SystemInformationIsFoundThroughTheRegistryOrUnavailable) {
  const fs::path tools = root_ / "tools";
  const fs::path marker = root_ / "sysinfo-ran";
  WriteFile(tools / "MSINFO32.EXE", "#!/bin/sh\ntouch '" + marker.string() + "'\n");
  chmod((tools / "MSINFO32.EXE").c_str(), 0755);
  auto& about = ShowAbout();
  forms::input::Click(about.Ctl("cmdSysInfo"));
  ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_EQ(forms::MsgBoxRecords().back().prompt, "System Information Is Unavailable At This Time");
  EXPECT_EQ(forms::MsgBoxRecords().back().title, "LNS Plug-in for OrvexUC FCU");
  EXPECT_EQ(forms::MsgBoxRecords().back().Icon(), 0);

  CRegistry().put_MachineSetting("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", tools.string());
  forms::input::Click(about.Ctl("cmdSysInfo"));
  EXPECT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_TRUE(orvex::test::Eventually([&] { return fs::exists(marker); }));
  EXPECT_TRUE(about.IsLoaded());
}

TEST_F(AboutTest, GetKeyValueTakesStringsAndNumbers) {
  CRegistry().put_MachineSetting("SOFTWARE\\Probe", "Text", "value");
  reg::HKEY key{};
  ASSERT_EQ(reg::RegCreateKey(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Probe", &key), reg::ERROR_SUCCESS);
  const uint32_t number = 258;
  reg::RegSetValueEx(key, "Number", 0, reg::REG_DWORD, reinterpret_cast<const reg::BYTE*>(&number), 4);
  reg::RegSetValueEx(key, "Expand", 0, reg::REG_EXPAND_SZ, reinterpret_cast<const reg::BYTE*>("x"), 2);
  reg::RegCloseKey(key);
  auto& about = ShowAbout();
  struct Case {
    const char* key;
    const char* value;
    bool found;
    const char* text;
  };
  for (const Case& c : {Case{"SOFTWARE\\Probe", "Text", true, "value"}, Case{"SOFTWARE\\Probe", "Number", true, "258"},
                        Case{"SOFTWARE\\Probe", "Expand", true, "before"}, Case{"SOFTWARE\\Probe", "Missing", false, ""},
                        Case{"SOFTWARE\\Nowhere", "Text", false, ""}}) {
    std::string text = "before";
    EXPECT_EQ(about.GetKeyValue(reg::HKEY_LOCAL_MACHINE, c.key, c.value, text), c.found) << c.value;
    EXPECT_EQ(text, c.text) << c.value;
  }
}

class ProgressTest : public HostTest {};

TEST_F(ProgressTest, DisplayStatusShowsTheWindowWithTheHourglass) {
  auto& progress = forms::Default<fProgress>();
  EXPECT_EQ(progress.Ctl<forms::Label>("Status").Caption(), "Initializating plug-in . . .");
  progress.Unload();
  forms::Default<fProgress>().put_DisplayStatus("Reading the device state...");
  auto& shown = forms::Default<fProgress>();
  EXPECT_TRUE(shown.Visible());
  EXPECT_EQ(shown.Caption(), "Velmora OrvexUC_FCU Plug-In");
  EXPECT_EQ(shown.Ctl<forms::Label>("Status").Caption(), "Reading the device state...");
  EXPECT_EQ(forms::Screen().MousePointer(), forms::vbHourglass);
  const int changes = forms::Screen().MousePointerChanges();
  shown.put_DisplayStatus("Complete DRF look-up in progress...");
  EXPECT_EQ(forms::Screen().MousePointerChanges(), changes);
  EXPECT_EQ(shown.Ctl<forms::Label>("Status").Caption(), "Complete DRF look-up in progress...");
  UnloadProgressWindow();
  EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
  EXPECT_FALSE(forms::DefaultExists<fProgress>());
}

class BareMainWindowTest : public HostTest {};

TEST_F(BareMainWindowTest, EndPlugInClosesTheConnectionAndEnds) {
  ASSERT_TRUE(lns::CreateDemoNetwork((root_ / "xif").string()));
  {
    auto plugIn = std::make_shared<LNSPlugInAPI>();
    plugIn->put_networkName("Demo");
    forms::Default<fProgress>().Show();
  }
  EXPECT_EQ(ends_, 1);
  EXPECT_FALSE(g_NetworkOpen);
  EXPECT_FALSE(g_ObjectServerOpen);
  EXPECT_TRUE(g_System.IsNothing());
  EXPECT_TRUE(g_Network.IsNothing());
  EXPECT_FALSE(g_ObjectServer->get_IsOpen());
  EXPECT_TRUE(forms::Forms().empty());
}

}  // namespace
}  // namespace host::test
