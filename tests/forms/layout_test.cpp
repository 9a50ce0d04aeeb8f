// Layout loading, late-bound members, descriptions and the fixed text metrics.
#include "forms_fixture.h"

#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/embedded.h"
#include "forms/layout.h"
#include "forms/metrics.h"
#include "forms/snapshot.h"

using testing::HasSubstr;

namespace {

class fBad : public forms::Form {
 public:
  fBad() : Form("fBad") {}
};

struct BadLayout {
  const char* name;
  const char* json;
  const char* reason;
  friend void PrintTo(const BadLayout& c, std::ostream* os) { *os << c.name; }
};

class BadLayoutTest : public FormsTest, public testing::WithParamInterface<BadLayout> {};

TEST_P(BadLayoutTest, ALayoutThatDoesNotLoadIsAClearErrorAndLeavesTheFormUnloaded) {
  forms::RegisterLayout("fBad", GetParam().json);
  auto form = forms::New<fBad>();
  try {
    form->Load();
    FAIL() << "loaded";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), forms::err::BadLayout);
    EXPECT_THAT(e.Description(), HasSubstr(GetParam().reason));
  }
  EXPECT_FALSE(form->IsLoaded());
  EXPECT_TRUE(form->Controls().empty());
  EXPECT_TRUE(forms::Forms().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadLayoutTest,
    testing::Values(
        BadLayout{"not_json", "{\"Caption\": ", "does not parse"},
        BadLayout{"not_object", "[1, 2]", "not a JSON object"},
        BadLayout{"unknown_kind", R"({"Controls": [{"Name": "x", "Kind": "Slider"}]})", "unknown kind 'Slider'"},
        BadLayout{"no_name", R"({"Controls": [{"Kind": "Label"}]})", "no \"Name\""},
        BadLayout{"unknown_property", R"({"Controls": [{"Name": "txtA", "Kind": "TextBox", "Txet": "a"}]})",
                  "fBad > txtA: unknown property 'Txet'"},
        BadLayout{"property_of_other_kind", R"({"Controls": [{"Name": "lbl", "Kind": "Label", "Text": "a"}]})",
                  "unknown property 'Text' for a Label"},
        BadLayout{"wrong_type", R"({"Controls": [{"Name": "t", "Kind": "TextBox", "Visible": "yes"}]})",
                  "'Visible' expects true or false"},
        BadLayout{"bad_value", R"({"Controls": [{"Name": "t", "Kind": "Timer", "Interval": 70000}]})",
                  "'Interval' Invalid property value"},
        BadLayout{"bad_colour", R"({"Controls": [{"Name": "t", "Kind": "TextBox", "BackColor": "pink"}]})",
                  "expects a colour"},
        BadLayout{"bad_font", R"({"Controls": [{"Name": "t", "Kind": "TextBox", "Font": "Arial"}]})", "a font is a text"},
        BadLayout{"duplicate", R"({"Controls": [{"Name": "a", "Kind": "Label"}, {"Name": "A", "Kind": "Label"}]})",
                  "appears twice"},
        BadLayout{"array_and_single",
                  R"({"Controls": [{"Name": "a", "Kind": "Label", "Index": 0}, {"Name": "a", "Kind": "Label"}]})",
                  "appears twice"},
        BadLayout{"bad_index", R"({"Controls": [{"Name": "a", "Kind": "Label", "Index": -2}]})", "\"Index\""},
        BadLayout{"unknown_picture", R"({"Controls": [{"Name": "p", "Kind": "PictureBox", "Picture": "nothing"}]})",
                  "Invalid picture: nothing"},
        BadLayout{"children_of_a_label",
                  R"({"Controls": [{"Name": "l", "Kind": "Label", "Controls": [{"Name": "x", "Kind": "Label"}]}]})",
                  "a Label holds no controls"},
        BadLayout{"pages_on_a_frame", R"({"Controls": [{"Name": "f", "Kind": "Frame", "Pages": [{}]}]})",
                  "only a TabControl has \"Pages\""},
        BadLayout{"bad_page_key",
                  R"({"Controls": [{"Name": "t", "Kind": "TabControl", "Pages": [{"Caption": "A", "Colour": 1}]}]})",
                  "page key 'Colour'"},
        BadLayout{"tab_out_of_range", R"({"Controls": [{"Name": "t", "Kind": "TabControl", "Tab": 3, "Pages": [{}]}]})",
                  "'Tab' Invalid property value"},
        BadLayout{"form_visible", R"({"Visible": true})", "'Visible' cannot be set in a layout"},
        BadLayout{"other_form_name", R"({"Name": "fMain"})", "names the form"},
        BadLayout{"ours_not_a_list", R"({"Controls": [{"Name": "l", "Kind": "Label", "Ours": "Top"}]})",
                  "\"Ours\" is not a list"},
        BadLayout{"ours_names_a_missing_key", R"({"Controls": [{"Name": "l", "Kind": "Label", "Top": 5, "Ours": ["Left"]}]})",
                  "\"Ours\" names \"Left\""},
        BadLayout{"menu_in_frame",
                  R"({"Controls": [{"Name": "f", "Kind": "Frame", "Controls": [{"Name": "m", "Kind": "Menu"}]}]})",
                  "a menu belongs to the form"}),
    [](const auto& test) { return std::string(test.param.name); });

