// Focus, keys and tab navigation: the order of events the editors rely on.
#include "forms_fixture.h"

#include "forms/control.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"

using forms::Event;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr auto kFocusEvents = {Event::Validate, Event::LostFocus, Event::GotFocus};

class FocusTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = forms::New<RecordingForm>();
    for (const char* name : {"txtA", "txtB", "cboMode", "txtNoStop", "tabData", "cmdOK", "cmdExit"}) {
      form->Watch(name, kFocusEvents);
    }
    form->Watch("txtCP", kFocusEvents);
    form->Watch("cmdOK", {Event::MouseDown, Event::MouseUp, Event::Click});
    form->Show();
    form->events.clear();
  }

  forms::Control& Ctl(const char* name, int index = -1) {
    return index < 0 ? form->Ctl(name) : form->Ctl(name, index);
  }

  std::shared_ptr<RecordingForm> form;
};

TEST_F(FocusTest, ShowFocusesTheFirstControlInTabOrder) {
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtA"));
}

TEST_F(FocusTest, ClickOnAButtonValidatesTheEditorLeftBeforeTheClick) {
  forms::input::Click(Ctl("cmdOK"));
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "cmdOK_GotFocus", "cmdOK_MouseDown",
                                        "cmdOK_MouseUp", "cmdOK_Click"));
}

TEST_F(FocusTest, CancelledValidateKeepsTheFocusAndDropsTheClick) {
  form->On("txtA", Event::Validate, [this](forms::EventArgs& e) {
    form->events.push_back("txtA_Validate");
    e.cancel = true;
  });
  forms::input::Click(Ctl("cmdOK"));
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate"));
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtA"));
}

TEST_F(FocusTest, ALockedBoxOutsideTheTabOrderIsClickedWithoutTakingTheFocus) {
  auto& display = form->Ctl<forms::TextBox>("txtNoStop");
  display.SetLocked(true);
  form->Watch("txtNoStop", {Event::Click});
  forms::input::Click(display);
  EXPECT_THAT(form->events, ElementsAre("txtNoStop_Click"));
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtA"));
  EXPECT_EQ(ErrorNumberOf([&] { forms::input::Focus(display); }), forms::err::InputRefused);
  EXPECT_EQ(ErrorNumberOf([&] { forms::input::TypeText(display, "1"); }), forms::err::InputRefused);
  EXPECT_EQ(ErrorNumberOf([&] { forms::input::Key(display, forms::vbKeyBack); }), forms::err::InputRefused);
}

// A key to a control that cannot hold the focus would reach the focused box or the default button.
TEST_F(FocusTest, FocusAndKeysAreRefusedWhereTheFocusCannotGo) {
  form->Watch("txtA", {Event::KeyDown, Event::KeyPress});
  for (const char* name : {"lblAuto", "fraGroup", "shpCoil", "Line1"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ErrorNumberOf([&] { forms::input::Focus(Ctl(name)); }), forms::err::InputRefused);
    EXPECT_EQ(ErrorNumberOf([&] { forms::input::Key(Ctl(name), forms::vbKeyReturn); }), forms::err::InputRefused);
  }
  EXPECT_THAT(form->events, IsEmpty());
}

TEST_F(FocusTest, SetFocusFromCodeRunsTheSameOrder) {
  Ctl("txtB").SetFocus();
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "txtB_GotFocus"));
}

TEST_F(FocusTest, SetFocusOnAControlThatCannotTakeItRaises5) {
  EXPECT_EQ(ErrorNumberOf([&] { Ctl("txtHidden").SetFocus(); }), rt::err::InvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { Ctl("txtCP", 2).SetFocus(); }), rt::err::InvalidProcedureCall);  // another page
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtA"));
}

TEST_F(FocusTest, CausesValidationFalseOnTheTargetSkipsValidate) {
  Ctl("cmdExit").SetCausesValidation(false);
  forms::input::Focus(Ctl("cmdExit"));
  EXPECT_THAT(form->events, ElementsAre("txtA_LostFocus", "cmdExit_GotFocus"));
}

struct TabCase {
  const char* from;
  int fromIndex;
  int shift;
  const char* to;
  int toIndex;
  friend void PrintTo(const TabCase& c, std::ostream* os) {
    *os << c.from << "(" << c.fromIndex << ") shift " << c.shift << " -> " << c.to << "(" << c.toIndex << ")";
  }
};

class TabNavigationTest : public FocusTest, public testing::WithParamInterface<TabCase> {};

