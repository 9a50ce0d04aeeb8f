#pragma once

#include <string>
#include <vector>

#include "../main_window_fixture.h"
#include "device/orvex_fcu.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "forms/msgbox.h"
#include "lns/device.h"
#include "lns/lookup.h"
#include "lns/values/codec.h"

namespace mainwindow::test {

inline constexpr const char* DemoUnit = "Demo/Subsystem 1/FCU 1";
inline constexpr int GeneralPage = 1;
inline constexpr int DeviceSetupPage = 2;
inline constexpr int JumpersPage = 4;

// The unit's own record of a point (an LNS designator such as "nviOccManCmd/SCPTbypassTime").
inline const lns::Bytes& UnitBytes(const std::string& point) {
  return lns::FindOpenDevice(DemoUnit)->FindPoint(point)->DeviceBytes();
}
inline rt::Variant UnitValue(const std::string& point) {
  auto unit = lns::FindOpenDevice(DemoUnit)->FindPoint(point);
  return lns::PresentValue(unit->DeviceType(), unit->CurrentFormat(), unit->DeviceBytes());
}

// The demo unit attached and the window in front, its pages left as they are by the refresh.
class EditorTest : public DemoUnitTest {
 protected:
  void SetUp() override {
    DemoUnitTest::SetUp();
    SetPageRefresh([](fMain&, RefreshState&, int16_t&) {});
    Configure();
    Window().Show();
  }

  void Page(int page) { forms::input::SelectTab(ByName().Ctl<forms::TabControl>("tabData"), page); }
  forms::TextControl& Box(const std::string& name, int index = -1) {
    return index < 0 ? ByName().Ctl<forms::TextControl>(name) : ByName().Ctl<forms::TextControl>(name, index);
  }
  // The technician types over the box's text (an empty entry deletes it), then clicks the page's
  // tab row: the focus leaves the box.
  void Edit(forms::TextControl& box, const std::string& text) {
    forms::input::TypeText(box, text.empty() ? "\b" : text);
    Leave();
  }
  void Leave() { forms::input::Click(ByName().Ctl("tabData")); }

  template <class T>
  T& Point(const char* property) {
    return dynamic_cast<T&>(*Window().FCU().Point(property));
  }
  // Values the plug-in sent to a point of the unit (to any, for "") since the journal was cleared.
  static size_t Writes(const std::string& designator) {
    const std::string point = designator.substr(designator.rfind('/') + 1);
    size_t writes = 0;
    for (const auto& entry : lns::JournalEntries()) {
      const bool onPoint = entry.path.size() >= point.size() && entry.path.ends_with(point);
      writes += onPoint && entry.member == "Value" && entry.kind == rt::Object::CallKind::Let ? 1 : 0;
    }
    return writes;
  }
  // The prompts of the message boxes opened since the last call.
  std::vector<std::string> NewMessages() {
    std::vector<std::string> prompts;
    const auto& records = forms::MsgBoxRecords();
    for (size_t i = seenMessages_; i < records.size(); ++i) prompts.push_back(records[i].prompt);
    seenMessages_ = records.size();
    return prompts;
  }
  static std::vector<std::string> Bound(const char* side, const std::string& bound) {
    return {"This value cannot be " + std::string(side) + " than " + bound + "\r\nPlease try again."};
  }

  size_t seenMessages_ = 0;
};

}  // namespace mainwindow::test
