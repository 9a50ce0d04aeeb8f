// The technician's whole session, run clean once and then once per call site of its journal with
// that call failing: nothing escapes, the failure is reported, the window is left usable and the
// unit's data is only ever the clean run's or, where the failure stopped a write, the old value.
// The sites are shared out among shards that CTest runs side by side; each runs the clean session
// itself and then its own slice.
#include <gmock/gmock.h>

#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <span>

#include "editors/editor_fixture.h"
#include "forms/app.h"
#include "forms/constants.h"
#include "forms/controls_command.h"
#include "host/progress.h"
#include "lns/calls/faults.h"
#include "lns/values/fcu_unit.h"
#include "mainwindow/refresh/refresh.h"
#include "support/shards.h"

namespace mainwindow::test {
namespace {

constexpr int64_t Quiet = 4000;
constexpr int64_t Poll = 2000;
constexpr int DebugPage = 5;
constexpr const char* SweepFault = "Sweep fault";
// Fewer sites than this means the session no longer reaches part of the plug-in.
constexpr size_t ExpectedSites = 198;
// Some twenty-five sites each, about ten seconds in the sanitizers' build; the unit not answering
// in each step adds a site or two to every shard.
constexpr size_t SweepShards = orvex::test::ShardsFor(ExpectedSites, 25);
// The director's error when the object path of its command leads to no device.
constexpr int32_t PathNotFound = 20005;

using UnitData = std::map<std::string, lns::Bytes>;

// The designator of each point of the unit ("nviSetpoint", "FCU/UCPTcoolKp", "nviOccManCmd/SCPTbypassTime").
std::vector<std::string> UnitDesignators() {
  std::vector<std::string> designators;
  for (const lns::UnitPoint& point : lns::FcuUnitPoints()) {
    std::string owner(point.ownerNv);
    if (point.kind == lns::PointKind::ConfigProperty && owner.empty()) {
      owner = std::string(lns::FcuObjects.at(static_cast<size_t>(point.objectIndex - 1)).name);
    }
    designators.push_back(owner.empty() ? std::string(point.name) : owner + "/" + std::string(point.name));
  }
  return designators;
}

UnitData ReadUnit() {
  UnitData data;
  for (const std::string& designator : UnitDesignators()) data[designator] = UnitBytes(designator);
  return data;
}

std::optional<lns::CatalogCall> CatalogCallOf(const lns::JournalEntry& entry) {
  return lns::CatalogCallNamed(entry.path + "." + entry.member);
}

// A call site: an Object Server member by object, name and kind of call; every catalog call of the
// session is one of its own, since the resource check and the look-up of each LonMark object make
// the same calls from different places. An editor's write is a place of its own too: each call it
// makes counts again in its step, even one that a refresh made before.
std::string SiteOf(const lns::JournalEntry& entry, size_t index) {
  const std::string call = entry.path + "." + entry.member + " " + std::string(lns::CallKindText(entry.kind));
  return CatalogCallOf(entry) ? call + " #" + std::to_string(index) : call;
}

// Where the session fails: at its call number `call`, or, without one, the unit not answering
// during the whole of `step`.
struct Site {
  std::string name;
  std::optional<size_t> call;  // counted from 0
  size_t step;                 // the session step that makes the call
};

class FaultSweepTest : public EditorTest, public ::testing::WithParamInterface<size_t> {
 protected:
  // The technician's session, a step at a time, with the unit points each step writes. The tabs
  // are steps of their own, so that an editing step holds its write's calls alone.
  struct Step {
    const char* name;
    std::function<void(FaultSweepTest&)> act;
    std::vector<std::string> writes;
  };
  static const std::vector<Step>& Steps() {
    static const std::vector<Step> steps = {
        {"attach", &FaultSweepTest::Attach, {}},
        {"poll", &FaultSweepTest::PollOnce, {}},
        {"pages", &FaultSweepTest::EveryPage, {}},
        {"General tab", [](FaultSweepTest& t) { t.Page(GeneralPage); }, {}},
        {"setpoint", [](FaultSweepTest& t) { t.Edit(t.Box("txtStbyHtgSpt", 2), "70"); }, {"FCU/SCPTsetPnts"}},
        {"combo", [](FaultSweepTest& t) { t.Choose("cbonciLocSptEnable", -1, 0); }, {"FCU/UCPTlocSptEnable"}},
        {"Device Setup tab", [](FaultSweepTest& t) { t.Page(DeviceSetupPage); }, {}},
        {"location", [](FaultSweepTest& t) { t.Edit(t.Box("txtnciLocation"), "Plant room 3"); }, {"FCU/SCPTlocation"}},
        {"grid row", [](FaultSweepTest& t) { t.Edit(t.Box("txtCP", 5), "35"); }, {"FCU/UCPTcoolKp"}},
        {"Jumpers tab", [](FaultSweepTest& t) { t.Page(JumpersPage); }, {}},
        {"jumper", [](FaultSweepTest& t) { t.Choose("cbonciSoftJumpers", 0, 1); }, {"FCU/UCPTsoftJumpers"}},
    };
    return steps;
  }