// Hidden, disabled, non-tab-stop and other-page controls are skipped; the order wraps around.
TEST_P(TabNavigationTest, TabMovesToTheNextControlThatMayTakeTheFocus) {
  const TabCase& c = GetParam();
  forms::input::Focus(Ctl(c.from, c.fromIndex));
  forms::input::Key(*form, forms::vbKeyTab, c.shift);
  EXPECT_EQ(form->ActiveControl(), &Ctl(c.to, c.toIndex));
}

INSTANTIATE_TEST_SUITE_P(Order, TabNavigationTest,
                         testing::Values(TabCase{"txtA", -1, 0, "txtB", -1},
                                         TabCase{"txtB", -1, 0, "cboMode", -1},  // hidden, disabled, no stop
                                         TabCase{"cboMode", -1, 0, "tabData", -1},
                                         TabCase{"tabData", -1, 0, "txtCP", 0},  // page 0 is current
                                         TabCase{"txtCP", 0, 0, "cmdOK", -1},    // txtCP(2) is on page 1
                                         TabCase{"cmdInside", -1, 0, "txtA", -1},  // wraps
                                         TabCase{"txtA", -1, forms::vbShiftMask, "cmdInside", -1},
                                         TabCase{"cboMode", -1, forms::vbShiftMask, "txtB", -1}));

TEST_F(FocusTest, TabOnAnotherPageReachesThatPagesControls) {
  forms::input::SelectTab(form->Ctl<forms::TabControl>("tabData"), 1);
  forms::input::Key(*form, forms::vbKeyTab);
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtCP", 2));
}

TEST_F(FocusTest, TabIsConsumedByNavigationAndNeverReachesKeyDown) {
  form->WatchForm({Event::KeyDown});
  form->Watch("txtA", {Event::KeyDown});
  forms::input::Key(*form, forms::vbKeyTab);
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "txtB_GotFocus"));
}

// The window maps Enter to a posted Tab and Tab to a posted Enter: one Enter moves the focus once
// and the loop comes to rest, because the posted Tab never reaches KeyDown.
TEST_F(FocusTest, EnterMappedToTabAndTabToEnterDoesNotCycle) {
  int keyDowns = 0;
  form->On(Event::KeyDown, [&keyDowns](forms::EventArgs& e) {
    ++keyDowns;
    if (e.keyCode == forms::vbKeyReturn) forms::SendKeys("{TAB}");
    if (e.keyCode == forms::vbKeyTab) forms::SendKeys("{ENTER}");
  });
  forms::input::Key(*form, forms::vbKeyReturn);
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtA")) << "posted keys wait until the handler returns";
  forms::DoEvents();
  forms::DoEvents();
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtB"));
  EXPECT_EQ(keyDowns, 1);
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "txtB_GotFocus"));
}

TEST_F(FocusTest, KeyPreviewGivesTheFormTheKeysFirst) {
  form->WatchForm({Event::KeyDown, Event::KeyPress, Event::KeyUp});
  form->Watch("txtA", {Event::KeyDown, Event::KeyPress, Event::KeyUp, Event::Change});
  forms::input::Key(*form, 'Q', forms::vbShiftMask);
  EXPECT_THAT(form->events, ElementsAre("Form_KeyDown", "txtA_KeyDown", "Form_KeyPress", "txtA_KeyPress",
                                        "txtA_Change", "Form_KeyUp", "txtA_KeyUp"));
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "Q---");
}

TEST_F(FocusTest, FormHandlersCanSwallowKeysAndCharacters) {
  form->On(Event::KeyDown, [](forms::EventArgs& e) { e.keyCode = 0; });
  form->On(Event::KeyPress, [](forms::EventArgs& e) {
    if (e.keyAscii == 'x') e.keyAscii = 0;
    if (e.keyAscii == 'a') e.keyAscii = 'b';
  });
  form->Watch("txtA", {Event::KeyDown});
  forms::input::TypeText(Ctl("txtA"), "xax");
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "b");
  EXPECT_THAT(form->events, IsEmpty());
}

TEST_F(FocusTest, TypingEditsAtTheCaret) {
  auto& box = form->Ctl<forms::TextBox>("txtA");
  forms::input::TypeText(box, "72.5");
  EXPECT_EQ(box.Text(), "72.5");
  forms::input::TypeText(box, "\b\b9", false);
  EXPECT_EQ(box.Text(), "729");
  box.SetLocked(true);
  forms::input::TypeText(box, "1", false);
  EXPECT_EQ(box.Text(), "729");
}

// Characters of 1, 2, 3 and 4 bytes; the last counts two code units, and no caret stands inside it.
const std::string A = "a", U = "\xC3\xBC", E = "\xE2\x82\xAC", G = "\xF0\x9F\x98\x80";

