#include "points/nv/number_points.h"

#include <array>

#include "host/log.h"
#include "points/temperature.h"
#include "runtime/convert.h"
#include "runtime/members.h"

namespace points {

namespace {

constexpr ReadSteps NumberedRead{10, 20, 30, 40};
constexpr WriteSteps NumberedWrite{10, 20, 40};
constexpr WriteSteps UnnumberedWrite{0, 0, 0};

// A formatted value text holds no TAB; counting stops at this limit.
constexpr int FormattedTabLimit = 5;

rt::Variant AsDouble(double value) { return rt::Variant::Double(value); }
rt::Variant AsLong(double value) { return rt::Variant::Long(rt::DoubleToLong(value)); }
double DoubleOf(const rt::Variant& value) { return value.ToDouble(); }
double WholeOf(const rt::Variant& value) { return value.ToLong(); }

// Raw temperatures are hundredths of a degree Celsius, differences without the 32-degree offset.
constexpr double RawPerDegree = 100;
double TemperatureToRaw(double value) { return FahrenheitToRaw(value, RawPerDegree); }
double RawToTemperature(int32_t count) { return RawToFahrenheit(count, RawPerDegree); }
double DiffToRaw(double value) { return DifferenceToRaw(value, RawPerDegree); }
double RawToDiff(int32_t count) { return RawToDifference(count, RawPerDegree); }
// "#SI" formats give degrees Celsius, or kelvins for a difference.
rt::Variant AsCelsius(double value) { return rt::Variant::Double(FahrenheitToCelsius(value)); }
double FromCelsius(const rt::Variant& value) { return CelsiusToFahrenheit(value.ToDouble()); }
rt::Variant AsKelvins(double value) { return rt::Variant::Double(value / FahrenheitPerKelvin); }
double FromKelvins(const rt::Variant& value) { return value.ToDouble() * FahrenheitPerKelvin; }
double PercentToRaw(double value) { return value * 200; }
double RawToPercent(int32_t count) { return count * 0.005; }
double Unscaled(double value) { return value; }
double UnscaledCount(int32_t count) { return count; }
double SecondsToRaw(double value) { return value * 10; }
double RawToSeconds(int32_t count) { return count / 10.0; }

constexpr std::array<std::string_view, 3> TempPNames{"SNVT_temp_p#US_diff", "SNVT_temp_p#US", "SNVT_temp_p"};
constexpr std::array<std::string_view, 1> SiNames{"SNVT_temp_p#SI"};
constexpr std::array<FormattedBranch, 2> TempPBranches{{
    {TempPNames, AsDouble, DoubleOf},
    {SiNames, AsCelsius, FromCelsius},
}};

constexpr std::array<std::string_view, 2> DiffNames{"SNVT_temp_p#US_diff", "#0000000000000000[0].SNVT_temp_p#US_diff"};
constexpr std::array<std::string_view, 2> DiffAsTemperatureNames{"SNVT_temp_p#US", "SNVT_temp_p"};
// A difference put into a temperature format travels with the 32-degree offset.
rt::Variant DifferenceAsTemperature(double value) {
  return rt::Variant::Long(rt::DoubleToLong(value + FahrenheitAtZeroCelsius));
}
double TemperatureAsDifference(const rt::Variant& value) { return value.ToDouble() - FahrenheitAtZeroCelsius; }
constexpr std::array<FormattedBranch, 3> DiffBranches{{
    {DiffNames, AsDouble, DoubleOf},
    {SiNames, AsKelvins, FromKelvins},
    {DiffAsTemperatureNames, DifferenceAsTemperature, TemperatureAsDifference},
}};

constexpr std::array<std::string_view, 2> LevelNames{"SNVT_lev_percent", "#0000000000000000[0].SNVT_lev_percent"};
constexpr std::array<FormattedBranch, 1> LevelBranches{{{LevelNames, AsDouble, DoubleOf}}};

constexpr std::array<std::string_view, 1> CountNames{"SNVT_count"};
constexpr std::array<FormattedBranch, 1> CountBranches{{{CountNames, AsLong, WholeOf}}};
constexpr std::array<std::string_view, 1> MinutesNames{"SNVT_time_min"};
constexpr std::array<FormattedBranch, 1> MinutesBranches{{{MinutesNames, AsLong, WholeOf}}};
constexpr std::array<std::string_view, 1> SecondsNames{"SNVT_time_sec"};
constexpr std::array<FormattedBranch, 1> SecondsBranches{{{SecondsNames, AsDouble, DoubleOf}}};

const NumberClass TempPClass{
    .point = {"SNVT_temp_p", true, "SNVT_temp-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrNumber,
              BindingFailure::Raise, NumberedRead, NumberedWrite},
    .branches = TempPBranches,
    .toRaw = TemperatureToRaw,
    .fromRaw = RawToTemperature,
    .rawWord = RawWord::Signed,
    .wholeValue = false,
    .vOutPrefix = "SNVT_temp_p.WriteNV - vOut>",
    .refusalLine = [](const std::string&) {
      return std::string("SNVT_temp_p.ReadNV - Unsupported format. Reset format in browser..");
    },
};

const NumberClass DiffClass{
    .point = {"SNVT_temp_p_US_diff", true, "SNVT_temp-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrorPlain,
              BindingFailure::Raise, NumberedRead, NumberedWrite},
    .branches = DiffBranches,
    .toRaw = DiffToRaw,
    .fromRaw = RawToDiff,
    .rawWord = RawWord::Signed,
    .wholeValue = false,
    .vOutPrefix = "",
    .refusalLine = [](const std::string&) {
      return std::string("SNVT_temp_p_US_diff.ReadNV - Unsupported format. Reset format in browser..");
    },
};

const NumberClass LevelClass{
    .point = {"SNVT_lev_percent", true, "SNVT_temp-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrorPlain,
              BindingFailure::Raise, NumberedRead, NumberedWrite},
    .branches = LevelBranches,
    .toRaw = PercentToRaw,
    .fromRaw = RawToPercent,
    .rawWord = RawWord::Signed,
    .wholeValue = false,
    .vOutPrefix = "SNVT_lev_percent.WriteNV - vOut>",
    .refusalLine = [](const std::string&) {
      return std::string("SNVT_lev_percent.ReadNV - Unsupported format. Reset format in browser..");
    },
};

const NumberClass CountClass{
    .point = {"SNVT_count", true, "SNVT_count-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrNumber,
              BindingFailure::Raise, {10, 15, 30, 30}, UnnumberedWrite},
    .branches = CountBranches,
    .toRaw = Unscaled,
    .fromRaw = UnscaledCount,
    .rawWord = RawWord::Unsigned,
    .wholeValue = true,
    .vOutPrefix = "",
    .refusalLine = [](const std::string& nvName) {
      return "SNVT_count.ReadNV - Error >" + nvName + "< data not initialized.";
    },
};

const NumberClass MinutesClass{
    .point = {"SNVT_time_min", true, "SNVT_time_min-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrorNamed,
              BindingFailure::Raise, {0, 0, 30, 30}, UnnumberedWrite},
    .branches = MinutesBranches,
    .toRaw = Unscaled,
    .fromRaw = UnscaledCount,
    .rawWord = RawWord::Unsigned,
    .wholeValue = true,
    .vOutPrefix = "",
    .refusalLine = [](const std::string&) {
      return std::string("SNVT_time_min.ReadNV - Unsupported format. Reset format in browser..");
    },
};

const NumberClass SecondsClass{
    .point = {"SNVT_time_sec", true, "SNVT_time_sec-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrorNamed,
              BindingFailure::Raise, {0, 0, 30, 30}, UnnumberedWrite},
    .branches = SecondsBranches,
    .toRaw = SecondsToRaw,
    .fromRaw = RawToSeconds,
    .rawWord = RawWord::Unsigned,
    .wholeValue = false,
    .vOutPrefix = "",
    .refusalLine = [](const std::string&) {
      return std::string("SNVT_time_sec.ReadNV - Unsupported format. Reset format in browser..");
    },
};

}  // namespace

void NumberPoint::put_Value(double value) {
  m_Value = number_.wholeValue ? rt::DoubleToLong(value) : value;
  m_Changed = true;
}

const FormattedBranch* NumberPoint::BranchOf(std::string_view formatName) const {
  for (const FormattedBranch& branch : number_.branches) {
    if (IsListed(branch.names, formatName)) return &branch;
  }
  return nullptr;
}

void NumberPoint::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (const FormattedBranch* branch = BranchOf(formatName)) {
    PutValue(steps, lines.send, [&] { return branch->send(m_Value); });
  } else if (IsRawFormat(formatName) || ForceOnWrite(steps, formatName)) {
    SendRaw(steps);
  }
}

