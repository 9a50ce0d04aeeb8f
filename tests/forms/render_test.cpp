// The SVG drawing of a window: structure, texts and colours at known controls.
#include "forms_fixture.h"

#include <cstdio>
#include <filesystem>
#include <regex>
#include <unistd.h>

#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/render.h"
#include "support/temp_machine.h"

using testing::HasSubstr;
using testing::Not;

namespace {

// The <g> element of one control, nested groups included; "" when it is not drawn.
std::string GroupOf(const std::string& svg, const std::string& id) {
  size_t start = svg.find("<g id=\"" + id + "\"");
  if (start == std::string::npos) return "";
  int depth = 0;
  for (size_t at = start; at < svg.size(); ++at) {
    if (svg.compare(at, 2, "<g") == 0 && (svg[at + 2] == ' ' || svg[at + 2] == '>')) ++depth;
    if (svg.compare(at, 4, "</g>") == 0 && --depth == 0) return svg.substr(start, at + 4 - start);
  }
  return "";
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class RenderTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = forms::New<RecordingForm>();
    form->Show();
  }
  std::string Svg() const { return forms::RenderSvg(*form); }

  std::shared_ptr<RecordingForm> form;
};

TEST_F(RenderTest, TheDocumentHasTheWindowsOuterSizeInPixels) {
  std::string svg = Svg();
  // client 6000 x 4500 twips, fixed border 3 px, title bar 20 px
  EXPECT_THAT(svg, HasSubstr("width=\"406\" height=\"326\""));
  EXPECT_THAT(svg, HasSubstr("<title>Sample</title>"));
  EXPECT_EQ(Count(svg, "<g"), Count(svg, "</g>"));
  EXPECT_THAT(GroupOf(svg, "fSample"), HasSubstr("class=\"TitleBar\""));
}

TEST_F(RenderTest, ControlsSitAtTheirTwipPositionsInPixels) {
  std::string svg = Svg();
  EXPECT_THAT(GroupOf(svg, "txtA"), HasSubstr("transform=\"translate(8,8)\""));
  EXPECT_THAT(GroupOf(svg, "txtCP.0"), HasSubstr("data-index=\"0\""));
  EXPECT_THAT(svg, HasSubstr("class=\"client\" transform=\"translate(3,23)\""));
}

TEST_F(RenderTest, OnlyTheCurrentPagesChildrenAreDrawn) {
  std::string first = Svg();
  EXPECT_NE(GroupOf(first, "txtCP.0"), "");
  EXPECT_EQ(GroupOf(first, "txtCP.2"), "");
  EXPECT_EQ(GroupOf(first, "lstLog"), "");
  form->Ctl<forms::TabControl>("tabData").SetTab(1);
  std::string second = Svg();
  EXPECT_EQ(GroupOf(second, "txtCP.0"), "");
  EXPECT_NE(GroupOf(second, "txtCP.2"), "");
}

TEST_F(RenderTest, HiddenAndInvisibleKindsAreNotDrawn) {
  std::string svg = Svg();
  for (const char* id : {"txtHidden", "tmrFast", "dlgFile", "mnuFile", "mnuAbout"}) EXPECT_EQ(GroupOf(svg, id), "") << id;
  EXPECT_THAT(svg, Not(HasSubstr("class=\"MenuBar\"")));
}

TEST_F(RenderTest, TheTabRowRaisesTheCurrentTabAndGreysOrOmitsPagesThatAreOff) {
  auto& tabs = form->Ctl<forms::TabControl>("tabData");
  tabs.SetTabVisible(1, false);
  std::string group = GroupOf(Svg(), "tabData");
  EXPECT_THAT(group, HasSubstr("class=\"Tab current\" data-page=\"0\""));
  EXPECT_THAT(group, HasSubstr("class=\"Tab disabled\" data-page=\"2\""));
  EXPECT_THAT(group, Not(HasSubstr("data-page=\"1\"")));
  EXPECT_THAT(group, HasSubstr("fill=\"#808080\" xml:space=\"preserve\">Debug<"));
}

struct ColourCase {
  const char* id;
  const char* fragment;
  friend void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.id << ": " << c.fragment; }
};

class RenderColourTest : public RenderTest, public testing::WithParamInterface<ColourCase> {};

