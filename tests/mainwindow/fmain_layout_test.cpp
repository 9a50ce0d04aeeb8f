// The main window's layout: every control the program reaches, where it stands, what a person can
// operate, and the order the focus takes. Loading it already refuses a duplicate name and index.
#include <gmock/gmock.h>

#include <regex>
#include <set>
#include <sstream>

#include "forms/control.h"
#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/form.h"
#include "forms/layout.h"
#include "mainwindow/fmain_controls.h"

namespace {

using forms::Control;
using forms::Event;
using forms::Kind;

// "txtCP(0-33) TxtBinaryIn(0,2) tabData" → (name, index) pairs, index -1 for a single control.
std::vector<std::pair<std::string, int>> Members(const std::string& list) {
  std::vector<std::pair<std::string, int>> out;
  std::istringstream words(list);
  std::string word;
  static const std::regex member(R"((\w+)(?:\(([\d,\-]+)\))?)");
  while (words >> word) {
    std::smatch m;
    EXPECT_TRUE(std::regex_match(word, m, member)) << word;
    if (!m[2].matched) {
      out.emplace_back(m[1], -1);
      continue;
    }
    std::istringstream ranges(m[2].str());
    for (std::string range; std::getline(ranges, range, ',');) {
      const auto dash = range.find('-');
      const int first = std::stoi(range.substr(0, dash));
      const int last = dash == std::string::npos ? first : std::stoi(range.substr(dash + 1));
      for (int i = first; i <= last; ++i) out.emplace_back(m[1], i);
    }
  }
  return out;
}

// The events the program handles, and the controls a person can operate that have none.
const std::vector<std::pair<std::string, std::vector<Event>>> kHandled = {
    {"cmdExit cmdAbout cmdRefresh cmdOneOrTwo cmdClearFaults cmdWink cmdReset cmdSyncFromDevice cmdClearLog mnuAbout",
     {Event::Click}},
    {"tabData", {Event::Click, Event::KeyDown, Event::MouseDown, Event::MouseMove}},
    {"lblnvs Picture2", {Event::MouseMove}},
    {"tmrOverview tmrActivity tmrShort", {Event::Timer}},
    {"cbonviApplicMode cbonviOccSchedule cbonviOccManCmd cbonviOccSensor cbonviAuxHeatEnable cbonviEnergyHoldOff "
     "cbonviEconEnable cbonciLocSptEnable cbonciSoftJumpers txtCP txtnciByPassTime txtnciLocation txtnciSndHrtBt "
     "txtnciMinOutTm txtnciRcvHrtBt txtnviSetpoint txtnviSetptOffset txtnviEWT txtnviSpaceTemp txtOccClgSpt "
     "txtUnOccClgSpt txtStbyClgSpt txtOccHtgSpt txtUnOccHtgSpt txtStbyHtgSpt",
     {Event::GotFocus, Event::LostFocus, Event::Validate}},
};
const char* kWithoutHandler =
    "cmdPollEnable cmdPollDisable btnTestCPs txtnciBrnoutAdjSptLHP2 txtnciBrnoutTrpSptLHP2 txtnciBrnoutRecSptLHP2 "
    "mnuFile mnuFileNew mnuFileOpen mnuFileSave mnuFileSaveAs mnuFileSep1 mnuFileExit mnuView mnuViewLog";

// The focus order of the editors and the window's buttons, from TabIndex 0; then the late ones.
const char* kTabOrder =
    "cbonviApplicMode cbonviOccSchedule cbonviOccManCmd txtnciByPassTime(2) cbonviOccSensor txtnviEWT(2) "
    "txtnviSpaceTemp(2) txtOccClgSpt(2) txtUnOccClgSpt(2) txtStbyClgSpt(2) txtOccHtgSpt(2) txtUnOccHtgSpt(2) "
    "txtStbyHtgSpt(2) cbonciLocSptEnable txtnviSetpoint(2) txtnviSetptOffset(2) cbonviAuxHeatEnable "
    "cbonviEnergyHoldOff txtnciSndHrtBt(3) txtnciMinOutTm(3) txtnciRcvHrtBt(3) txtCP(0,1,4-19,21-33) "
    "cbonciSoftJumpers(0-13) txtnciBrnoutAdjSptLHP2 txtnciBrnoutTrpSptLHP2 txtnciBrnoutRecSptLHP2 cmdExit tabData "
    "cmdAbout";
const std::vector<std::pair<std::string, int>> kLate = {
    {"txtnciLocation", 595}, {"txtCP(2)", 608}, {"txtCP(3)", 609}, {"txtCP(20)", 611}, {"cbonviEconEnable", 617}};

class LayoutOnly : public forms::Form {
 public:
  LayoutOnly() : Form("fMain") {
    for (const auto& [names, events] : kHandled) {
      for (const auto& [name, index] : Members(names)) {
        for (Event event : events) On(name, event, [](forms::EventArgs&) {});
      }
    }
  }
};

class MainWindowLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::ResetForTests();
    window_ = forms::New<LayoutOnly>();
    window_->Load();  // fails on a duplicate, and on a handled control missing or of a kind without the event
  }
  void TearDown() override { forms::ResetForTests(); }

  Control& At(const std::string& name, int index) { return index < 0 ? window_->Ctl(name) : window_->Ctl(name, index); }
  static bool IsEditor(const Control& c) {
    const auto* text = dynamic_cast<const forms::TextControl*>(&c);
    return text && !text->Locked();
  }

  std::shared_ptr<LayoutOnly> window_;
};

