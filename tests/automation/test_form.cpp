#include "test_form.h"

#include "forms/constants.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "forms/layout.h"
#include "forms/msgbox.h"

namespace automation::testing {
namespace {

constexpr const char* Layout = R"({
  "Caption": "Channel Test",
  "BorderStyle": 1,
  "ClientWidth": 4800,
  "ClientHeight": 3600,
  "Controls": [
    {"Name": "txtValue", "Kind": "TextBox", "Left": 120, "Top": 120, "Width": 2000, "Height": 315, "TabIndex": 0},
    {"Name": "cmdApply", "Kind": "CommandButton", "Caption": "&Apply", "Left": 2280, "Top": 120, "Width": 1095,
     "Height": 375, "TabIndex": 1},
    {"Name": "cmdAsk", "Kind": "CommandButton", "Caption": "As&k", "Left": 3480, "Top": 120, "Width": 1095,
     "Height": 375, "TabIndex": 2},
    {"Name": "lblResult", "Kind": "Label", "Caption": "", "Left": 120, "Top": 600, "Width": 3000, "Height": 255},
    {"Name": "lblTicks", "Kind": "Label", "Caption": "0", "Left": 3240, "Top": 600, "Width": 1335, "Height": 255},
    {"Name": "cmdPick", "Kind": "CommandButton", "Caption": "&File...", "Left": 120, "Top": 960, "Width": 1095,
     "Height": 375, "TabIndex": 3},
    {"Name": "tmrTick", "Kind": "Timer", "Interval": 1000, "Enabled": true},
    {"Name": "dlgFile", "Kind": "CommonDialog"},
    {"Name": "tabPages", "Kind": "TabControl", "Left": 120, "Top": 1440, "Width": 4560, "Height": 2040, "TabIndex": 4,
     "Pages": [
       {"Caption": "First", "Controls": [
         {"Name": "cboMode", "Kind": "ComboBox", "Left": 120, "Top": 480, "Width": 2000, "Height": 315, "TabIndex": 5,
          "List": ["Auto", "Heat", "Cool"]}]},
       {"Caption": "Second", "Controls": [
         {"Name": "lblSecond", "Kind": "Label", "Caption": "Second page", "Left": 120, "Top": 480, "Width": 2000,
          "Height": 255}]}]}
  ]
})";

void Log(std::string line) { TestLog().push_back(std::move(line)); }

}  // namespace

std::vector<std::string>& TestLog() {
  static std::vector<std::string> lines;
  return lines;
}

fChannelTest::fChannelTest() : Form("fChannelTest") {
  using forms::Event;
  On("txtValue", Event::GotFocus, [](forms::EventArgs&) { Log("txtValue_GotFocus"); });
  On("txtValue", Event::Validate, [](forms::EventArgs&) { Log("txtValue_Validate"); });
  On("txtValue", Event::LostFocus, [](forms::EventArgs&) { Log("txtValue_LostFocus"); });
  On("cmdApply", Event::Click, [this](forms::EventArgs&) { cmdApply_Click(); });
  On("cmdAsk", Event::Click, [this](forms::EventArgs&) { cmdAsk_Click(); });
  On("cmdPick", Event::Click, [this](forms::EventArgs&) { cmdPick_Click(); });
  On("tmrTick", Event::Timer, [this](forms::EventArgs&) { tmrTick_Timer(); });
  On("tabPages", Event::Click, [](forms::EventArgs& e) { Log("tabPages_Click " + std::to_string(e.previousTab)); });
  On("cboMode", Event::Click, [](forms::EventArgs&) { Log("cboMode_Click"); });
  On("lblTicks", Event::MouseMove, [](forms::EventArgs&) { Log("lblTicks_MouseMove"); });
}

void fChannelTest::cmdApply_Click() {
  Log("cmdApply_Click");
  Ctl<forms::Label>("lblResult").SetCaption(Ctl<forms::TextBox>("txtValue").Text());
}

void fChannelTest::cmdAsk_Click() {
  const int answer = forms::MsgBox("Apply the value?", forms::vbYesNo + forms::vbQuestion);
  Ctl<forms::Label>("lblResult").SetCaption(answer == forms::vbYes ? "Yes" : "No");
}

void fChannelTest::cmdPick_Click() {
  auto& dialog = Ctl<forms::CommonDialog>("dlgFile");
  dialog.SetDialogTitle("Locate the file");
  dialog.ShowOpen();
  Ctl<forms::Label>("lblResult").SetCaption(dialog.FileName());
}

void fChannelTest::tmrTick_Timer() {
  ++ticks_;
  Ctl<forms::Label>("lblTicks").SetCaption(std::to_string(ticks_));
}

void AddTestForm() {
  forms::RegisterLayout("fChannelTest", Layout);
  forms::RegisterFormClass<fChannelTest>("fChannelTest");
}

}  // namespace automation::testing
