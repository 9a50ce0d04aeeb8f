// The combo boxes of the "General" page and the software jumpers.
#include <gmock/gmock.h>

#include "editor_fixture.h"
#include "forms/controls_text.h"
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
    {"cbonviOccSchedule",
     "nviOccSchedule",
     {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Standby", {3}}, {"Null", {255}}}},
    {"cbonviOccSensor", "nviOccSensor", {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Null", {255}}}},
};

// The items of a list down and back up: each is chosen over another, the last also over itself.
std::vector<int> DownAndBack(size_t count) {
  std::vector<int> order;
  for (size_t i = 0; i < count; ++i) order.push_back(static_cast<int>(i));
  order.insert(order.end(), order.rbegin(), order.rend());
  return order;
}

class ComboEditorTest : public EditorTest {
 protected:
  void Pick(forms::ComboBox& box, int item) {
    lns::ClearJournal();
    forms::input::SelectItem(box, item);
  }
};

// Every item, down the list and back: picking writes nothing, leaving writes twice (validation,
// then the focus loss), even a value the unit holds.
TEST_F(ComboEditorTest, EachItemOfAGeneralBoxWritesItsValueWhenTheFocusLeaves) {
  Page(GeneralPage);
  for (const GeneralBox& general : GeneralBoxes) {
    auto& box = ByName().Ctl<forms::ComboBox>(general.box);
    for (int item : DownAndBack(general.choices.size())) {
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

// Each box's first flag and how many it sets: its k-th list item sets them to the bits of k.
struct Jumper {
  int firstFlag;
  int flags;
};
const std::vector<Jumper> Jumpers = {{0, 1}, {1, 1}, {2, 1},  {3, 1},  {4, 1},  {5, 1},  {6, 1},
                                     {7, 1}, {8, 2}, {10, 3}, {13, 2}, {15, 1}, {16, 1}, {17, 1}};

// The unit's jumper flags, "0" or "1" each.
std::string UnitFlags() {
  std::string flags;
  const std::string text = UnitValue("UCPTsoftJumpers").ToString();
  for (size_t at = 0; at < text.size(); at += 2) flags.push_back(text[at]);
  return flags;
}

// Each position, down and back: only the box's flags change, the control flags go out cleared
// with the last one set, once; a position the unit holds writes nothing.
TEST_F(ComboEditorTest, EachJumperPositionWritesItsBitsOnce) {
  Page(JumpersPage);
  std::string expected = UnitFlags().substr(0, 32);
  auto& cached = Point<points::UCPTsoftJumpers>("nciSoftJumpers");
  for (size_t index = 0; index < Jumpers.size(); ++index) {
    const Jumper& jumper = Jumpers[index];
    auto& box = ByName().Ctl<forms::ComboBox>("cbonciSoftJumpers", static_cast<int>(index));
    for (int item : DownAndBack(static_cast<size_t>(box.ListCount()))) {
      SCOPED_TRACE(std::to_string(index) + " " + box.List(item));
      const std::string before = expected;
      for (int k = 0; k < jumper.flags; ++k) {
        expected[static_cast<size_t>(jumper.firstFlag + k)] = (item >> k) & 1 ? '1' : '0';
      }
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

// "---", a state the refresh shows, a word in the wrong case, another box's item.
TEST_F(ComboEditorTest, ATextThatIsNoItemWritesNothing) {
  std::vector<std::pair<int, std::string>> boxes = {{JumpersPage, "cbonciSoftJumpers"}};
  for (const GeneralBox& general : GeneralBoxes) boxes.emplace_back(GeneralPage, general.box);
  for (const auto& [page, name] : boxes) {
    Page(page);
    auto& box = page == JumpersPage ? Box(name, 0) : Box(name);
    for (const char* text : {"---", "NULL", "Error", "Open", "enable", "normal", "Enable Input", ""}) {
      SCOPED_TRACE(name + " \"" + text + "\"");
      lns::ClearJournal();
      Edit(box, text);
      EXPECT_EQ(Writes(""), 0u);
    }
  }
}

// Enter posts a Tab: the box validates, loses the focus and validates again.
TEST_F(ComboEditorTest, EnterCommitsTheChoice) {
  Page(GeneralPage);
  Pick(ByName().Ctl<forms::ComboBox>("cbonviApplicMode"), 1);
  forms::input::Key(Window(), forms::vbKeyReturn);
  forms::DoEvents();
  EXPECT_EQ(Writes("nviApplicMode"), 2u);
  EXPECT_EQ(UnitBytes("nviApplicMode"), lns::Bytes{1});
  EXPECT_NE(Window().ActiveControl(), &Box("cbonviApplicMode"));
}

}  // namespace
}  // namespace mainwindow::test