  void SetUp() override {
    DemoUnitTest::SetUp();
    directorError_ = 0;
    refresh::UsePageRefresh();
    // As the settings' LogWindow = True shows it.
    ByName().Ctl<forms::TabControl>("tabData").SetTabVisible(DebugPage, true);
    lns::ClearJournal();
  }

  // A failure to walk the command's object path reaches the director as the plug-in's error; the
  // technician goes on in the window.
  void Attach() {
    try {
      Configure();
    } catch (const rt::Error& error) {
      directorError_ = error.Number();
    }
  }
  void PollOnce() {
    Window().Show();
    forms::AdvanceClock(Quiet + Poll);
  }
  void EveryPage() {
    for (int page = 1; page <= DebugPage; ++page) Page(page);
  }
  void Choose(const char* combo, int index, int item) {
    forms::input::SelectItem(index < 0 ? ByName().Ctl(combo) : ByName().Ctl(combo, index), item);
    Leave();
  }

  // Runs the session, the unit not answering during `silentStep`; the number of journaled calls
  // at the end of each step.
  std::vector<size_t> Session(std::optional<size_t> silentStep = std::nullopt) {
    std::vector<size_t> ends;
    for (size_t step = 0; step < Steps().size(); ++step) {
      lns::SetDeviceResponding("AppDevice", step != silentStep);
      Steps()[step].act(*this);
      ends.push_back(lns::JournalEntries().size());
    }
    return ends;
  }

  // Makes the session's call number `call` fail once, whatever it calls.
  static void FailCall(size_t call) {
    lns::SetCallHook([call, made = size_t{0}](const lns::JournalEntry& entry) mutable {
      if (made++ != call) return;
      const lns::FaultError error(lns::err::InjectedFault, SweepFault);
      if (const auto catalogCall = CatalogCallOf(entry)) {
        lns::FailCatalogCall({*catalogCall, {}, std::nullopt, std::nullopt, error, lns::Repeat::Once});
      } else {
        lns::FailMember(entry.path, entry.member, error, lns::Repeat::Once);
      }
    });
  }

  // What is wrong after a session whose `site` failed; empty when nothing is.
  std::vector<std::string> Faults(const Site& site, const std::vector<lns::JournalEntry>& clean, const UnitData& before,
                                  const UnitData& after) {
    std::vector<std::string> faults;
    if (site.call && !MetItsCall(*site.call, clean)) faults.push_back("the fault did not meet its call");
    if (!Reported(site.call ? SweepFault : SilentUnit())) faults.push_back("no log line or message names the failure");
    if (EscapedTheAttachBox()) faults.push_back("a failure escaped the attach's error box");
    std::vector<std::string> window = WindowFaults();
    faults.insert(faults.end(), window.begin(), window.end());
    const UnitData now = ReadUnit();
    for (const auto& [designator, bytes] : now) {
      const bool mayKeepOld = WrittenFrom(site.step, designator);
      if (bytes != after.at(designator) && !(mayKeepOld && bytes == before.at(designator))) {
        faults.push_back(designator + " holds a value the session never gave it");
      }
    }
    return faults;
  }

  // The window is left as a technician can go on with: no hourglass, no lamp lit, no box kept
  // off the refresh, no progress window.
  std::vector<std::string> WindowFaults() {
    std::vector<std::string> faults;
    if (forms::Screen().MousePointer() != forms::vbDefault) faults.push_back("the hourglass stays up");
    for (int lamp : {1, 2}) {
      if (ByName().Ctl("picNetworkTraffic", lamp).Visible()) faults.push_back("a traffic lamp stays lit");
    }
    for (const forms::Control* control : Window().Controls()) {
      if (control->Tag() == "Busy") faults.push_back(control->DisplayName() + " stays Busy");
    }
    if (forms::DefaultExists<host::fProgress>()) faults.push_back("the progress window stays loaded");
    return faults;
  }