struct Rect {
  float left, top, right, bottom;
};

// The control's rectangle in the window's client area, and the page it shows on (-1: every page).
std::pair<Rect, int> Placed(const Control& c) {
  Rect r{c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
  int page = -1;
  for (const Control* at = &c; at->Container(); at = at->Container()) {
    if (at->Container()->GetKind() == Kind::TabControl) page = at->Page();
    const Control& holder = *at->Container();
    r = {r.left + holder.Left(), r.top + holder.Top(), r.right + holder.Left(), r.bottom + holder.Top()};
  }
  return {r, page};
}

// The program reaches its controls by references generated from the layout apart from the loader:
// both must agree on every control, its kind and its members.
TEST_F(MainWindowLayout, HasEveryControlTheProgramNamesWithItsKind) {
  std::set<std::string> loaded;
  for (const Control* c : window_->Controls()) loaded.insert(c->Name());
  EXPECT_EQ(std::size(mainwindow::controls::EveryControl), loaded.size());
  for (const forms::LayoutControl& control : mainwindow::controls::EveryControl) {
    const std::string name(control.name);
    SCOPED_TRACE(name);
    const std::vector<int> members(control.members.begin(), control.members.end());
    EXPECT_EQ(window_->Indexes(name), members);
    for (int index : members.empty() ? std::vector<int>{-1} : members) {
      ASSERT_TRUE(window_->HasControl(name, index)) << index;
      EXPECT_EQ(At(name, index).GetKind(), control.kind) << index;
    }
  }
}

TEST_F(MainWindowLayout, EveryControlAPersonOperatesHasAHandlerOrIsKnownToHaveNone) {
  std::set<std::string> known;
  for (const auto& [names, events] : kHandled) {
    for (const auto& member : Members(names)) known.insert(member.first);
  }
  for (const auto& member : Members(kWithoutHandler)) known.insert(member.first);
  for (const Control* c : window_->Controls()) {
    const Kind kind = c->GetKind();
    const bool operated = kind == Kind::CommandButton || kind == Kind::ComboBox || kind == Kind::Timer ||
                          kind == Kind::Menu || IsEditor(*c);
    EXPECT_TRUE(!operated || known.count(c->Name())) << c->DisplayName();
  }
}

TEST_F(MainWindowLayout, ChildrenLieInsideTheirContainers) {
  constexpr float kTitleOverlap = 45;  // a group box's title label covers its border
  for (const Control* c : window_->Controls()) {
    const Control* holder = c->Container();
    if (!holder || holder->GetKind() == Kind::Menu || c->Name() == "picDualCompressorSystem") continue;
    SCOPED_TRACE(c->DisplayName());
    EXPECT_GE(c->Left(), -kTitleOverlap);
    EXPECT_GE(c->Top(), -kTitleOverlap);
    EXPECT_LE(c->Left() + c->Width(), holder->Width());
    EXPECT_LE(c->Top() + c->Height(), holder->Height());
  }
  // The two-compressor schematic waits beside the page, wholly outside it.
  EXPECT_GE(window_->Ctl("picDualCompressorSystem").Left(), window_->Ctl("tabData").Width());
}

TEST_F(MainWindowLayout, NoTwoEditorsOverlap) {
  std::vector<const Control*> editors;
  for (const Control* c : window_->Controls()) {
    if (IsEditor(*c)) editors.push_back(c);
  }
  ASSERT_GT(editors.size(), 70u);
  for (size_t i = 0; i < editors.size(); ++i) {
    for (size_t j = i + 1; j < editors.size(); ++j) {
      const auto [a, pageA] = Placed(*editors[i]);
      const auto [b, pageB] = Placed(*editors[j]);
      const bool apart = pageA != pageB || a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
                         b.bottom <= a.top;
      EXPECT_TRUE(apart) << editors[i]->DisplayName() << " and " << editors[j]->DisplayName();
    }
  }
}

TEST_F(MainWindowLayout, TheFocusVisitsTheEditorsInTheirOrder) {
  std::vector<std::string> expected;
  for (const auto& [name, index] : Members(kTabOrder)) {
    const Control& c = At(name, index);
    EXPECT_EQ(c.TabIndex(), static_cast<int>(expected.size())) << c.DisplayName();
    expected.push_back(c.DisplayName());
  }
  for (const auto& [member, tabIndex] : kLate) {
    const auto [name, index] = Members(member).front();
    EXPECT_EQ(At(name, index).TabIndex(), tabIndex) << member;
    expected.push_back(At(name, index).DisplayName());
  }
  std::vector<const Control*> stops;
  std::set<int> indexes;
  for (const Control* c : window_->Controls()) {
    if (c->TakesFocus() || c->GetKind() == Kind::Label) {
      EXPECT_TRUE(indexes.insert(c->TabIndex()).second) << c->DisplayName() << " shares its TabIndex";
    }
    if (c->TabStop() && (IsEditor(*c) || c->GetKind() == Kind::TabControl || c->Name() == "cmdExit" ||
                         c->Name() == "cmdAbout")) {
      stops.push_back(c);
    }
  }
  std::stable_sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->TabIndex() < b->TabIndex(); });
  std::vector<std::string> actual;
  for (const Control* c : stops) actual.push_back(c->DisplayName());
  EXPECT_EQ(actual, expected);
}

