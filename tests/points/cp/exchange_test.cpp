#include <gmock/gmock.h>

#include <map>

#include "property_points.h"

namespace points::testing {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;

using V = rt::Variant;
V D(double value) { return V::Double(value); }
V B(uint8_t value) { return V::Byte(value); }
const V True = V::Boolean(true);

constexpr const char* Six = "occupied_cool standby_cool unoccupied_cool occupied_heat standby_heat unoccupied_heat";
constexpr const char* Held = "50,50,50,50,50,50";
constexpr const char* AllSet = "11111111111111111111111111111111";
constexpr const char* SampleRaw = "8\t174\t9\t85\t11\t128\t7\t208\t6\t242\t6\t20";  // 72,75,85,68,64,60 °F
const std::string Attempt = "            Attempting to force to >RAW< FormatName...";
const std::string DsAttempt = "            Attempting to force to >RAW< DSformatType...";
const std::string Failed = "            Failed... FormatName = >";
const std::string DataError = "SCPTsetPnts.ReadNV - Data Format Error.";
const std::string DifNotice = "UCPTtemp_Dif_p.ReadNV - RAW type not yet supported force to another type???";
const std::string DifRefusal = "UCPTtemp_Dif_p.ReadCP - Unsupported format. Reset format in browser..";
const std::string JumperRefusal = "UCPTsoftJumpers.ReadCP - Unsupported format. Reset format in browser..";
const std::string JumperDs = "UCPTsoftJumpers.ReadCP - Unsupported DS format.";

// The first line, the data line, the attempt line and the outcome of a forced format.
std::vector<std::string> Forced(const std::string& first, const std::string& data, const std::string& attempt = Attempt,
                                const std::string& outcome = "            Success") {
  return {first, "            Data = >" + data + "<", attempt, outcome};
}

// A formatted flag text: `bits`, then "0", `entries` in all.
V Entries(const std::string& bits, size_t entries) {
  std::string text;
  for (size_t i = 0; i < entries; ++i) {
    if (i) text += ' ';
    text += i < bits.size() ? bits[i] : '0';
  }
  return Text(text);
}

// The property each class is tried on.
const char* PropertyOf(std::string_view className) {
  static const std::map<std::string_view, const char*> names{
      {"SCPT_time_sec", "UCPTcoolKi"},       {"SCPT_str_asc", "SCPTlocation"},  {"UCPT_Byte", "SCPTdevMajVer"},
      {"UCPT_Boolean", "UCPTlocSptEnable"},  {"SCPThvacType", "SCPThvacType"},  {"SCPTsetPnts", "SCPTsetPnts"},
      {"UCPTtemp_p", "UCPTmaxDaSpt"},        {"UCPTtemp_Dif_p", "UCPToccDiff"}, {"UCPTulong", "UCPTulong"},
      {"UCPTsoftJumpers", "UCPTsoftJumpers"}};
  return names.at(className);
}

struct Exchanged {
  std::shared_ptr<RecordingVariable> variable;
  rt::Ref<ConfigPropertyPoint> point;
};

// A point of the class bound to a recorder of its property holding `value` in `format`; format
// changes refused when asked.
Exchanged Record(const char* className, const char* format, const V& value, bool refused) {
  auto variable = std::make_shared<RecordingVariable>(PropertyOf(className), format, value);
  auto point = CreateConfigPropertyPoint(className);
  Bind(point, std::make_shared<FakeDevice>(variable), 2, PropertyOf(className));
  variable->SetFormat(format);
  if (refused) variable->RefuseFormatChanges();
  return {variable, point};
}

struct ReadCase {
  const char* className;
  const char* format;
  V value;
  const char* fields;
  const char* read;  // the fields after the read; before it each holds 50 (a text "50", a flag True)
  std::vector<std::string> log;
  bool refused = false;  // format changes are refused
};

const ReadCase ReadCases[] = {
    {"SCPT_time_sec", "RAW", Text("five"), "Value", "50",
     {"Error-Type mismatch Line 0 SCPT_time_sec.ReadCP >UCPTcoolKi<"}},
    {"UCPT_Byte", "SCPTdevMajVer", V::Long(300), "Value", "50", {"SCPTdevMajVer.ReadNV-Overflow Line 30"}},
    {"UCPT_Boolean", "UCPTlocSptEnable", Text("BOOL_NUL"), "Value", "255", {}},
    {"UCPT_Boolean", "UCPTlocSptEnable", Text("bool_true"), "Value", "0", {}},
    {"UCPT_Boolean", "raw", Text("1"), "Value", "1", Forced("UCPT_Boolean.ReadNV - Unsupported DS format.", "1")},
    {"UCPT_Boolean", "raw", Text("1"), "Value", "50", Forced("UCPT_Boolean.ReadNV - Unsupported DS format.", "1",
     Attempt, Failed + "raw<"), true},
    {"SCPThvacType", "SCPThvacType", Text("HVT_VAV"), "Value EnumValue", "HVT_VAV,2", {}},
    {"SCPThvacType", "SCPThvacType", Text("HVT_OTHER"), "Value EnumValue", "HVT_OTHER,255", {}},
    {"SCPThvacType", "", Text("3"), "Value EnumValue", "3,50", {}},
    {"SCPTsetPnts", "SCPTsetPnts#US", Text("72,75,85,68,64,60"), Six, "72,75,85,68,64,60", {}},
    {"SCPTsetPnts", "SCPTsetPnts", Text("72,,85,68,64,60"), Six, "72,0,85,68,64,60", {}},
    {"SCPTsetPnts", "SCPTsetPnts", Text("72.5 F,75,85,68,64,60"), Six, "72.5,75,85,68,64,60", {}},
    {"SCPTsetPnts", "SCPTsetPnts", Text("1,2,3,4,5"), Six, Held, {DataError}},
    {"SCPTsetPnts", "SCPTsetPnts#US_diff", Text("3.5"), Six, "3.5,50,50,50,50,50", {}},
    {"SCPTsetPnts", "#0000000000000000[0].SCPTsetPnts#US_diff", Text("1,2"), Six, Held,
     {"SCPTsetPnts - Delimiters in vIN=>1< tEnd=2",
     "SCPTsetPnts.ReadNV - Unsupported format. Reset format in browser.."}},
    {"SCPTsetPnts", "RAW", Text(SampleRaw), Six, "71.996,75.002,84.992,68,64.004,60.008", {}},
    {"SCPTsetPnts", "scptsetpnts", Text("1"), "occupied_cool", "50", Forced("SCPTsetPnts.ReadNV - Unsupported Format",
     "1", "            Attempting to force to >SCPTsetPnts#US< FormatName...")},
    {"UCPTtemp_p", "UCPTmaxDaSpt#US", Text("71,6"), "Value", "50", {"UCPTtemp_p - Delimiters in vIN=>1< tEnd=3",
     "UCPTtemp_p.ReadNV - Attempting to force to UCPTmaxDaSpt#US", "UCPTtemp_p.ReadNV - Data Format Error."}},
    {"UCPTtemp_p", "#80071A5503000000[4].UCPTmaxDaSpt#SI", D(22), "Value", "71.6", {}},
    {"UCPTtemp_p", "RAW", Text("0\t220"), "Value", "71.6", {}},
    {"UCPTtemp_p", "RAW", Text("255\t56"), "Value", "-4", {}},
    {"UCPTtemp_p", "Raw", Text("0\t1\t2"), "Value", "50",
     {"UCPTtemp_p.ReadNV(UCPTmaxDaSpt)  - Unsupported format. Reset format in browser.."}},
    {"UCPTtemp_p", "ucptmaxdaspt", Text("0\t220"), "Value", "71.6", Forced("UCPTtemp_p.ReadNV - Unsupported Format",
     "0\t220")},
    {"UCPTtemp_Dif_p", "RAW", Text("00C8"), "Value", "3.6", {DifNotice}},
    {"UCPTtemp_Dif_p", "RAW", Text("0\t100"), "Value", "1.8", {DifNotice}},
    {"UCPTtemp_Dif_p", "RAW", Text("0\t1\t2"), "Value", "50", {DifNotice, DifRefusal}},
    {"UCPTtemp_Dif_p", "UCPToccDiff#SI", D(1), "Value", "1.8", {}},
    {"UCPTtemp_Dif_p", "UCPToccDiff", Text("1,8"), "Value", "50", {DifRefusal,
     "UCPTtemp_Dif_p.ReadCP - Data Format Error."}},
    {"UCPTtemp_Dif_p", "ucptoccdiff", Text("0\t100"), "Value", "1.8",
     {"UCPTtemp_Dif_p.ReadCP - Unsupported Format <ucptoccdiff>", "            Data = >0\t100<", Attempt,
     "            Success", DifNotice}},
    {"UCPTulong", "RAW", Text("156\t64"), "Value", "40000", {}},
    {"UCPTulong", "UCPTulong", Text("0\t9"), "Value", "9", Forced("UCPTulong.ReadNV(UCPTulong) - Unsupported Format",
     "0\t9", "            Attempting to force to FormatName...")},
    {"UCPTsoftJumpers", "UCPTsoftJumpers", Entries("1", 32), "Bits", "10000000000000000000000000000000", {}},
    {"UCPTsoftJumpers", "#0000000000000000[0].UCPTsoftJumpers", Entries("01", 64), "Bits",
     "01000000000000000000000000000000", {}},
    {"UCPTsoftJumpers", "UCPTsoftJumpers", Text("10 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"),
     "Bits", "10000000000000000000000000000000", {}},
    {"UCPTsoftJumpers", "UCPTsoftJumpers", Entries("0", 50), "Bits", AllSet, {JumperRefusal}},
    {"UCPTsoftJumpers", "RAW", Text("128\t0\t0\t1\t0\t0\t0\t0"), "Bits", "10000000000000000000000000000001", {}},
    {"UCPTsoftJumpers", "Raw", Text("1\t128"), "Bits", "00000001100000001111111111111111", {}},
    {"UCPTsoftJumpers", "", Text("0\t0\tx"), "Bits", "00000000000000000000000011111111",
     {"Error-Type mismatch Line 30 UCPTsoftJumpers.ReadCP"}},
    {"UCPTsoftJumpers", "RAW", Text("0\t0\t0\t0\t0\t0\t0\t0\t0"), "Bits", AllSet, {JumperRefusal}},
    {"UCPTsoftJumpers", "raw", Text("0\t0"), "Bits", "00000000000000001111111111111111", Forced(JumperDs, "0\t0",
     DsAttempt)},
    {"UCPTsoftJumpers", "raw", Text("0\t0"), "Bits", AllSet, Forced(JumperDs, "0\t0", DsAttempt,
     "            Failed... CP.FormatName = >raw<"), true},
};

using ExchangeTest = PointTest;

TEST_F(ExchangeTest, AReadDecodesEachFormatAsTheClassSaysAndClearsChanged) {
  for (const ReadCase& c : ReadCases) {
    auto [variable, point] = Record(c.className, c.format, c.value, c.refused);
    LetFields(point, c.fields, {D(50)});
    ClearLog();
    point->ReadCP();
    std::string label = std::string(c.className) + " " + c.format + " " + c.value.ToString();
    EXPECT_EQ(Fields(point, c.fields), c.read) << label;
    EXPECT_EQ(Log(), c.log) << label;
    EXPECT_FALSE(point->get_Changed()) << label;
  }
}

struct WriteCase {
  const char* className;
  const char* format;
  const char* fields;
  std::vector<V> values;  // one for every field, or one for all
  std::vector<V> puts;
  std::vector<std::string> log;  // lines the log holds; none: an empty log
  std::string after = "";        // the fields after the write, where given
  bool refused = false;
};

const WriteCase WriteCases[] = {
    {"SCPT_time_sec", "RAW", "Value", {D(7.5)}, {D(7.5)}, {}},
    {"SCPT_str_asc", "SCPTlocation", "Value", {Text(std::string(40, 'x'))}, {Text(std::string(31, 'x'))}, {},
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
    // 31 code units, whole characters: a 4-byte character counts two.
    {"SCPT_str_asc", "SCPTlocation", "Value", {Text(Repeated("\u20AC", 32))}, {Text(Repeated("\u20AC", 31))}, {},
     Repeated("\u20AC", 31)},
    {"SCPT_str_asc", "SCPTlocation", "Value", {Text(Repeated("a", 30) + "\U0001F600")}, {Text(Repeated("a", 30))}, {},
     Repeated("a", 30)},
    {"UCPT_Byte", "SCPTdevMajVer", "Value", {B(7)}, {B(7)}, {}},
    {"UCPT_Byte", "RAW", "Value", {B(7)}, {Text("7")}, {}},
    {"UCPT_Byte", "SCPTdevMajVer#SI", "Value", {B(7)}, {Text("7")}, {}},
    {"UCPT_Byte", "SCPTdevMajVer#SI", "Value", {B(7)}, {}, {Failed + "SCPTdevMajVer#SI<"}, "", true},
    {"UCPT_Boolean", "UCPTlocSptEnable", "Value", {B(1)}, {Text("BOOL_TRUE")}, {}},
    {"UCPT_Boolean", "UCPTlocSptEnable", "Value", {B(7)}, {Text("BOOL_FALSE")}, {}},
    {"SCPThvacType", "SCPThvacType", "Value EnumValue", {Text("HVT_OTHER"), B(9)}, {Text("HVT_HEAT_PUMP")}, {},
     "HVT_HEAT_PUMP,3"},
    {"SCPTsetPnts", "SCPTsetPnts#US", Six, {D(72), D(75), D(85), D(68), D(64), D(60)}, {Text("72,75,85,68,64,60")}, {}},
    {"SCPTsetPnts", "RAW", Six, {D(72), D(75), D(85), D(68), D(64), D(60)}, {Text(SampleRaw)},
     {"SCPTsetPnts.WriteNV - vOut>8\t<", "SCPTsetPnts.WriteNV - vOut>" + std::string(SampleRaw) + "<"}},
    {"SCPTsetPnts", "scptsetpnts", Six, {D(32)}, {Text("0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0")},
     Forced("SNVT_temp-StrToNV->scptsetpnts< not supported for ><", "")},
    {"SCPTsetPnts", "scptsetpnts", Six, {D(32)}, {}, {Failed + "scptsetpnts<"}, "", true},
    {"UCPTtemp_p", "UCPTmaxDaSpt", "Value", {D(71.6)}, {Text("71.6")}, {}},
    {"UCPTtemp_p", "UCPTmaxDaSpt#SI", "Value", {D(71.6)}, {Text("22")}, {}},
    {"UCPTtemp_p", "RAW", "Value", {D(-4)}, {Text("255\t56")}, {"UCPTtemp_p.WriteNV - vOut>255\t<",
     "UCPTtemp_p.WriteNV - vOut>255\t56<"}},
    {"UCPTtemp_p", "RAW", "Value", {D(6000)}, {}, {"Error-Overflow Line 10 UCPTtemp_p.WriteNV"}},
    {"UCPTtemp_Dif_p", "UCPToccDiff#US", "Value", {D(1.8)}, {D(1.8)}, {}},
    {"UCPTtemp_Dif_p", "#80071A5501000000[4].UCPToccDiff#SI", "Value", {D(1.8)}, {D(1)}, {}},
    {"UCPTtemp_Dif_p", "RAW", "Value", {D(1.8)}, {Text("0\t100")}, {"UCPTtemp_Dif_p.WriteNV - vOut>0\t100<"}},
    {"UCPTulong", "RAW", "Value", {D(40000)}, {Text("156\t64")}, {"UCPTulong.WriteNV - vOut>156\t<",
     "UCPTulong.WriteNV - vOut>156\t64<"}},
    {"UCPTsoftJumpers", "UCPTsoftJumpers", "Bit0", {True}, {Entries("1", 64)}, {}},
    {"UCPTsoftJumpers", "RAW", "Bit0 Bit31", {True}, {Text("128\t0\t0\t1\t0\t0\t0\t0")}, {}},
    {"UCPTsoftJumpers", "raw", "Bit3", {True}, {}, Forced("UCPTsoftJumpers-StrToNV->raw< not supported for ><", "",
     DsAttempt, "            Failed... DSFormatType = >raw<"), "", true},
};

TEST_F(ExchangeTest, AWriteSendsEachFormatAsTheClassSays) {
  for (const WriteCase& c : WriteCases) {
    auto [variable, point] = Record(c.className, c.format, B(0), c.refused);
    LetFields(point, c.fields, c.values);
    ClearLog();
    point->WriteCP();
    std::string label = std::string(c.className) + " " + c.format;
    EXPECT_EQ(variable->Puts(), c.puts) << label;
    if (c.log.empty()) {
      EXPECT_THAT(Log(), IsEmpty()) << label;
    }
    for (const std::string& line : c.log) EXPECT_THAT(Log(), Contains(line)) << label;
    if (!c.after.empty()) {
      EXPECT_EQ(Fields(point, c.fields), c.after) << label;
    }
  }
}

}  // namespace
}  // namespace points::testing
