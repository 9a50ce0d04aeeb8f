// The combo boxes of the "General" page and the software jumpers.
#include <gmock/gmock.h>

#include "editor_fixture.h"
#include "points/cp/soft_jumpers.h"

namespace mainwindow::test {
namespace {

struct Choice {
  const char* item;
  lns::Bytes leading;  // the unit's first bytes once the choice is written
};

struct GeneralBox {
  const char* box;
  const char* unitPoint;
  std::vector<Choice> choices;  // the box's list, in order
};

const std::vector<GeneralBox> GeneralBoxes = {
    {"cbonciLocSptEnable", "UCPTlocSptEnable", {{"Disable", {0}}, {"Enable", {1}}}},
    {"cbonviApplicMode",
     "nviApplicMode",
     {{"Auto", {0}},
      {"Heating", {1}},
      {"Cooling", {3}},
      {"Off", {6}},
      {"Fan Only", {9}},
      {"Economy", {13}},
      {"Dehumid", {14}},
      {"Null", {255}}}},
    {"cbonviAuxHeatEnable", "nviAuxHeatEnable", {{"Disable", {0, 0}}, {"Enable", {200, 1}}, {"Null", {0, 255}}}},
    {"cbonviEnergyHoldOff", "nviEnergyHoldOff", {{"Disable", {0, 0}}, {"Enable", {200, 1}}, {"Null", {0, 255}}}},
    {"cbonviEconEnable", "nviEconEnable", {{"Disable", {0, 0}}, {"Enable", {200, 1}}, {"Null", {0, 255}}}},
    {"cbonviOccManCmd",
     "nviOccManCmd",
     {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Bypass", {2}}, {"Standby", {3}}, {"Null", {255}}}},
    {"cbonviOccSchedule", "nviOccSchedule", {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Standby", {3}}, {"Null", {255}}}},
    {"cbonviOccSensor", "nviOccSensor", {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Null", {255}}}},
};

class ComboEditorTest : public EditorTest {
 protected:
  void Pick(forms::ComboBox& box, int item) {
    lns::ClearJournal();
    forms::input::SelectItem(box, item);
  }
};

// Every item, first down the list then back up, so that each is written over another value:
// picking writes nothing, leaving writes twice (validation, then the focus loss).
TEST_F(ComboEditorTest, EachItemOfAGeneralBoxWritesItsValueWhenTheFocusLeaves) {
  Page(GeneralPage);
  for (const GeneralBox& general : GeneralBoxes) {
    auto& box = Window().Ctl<forms::ComboBox>(general.box);
    std::vector<int> order(general.choices.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    order.insert(order.end(), order.rbegin() + 1, order.rend());
    for (int item : order) {
      const Choice& choice = general.choices[static_cast<size_t>(item)];
      SCOPED_TRACE(std::string(general.box) + " " + choice.item);
      Pick(box, item);
      EXPECT_EQ(box.Tag(), "Busy");
      EXPECT_EQ(Writes(general.unitPoint), 0u);
      Leave();
      EXPECT_EQ(Writes(general.unitPoint), 2u);
      EXPECT_EQ(box.Tag(), "");
      const lns::Bytes& unit = UnitBytes(general.unitPoint);
      EXPECT_EQ(lns::Bytes(unit.begin(), unit.begin() + static_cast<long>(choice.leading.size())), choice.leading);
    }
  }
}

TEST_F(ComboEditorTest, ATextThatIsNoItemWritesNothing) {
  Page(GeneralPage);
  for (const GeneralBox& general : GeneralBoxes) {
    for (const char* text : {"---", "NULL", "Error", "enable", "heating", ""}) {
      SCOPED_TRACE(std::string(general.box) + " \"" + text + "\"");
      lns::ClearJournal();
      Edit(Box(general.box), text);
      EXPECT_EQ(Writes(general.unitPoint), 0u);
    }
  }
}

struct Jumper {
  int firstFlag;
  int flags;
  std::vector<const char*> items;  // item k sets the box's flags to the bits of k
};

const std::vector<Jumper> Jumpers = {
    {0, 1, {"Normal", "Service Test"}},
    {1, 1, {"Continuous", "Cycling"}},
    {2, 1, {"Short Range", "Long Range"}},
    {3, 1, {"I/O Not Present", "I/O Is Present"}},
    {4, 1, {"Econ Not Present", "Econ Is Present"}},
    {5, 1, {"N.O. Heat Valve", "N.C. Heat Valve"}},
    {6, 1, {"N.O. Cool Valve", "N.C. Cool Valve"}},
    {7, 1, {"Two Position", "Modulating"}},
    {8, 2, {"None", "Single Stage", "Dual Stage"}},
    {10, 3, {"None", "2Pipe Heating", "2Pipe Cooling", "2Pipe ChangeOver", "4Pipe Heat/Cool"}},
    {13, 2, {"1 Speed", "2 Speed", "3 Speed"}},
    {15, 1, {"Disable Input", "Enable Input"}},
    {16, 1, {"Disable Input", "Enable Input"}},
    {17, 1, {"Disable Input", "Enable Input"}},
};

// The unit's jumper flags, "0" or "1" each.
std::string UnitFlags() {
  std::string flags;
  const std::string text = UnitValue("UCPTsoftJumpers").ToString();
  for (size_t at = 0; at < text.size(); at += 2) flags.push_back(text[at]);
  return flags;
}

// Each position over the one before it, down and back: only the box's flags change, the control
// flags go out cleared with the last one set, once; a position the unit holds writes nothing.
TEST_F(ComboEditorTest, EachJumperPositionWritesItsBitsOnce) {
  Page(JumpersPage);
  std::string expected = UnitFlags().substr(0, 32);
  auto& cached = Point<points::UCPTsoftJumpers>("nciSoftJumpers");
  for (size_t index = 0; index < Jumpers.size(); ++index) {
    const Jumper& jumper = Jumpers[index];
    auto& box = Window().Ctl<forms::ComboBox>("cbonciSoftJumpers", static_cast<int>(index));
    std::vector<int> order(jumper.items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    order.insert(order.end(), order.rbegin(), order.rend());
    for (int item : order) {
      SCOPED_TRACE(std::to_string(index) + " " + jumper.items[static_cast<size_t>(item)]);
      const std::string before = expected;
      for (int k = 0; k < jumper.flags; ++k) expected[static_cast<size_t>(jumper.firstFlag + k)] = (item >> k) & 1 ? '1' : '0';
      Pick(box, item);
      Leave();
      EXPECT_EQ(Writes("UCPTsoftJumpers"), expected == before ? 0u : 1u);
      if (expected == before) continue;
      expected.replace(24, 8, "00000001");
      EXPECT_EQ(UnitFlags().substr(0, 32), expected);
      EXPECT_FALSE(cached.get_Bit(31));
    }
  }
}

TEST_F(ComboEditorTest, AJumperBoxShowingAStateOrNoItemWritesNothing) {
  Page(JumpersPage);
  for (const char* text : {"Open", "Closed", "---", "normal", "Enable Input"}) {
    SCOPED_TRACE(text);
    lns::ClearJournal();
    Edit(Box("cbonciSoftJumpers", 0), text);
    EXPECT_EQ(Writes("UCPTsoftJumpers"), 0u);
  }
}

// Enter posts a Tab: the box validates, loses the focus and validates again.
TEST_F(ComboEditorTest, EnterCommitsTheChoice) {
  Page(GeneralPage);
  Pick(Window().Ctl<forms::ComboBox>("cbonviApplicMode"), 1);
  forms::input::Key(Window(), forms::vbKeyReturn);
  forms::DoEvents();
  EXPECT_EQ(Writes("nviApplicMode"), 2u);
  EXPECT_EQ(UnitBytes("nviApplicMode"), lns::Bytes{1});
  EXPECT_NE(Window().ActiveControl(), &Box("cbonviApplicMode"));
}

}  // namespace
}  // namespace mainwindow::test
