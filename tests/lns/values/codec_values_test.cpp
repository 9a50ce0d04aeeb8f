#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lns/calls/errors.h"
#include "lns/values/codec.h"

namespace lns {
namespace {

using rt::Variant;

std::string Tabbed(const std::vector<std::string>& pieces) {
  std::string text;
  for (size_t i = 0; i < pieces.size(); ++i) text += (i ? "\t" : "") + pieces[i];
  return text;
}

std::string Repeated(const std::string& entry, size_t count, char delimiter) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += (i ? std::string(1, delimiter) : "") + entry;
  return text;
}

// `count` "0"/"1" entries with the flags `set` at "1".
std::string FlagText(const std::vector<size_t>& set, size_t count, char delimiter) {
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    bool on = std::find(set.begin(), set.end(), i) != set.end();
    text += (i ? std::string(1, delimiter) : "") + (on ? "1" : "0");
  }
  return text;
}

Bytes Padded(const std::string& text, size_t size) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(size, 0);
  return bytes;
}

// One value of a type in one format: its device bytes and how the format presents them. Every
// case runs both ways: the bytes present as `presented`, and `presented` is accepted as the bytes.
struct Case {
  std::string type;
  std::string format;
  Bytes bytes;
  Variant presented;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.type << " in \"" << c.format << "\""; }

class CodecRoundTrip : public testing::TestWithParam<Case> {};

TEST_P(CodecRoundTrip, PresentsTheBytes) {
  const Case& c = GetParam();
  EXPECT_EQ(PresentValue(c.type, c.format, c.bytes), c.presented);
}

TEST_P(CodecRoundTrip, AcceptsWhatItPresents) {
  const Case& c = GetParam();
  EXPECT_EQ(AcceptValue(c.type, c.format, c.presented, Bytes(TypeSize(c.type))), c.bytes);
}

Variant Num(double v) { return Variant::Double(v); }
Variant Whole(int32_t v) { return Variant::Long(v); }
Variant Text(std::string v) { return Variant::String(std::move(v)); }

const std::string Scoped = "#0000000000000000[0].";

