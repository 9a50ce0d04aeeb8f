#include "points/force.h"

#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "point_fixture.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;

class ForceTest : public PointTest {};

// The force on a network variable's DsFormatType and on a configuration property's FormatName.
TEST_F(ForceTest, ForceToRawSucceedsWhenTheFormatReadsBackRaw) {
  SetFormat("nviTemp", "SNVT_temp_p#SI");
  rt::Steps steps = rt::Steps::LogAndResumeNext([](int, const rt::Error&) { FAIL(); });
  rt::Ref<rt::Object> variable = AsObject(Variable("nviTemp"));
  EXPECT_TRUE(ForceToRaw(steps, 40, variable, "DsFormatType", rt::Variant::String("22.5"),
                         WriteForceLines(NvForceTexts, "SNVT_temp-StrToNV->", "SNVT_temp_p#SI", rt::Variant())));
  EXPECT_EQ(FormatOf("nviTemp"), "RAW");
  EXPECT_THAT(Log(), ElementsAre("SNVT_temp-StrToNV->SNVT_temp_p#SI< not supported for ><", "            Data = >22.5<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
}

TEST_F(ForceTest, ForceToRawReportsARefusedChangeWithTheNameReadBack) {
  SetFormat("nviTemp", "SNVT_temp_p#SI");
  lns::RefuseFormatChanges("NetworkVariable:nviTemp");
  rt::Steps steps = rt::Steps::LogAndResumeNext([](int, const rt::Error&) { FAIL(); });
  EXPECT_FALSE(ForceToRaw(steps, 40, AsObject(Variable("nviTemp")), "DsFormatType", rt::Variant(),
                          ReadForceLines(NvForceTexts, "SNVT_temp_p")));
  EXPECT_EQ(FormatOf("nviTemp"), "SNVT_temp_p#SI");
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = >SNVT_temp_p#SI<");
}

TEST_F(ForceTest, AForceWhoseReadBackFailsCountsAsRefused) {
  lns::FailMember("NetworkVariable:nviTemp", "DsFormatType", lns::err::InjectedFault);
  std::vector<int> failedLines;
  rt::Steps steps([&](int line, const rt::Error&) {
    failedLines.push_back(line);
    return rt::Resume::Next;
  });
  EXPECT_FALSE(ForceToRaw(steps, 40, AsObject(Variable("nviTemp")), "DsFormatType", rt::Variant(),
                          ReadForceLines(NvForceTexts, "SNVT_temp_p")));
  EXPECT_THAT(failedLines, ElementsAre(40, 40));
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = ><");
}

TEST_F(ForceTest, ForceToRawOnAConfigurationPropertyUsesItsFormatName) {
  rt::Ref<rt::Object> property =
      AsObject(Unit()->get_Interface()->Objects().Find("FCU")->PropertiesOf()->Find("UCPToccDiff"));
  rt::Steps steps = rt::Steps::LogAndResumeNext([](int, const rt::Error&) { FAIL(); });
  EXPECT_TRUE(ForceToRaw(steps, 0, property, "FormatName", rt::Variant(),
                         ReadForceLines(CpForceTexts, "UCPTtemp_Dif_p")));
  EXPECT_THAT(Log(), ElementsAre("UCPTtemp_Dif_p.ReadNV - Unsupported DS format.", "            Data = ><",
                                 "            Attempting to force to >RAW< FormatName...", "            Success"));
}


}  // namespace
}  // namespace points::testing