TEST_F(FocusTest, TheCaretAndTheEditingKeysTakeWholeCharacters) {
  constexpr int kAsTyped = -1;
  const struct {
    const char* control;
    std::string typed;        // replacing the text, then SelStart and SelLength unless kAsTyped
    int selStart, selLength;
    std::string keys;         // then typed at the caret, then `key` pressed unless 0
    int key;
    std::string text;
    int wantStart, wantLength;
  } cases[] = {
      {"txtA", A + U + E + G, kAsTyped, kAsTyped, "", 0, A + U + E + G, 5, 0},
      {"txtA", U + "\b", kAsTyped, kAsTyped, "", 0, "", 0, 0},
      {"cboMode", E + "\b", kAsTyped, kAsTyped, "", 0, "", 0, 0},
      {"txtA", A + G + "\b", kAsTyped, kAsTyped, "", 0, A, 1, 0},
      {"txtA", G + E, 0, 0, "", forms::vbKeyDelete, E, 0, 0},
      {"txtA", A + U + E + G, 2, 3, "", forms::vbKeyDelete, A + U, 2, 0},
      {"txtA", A + U + E + G, 1, 2, "x", 0, A + "x" + G, 2, 0},
      {"txtA", A + U, 1, 0, G, 0, A + G + U, 3, 0},
      {"txtA", G + A, 1, kAsTyped, "", 0, G + A, 0, 0},
      {"txtA", A + G, 0, 2, "", forms::vbKeyDelete, G, 0, 0},
      {"txtA", U + E, 99, 5, "", 0, U + E, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed + " " + std::to_string(c.selStart) + "+" + std::to_string(c.selLength) + " " + c.keys);
    auto& box = form->Ctl<forms::TextControl>(c.control);
    forms::input::TypeText(box, c.typed);
    if (c.selStart != kAsTyped) box.SetSelStart(c.selStart);
    if (c.selLength != kAsTyped) box.SetSelLength(c.selLength);
    forms::input::TypeText(box, c.keys, false);
    if (c.key != 0) forms::input::Key(box, c.key);
    EXPECT_EQ(box.Text(), c.text);
    EXPECT_EQ(box.SelStart(), c.wantStart);
    EXPECT_EQ(box.SelLength(), c.wantLength);
  }
}

// Bytes that begin no sequence count a unit each; taking away what stands between them may join
// them into one character, and a caret inside it falls back before it.
TEST_F(FocusTest, ACaretInsideTheCharacterARemovalJoinsFallsBackBeforeIt) {
  auto& box = form->Ctl<forms::TextBox>("txtA");
  for (const auto& [caret, key] : {std::pair{3, forms::vbKeyBack}, std::pair{2, forms::vbKeyDelete}}) {
    box.SetText("\xE2\x82" + A + "\xAC" + A);
    box.SetSelStart(caret);
    forms::input::Key(box, key);
    EXPECT_EQ(box.Text(), E + A) << key;
    EXPECT_EQ(box.SelStart(), 0) << key;
  }
}

TEST_F(FocusTest, TypedEnterGoesThroughTheKeyEventsAndLeavesTheText) {
  form->Watch("txtA", {Event::KeyPress});
  forms::input::TypeText(Ctl("txtA"), "5\r");
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "5");
  EXPECT_THAT(form->events, ElementsAre("txtA_KeyPress", "txtA_KeyPress"));
}

TEST_F(FocusTest, ComboListIndexFollowsTheText) {
  auto& combo = form->Ctl<forms::ComboBox>("cboMode");
  EXPECT_EQ(combo.ListIndex(), -1);
  forms::input::TypeText(combo, "Heating");
  EXPECT_EQ(combo.ListIndex(), 1);
  forms::input::TypeText(combo, "heating");
  EXPECT_EQ(combo.ListIndex(), -1) << "items match exactly, letter case included";
  form->Watch("cboMode", {Event::Click});
  forms::input::SelectItem(combo, 2);
  EXPECT_EQ(combo.Text(), "Cooling");
  EXPECT_THAT(form->events, testing::Contains("cboMode_Click"));
}

TEST_F(FocusTest, SelectingATabFocusesTheTabControlThenRaisesClickWithThePreviousPage) {
  int previous = -1;
  form->On("tabData", Event::Click, [&](forms::EventArgs& e) {
    previous = e.previousTab;
    form->events.push_back("tabData_Click");
  });
  auto& tabs = form->Ctl<forms::TabControl>("tabData");
  forms::input::SelectTab(tabs, 1);
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "tabData_GotFocus", "tabData_Click"));
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(tabs.Tab(), 1);
  EXPECT_FALSE(Ctl("txtCP", 0).IsEffectivelyVisible());
  EXPECT_TRUE(Ctl("txtCP", 2).IsEffectivelyVisible());
}