// Every window layout built into the program loads (its own form class adds the handler check).
TEST_F(FormsTest, EveryBuiltInLayoutLoads) {
  ASSERT_FALSE(forms::EmbeddedLayouts().empty());
  for (const auto& layout : forms::EmbeddedLayouts()) {
    auto form = forms::New<RecordingForm>(std::string(layout.name));
    EXPECT_NO_THROW(form->Load()) << layout.name;
    form->Unload();
  }
}

TEST_F(FormsTest, AFormWithoutALayoutDoesNotLoad) {
  auto form = forms::New<RecordingForm>("fNowhere");
  EXPECT_EQ(ErrorNumberOf([&] { form->Load(); }), forms::err::BadLayout);
}

struct HandlerCase {
  const char* control;
  forms::Event event;
  const char* reason;
  friend void PrintTo(const HandlerCase& c, std::ostream* os) { *os << c.control << "_" << forms::EventName(c.event); }
};

class HandlerCheckTest : public FormsTest, public testing::WithParamInterface<HandlerCase> {};

// A handler for a control the layout lacks (a typo in the code) fails at load, not later.
TEST_P(HandlerCheckTest, HandlersMustNameAControlThatRaisesTheirEvent) {
  auto form = forms::New<RecordingForm>();
  const HandlerCase& c = GetParam();
  if (*c.control) {
    form->On(c.control, c.event, [](forms::EventArgs&) {});
  } else {
    form->On(c.event, [](forms::EventArgs&) {});
  }
  try {
    form->Load();
    FAIL() << "loaded";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), forms::err::BadLayout);
    EXPECT_THAT(e.Description(), HasSubstr(c.reason));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HandlerCheckTest,
                         testing::Values(HandlerCase{"cmdExt", forms::Event::Click, "no control 'cmdExt'"},
                                         HandlerCase{"tmrFast", forms::Event::Click, "(Timer) raises no Click"},
                                         HandlerCase{"lblStatus", forms::Event::Validate, "raises no Validate"},
                                         HandlerCase{"", forms::Event::Timer, "a form raises no Timer"},
                                         HandlerCase{"", forms::Event::Click, "a form raises no Click"}));

