#include <gmock/gmock.h>

#include "forms/msgbox.h"
#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/enum_points.h"
#include "points/nv/enumerations.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class EnumTest : public PointTest {
 protected:
  template <class T>
  uint8_t ReadText(const char* format, rt::Variant value) {
    auto recorded = Record<T>(format, std::move(value));
    recorded.point->put_Value(9);
    recorded.point->ReadNV();
    return recorded.point->get_Value();
  }
};

struct EnumWrite {
  const char* format;
  uint8_t value;
  std::string sent;
};

TEST_F(EnumTest, ModeWritesItsTextOrItsByte) {
  for (const EnumWrite& c : {EnumWrite{"SNVT_hvac_mode", 3, "HVAC_COOL"}, EnumWrite{"SNVT_hvac_mode", 17, "HVAC_EMERG_STEAM"},
                             EnumWrite{"SNVT_hvac_mode", 18, "HVAC_NUL"}, EnumWrite{"SNVT_hvac_mode", 255, "HVAC_NUL"},
                             EnumWrite{"RAW", 255, "255"}, EnumWrite{"Raw", 18, "18"}, EnumWrite{"", 6, "6"}}) {
    EXPECT_THAT(Write<SNVT_hvac_mode>("nviMode", c.format, c.value), ElementsAre(Quoted(c.sent))) << int{c.value};
  }
  EXPECT_EQ(BytesOf("nviMode"), lns::Bytes{6});
  for (const char* format : {"UNVTheatCoolAuto", "#80071A5503000000[4].UNVTheatCoolAuto"}) {
    auto recorded = Record<SNVT_hvac_mode>(format, rt::Variant());
    recorded.point->put_Value(1);
    recorded.point->WriteNV();
    EXPECT_THAT(recorded.variable->Puts(), ElementsAre(Text("HVAC_HEAT"))) << format;
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(EnumTest, OccupancyWritesItsTextOrItsByte) {
  for (const EnumWrite& c : {EnumWrite{"SNVT_occupancy", 3, "OC_STANDBY"}, EnumWrite{"SNVT_occupancy", 4, "OC_NUL"},
                             EnumWrite{"SNVT_occupancy", 255, "OC_NUL"}, EnumWrite{"RAW", 4, "4"}}) {
    EXPECT_THAT(Write<SNVT_occupancy>("nviOcc", c.format, c.value), ElementsAre(Quoted(c.sent))) << int{c.value};
  }
}

TEST_F(EnumTest, ReadingTakesTheTableTextOr255) {
  SetBytes("nviMode", {17});
  auto mode = Bound<SNVT_hvac_mode>("nviMode");
  mode->ReadNV();
  EXPECT_EQ(mode->get_Value(), 17);
  SetBytes("nviOcc", {3});
  auto occupancy = Bound<SNVT_occupancy>("nviOcc");
  occupancy->ReadNV();
  EXPECT_EQ(occupancy->get_Value(), 3);
  for (const char* text : {"HVAC_NUL", "hvac_cool", " HVAC_COOL", "HVAC_COOL ", "3"}) {
    EXPECT_EQ(ReadText<SNVT_hvac_mode>("SNVT_hvac_mode", Text(text)), 255) << text;
  }
  EXPECT_EQ(ReadText<SNVT_hvac_mode>("UNVTheatCoolAuto", Text("HVAC_HEAT")), 1);
  EXPECT_EQ(ReadText<SNVT_hvac_mode>("SNVT_hvac_mode", rt::Variant::Byte(1)), 255);
  EXPECT_EQ(ReadText<SNVT_occupancy>("SNVT_occupancy", Text("OC_NUL")), 255);
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(EnumTest, ARawReadTakesOneDecimalByte) {
  SetFormat("nviMode", "RAW");
  SetBytes("nviMode", {200});
  auto mode = Bound<SNVT_hvac_mode>("nviMode");
  mode->ReadNV();
  EXPECT_EQ(mode->get_Value(), 200);
  for (const char* text : {"256", "3\t4", "HVAC_HEAT"}) {
    EXPECT_EQ(ReadText<SNVT_hvac_mode>("RAW", Text(text)), 9) << text;
  }
  EXPECT_EQ(Log().size(), 3u);
}

TEST_F(EnumTest, EachClassForcesTheOthersFormat) {
  auto mode = Record<SNVT_hvac_mode>("SNVT_occupancy", Text("2"));
  mode.point->ReadNV();
  EXPECT_EQ(mode.variable->Format(), "RAW");
  EXPECT_EQ(mode.point->get_Value(), 2);
  auto occupancy = Record<SNVT_occupancy>("SNVT_hvac_mode", Text("1"));
  occupancy.point->ReadNV();
  EXPECT_EQ(occupancy.variable->Format(), "RAW");
  EXPECT_THAT(Log(), ElementsAre("SNVT_hvac_mode.ReadNV - Unsupported DS format.", "            Data = >2<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success",
                                 "SNVT_occupancy.ReadNV - Unsupported DS format.", "            Data = >1<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
}

TEST_F(EnumTest, ALowerCaseRawIsForcedAndReadAgain) {
  SetFormat("nviMode", "raw");
  SetBytes("nviMode", {4});
  auto mode = Bound<SNVT_hvac_mode>("nviMode");
  mode->ReadNV();
  EXPECT_EQ(mode->get_Value(), 4);
  EXPECT_EQ(FormatOf("nviMode"), "RAW");
}

TEST_F(EnumTest, AGatedWriteSendsOncePerLet) {
  auto mode = Bound<SNVT_hvac_mode>("nviMode");
  mode->WriteNV();
  EXPECT_THAT(Sent("nviMode"), IsEmpty());
  mode->put_Value(1);
  mode->WriteNV();
  mode->WriteNV();
  EXPECT_THAT(Sent("nviMode"), ElementsAre(Quoted("HVAC_HEAT")));
}

TEST_F(EnumTest, AnUnsupportedWriteQuotesTheLastValueRead) {
  SetFormat("nviOcc", "raw");
  auto occupancy = Bound<SNVT_occupancy>("nviOcc");
  occupancy->put_Value(2);
  occupancy->WriteNV();
  EXPECT_EQ(Log().front(), "SNVT_occupancy-StrToNV->raw< not supported for ><");
  EXPECT_THAT(Sent("nviOcc"), ElementsAre(Quoted("2")));
  occupancy->ReadNV();
  ClearLog();
  SetFormat("nviOcc", "raw");
  occupancy->put_Value(3);
  occupancy->WriteNV();
  EXPECT_EQ(Log().front(), "SNVT_occupancy-StrToNV->raw< not supported for >2<");
}

TEST_F(EnumTest, AnUnboundPointShowsOneBoxThenLogsItsFailedCalls) {
  auto mode = Bound<SNVT_hvac_mode>("nviNothing");
  ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_EQ(forms::MsgBoxRecords().back().title, "SNVT_hvac_mode.NvName");
  mode->put_Value(7);
  mode->ReadNV();
  EXPECT_EQ(mode->get_Value(), 0);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_THAT(Log()[0], StartsWith("Err.Number(91)-Object variable or With block variable not set Line 10 "));
  EXPECT_THAT(Log()[1], StartsWith("Err.Number(91)-Object variable or With block variable not set Line 20 "));
  ClearLog();
  mode->put_Value(7);
  mode->WriteNV();
  EXPECT_THAT(Log(), ElementsAre("Error-Object variable or With block variable not set Line 10 SNVT_hvac_mode.WriteNV",
                                 "Error-Object variable or With block variable not set Line 20 SNVT_hvac_mode.WriteNV"));
  EXPECT_EQ(forms::MsgBoxRecords().size(), 1u);
}

TEST_F(EnumTest, EnumerationsWriteUnknownValuesAsTheirNullTextAndReadUnknownTextsAs255) {
  EXPECT_EQ(HvacModes.TextOf(0), "HVAC_AUTO");
  EXPECT_EQ(HvacModes.TextOf(17), "HVAC_EMERG_STEAM");
  EXPECT_EQ(HvacModes.TextOf(18), "HVAC_NUL");
  EXPECT_EQ(HvacModes.TextOf(255), "HVAC_NUL");
  EXPECT_EQ(Occupancies.TextOf(3), "OC_STANDBY");
  EXPECT_EQ(Occupancies.TextOf(4), "OC_NUL");
  EXPECT_EQ(HvacModes.ValueOf("HVAC_EMERG_STEAM"), 17);
  EXPECT_EQ(Occupancies.ValueOf("OC_STANDBY"), 3);
  for (const char* text : {"HVAC_NUL", "hvac_heat", " HVAC_HEAT", "HVAC_HEAT ", ""}) {
    EXPECT_EQ(HvacModes.ValueOf(text), 255) << text;
  }
  EXPECT_EQ(Occupancies.ValueOf("OC_NUL"), 255);
  EXPECT_EQ(Occupancies.ValueOf(rt::Variant::Integer(1)), 255);
}

}  // namespace
}  // namespace points::testing