TEST_P(RenderColourTest, KnownControlsShowTheirTextsAndColours) {
  EXPECT_THAT(GroupOf(Svg(), GetParam().id), HasSubstr(GetParam().fragment));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, RenderColourTest,
    testing::Values(ColourCase{"txtA", "fill=\"#ffffff\""},                        // WindowBackground
                    ColourCase{"txtA", "text-anchor=\"end\""},                     // right-aligned
                    ColourCase{"txtCP.0", "fill=\"#d4d0c8\""},                     // ButtonFace display box
                    ColourCase{"cboMode", "class=\"DropButton\""},
                    ColourCase{"cboMode", "font-family=\"Liberation Sans, sans-serif\" font-size=\"11\" font-weight=\"bold\""},
                    ColourCase{"cmdExit", "E<tspan text-decoration=\"underline\">x</tspan>it"},
                    ColourCase{"lblStatus", "text-anchor=\"middle\""},
                    ColourCase{"fraGroup", ">Group</text>"},
                    ColourCase{"shpCoil", "fill=\"url(#hatch6-ff0000)\" stroke=\"#ff0000\""},
                    ColourCase{"Line1", "stroke-width=\"2\" stroke-dasharray=\"12 4\""},
                    ColourCase{"picLamp", "data-picture=\"sample_lamp\""},
                    ColourCase{"picLamp", "href=\"data:image/svg+xml;base64,"}));

TEST_F(RenderTest, TheAccessKeyUnderlinesAWholeCharacter) {
  form->Ctl<forms::CommandButton>("cmdOK").SetCaption("O&\xC3\xBC");
  EXPECT_THAT(GroupOf(Svg(), "cmdOK"), HasSubstr("O<tspan text-decoration=\"underline\">\xC3\xBC</tspan><"));
}

TEST_F(RenderTest, TheWindowIconHeadsTheTitleBar) {
  auto titleBar = [this] {
    const std::string svg = Svg();
    const size_t start = svg.find("class=\"TitleBar\"");
    return svg.substr(start, svg.find("class=\"client\"") - start);
  };
  EXPECT_THAT(titleBar(), Not(HasSubstr("data-picture")));
  form->SetIcon("sample_lamp");
  EXPECT_THAT(titleBar(), HasSubstr("data-picture=\"sample_lamp\" x=\"0\" y=\"0\" width=\"16\" height=\"16\""));
}

TEST_F(RenderTest, HatchPatternsAreDefinedOnce) {
  form->Ctl<forms::Shape>("shpCoil").SetFillStyle(forms::vbDiagonalCross);
  std::string svg = Svg();
  EXPECT_EQ(Count(svg, "<pattern id=\"hatch7-ff0000\""), 1u);
}

TEST_F(RenderTest, ContainersClipTheirChildren) {
  std::string frame = GroupOf(Svg(), "fraGroup");
  EXPECT_THAT(frame, HasSubstr("clip-path=\"url(#clip"));
  EXPECT_THAT(frame, HasSubstr("<g id=\"cmdInside\""));
  EXPECT_THAT(frame, HasSubstr("<g id=\"lblAuto\""));
}

TEST_F(RenderTest, WindowlessControlsLieBeneathWindowedOnesAndZOrderDecidesTheRest) {
  std::string svg = Svg();
  EXPECT_LT(svg.find("id=\"lblStatus\""), svg.find("id=\"txtCP.0\"")) << "the label comes first in the layout's tab page too";
  EXPECT_LT(svg.find("id=\"cmdOK\""), svg.find("id=\"picLamp\""));
  form->Ctl("picLamp").ZOrder(1);
  svg = Svg();
  EXPECT_LT(svg.find("id=\"picLamp\""), svg.find("id=\"cmdOK\""));
}

TEST_F(RenderTest, DisabledLabelsAreGreyAndWrappedLabelsTakeSeveralLines) {
  auto& label = form->Ctl<forms::Label>("lblStatus");
  label.SetEnabled(false);
  label.SetCaption("Note: Heating coil always shown in reheat position.");
  std::string group = GroupOf(Svg(), "lblStatus");
  EXPECT_THAT(group, HasSubstr("data-disabled=\"true\""));
  EXPECT_THAT(group, HasSubstr("fill=\"#808080\""));
  EXPECT_GE(Count(group, "<text"), 3u);
}