// The layout builds every control before the form takes them in; what settles between the
// controls (one Default and one Cancel button, the menu bar's height) still holds once they are in.
TEST_F(FormsTest, TheLastMarkedButtonsAndAVisibleMenuBarHoldOnceLoaded) {
  forms::RegisterLayout("fBad", R"({"ClientHeight": 1000, "Controls": [
      {"Name": "mnuFile", "Kind": "Menu", "Caption": "&File"},
      {"Name": "cmdA", "Kind": "CommandButton", "Default": true, "Cancel": true},
      {"Name": "cmdB", "Kind": "CommandButton", "Default": true},
      {"Name": "cmdC", "Kind": "CommandButton", "Cancel": true}]})");
  auto form = forms::New<fBad>();
  form->Load();
  EXPECT_FLOAT_EQ(form->ScaleHeight(), 1000);
  for (const auto& [name, isDefault, isCancel] :
       {std::tuple{"cmdA", false, false}, std::tuple{"cmdB", true, false}, std::tuple{"cmdC", false, true}}) {
    EXPECT_EQ(form->Ctl<forms::CommandButton>(name).Default(), isDefault) << name;
    EXPECT_EQ(form->Ctl<forms::CommandButton>(name).Cancel(), isCancel) << name;
  }
}

TEST_F(FormsTest, TheSampleLayoutBuildsItsControlsWithTheirDesignValues) {
  auto form = forms::New<RecordingForm>();
  form->Load();
  EXPECT_EQ(form->Caption(), "Sample");
  auto& combo = form->Ctl<forms::ComboBox>("cboMode");
  EXPECT_EQ(combo.ListCount(), 3);
  EXPECT_EQ(combo.GetFont().name, "Arial");
  EXPECT_TRUE(combo.GetFont().bold);
  auto& label = form->Ctl<forms::Label>("lblAuto");
  EXPECT_EQ(label.GetFont().name, "Arial") << "a control takes its container's font";
  EXPECT_EQ(label.Container(), &form->Ctl("fraGroup"));
  EXPECT_EQ(form->Ctl("txtCP", 2).Page(), 1);
  EXPECT_EQ(form->Ctl<forms::TabControl>("tabData").TabCaption(2), "Debug");
  EXPECT_FALSE(form->Ctl<forms::TabControl>("tabData").TabEnabled(2));
  EXPECT_EQ(form->Ctl("txtCP", 0).BackColor(), forms::syscolor::ButtonFace);
  EXPECT_EQ(form->Ctl("lstLog").ForeColor(), forms::RGB(0, 0, 128));
  EXPECT_EQ(form->Ctl<forms::Line>("Line1").Width(), 1400);
}

TEST_F(FormsTest, AnObjectControlHostsAnObjectOfItsRegisteredClass) {
  struct Server : rt::Object {
    std::string TypeName() const override { return "Server"; }
  };
  forms::RegisterObjectControlClass("Test.Server", [] { return std::make_shared<Server>(); });
  forms::RegisterLayout("fHost", R"({"Controls": [{"Name": "LcaOS", "Kind": "ObjectControl", "ProgID": "test.server"},
                                                  {"Name": "Other", "Kind": "ObjectControl", "ProgID": "Nobody.Here"}]})");
  auto form = forms::New<RecordingForm>("fHost");
  auto& host = form->Ctl<forms::ObjectControl>("LcaOS");
  ASSERT_TRUE(host.Object());
  EXPECT_EQ(host.Object()->TypeName(), "Server");
  EXPECT_FALSE(form->Ctl<forms::ObjectControl>("Other").Object());
  EXPECT_EQ(ErrorNumberOf([&] { host.SetProgID("Test.Server"); }), forms::err::PropertyReadOnly);
}

struct AutoSizeCase {
  const char* caption;
  const char* font;
  bool wordWrap;
  float width;
  float height;
  friend void PrintTo(const AutoSizeCase& c, std::ostream* os) { *os << c.caption << " in " << c.font; }
};

class AutoSizeTest : public FormsTest, public testing::WithParamInterface<AutoSizeCase> {};

