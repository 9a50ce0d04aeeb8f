#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "lns/calls/errors.h"
#include "lns/values/codec.h"

namespace lns {
namespace {

using rt::Variant;

int32_t ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Source(), ErrorSource);
    return e.Number();
  }
  return 0;
}

Bytes PaddedText(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(31, 0);
  return bytes;
}

// Values a write may give in other shapes than the one the format presents: they are taken to
// the nearest device step.
struct Written {
  std::string type;
  std::string format;
  Variant value;
  Bytes bytes;
};

class CodecAccepts : public testing::TestWithParam<Written> {};

TEST_P(CodecAccepts, TakesTheValueToItsDeviceBytes) {
  const Written& w = GetParam();
  EXPECT_EQ(AcceptValue(w.type, w.format, w.value, Bytes(TypeSize(w.type))), w.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, CodecAccepts,
    testing::Values(
        Written{"SNVT_temp_p", "SNVT_temp_p#US", Variant::String("72.5"), {8, 202}},
        Written{"SNVT_temp_p", "SNVT_temp_p#US", Variant::Double(74), {9, 29}},
        Written{"SNVT_temp_p", "SNVT_temp_p#US", Variant::Double(621.802), {127, 255}},
        Written{"SNVT_temp_p", "SNVT_temp_p#US", Variant::Long(34), {0, 111}},
        Written{"SNVT_temp_p", "snvt_temp_p#us", Variant::Double(32), {0, 0}},
        Written{"SNVT_temp_p", "raw", Variant::String("8\t202"), {8, 202}},
        Written{"UCPTeconOaEnSpt", "UCPTeconOaEnSpt#US", Variant::String("71.6"), {0, 220}},
        Written{"SNVT_switch", "SNVT_switch", Variant::String("50.3 1"), {101, 1}},
        Written{
            "SNVT_state", "SNVT_state", Variant::String("1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1"), {128, 1}},
        Written{"SNVT_occupancy", "SNVT_occupancy", Variant::String("3"), {3}},
        Written{"UNVT_Byte", "UNVT_Byte", Variant::Byte(7), {7}}, Written{"UNVT_Byte", "RAW", Variant::Long(7), {7}},
        Written{"SCPTsetPnts",
                "SCPTsetPnts",
                Variant::String("72,75,85,68,64,60"),
                {8, 174, 9, 85, 11, 128, 7, 208, 6, 242, 6, 20}},
        Written{"SNVT_str_asc", "SNVT_str_asc", Variant::Long(42), PaddedText("42")}));

// Values the format does not accept: InvalidValue, and nothing to store.
TEST(CodecRefuses, ValuesTheFormatDoesNotTake) {
  auto text = [](std::string v) { return Variant::String(std::move(v)); };
  const std::string fifteen = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
  const std::vector<std::tuple<std::string, std::string, std::vector<Variant>>> refused = {
      {"SNVT_temp_p", "SNVT_temp_p#US", {text("abc"), text("72.5\t1"), text(""), Variant::Double(700), Variant()}},
      {"SNVT_lev_percent", "SNVT_lev_percent", {Variant::Double(163.84)}},
      {"SNVT_time_sec", "SNVT_time_sec", {Variant::Double(-1)}},
      {"SNVT_switch", "SNVT_switch", {text("100.0"), text("100.0  1"), text("128 1"), text("-1 0"), text("1 128")}},
      {"SNVT_state", "SNVT_state", {text(fifteen), text(fifteen + ",2"), text(fifteen + ", 1")}},
      {"UCPTsoftJumpers", "UCPTsoftJumpers", {text("1 0 1")}},
      {"SNVT_str_asc", "SNVT_str_asc", {text(std::string(32, 'a')), text("caf\xC3\xA9"), text("a\tb")}},
      {"SNVT_occupancy", "SNVT_occupancy", {text("oc_occupied"), text(" OC_STANDBY"), text("256")}},
      {"UCPTlocSptEnable", "UCPTlocSptEnable", {text("TRUE")}},
      {"SNVT_tod_event", "SNVT_tod_event", {text("OC_OCCUPIED,OC_STANDBY"), text("OC_OCCUPIED,OC_STANDBY,65536")}},
      {"SCPTsetPnts", "SCPTsetPnts#US", {text("72,75,85,68,64")}},
      {"SNVT_temp_p",
       "RAW",
       {text("8"), text("8\t256"), text("8\t-1"), text("8 \t202"), text("8\t202\t"), text("8.5\t2"), text("")}},
      {"SNVT_switch", "RAW", {text("100.5\t1"), text("0\t-1")}}};
  for (const auto& [type, format, values] : refused) {
    for (const Variant& value : values) {
      EXPECT_EQ(ErrorNumberOf([&] { AcceptValue(type, format, value, Bytes(TypeSize(type))); }), err::InvalidValue)
          << type << " in " << format << ": " << value.TypeName() << " " << (value.IsEmpty() ? "" : value.ToString());
    }
  }
}

TEST(CodecFormats, KnowsEveryFormatNameThePointsHandle) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> handled = {
      {"SNVT_switch", {"#0000000000000000[0].SNVT_switch", "SNVT_switch", "RAW", "Raw", ""}},
      {"SNVT_state", {"#0000000000000000[0].SNVT_state", "SNVT_state"}},
      {"SNVT_state_64", {"#0000000000000000[0].SNVT_state_64", "SNVT_state_64"}},
      {"SNVT_temp_p",
       {"SNVT_temp_p#US_diff", "SNVT_temp_p#SI", "SNVT_temp_p#US", "SNVT_temp_p",
        "#0000000000000000[0].SNVT_temp_p#US_diff"}},
      {"SNVT_lev_percent", {"SNVT_lev_percent", "#0000000000000000[0].SNVT_lev_percent"}},
      {"SNVT_temp_setpt", {"SNVT_temp_setpt#US", "SNVT_temp_setpt", "SNVT_temp_setpt#US_diff"}},
      {"SCPTsetPnts",
       {"SCPTsetPnts#US", "SCPTsetPnts", "SCPTsetPnts#US_diff", "#0000000000000000[0].SCPTsetPnts#US_diff"}},
      {"UCPTsptAdjMax",
       {"UCPTsptAdjMax", "UCPTsptAdjMax#US", "UCPTsptAdjMax#SI", "#80071A5503000000[4].UCPTsptAdjMax#US",
        "#80071A5503000000[4].UCPTsptAdjMax#SI"}},
      {"UCPTunOccDiff",
       {"UCPTunOccDiff", "UCPTunOccDiff#US", "UCPTunOccDiff#SI", "#80071A5501000000[4].UCPTunOccDiff#US",
        "#80071A5501000000[4].UCPTunOccDiff#SI"}},
      {"SNVT_count", {"SNVT_count"}},
      {"SNVT_time_min", {"SNVT_time_min"}},
      {"SNVT_time_sec", {"SNVT_time_sec"}},
      {"SNVT_str_asc", {"SNVT_str_asc"}},
      {"SNVT_hvac_mode", {"SNVT_hvac_mode"}},
      {"SNVT_occupancy", {"SNVT_occupancy"}},
      {"SNVT_hvac_status", {"SNVT_hvac_status"}},
      {"SNVT_tod_event", {"SNVT_tod_event"}},
      {"UNVT_Byte", {"UNVT_Byte"}},
      {"UCPTsoftJumpers", {"UCPTsoftJumpers"}},
      {"SCPTdevMajVer", {"SCPTdevMajVer"}},
      {"UCPTlocSptEnable", {"UCPTlocSptEnable"}},
      {"SCPThvacType", {"SCPThvacType"}}};
  for (const auto& [type, formats] : handled) {
    for (const std::string& format : formats) EXPECT_TRUE(IsKnownFormat(type, format)) << type << " " << format;
  }
}

