#pragma once

#include <string>

#include "../main_window_fixture.h"
#include "device/orvex_fcu.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "lns/device.h"
#include "mainwindow/refresh/refresh.h"

namespace mainwindow::refresh::test {

// The demo unit attached to the main window, whose page refresh is the real one.
class RefreshTest : public mainwindow::test::DemoUnitTest {
 protected:
  void SetUp() override {
    DemoUnitTest::SetUp();
    SetPageRefresh([this](fMain& window, RefreshState& state, int16_t& page) {
      state_ = &state;
      RefreshMainForm(window, state, page);
    });
  }

  void Refresh(int16_t page = 0) { Window().RefreshMainForm(page); }
  void ShowTab(int tab) { ByName().Ctl<forms::TabControl>("tabData").SetTab(tab); }
  std::string Text(const char* control, int index = -1) {
    return index < 0 ? ByName().Ctl<forms::TextControl>(control).Text()
                     : ByName().Ctl<forms::TextControl>(control, index).Text();
  }
  template <class P>
  P& Point(const char* property) {
    return dynamic_cast<P&>(*Window().FCU().Point(property));
  }
  std::string LastLog() { return host::LogLines().back(); }
  // The state the window keeps for its refresh, as the last refresh had it.
  RefreshState& State() { return *state_; }

  // The attached unit stops being read (it is no longer commissioned), so that the points keep
  // the values a test gives them.
  void HoldPoints() { Window().AppDevice()->UnitSetCommission(false, 1); }
  // A point member's value, let as a director would.
  void Let(const char* property, const char* member, rt::Variant value) {
    std::vector<rt::Variant> args{std::move(value)};
    Window().FCU().Point(property)->Invoke(member, rt::Object::CallKind::Let, args);
  }
  void LetNumber(const char* property, const char* member, double value) {
    Let(property, member, rt::Variant::Double(value));
  }

  RefreshState* state_ = nullptr;
};

}  // namespace mainwindow::refresh::test