// The label takes the size of its caption as soon as the caption changes, by the fixed metrics.
TEST_P(AutoSizeTest, AnAutoSizeLabelResizesToItsCaption) {
  auto form = forms::New<RecordingForm>();
  auto& label = form->Ctl<forms::Label>("lblAuto");
  const AutoSizeCase& c = GetParam();
  forms::Font font;
  ASSERT_TRUE(forms::ParseFont(c.font, font));
  label.SetFont(font);
  label.SetWordWrap(c.wordWrap);
  label.SetWidth(1200);
  label.SetCaption(c.caption);
  EXPECT_FLOAT_EQ(label.Width(), c.width);
  EXPECT_FLOAT_EQ(label.Height(), c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Metrics, AutoSizeTest,
    testing::Values(AutoSizeCase{"-", "Arial 6.75", false, 45, 180},             // 3 px wide, 12 px high
                    AutoSizeCase{"Ref SP 73.5", "Arial 6.75", false, 735, 180},  // 5392/1000 em at 9 px: 49 px
                    AutoSizeCase{"Ref SP 73.5", "Arial 6.75 bold", false, 750, 180},
                    AutoSizeCase{"Room Temp", "MS Sans Serif 9.75 bold", false, 1140, 240},
                    AutoSizeCase{"Eff.Cool_SP  76.0", "Courier New 8.25", false, 1695, 210},  // 17 x 0.6 em
                    AutoSizeCase{"", "Arial 9", false, 0, 225},
                    AutoSizeCase{"one\r\ntwo", "Arial 9", false, 315, 450},
                    AutoSizeCase{"Condensate Overflow", "Arial 9", true, 1200, 450}));  // wraps at 1200

TEST_F(FormsTest, LateBoundMembersFollowTheToolkitNames) {
  auto form = forms::New<RecordingForm>();
  auto& box = form->Ctl("txtA");
  std::vector<rt::Variant> none;
  std::vector<rt::Variant> one{rt::Variant::String("72.5")};
  box.Invoke("text", rt::Object::CallKind::Let, one);
  EXPECT_EQ(box.Invoke("Text", rt::Object::CallKind::Get, none).ToString(), "72.5");
  EXPECT_EQ(box.Invoke("Alignment", rt::Object::CallKind::Get, none).ToLong(), 1);

  auto& list = form->Ctl("lstLog");
  std::vector<rt::Variant> item{rt::Variant::String("second line")};
  list.Invoke("AddItem", rt::Object::CallKind::Method, item);
  std::vector<rt::Variant> index{rt::Variant::Long(1)};
  EXPECT_EQ(list.Invoke("List", rt::Object::CallKind::Get, index).ToString(), "second line");

  std::vector<rt::Variant> tabs{rt::Variant::Long(1)};
  form->Ctl("tabData").Invoke("Tab", rt::Object::CallKind::Let, tabs);
  EXPECT_EQ(form->Ctl<forms::TabControl>("tabData").Tab(), 1);
}

struct InvokeError {
  const char* control;
  const char* member;
  rt::Object::CallKind kind;
  std::vector<rt::Variant> args;
  int error;
  friend void PrintTo(const InvokeError& c, std::ostream* os) { *os << c.control << "." << c.member; }
};

class InvokeErrorTest : public FormsTest, public testing::WithParamInterface<InvokeError> {};

TEST_P(InvokeErrorTest, BadLateBoundCallsRaiseTheToolkitsErrors) {
  auto form = forms::New<RecordingForm>();
  InvokeError c = GetParam();
  EXPECT_EQ(ErrorNumberOf([&] { form->Ctl(c.control).Invoke(c.member, c.kind, c.args); }), c.error);
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "---");
}