INSTANTIATE_TEST_SUITE_P(
    Temperatures, CodecRoundTrip,
    testing::Values(Case{"SNVT_temp_p", "SNVT_temp_p#US", {8, 202}, Num(72.5)},
                    Case{"SNVT_temp_p", "SNVT_temp_p", {8, 202}, Num(72.5)},
                    Case{"SNVT_temp_p", "SNVT_temp_p#SI", {8, 202}, Num(22.5)},
                    Case{"SNVT_temp_p", "SNVT_temp_p#US_diff", {8, 202}, Num(40.5)},
                    Case{"SNVT_temp_p", Scoped + "SNVT_temp_p#US_diff", {0, 200}, Num(3.6)},
                    Case{"SNVT_temp_p", "SNVT_temp_p#US", {255, 56}, Num(28.4)},
                    Case{"SNVT_temp_p", "SNVT_temp_p#US", {0x7F, 0xFF}, Num(621.806)},
                    Case{"SNVT_temp_p", "SNVT_temp_p#SI", {0x7F, 0xFF}, Num(327.67)},
                    Case{"SNVT_temp_p", "SNVT_temp_p#US", {9, 29}, Num(73.994)},
                    Case{"SNVT_temp_p", "RAW", {8, 202}, Text("8\t202")},
                    Case{"SNVT_temp_p", "Raw", {127, 255}, Text("127\t255")},
                    Case{"SNVT_temp_p", "", {255, 56}, Text("255\t56")},
                    Case{"SNVT_temp_setpt",
                         "SNVT_temp_setpt#US_diff",
                         {0, 100, 0, 200, 0, 0, 0, 0, 255, 156, 0, 0},
                         Text("1.8,3.6,0,0,-1.8,0")},
                    Case{"SNVT_temp_setpt",
                         "SNVT_temp_setpt#US",
                         {8, 202, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                         Text("72.5,32,32,32,32,32")},
                    Case{"SCPTsetPnts",
                         "SCPTsetPnts#US",
                         {9, 46, 9, 196, 11, 84, 8, 52, 7, 108, 6, 64},
                         Text("74.3,77,84.2,69.8,66.2,60.8")},
                    Case{"SCPTsetPnts",
                         "SCPTsetPnts#SI",
                         {9, 46, 9, 196, 11, 84, 8, 52, 7, 108, 6, 64},
                         Text("23.5,25,29,21,19,16")},
                    Case{"SCPTsetPnts",
                         "RAW",
                         {9, 46, 9, 196, 11, 84, 8, 52, 7, 108, 6, 64},
                         Text(Tabbed({"9", "46", "9", "196", "11", "84", "8", "52", "7", "108", "6", "64"}))},
                    Case{"UCPTmaxDaSpt", "UCPTmaxDaSpt#US", {0, 220}, Num(71.6)},
                    Case{"UCPTmaxDaSpt", "#80071A5503000000[4].UCPTmaxDaSpt#SI", {255, 236}, Num(-2)},
                    Case{"UCPTsptAdjMin", "UCPTsptAdjMin", {0, 200}, Num(68)},
                    Case{"UCPTsptAdjMax", "#80071A5503000000[4].UCPTsptAdjMax#US", {1, 94}, Num(95)},
                    Case{"UCPTunOccDiff", "UCPTunOccDiff", {0, 150}, Num(2.7)},
                    Case{"UCPToccDiff", "UCPToccDiff#US", {0, 100}, Num(1.8)},
                    Case{"UCPToccDiff", "#80071A5501000000[4].UCPToccDiff#SI", {0, 200}, Num(2)},
                    Case{"UCPTunOccDiff", "RAW", {0, 200}, Text("0\t200")}));

INSTANTIATE_TEST_SUITE_P(LevelsAndTimes, CodecRoundTrip,
                         testing::Values(Case{"SNVT_lev_percent", "SNVT_lev_percent", {39, 16}, Num(50)},
                                         Case{"SNVT_lev_percent", Scoped + "SNVT_lev_percent", {255, 255}, Num(-0.005)},
                                         Case{"SNVT_lev_percent", "SNVT_lev_percent", {128, 0}, Num(-163.84)},
                                         Case{"SNVT_lev_percent", "RAW", {39, 16}, Text("39\t16")},
                                         Case{"UCPTcoolKp", "UCPTcoolKp", {125, 0}, Num(160)},
                                         Case{"SNVT_time_sec", "SNVT_time_sec", {0, 25}, Num(2.5)},
                                         Case{"SCPTmaxSendTime", "SCPTmaxSendTime", {255, 254}, Num(6553.4)},
                                         Case{"UCPTcoolKi", "#80071A5501000000[4].UCPTcoolKi", {46, 224}, Num(1200)},
                                         Case{"SNVT_time_min", "SNVT_time_min", {1, 44}, Whole(300)},
                                         Case{"SCPTbypassTime", "SCPTbypassTime", {0, 120}, Whole(120)},
                                         Case{"UCPTfltrChangeHrs", "UCPTfltrChangeHrs", {16, 224}, Whole(4320)},
                                         Case{"SNVT_count", "SNVT_count", {255, 255}, Whole(65535)},
                                         Case{"SNVT_time_min", "RAW", {1, 44}, Text("1\t44")}));

INSTANTIATE_TEST_SUITE_P(BytesAndEnumerations, CodecRoundTrip,
                         testing::Values(Case{"UNVT_Byte", "UNVT_Byte", {7}, Whole(7)},
                                         Case{"UNVT_Byte", "RAW", {255}, Text("255")},
                                         Case{"SCPTdevMajVer", "SCPTdevMajVer", {1}, Whole(1)},
                                         Case{"SNVT_hvac_mode", "SNVT_hvac_mode", {17}, Text("HVAC_EMERG_STEAM")},
                                         Case{"SNVT_hvac_mode", "SNVT_hvac_mode", {255}, Text("HVAC_NUL")},
                                         Case{"SNVT_hvac_mode", "SNVT_hvac_mode", {40}, Text("40")},
                                         Case{"SNVT_hvac_mode", "RAW", {6}, Text("6")},
                                         Case{"SNVT_occupancy", "SNVT_occupancy", {3}, Text("OC_STANDBY")},
                                         Case{"SNVT_occupancy", Scoped + "SNVT_occupancy", {255}, Text("OC_NUL")},
                                         Case{"SCPThvacType", "SCPThvacType", {2}, Text("HVT_VAV")},
                                         Case{"UCPTlocSptEnable", "UCPTlocSptEnable", {1}, Text("BOOL_TRUE")},
                                         Case{"UCPTlocSptEnable", "UCPTlocSptEnable", {255}, Text("BOOL_NUL")},
                                         Case{"UCPTlocSptEnable", "RAW", {0}, Text("0")}));

INSTANTIATE_TEST_SUITE_P(
    Structures, CodecRoundTrip,
    testing::Values(Case{"SNVT_switch", "SNVT_switch", {200, 1}, Text("100.0 1")},
                    Case{"SNVT_switch", Scoped + "SNVT_switch", {0, 255}, Text("0.0 -1")},
                    Case{"SNVT_switch", "SNVT_switch", {101, 1}, Text("50.5 1")},
                    Case{"SNVT_switch", "RAW", {200, 1}, Text("200\t1")},
                    Case{"SNVT_switch", "RAW", {0, 255}, Text("0\t255")},
                    Case{"SNVT_hvac_status",
                         "SNVT_hvac_status",
                         {1, 39, 16, 0, 0, 0, 0, 0, 0, 78, 32, 0},
                         Text("HVAC_HEAT,50,0,0,0,100,0")},
                    Case{"SNVT_hvac_status",
                         "SNVT_hvac_status",
                         {3, 128, 0, 127, 255, 0, 0, 0, 0, 0, 0, 1},
                         Text("HVAC_COOL,-163.84,163.835,0,0,0,1")},
                    Case{"SNVT_hvac_status",
                         "RAW",
                         {3, 78, 32, 0, 0, 0, 0, 0, 0, 0, 0, 1},
                         Text(Tabbed({"3", "78", "32", "0", "0", "0", "0", "0", "0", "0", "0", "1"}))},
                    Case{"SNVT_tod_event", "SNVT_tod_event", {1, 3, 0, 45}, Text("OC_UNOCCUPIED,OC_STANDBY,45")},
                    Case{"SNVT_tod_event", "SNVT_tod_event", {0, 255, 0, 0}, Text("OC_OCCUPIED,OC_NUL,0")},
                    Case{"SNVT_tod_event", "RAW", {0, 3, 1, 44}, Text("0\t3\t1\t44")}));

INSTANTIATE_TEST_SUITE_P(
    FlagsAndTexts, CodecRoundTrip,
    testing::Values(
        Case{"SNVT_state", "SNVT_state", {128, 1}, Text(FlagText({0, 15}, 16, ','))},
        Case{"SNVT_state", Scoped + "SNVT_state", {1, 128}, Text(FlagText({7, 8}, 16, ','))},
        Case{"SNVT_state", "RAW", {255, 255}, Text("255\t255")},
        Case{"UCPTsoftJumpers", "UCPTsoftJumpers", {128, 0, 0, 1, 0, 0, 0, 0}, Text(FlagText({0, 31}, 64, ' '))},
        Case{"UCPTsoftJumpers", "UCPTsoftJumpers", {0, 0, 0, 0, 0, 0, 0, 1}, Text(FlagText({63}, 64, ' '))},
        Case{"UCPTsoftJumpers", "RAW", {128, 0, 0, 1, 0, 0, 0, 0}, Text("128\t0\t0\t1\t0\t0\t0\t0")},
        Case{"SNVT_state_64", Scoped + "SNVT_state_64", {128, 0, 0, 0, 0, 0, 0, 0}, Text(FlagText({0}, 64, ' '))},
        Case{"SNVT_state_64", "SNVT_state_64", {1, 128, 0, 0, 0, 0, 0, 0}, Text(FlagText({7, 8}, 64, ' '))},
        Case{"SNVT_str_asc", "SNVT_str_asc", Padded("Ab 1, x", 31), Text("Ab 1, x")},
        Case{"SNVT_str_asc", "SNVT_str_asc", Padded(std::string(31, 'x'), 31), Text(std::string(31, 'x'))},
        Case{"SCPTlocation", "SCPTlocation", Bytes(31, 0), Text("")},
        Case{"UCPTunitAppVer", "RAW", Padded("1.0", 31), Text("49\t46\t48\t" + Repeated("0", 28, '\t'))}));

}  // namespace
}  // namespace lns