void NumberPoint::SendRaw(rt::Steps& steps) {
  PutValue(steps, Class().writeSteps.send, [&] {
    uint8_t hi = 0;
    uint8_t lo = 0;
    WordToBytes(number_.toRaw(m_Value), number_.rawWord, hi, lo, Class().name);
    std::vector<std::string> pieces{std::to_string(hi), std::to_string(lo)};
    std::string text = number_.vOutPrefix.empty() ? rt::Join(pieces, Tab) : JoinLogged(pieces, Tab, number_.vOutPrefix);
    return rt::Variant::String(text);
  });
}

void NumberPoint::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (const FormattedBranch* branch = BranchOf(formatName)) {
    DecodeFormatted(steps, *branch);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps)) {
    DecodeRaw(steps);
  }
}

void NumberPoint::DecodeFormatted(rt::Steps& steps, const FormattedBranch& branch) {
  if (CountDelimiters(InText(), Tab, FormattedTabLimit) != 0) {
    LogRefusal();
    return;
  }
  steps(Class().readSteps.decode, [&] { m_Value = branch.receive(vIN); });
}

// Both bytes convert before the value changes: a bad byte leaves the value as it was.
void NumberPoint::DecodeRaw(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), Tab, 1, 1);
  if (!fields) {
    LogRefusal();
    return;
  }
  steps(Class().readSteps.decode, [&] {
    uint8_t hi = ByteField((*fields)[0]);
    uint8_t lo = ByteField((*fields)[1]);
    m_Value = number_.fromRaw(number_.rawWord == RawWord::Unsigned ? UnsignedWord(hi, lo) : SignedWord(hi, lo));
  });
}

void NumberPoint::LogRefusal() const {
  host::WriteLog(number_.refusalLine(m_NvName));
}

rt::Variant NumberPoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<NumberPoint> members{
      rt::Get("Value", &NumberPoint::get_Value),
      rt::Let("Value", &NumberPoint::put_Value),
  };
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

SNVT_temp_p::SNVT_temp_p() : NumberPoint(TempPClass) {}
SNVT_temp_p_US_diff::SNVT_temp_p_US_diff() : NumberPoint(DiffClass) {}
SNVT_lev_percent::SNVT_lev_percent() : NumberPoint(LevelClass) {}
SNVT_count::SNVT_count() : NumberPoint(CountClass) {}
SNVT_time_min::SNVT_time_min() : NumberPoint(MinutesClass) {}
SNVT_time_sec::SNVT_time_sec() : NumberPoint(SecondsClass) {}

}  // namespace points