TEST_F(FocusTest, ArrowKeysOnTheTabControlSkipDisabledPages) {
  auto& tabs = form->Ctl<forms::TabControl>("tabData");
  forms::input::Key(tabs, forms::vbKeyRight);
  forms::input::Key(tabs, forms::vbKeyRight);  // page 2 is disabled
  EXPECT_EQ(tabs.Tab(), 1);
}

TEST_F(FocusTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  auto second = forms::New<RecordingForm>("fSecond");
  second->Watch("cmdClose", {Event::Click});
  second->Watch("txtX", {Event::KeyDown});
  second->Show();
  second->events.clear();
  forms::input::Key(*second, forms::vbKeyReturn);
  forms::input::Key(*second, forms::vbKeyEscape);
  EXPECT_THAT(second->events, ElementsAre("cmdClose_Click", "cmdClose_Click"));
}

TEST_F(FocusTest, AltWithAnAccessKeyFocusesAndPressesTheButton) {
  form->Watch("cmdExit", {Event::Click});
  forms::input::Key(*form, 'X', forms::vbAltMask);
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "cmdExit_GotFocus", "cmdExit_Click"));
}

struct RefusedCase {
  const char* name;
  std::function<void(forms::Form&)> action;
  friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
};

class RefusedInputTest : public FocusTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedInputTest, InputTheWindowWouldNotTakeIsRefusedAndChangesNothing) {
  EXPECT_EQ(ErrorNumberOf([&] { GetParam().action(*form); }), forms::err::InputRefused);
  EXPECT_EQ(form->ActiveControl(), &form->Ctl("txtA"));
  EXPECT_THAT(form->events, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedInputTest,
    testing::Values(
        RefusedCase{"hidden", [](forms::Form& f) { forms::input::Click(f.Ctl("txtHidden")); }},
        RefusedCase{"disabled", [](forms::Form& f) { forms::input::TypeText(f.Ctl("txtDisabled"), "1"); }},
        RefusedCase{"other page", [](forms::Form& f) { forms::input::Click(f.Ctl("txtCP", 2)); }},
        RefusedCase{"disabled page", [](forms::Form& f) { forms::input::SelectTab(f.Ctl<forms::TabControl>("tabData"), 2); }},
        RefusedCase{"no such page", [](forms::Form& f) { forms::input::SelectTab(f.Ctl<forms::TabControl>("tabData"), 7); }},
        RefusedCase{"typing into a button", [](forms::Form& f) { forms::input::TypeText(f.Ctl("cmdOK"), "1"); }},
        RefusedCase{"item out of range", [](forms::Form& f) { forms::input::SelectItem(f.Ctl("cboMode"), 3); }},
        RefusedCase{"menu inside a hidden menu", [](forms::Form& f) { forms::input::Click(f.Ctl("mnuAbout")); }},
        RefusedCase{"while a message box is open",
                    [](forms::Form& f) {
                      forms::SetMsgBoxAsker([&f](const forms::MsgBoxRecord&) {
                        forms::input::Click(f.Ctl("cmdOK"));
                        return std::optional<int>();
                      });
                      forms::MsgBox("Busy");
                    }}),
    [](const auto& test) {
      std::string name = test.param.name;
      for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

TEST_F(FocusTest, AMessageBoxRaisesNoFocusOrActivationEvents) {
  form->WatchForm({Event::Activate, Event::Deactivate});
  form->On("txtA", Event::Validate, [this](forms::EventArgs&) {
    form->events.push_back("txtA_Validate");
    forms::MsgBox("This value cannot be greater than 5");
  });
  forms::input::Click(Ctl("txtB"));
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "txtB_GotFocus"));
}

TEST_F(FocusTest, ActivationMovesBetweenTheProgramsWindows) {
  form->WatchForm({Event::Activate, Event::Deactivate});
  auto second = forms::New<RecordingForm>("fSecond");
  second->WatchForm({Event::Activate, Event::Deactivate});
  second->Watch("txtX", {Event::GotFocus, Event::LostFocus});
  second->events = {};
  second->Show();
  EXPECT_THAT(form->events, ElementsAre("txtA_LostFocus", "Form_Deactivate"));
  EXPECT_THAT(second->events, ElementsAre("Form_Activate", "txtX_GotFocus"));
  form->events.clear();
  second->events.clear();
  second->Hide();
  EXPECT_THAT(second->events, ElementsAre("txtX_LostFocus", "Form_Deactivate"));
  EXPECT_THAT(form->events, ElementsAre("Form_Activate", "txtA_GotFocus"));
  EXPECT_EQ(forms::ActiveForm(), form.get());
}

TEST_F(FocusTest, ClickingIntoAnInactiveWindowActivatesIt) {
  auto second = forms::New<RecordingForm>("fSecond");
  second->Show();
  form->WatchForm({Event::Activate});
  form->events.clear();
  forms::input::Click(Ctl("txtB"));
  EXPECT_THAT(form->events, ElementsAre("Form_Activate", "txtA_GotFocus", "txtA_Validate", "txtA_LostFocus",
                                        "txtB_GotFocus"));
  EXPECT_TRUE(form->IsActive());
}

TEST_F(FocusTest, SendKeysGoesToTheFocusedControlOfTheActiveWindowAfterTheHandler) {
  forms::SendKeys("+ab{BS}~");
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "---");
  forms::DoEvents();
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "A---");
}