// Display boxes, the Status and two-compressor members of the editor arrays among them, never edit.
TEST_F(MainWindowLayout, GreyBoxesAreLockedOutsideTheTabOrderAndWhiteOnesAreEditors) {
  for (const Control* c : window_->Controls()) {
    const auto* box = dynamic_cast<const forms::TextBox*>(c);
    if (!box) continue;
    const bool grey = box->BackColor() == forms::syscolor::ButtonFace;
    EXPECT_EQ(box->Locked(), grey) << c->DisplayName();
    EXPECT_EQ(box->TabStop(), !grey) << c->DisplayName();
    const bool statusMember = box->Index() == 0 || box->Index() == 1;
    EXPECT_TRUE(grey || !statusMember || box->Name() == "txtCP") << c->DisplayName();
  }
}

// A small picture is drawn at 15 twips a pixel and its box is exactly its size; a schematic's box
// is the page's, not its bitmap's.
TEST_F(MainWindowLayout, PictureBoxesFitTheirPictures) {
  for (const Control* c : window_->Controls()) {
    const auto* box = dynamic_cast<const forms::PictureBox*>(c);
    if (!box || box->Picture().empty()) continue;
    const auto size = forms::PictureSizeOf(box->Picture());
    ASSERT_TRUE(size) << c->DisplayName();
    const bool schematic = box->Name().find("CompressorSystem") != std::string::npos;
    EXPECT_EQ(box->Width() == size->width * forms::kTwipsPerPixel, !schematic) << c->DisplayName();
    EXPECT_EQ(box->Height() == size->height * forms::kTwipsPerPixel, !schematic) << c->DisplayName();
  }
  EXPECT_EQ(forms::PictureSizeOf(window_->Icon())->width, 128);
}

TEST_F(MainWindowLayout, StartsInItsDesignState) {
  for (const auto& [name, index] : Members("picNetworkTraffic(0,2) fraLongRange fraShortRange tmrActivity")) {
    EXPECT_TRUE(At(name, index).Visible() && At(name, index).Enabled()) << name;
  }
  for (const auto& [name, index] :
       Members("picNetworkTraffic(1) picFanGreen(0,1) picCondensateOvrFlw(0,1) picReversingValveActive(1,2) "
               "picSetpointGraph cmdOneOrTwo cmdPollEnable cmdPollDisable lblDataLogger cmdClearLog btnTestCPs lstLog "
               "Picture23 Picture6(0) mnuFile mnuView mnuAbout")) {
    EXPECT_FALSE(At(name, index).Visible()) << name;
  }
  for (const auto& [name, interval, enabled] : {std::tuple{"tmrOverview", 4000, false},
                                                 std::tuple{"tmrActivity", 2000, true},
                                                 std::tuple{"tmrShort", 1000, false}}) {
    EXPECT_EQ(window_->Ctl<forms::Timer>(name).Interval(), interval) << name;
    EXPECT_EQ(window_->Ctl<forms::Timer>(name).Enabled(), enabled) << name;
  }
  EXPECT_EQ(window_->MenuBarHeight(), 0);
  EXPECT_EQ(window_->ScaleWidth(), 15285);
  EXPECT_EQ(window_->ScaleHeight(), 11055);
}

}  // namespace
