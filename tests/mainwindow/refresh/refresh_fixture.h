#pragma once

#include <string>

#include "../main_window_fixture.h"
#include "device/orvex_fcu.h"
#include "mainwindow/refresh/refresh.h"

namespace mainwindow::refresh::test {

// The demo unit attached to the main window, whose page refresh is the real one.
class RefreshTest : public mainwindow::test::DemoUnitTest {
 protected:
  void SetUp() override {
    DemoUnitTest::SetUp();
    UsePageRefresh();
  }

  void Refresh(int16_t page = 0) { Window().RefreshMainForm(page); }
  void ShowTab(int tab) { Window().Ctl<forms::TabControl>("tabData").SetTab(tab); }
  std::string Text(const char* control, int index = -1) {
    return index < 0 ? Window().Ctl<forms::TextControl>(control).Text()
                     : Window().Ctl<forms::TextControl>(control, index).Text();
  }
  template <class P>
  P& Point(const char* property) {
    return dynamic_cast<P&>(*Window().FCU().Point(property));
  }
  std::string LastLog() { return host::LogLines().back(); }
};

}  // namespace mainwindow::refresh::test