TEST(CodecFormats, RefusesFormatsTheTypeDoesNotHave) {
  const std::vector<std::pair<std::string, std::string>> unknown = {
      {"SNVT_switch", "SNVT_switch#US"},
      {"SNVT_temp_p", "SNVT_temp_p#XX"},
      {"SNVT_temp_p", "#0000000000000000[0].RAW"},
      {"SNVT_temp_p", " RAW"},
      {"SNVT_temp_p", "#80071A5501000000[4].SNVT_temp_p"},
      {"UCPTsoftJumpers", "#0000000000000000[0].UCPTsoftJumpers"},
      {"UCPTmaxDaSpt", "#80071A5501000000[4].UCPTmaxDaSpt#US"},
      {"UCPToccDiff", "UCPToccDiff#US_diff"},
      {"SNVT_hvac_mode", "SNVT_occupancy"},
      {"SNVT_tod_event", "SNVT_hvac_mode"},
      {"SNVT_temp_p", "SNVT_temp_p_extra"}};
  for (const auto& [type, format] : unknown) {
    EXPECT_FALSE(IsKnownFormat(type, format)) << type << " " << format;
    EXPECT_EQ(ErrorNumberOf([&] { PresentValue(type, format, Bytes(TypeSize(type))); }), err::FormatNotSupported) << format;
    EXPECT_EQ(ErrorNumberOf([&] { AcceptValue(type, format, Variant::String("0"), Bytes(TypeSize(type))); }),
              err::FormatNotSupported)
        << format;
  }
}

TEST(CodecFormats, UnknownTypeIsRefused) {
  EXPECT_FALSE(IsKnownFormat("SNVT_bogus", "RAW"));
  EXPECT_EQ(ErrorNumberOf([] { TypeSize("SNVT_bogus"); }), err::FormatNotSupported);
  EXPECT_EQ(ErrorNumberOf([] { PresentValue("snvt_temp_p", "RAW", {0, 0}); }), err::FormatNotSupported);
}

TEST(CodecFormats, StoredBytesOfTheWrongSizeAreAnError) {
  EXPECT_EQ(ErrorNumberOf([] { PresentValue("SNVT_temp_p", "SNVT_temp_p#US", {8}); }), err::InvalidValue);
  EXPECT_EQ(ErrorNumberOf([] { PresentValue("SNVT_state", "RAW", {1, 2, 3}); }), err::InvalidValue);
}

}  // namespace
}  // namespace lns