TEST_F(RenderTest, TheListShowsItsNewestLinesWithTheSelectionHighlighted) {
  auto& tabs = form->Ctl<forms::TabControl>("tabData");
  tabs.SetTabEnabled(2, true);
  tabs.SetTab(2);
  auto& list = form->Ctl<forms::ListBox>("lstLog");
  for (int i = 1; i <= 30; ++i) list.AddItem("line " + std::to_string(i));
  list.SetListIndex(list.ListCount() - 1);
  std::string group = GroupOf(Svg(), "lstLog");
  EXPECT_THAT(group, HasSubstr(">line 30</text>"));
  EXPECT_THAT(group, Not(HasSubstr(">first line</text>")));
  EXPECT_THAT(group, HasSubstr("fill=\"#0a246a\""));  // Highlight
  EXPECT_THAT(group, HasSubstr("font-family=\"Liberation Mono, monospace\""));
}

TEST_F(RenderTest, TextIsEscaped) {
  form->Ctl<forms::TextBox>("txtA").SetText("<a & \"b\">");
  EXPECT_THAT(GroupOf(Svg(), "txtA"), HasSubstr("&lt;a &amp; &quot;b&quot;&gt;"));
}

// What the XML parser that rsvg-convert reads with says of a document: "" when it parses.
std::string XmlErrors(const std::string& svg, const std::string& name) {
  const auto path = std::filesystem::path(testing::TempDir()) / (name + "_" + std::to_string(getpid()) + ".svg");
  orvex::test::WriteFile(path, svg);
  FILE* converter = popen(("rsvg-convert '" + path.string() + "' 2>&1 > /dev/null").c_str(), "r");
  std::string said;
  for (int ch; converter && (ch = std::fgetc(converter)) != EOF;) said += static_cast<char>(ch);
  const int status = converter ? pclose(converter) : -1;
  std::filesystem::remove(path);
  return status == 0 ? "" : "rsvg-convert ended with " + std::to_string(status) + ": " + said;
}

struct HostileText {
  const char* name;
  const char* given;
  const char* drawn;  // in the text box
  friend void PrintTo(const HostileText& t, std::ostream* os) { *os << t.name; }
};

class RenderHostileTextTest : public RenderTest, public testing::WithParamInterface<HostileText> {};

TEST_P(RenderHostileTextTest, EveryTextIsDrawnAsValidXml) {
  const std::string given = GetParam().given;
  form->SetCaption(given);
  form->Ctl<forms::TextBox>("txtA").SetText(given);
  form->Ctl<forms::CommandButton>("cmdOK").SetCaption("&" + given);
  form->Ctl<forms::Frame>("fraGroup").SetCaption(given);
  auto& tabs = form->Ctl<forms::TabControl>("tabData");
  tabs.SetTabEnabled(2, true);
  tabs.SetTab(2);
  form->Ctl<forms::ListBox>("lstLog").AddItem(given);
  const std::string svg = Svg();
  EXPECT_EQ(XmlErrors(svg, GetParam().name), "");
  EXPECT_THAT(GroupOf(svg, "txtA"), HasSubstr(std::string(">") + GetParam().drawn + "</text>"));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, RenderHostileTextTest,
    testing::Values(HostileText{"Overlong", "a\xC0\xAF\xE0\x80\xBC" "b", "a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDb"},
                    HostileText{"LoneContinuation", "\xA9 1", "\uFFFD 1"},
                    HostileText{"Latin1", "B\xFCro 1", "B\uFFFDro 1"},
                    HostileText{"TruncatedAtTheEnd", "Room \xE2\x82", "Room \uFFFD\uFFFD"},
                    HostileText{"Surrogate", "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},
                    HostileText{"ControlCharacters", "a\x01\x1B\tb", "a\uFFFD\uFFFD\tb"},
                    HostileText{"NoCharacter", "\xEF\xBF\xBF", "\uFFFD"},
                    HostileText{"Markup", "<&\"'>", "&lt;&amp;&quot;'&gt;"},
                    HostileText{"Valid", "B\xC3\xBCro \xF0\x9F\x8C\xA1", "B\xC3\xBCro \xF0\x9F\x8C\xA1"}),
    [](const testing::TestParamInfo<HostileText>& test) { return std::string(test.param.name); });

}  // namespace