using K = rt::Object::CallKind;
INSTANTIATE_TEST_SUITE_P(
    Cases, InvokeErrorTest,
    testing::Values(InvokeError{"txtA", "Caption", K::Get, {}, rt::err::ObjectNotSupportProperty},
                    InvokeError{"txtA", "Name", K::Let, {rt::Variant::String("x")}, forms::err::PropertyReadOnly},
                    InvokeError{"txtA", "Alignment", K::Let, {rt::Variant::String("left")}, rt::err::TypeMismatch},
                    InvokeError{"txtA", "Alignment", K::Let, {rt::Variant::Long(7)}, rt::err::InvalidPropertyValue},
                    InvokeError{"txtA", "Text", K::Get, {rt::Variant::Long(1)}, rt::err::WrongNumberOfArguments},
                    InvokeError{"lstLog", "List", K::Get, {rt::Variant::Long(5)}, 381},
                    InvokeError{"lstLog", "RemoveItem", K::Method, {}, rt::err::ArgumentNotOptional},
                    InvokeError{"lstLog", "RemoveItem", K::Method, {rt::Variant::Long(3)}, rt::err::InvalidProcedureCall},
                    InvokeError{"cboMode", "Style", K::Let, {rt::Variant::Long(2)}, forms::err::PropertyReadOnly},
                    InvokeError{"picLamp", "Picture", K::Let, {rt::Variant::String("x")}, forms::err::InvalidPicture}));

TEST_F(FormsTest, DescribeGivesEveryPropertyByItsToolkitName) {
  auto form = forms::New<RecordingForm>();
  form->Show();
  auto text = forms::Describe(form->Ctl("txtA"));
  EXPECT_EQ(text["Kind"], "TextBox");
  EXPECT_EQ(text["Text"], "---");
  EXPECT_EQ(text["Tag"], "nviA");
  EXPECT_EQ(text["BackColor"], "WindowBackground");
  EXPECT_EQ(text["HasFocus"], true);
  EXPECT_FALSE(text.contains("Index"));
  auto member = forms::Describe(form->Ctl("txtCP", 2));
  EXPECT_EQ(member["Index"], 2);
  EXPECT_EQ(member["Container"], "tabData");
  EXPECT_EQ(member["Page"], 1);
  EXPECT_EQ(member["EffectiveVisible"], false);
  auto tabs = forms::Describe(form->Ctl("tabData"));
  EXPECT_EQ(tabs["TabCaption"], nlohmann::json({"Status", "General", "Debug"}));
  auto whole = forms::Describe(*form);
  EXPECT_EQ(whole["Caption"], "Sample");
  EXPECT_EQ(whole["ActiveControl"], "txtA");
  EXPECT_EQ(whole["Controls"].size(), form->Controls().size());
}

struct ColorCase {
  const char* text;
  uint32_t value;
  const char* shown;
  friend void PrintTo(const ColorCase& c, std::ostream* os) { *os << c.text; }
};

class ColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(ColorTest, ColoursReadAndShowInEveryNotation) {
  auto parsed = forms::ParseColor(GetParam().text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->value, GetParam().value);
  EXPECT_EQ(forms::ColorText(*parsed), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Notations, ColorTest,
                         testing::Values(ColorCase{"#FF0000", 0x0000FF, "#FF0000"},
                                         ColorCase{"#c0c0c0", 0xC0C0C0, "#C0C0C0"},
                                         ColorCase{"&H00800080&", 0x800080, "#800080"},
                                         ColorCase{"&H8000000F&", 0x8000000F, "ButtonFace"},
                                         ColorCase{"3dlight", 0x80000016, "3DLight"},
                                         ColorCase{"255", 0xFF, "#FF0000"}));

TEST(ColorParse, TextsThatAreNoColourAreRefused) {
  for (const char* text : {"", "#12345", "#GG0000", "&H", "pink", "99999999999"}) {
    EXPECT_FALSE(forms::ParseColor(text)) << text;
  }
  EXPECT_EQ(forms::CssColor(forms::syscolor::ButtonFace), "#d4d0c8");
}

}  // namespace
