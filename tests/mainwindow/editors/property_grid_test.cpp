// The 34 boxes of the "Device Setup" page.
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "editor_fixture.h"
#include "points/cp/scpt_set_pnts.h"
#include "points/typed_value.h"
#include "points/cp/point.h"
#include "runtime/convert.h"

namespace mainwindow::test {
namespace {

using NumberProperty = points::TypedValue<points::ConfigPropertyPoint, double>;

struct Row {
  const char* point;
  const char* unitPoint;
  double min;
  double max;
  bool whole;
};

const std::vector<Row> Rows = {
    {"nciOccDiff", "UCPToccDiff", 1, 5, false},
    {"nciUnoccDiff", "UCPTunOccDiff", 2, 10, false},
    {"nciSptAdjMax", "UCPTsptAdjMax", 55, 95, false},
    {"nciSptAdjMin", "UCPTsptAdjMin", 55, 95, false},
    {"nciCoolEnDiff", "UCPTcoolEnDiff", 2, 10, false},
    {"nciCoolKp", "UCPTcoolKp", 5, 160, false},
    {"nciCoolKi", "UCPTcoolKi", 0, 1200, true},
    {"nciCoolDB", "UCPTcoolDB", 3, 100, false},
    {"nciCoolVlvStroke", "UCPTcoolVlvStroke", 15, 600, true},
    {"nciHeatEnDiff", "UCPTheatEnDiff", 2, 10, false},
    {"nciHeatKp", "UCPTheatKp", 5, 160, false},
    {"nciHeatKi", "UCPTheatKi", 0, 1200, true},
    {"nciHeatDB", "UCPTheatDB", 3, 100, false},
    {"nciHeatVlvStroke", "UCPTheatVlvStroke", 15, 600, true},
    {"nciEwtFlowTmr", "UCPTewtFlowTmr", 60, 600, true},
    {"nciEwtSampleTmr", "UCPTewtSampleTmr", 20, 120, true},
    {"nciFanMinOffTmr", "UCPTfanMinOffTmr", 120, 1200, true},
    {"nciFanMinOnTmr", "UCPTfanMinOnTmr", 120, 1200, true},
    {"nciCoolIntStgTmr", "UCPTcoolIntStgTmr", 120, 1200, true},
    {"nciHeatIntStgTmr", "UCPTheatIntStgTmr", 120, 1200, true},
    {"nciFltrChangeHrs", "UCPTfltrChangeHrs", 360, 4320, true},
    {"nciEconOaEnSpt", "UCPTeconOaEnSpt", 40, 80, false},
    {"nciEconOaEnDiff", "UCPTeconOaEnDiff", 1, 12, false},
    {"nciDaSptKp", "UCPTdaSptKp", 5, 160, false},
    {"nciDaSptKi", "UCPTDaSptKi", 0, 1200, true},
    {"nciMaxDaSpt", "UCPTmaxDaSpt", 50, 80, false},
    {"nciMinDaSpt", "UCPTminDaSpt", 50, 80, false},
    {"nciEconPosKp", "UCPTeconPosKp", 5, 160, false},
    {"nciEconPosKi", "UCPTeconPosKi", 0, 1200, true},
    {"nciEconDB", "UCPTeconDB", 3, 100, false},
    {"nciEconStroke", "UCPTeconStroke", 15, 600, true},
    {"nciEconLowMin", "UCPTeconLowMin", 0, 100, false},
    {"nciEconMedMin", "UCPTeconMedMin", 0, 100, false},
    {"nciEconHighMin", "UCPTeconHighMin", 0, 100, false},
};

class PropertyGridTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    Page(DeviceSetupPage);
  }
  // Cached setpoints (in data order) far enough apart for any differential the rows take.
  void CacheSetpoints(const points::Setpoints& setpoints) {
    auto& cached = Point<points::SCPTsetPnts>("nciSetpoints");
    for (int s = 0; s < points::SetpointCount; ++s) cached.put_Setpoint(points::Setpoint(s), setpoints[size_t(s)]);
  }
  double UnitNumber(const char* unitPoint) { return UnitValue(unitPoint).ToDouble(); }
};