TEST_F(FocusTest, AMouseButtonGoesToTheControlSeenAtThePoint) {
  Ctl("lblStatus").Move(120, 420, 900, 315);  // a label over txtCP(0) lies beneath it
  forms::EventArgs seen;
  for (const char* name : {"txtCP", "fraGroup", "cmdInside", "txtDisabled"}) {
    form->On(name, Event::MouseDown, [&seen](forms::EventArgs& e) { seen = e; });
  }
  const struct {
    forms::input::Point at;
    const char* target;  // "" where no control is
    forms::input::Point local;
  } cases[] = {
      {{200, 2450}, "txtCP(0)", {20, 50}},     // on the current page of a tab control
      {{4350, 870}, "fraGroup", {150, 750}},   // a shape lets the mouse through
      {{4350, 1520}, "cmdInside", {50, 50}},   // inside a frame
      {{200, 900}, "", {0, 0}},                // a hidden box is not there
      {{200, 1300}, "txtDisabled", {0, 0}},    // a disabled box takes no events
  };
  for (const auto& c : cases) {
    seen = {};
    const auto target = forms::input::MouseDown(*form, forms::vbRightButton, forms::vbShiftMask, c.at);
    EXPECT_EQ(target ? target->DisplayName() : "", c.target) << c.at.x << "," << c.at.y;
    EXPECT_EQ(seen.x, c.local.x) << c.target;
    EXPECT_EQ(seen.y, c.local.y) << c.target;
  }
  EXPECT_EQ(form->ActiveControl(), &Ctl("txtA")) << "only the left button moves the focus";
}

TEST_F(FocusTest, TheLeftButtonFocusesClicksOnlyWhenReleasedOnItsControlAndPicksATab) {
  const forms::input::Point onOK{4300, 3600};
  forms::input::MouseDown(*form, forms::vbLeftButton, 0, onOK);
  EXPECT_EQ(forms::input::MouseUp(*form, forms::vbLeftButton, 0, {3000, 100})->Name(), "cmdOK") << "captured";
  forms::input::MousePress(*form, forms::vbLeftButton, 0, onOK);
  EXPECT_THAT(form->events, ElementsAre("txtA_Validate", "txtA_LostFocus", "cmdOK_GotFocus", "cmdOK_MouseDown",
                                        "cmdOK_MouseUp", "cmdOK_MouseDown", "cmdOK_MouseUp", "cmdOK_Click"));
  // Three shown tabs share the control's 4000 twips; the third page is disabled.
  auto& tabs = form->Ctl<forms::TabControl>("tabData");
  for (const auto& [x, page] : std::vector<std::pair<float, int>>{{60 + 1500, 1}, {60 + 3000, 1}, {60 + 100, 0}}) {
    forms::input::MousePress(*form, forms::vbLeftButton, 0, {x, 1980 + 100});
    EXPECT_EQ(tabs.Tab(), page) << x;
  }
  EXPECT_EQ(form->ActiveControl(), &tabs);
}

TEST_F(FocusTest, MalformedSendKeysTextRaises5AndPostsNothing) {
  for (const char* keys : {"{TAB", "{NOSUCHKEY}", "a}", "+"}) {
    EXPECT_EQ(ErrorNumberOf([&] { forms::SendKeys(keys); }), rt::err::InvalidProcedureCall) << keys;
  }
  forms::DoEvents();
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "---");
}

}  // namespace
