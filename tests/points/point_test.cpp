#include "points/point.h"

#include <gmock/gmock.h>

#include "forms/msgbox.h"
#include "point_fixture.h"

namespace points::testing {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;

constexpr const char* NotSet = "Object variable or With block variable not set";

// A point of either family bound straight to an object: the contract without a class's quirks.
// Like every point it refers to its family and class data, which must outlive it.
class ProbePoint : public Point {
 public:
  ProbePoint(const PointFamily& family, const PointClass& pointClass) : Point(family, pointClass) {}

  // Binds `target` as step 20; Nothing fails there.
  void Bind(std::string name, rt::Ref<rt::Object> target) {
    name_ = std::move(name);
    rt::Steps steps = BindingSteps();
    steps(20, [&] {
      if (!target) rt::Raise(rt::err::ObjectNotSet);
      bound_ = target;
    });
  }
  void Change() { m_Changed = true; }
  using Point::Read;
  using Point::Write;

 protected:
  void Send(rt::Steps& steps) override {
    ReadFormat(steps, 10);
    PutValue(steps, 20, [] { return rt::Variant::Long(1); });
  }
  void Receive(rt::Steps& steps) override {
    std::string formatName = ReadFormat(steps, 30);
    ReadValue(steps, 30);
    if (!IsRawFormat(formatName)) ForceOnRead(steps);
  }
  const rt::Ref<rt::Object>& Bound() const override { return bound_; }
  const std::string& BoundName() const override { return name_; }

 private:
  rt::Ref<rt::Object> bound_;
  std::string name_;
};

PointClass Probe(ReadErrorLine read, WriteErrorLine write, std::string_view readProcedure,
                 std::string_view writeProcedure, BindingFailure binding = BindingFailure::LogCantFind) {
  return {"UCPTprobe", true, "UCPTprobe-StrToNV->", write, read, binding, {30, 30, 30, 30}, {10, 20, 20},
          writeProcedure, readProcedure};
}

struct LineCase {
  PointClass pointClass;
  std::string readLine;
  std::string writeLine;
  friend void PrintTo(const LineCase& c, std::ostream* os) {
    *os << "Read" << static_cast<int>(c.pointClass.readErrors) << "Write" << static_cast<int>(c.pointClass.writeErrors);
  }
};

class ErrorLineTest : public PointTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ErrorLineTest, AFailedStepIsLoggedInTheClassesWordsWithItsProcedure) {
  ProbePoint point(ConfigProperties, GetParam().pointClass);
  point.Bind("UCPTname", nullptr);
  ClearLog();
  point.Read();
  EXPECT_EQ(Log().front(), GetParam().readLine);
  ClearLog();
  point.Change();
  point.Write();
  EXPECT_EQ(Log().front(), GetParam().writeLine);
  EXPECT_FALSE(point.get_Changed());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ErrorLineTest,
    ::testing::Values(
        LineCase{Probe(ReadErrorLine::ErrNumber, WriteErrorLine::Plain, "ReadCP", "WriteCP"),
                 "Err.Number(91)-" + std::string(NotSet) + " Line 30 UCPTprobe.ReadCP >UCPTname<",
                 "Error-" + std::string(NotSet) + " Line 10 UCPTprobe.WriteCP"},
        LineCase{Probe(ReadErrorLine::ErrorNamed, WriteErrorLine::Named, "ReadCP", "WriteNV"),
                 "Error-" + std::string(NotSet) + " Line 30 UCPTprobe.ReadCP >UCPTname<",
                 "Error-" + std::string(NotSet) + " Line 10 UCPTprobe.WriteNV >UCPTname<"},
        LineCase{Probe(ReadErrorLine::NameFirst, WriteErrorLine::Plain, "ReadNV", "WriteNV"),
                 "UCPTname.ReadNV-" + std::string(NotSet) + " Line 30",
                 "Error-" + std::string(NotSet) + " Line 10 UCPTprobe.WriteNV"}));

struct BindingCase {
  BindingFailure failure;
  std::vector<std::string> log;
  std::string box;  // empty: none shown
  friend void PrintTo(const BindingCase& c, std::ostream* os) { *os << "Failure" << static_cast<int>(c.failure); }
};

class BindingTest : public PointTest, public ::testing::WithParamInterface<BindingCase> {};

TEST_P(BindingTest, AFailedBindingIsReportedUnderTheFamilysNameMember) {
  const PointClass probe =
      Probe(ReadErrorLine::ErrorPlain, WriteErrorLine::Plain, "ReadCP", "WriteCP", GetParam().failure);
  ProbePoint point(ConfigProperties, probe);
  point.Bind("UCPTname", nullptr);
  EXPECT_EQ(Log(), GetParam().log);
  if (GetParam().box.empty()) {
    EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
  } else {
    ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
    EXPECT_EQ(forms::MsgBoxRecords().back().prompt, GetParam().box);
    EXPECT_EQ(forms::MsgBoxRecords().back().title, "UCPTprobe.CpName");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BindingTest,
    ::testing::Values(BindingCase{BindingFailure::LogCantFind, {"UCPTprobe-Can't find UCPTname"}, ""},
                      BindingCase{BindingFailure::MessageBox, {}, "Error - " + std::string(NotSet) + " Line 20"},
                      BindingCase{BindingFailure::MessageBoxNamed, {},
                                  "Error - (UCPTname)" + std::string(NotSet) + " Line 20"}));

TEST_F(PointTest, AConfigurationPropertyIsForcedThroughItsFormatNameInItsOwnWords) {
  const PointClass probe = Probe(ReadErrorLine::ErrorPlain, WriteErrorLine::Plain, "ReadCP", "WriteCP");
  ProbePoint point(ConfigProperties, probe);
  point.Bind("UCPToccDiff",
             AsObject(Unit()->get_Interface()->Objects().Find("FCU")->PropertiesOf()->Find("UCPToccDiff")));
  point.Read();
  EXPECT_THAT(Log(), Contains("            Attempting to force to >RAW< FormatName..."));
  EXPECT_EQ(Log().back(), "            Success");
}

}  // namespace
}  // namespace points::testing