  // The look-up, the template label and the device test (the attach's lines 4 to 6) answer every
  // failure with their own box.
  static bool EscapedTheAttachBox() {
    static const std::regex escaped("Line [456] in ProcessDeviceCommand$");
    const auto lines = host::LogLines();
    return std::ranges::any_of(lines, [](const std::string& line) { return std::regex_search(line, escaped); });
  }

  static bool MetItsCall(size_t call, const std::vector<lns::JournalEntry>& clean) {
    const auto journal = lns::JournalEntries();
    return journal.size() > call && journal[call].error == lns::err::InjectedFault &&
           SiteOf(journal[call], call) == SiteOf(clean[call], call);
  }
  static std::string SilentUnit() { return lns::ErrorDescription(lns::err::DeviceNotResponding) + ": FCU 1"; }

  // A write at or after the failing step may have been stopped by the failure.
  static bool WrittenFrom(size_t step, const std::string& designator) {
    for (size_t later = step; later < Steps().size(); ++later) {
      if (std::ranges::count(Steps()[later].writes, designator) > 0) return true;
    }
    return false;
  }

  // A log line names the failure and where it happened, a message box shows it, or the director
  // heard that its path led nowhere.
  bool Reported(const std::string& failure) const {
    if (directorError_ == PathNotFound) return true;
    const std::regex logged(failure + " ?Line [0-9]+");
    for (const std::string& line : host::LogLines()) {
      if (std::regex_search(line, logged)) return true;
    }
    for (const auto& box : forms::MsgBoxRecords()) {
      if (box.prompt.find(failure) != std::string::npos) return true;
    }
    return false;
  }

  int32_t directorError_ = 0;
};

TEST_P(FaultSweepTest, EveryCallOfTheSessionFailsOnceWithoutHarm) {
  const UnitData before = ReadUnit();
  const std::vector<size_t> stepEnds = Session();
  const std::vector<lns::JournalEntry> clean = lns::JournalEntries();
  const UnitData after = ReadUnit();
  ASSERT_THAT(WindowFaults(), ::testing::IsEmpty());
  ASSERT_EQ(directorError_, 0);
  for (const Step& step : Steps()) {
    for (const std::string& written : step.writes) ASSERT_NE(before.at(written), after.at(written)) << step.name;
  }

  std::vector<Site> sites;
  std::set<std::string> seen;
  for (size_t call = 0; call < clean.size(); ++call) {
    const auto step = static_cast<size_t>(std::ranges::upper_bound(stepEnds, call) - stepEnds.begin());
    const std::string writing = Steps()[step].writes.empty() ? "" : ", writing in " + std::string(Steps()[step].name);
    const std::string name = SiteOf(clean[call], call) + writing;
    if (seen.insert(name).second) sites.push_back({name, call, step});
  }
  std::cout << "The fault sweep covers " << sites.size() << " call sites of the " << clean.size()
            << " calls of a clean session, and the unit not answering in each of its " << Steps().size()
            << " steps.\n";
  ASSERT_GE(sites.size(), ExpectedSites);
  for (size_t step = 0; step < Steps().size(); ++step) sites.push_back({"the unit not answering", std::nullopt, step});

  const orvex::test::Slice slice = orvex::test::SliceOf(GetParam(), SweepShards, sites.size());
  std::cout << "This shard fails " << orvex::test::SliceText(slice, sites.size(), "sites") << ".\n";
  for (const Site& site : std::span(sites).subspan(slice.first, slice.end - slice.first)) {
    TearDown();
    SetUp();
    if (site.call) FailCall(*site.call);
    EXPECT_NO_THROW(Session(site.call ? std::nullopt : std::optional(site.step))) << site.name;
    for (const std::string& fault : Faults(site, clean, before, after)) {
      ADD_FAILURE() << Steps()[site.step].name << ": " << site.name << ": " << fault;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, FaultSweepTest, ::testing::Range(size_t{0}, SweepShards));

}  // namespace
}  // namespace mainwindow::test