// At each bound, just inside it and just outside it: the value written, and the message of the
// bound passed.
TEST_F(PropertyGridTest, EveryRowClampsToItsRangeWithTheBoundsMessage) {
  CacheSetpoints({90, 90, 90, 60, 60, 60});
  for (size_t k = 0; k < Rows.size(); ++k) {
    const Row& row = Rows[k];
    const double step = row.whole ? 1 : 0.1;
    struct Case {
      double entry;
      double written;
      std::vector<std::string> messages;
    };
    const std::string min = rt::NumberText(row.min);
    const std::string max = rt::NumberText(row.max);
    for (const Case& c : {Case{row.min, row.min, {}}, Case{row.min + step, row.min + step, {}},
                          Case{row.min - step, row.min, Bound("less", min)}, Case{row.max, row.max, {}},
                          Case{row.max - step, row.max - step, {}},
                          Case{row.max + step, row.max, Bound("greater", max)}}) {
      const std::string entry = rt::NumberText(c.entry);
      SCOPED_TRACE("txtCP(" + std::to_string(k) + ") " + entry);
      lns::ClearJournal();
      Edit(Box("txtCP", int(k)), entry);
      EXPECT_EQ(NewMessages(), c.messages);
      EXPECT_EQ(Writes(row.unitPoint), 1u);
      EXPECT_DOUBLE_EQ(Point<NumberProperty>(row.point).get_Value(), c.written);
      EXPECT_NEAR(UnitNumber(row.unitPoint), c.written, 0.1);  // the unit keeps temperatures coarser
    }
  }
}

// How the box text and the value come out of an entry, where a row has its own rules; neither
// an entry without a value in a range that takes 0 nor an overflowing number writes anything.
TEST_F(PropertyGridTest, EntriesAreReformattedRoundedAndClamped) {
  CacheSetpoints({90, 90, 90, 60, 60, 60});
  struct Case {
    int k;
    const char* entry;
    const char* shown;
    std::optional<double> written;
    std::vector<std::string> messages = {};
  };
  for (const Case& c : {Case{0, "7", "7.0", 5, Bound("greater", "5")},
                        Case{5, "200", "200.0", 160, Bound("greater", "160")}, Case{5, "20.25", "20.3", 20.3},
                        Case{15, "0", "0", 0},
                        Case{15, "0.0", "20", 20, Bound("less", "20")}, Case{15, " 0", "20", 20, Bound("less", "20")},
                        Case{15, "44.5", "44", 44}, Case{15, "45.5", "46", 46}, Case{16, "150.4", "150", 150},
                        Case{20, "5000", "4320", 4320, Bound("greater", "4320")}, Case{20, "0", "0", 0},
                        Case{7, "abc", "abc", 3, Bound("less", "3")}, Case{6, "abc", "300", {}},
                        Case{31, "", "20.0", {}}, Case{32, "--", "15.0", {}}, Case{5, "1e999", "1e999", {}},
                        Case{15, "1e999", "1e999", {}}}) {
    SCOPED_TRACE("txtCP(" + std::to_string(c.k) + ") " + c.entry);
    lns::ClearJournal();
    Edit(Box("txtCP", c.k), c.entry);
    EXPECT_EQ(Box("txtCP", c.k).Text(), c.shown);
    EXPECT_EQ(NewMessages(), c.messages);
    EXPECT_EQ(Writes(Rows[size_t(c.k)].unitPoint), c.written ? 1u : 0u);
    if (c.written) {
      EXPECT_DOUBLE_EQ(Point<NumberProperty>(Rows[size_t(c.k)].point).get_Value(), *c.written);
    }
  }
  const std::vector<std::string> log = host::LogLines();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.ends_with("txtCP.Validate-Overflow Line 0"); }),
            2);
}

// The differentials against the cached setpoints: equality passes; a refusal reads the device's
// value back into the box and writes nothing. Row 1 looks at the unoccupied pair only.
TEST_F(PropertyGridTest, ADifferentialWiderThanItsSetpointsAllowIsRefused) {
  const std::string occupied =
      "nciOccDiff cannot be greater than the difference between occupied heating and\r\n"
      "cooling setpoints or standby heating and cooling setpoints. Please try again.";
  const std::string unoccupied =
      "nciUnoccDiff cannot be greater than the difference between unoccupied heating and\r\n"
      "cooling setpoints. Please try again.";
  struct Case {
    int k;
    const char* entry;
    bool written;
    std::string message;
  };
  for (const Case& c : {Case{0, "4.1", true, ""}, Case{0, "4.2", false, occupied},
                        Case{1, "9.1", true, ""}, Case{1, "9.2", false, unoccupied}}) {
    SCOPED_TRACE("txtCP(" + std::to_string(c.k) + ") " + c.entry);
    CacheSetpoints({75, 78, 70, 70, 68, 60});  // the standby pair 10 apart, the unoccupied 10
    const Row& row = Rows[size_t(c.k)];
    const double device = UnitNumber(row.unitPoint);
    lns::ClearJournal();
    Edit(Box("txtCP", c.k), c.entry);
    EXPECT_EQ(Writes(row.unitPoint), c.written ? 1u : 0u);
    EXPECT_EQ(NewMessages(), c.written ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    if (!c.written) {
      EXPECT_EQ(Box("txtCP", c.k).Text(), rt::NumberText(device));
    }
  }
}

}  // namespace
}  // namespace mainwindow::test
