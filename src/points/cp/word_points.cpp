#include "points/cp/word_points.h"

#include "host/log.h"
#include "points/late_bound.h"
#include "points/temperature.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace points {

namespace {

constexpr int FormattedStep = 30;
constexpr int HighByteStep = 62;
constexpr int LowByteStep = 64;
constexpr int HexStep = 75;

constexpr std::string_view DifRefusal = "UCPTtemp_Dif_p.ReadCP - Unsupported format. Reset format in browser..";

constexpr std::string_view SiSuffix = "#SI";
constexpr std::string_view UsSuffix = "#US";

constexpr PointClass WordPointClass(std::string_view name, ReadErrorLine readErrors, ReadSteps readSteps,
                                    WriteSteps writeSteps, std::string_view writeProcedure,
                                    std::string_view readProcedure) {
  return {.name = name,
          .gated = true,
          .writeForcePrefix = "SNVT_temp-StrToNV->",
          .writeErrors = WriteErrorLine::Plain,
          .readErrors = readErrors,
          .bindingFailure = BindingFailure::LogCantFind,
          .readSteps = readSteps,
          .writeSteps = writeSteps,
          .writeProcedure = writeProcedure,
          .readProcedure = readProcedure,
          .writeForceMember = "DsFormatType"};
}

// Raw temperatures are tenths of a degree Celsius, differences hundredths of a kelvin.
constexpr double TenthsPerDegree = 10;
constexpr double HundredthsPerDegree = 100;

const TemperatureClass TempPClass{
    .word = {.point = WordPointClass("UCPTtemp_p", ReadErrorLine::ErrorPlain, {0, 0, FormattedStep, FormattedStep},
                                     {10, 10, 10}, "WriteNV", "ReadNV"),
             .word = RawWord::Signed,
             .toRaw = [](double value) { return FahrenheitToRaw(value, TenthsPerDegree); },
             .fromRaw = [](int32_t count) { return RawToFahrenheit(count, TenthsPerDegree); },
             .rawSendStep = 10,
             .vOutPrefix = "UCPTtemp_p.WriteNV - vOut>",
             .tabLimit = 12,
             .valueStep = 70},
    .scope = "#80071A5503000000[4].",
    .difference = false,
};

const TemperatureClass TempDifPClass{
    .word = {.point = WordPointClass("UCPTtemp_Dif_p", ReadErrorLine::ErrorFormatName,
                                     {0, 0, FormattedStep, FormattedStep}, {10, 40, 50}, "WriteCP", "ReadCP"),
             .word = RawWord::Signed,
             .toRaw = [](double value) { return DifferenceToRaw(value, HundredthsPerDegree); },
             .fromRaw = [](int32_t count) { return RawToDifference(count, HundredthsPerDegree); },
             .rawSendStep = 50,
             .vOutPrefix = "UCPTtemp_Dif_p.WriteNV - vOut>",
             .tabLimit = 12,
             .valueStep = 70},
    .scope = "#80071A5501000000[4].",
    .difference = true,
};

const WordClass UlongClass{
    .point = WordPointClass("UCPTulong", ReadErrorLine::ErrorPlain, {0, 0, 0, 0}, {10, 50, 40}, "WriteNV", "ReadNV"),
    .word = RawWord::Unsigned,
    .toRaw = [](double value) { return value; },
    .fromRaw = [](int32_t count) { return static_cast<double>(count); },
    .rawSendStep = 50,
    .vOutPrefix = "UCPTulong.WriteNV - vOut>",
    .tabLimit = 2,
    .valueStep = 71,
};

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

// --- the raw word ------------------------------------------------------------------------------

void WordPropertyPoint::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (SendFormatted(steps, formatName)) return;
  if (!IsRawFormat(formatName) && !ForceOnWrite(steps, formatName)) return;
  PutValue(steps, word_.rawSendStep, [&] {
    uint8_t hi = 0;
    uint8_t lo = 0;
    WordToBytes(word_.toRaw(m_Value), word_.word, hi, lo, Class().name);
    return rt::Variant::String(JoinLogged({std::to_string(hi), std::to_string(lo)}, Tab, word_.vOutPrefix));
  });
}

void WordPropertyPoint::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (ReceiveFormatted(steps, formatName)) return;
  if (IsRawFormat(formatName) || ForceOnRead(steps, UnlistedReadLines(formatName))) DecodeRaw(steps);
}

void WordPropertyPoint::DecodeRaw(rt::Steps& steps) {
  BeforeRawDecode();
  std::string text = InText();
  int tabs = CountDelimiters(text, Tab, word_.tabLimit);
  if (tabs == 1) {
    DecodeWord(steps, text);
  } else if (tabs != 0 || !DecodeUndelimited(steps, text)) {
    LogRawRefusal(steps);
  }
}

// Both bytes convert before the value changes: a bad byte leaves the value as it was.
void WordPropertyPoint::DecodeWord(rt::Steps& steps, const std::string& text) {
  auto fields = rt::CountAndSplit(text, Tab, 1, 1);
  auto byteAt = [&](int line, size_t field) {
    return steps.Get<std::optional<uint8_t>>(
        line, [&] { return ByteField((*fields)[field]); }, std::nullopt);
  };
  std::optional<uint8_t> hi = byteAt(HighByteStep, 0);
  std::optional<uint8_t> lo = byteAt(LowByteStep, 1);
  if (!hi || !lo) return;
  steps(word_.valueStep, [&] {
    m_Value = word_.fromRaw(word_.word == RawWord::Signed ? SignedWord(*hi, *lo) : UnsignedWord(*hi, *lo));
  });
}

rt::Variant WordPropertyPoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  using P = WordPropertyPoint;
  static const rt::Members<P> members(SlotOrder<P>({}, ValueMembers<P>()));
  return members.Invoke(*this, member, kind, args);
}

// --- UCPTulong --------------------------------------------------------------------------------

UCPTulong::UCPTulong() : WordPropertyPoint(UlongClass) {}

ForceLines UCPTulong::UnlistedReadLines(std::string_view) const {
  return {"UCPTulong.ReadNV(" + m_CpName + ") - Unsupported Format", "            Attempting to force to FormatName...",
          std::string(CpForceTexts.failedPrefix)};
}

void UCPTulong::LogRawRefusal(rt::Steps&) { host::WriteLog(UnsupportedFormatLine(Class().name)); }

// --- temperatures -----------------------------------------------------------------------------

bool TemperaturePropertyPoint::IsFormatted(std::string_view formatName) const {
  std::string scoped = std::string(temperature_.scope) + m_CpName;
  for (const std::string& name : {m_CpName, m_CpName + std::string(UsSuffix), m_CpName + std::string(SiSuffix),
                                  scoped + std::string(UsSuffix), scoped + std::string(SiSuffix)}) {
    if (name == formatName) return true;
  }
  return false;
}

// "#SI" formats give degrees Celsius, or kelvins for a difference.
double TemperaturePropertyPoint::FromFormat(double value, std::string_view formatName) const {
  if (!EndsWith(formatName, SiSuffix)) return value;
  return temperature_.difference ? value * FahrenheitPerKelvin : CelsiusToFahrenheit(value);
}

double TemperaturePropertyPoint::ToFormat(double value, std::string_view formatName) const {
  if (!EndsWith(formatName, SiSuffix)) return value;
  return temperature_.difference ? value / FahrenheitPerKelvin : FahrenheitToCelsius(value);
}

bool TemperaturePropertyPoint::SendFormatted(rt::Steps& steps, std::string_view formatName) {
  if (!IsFormatted(formatName)) return false;
  PutValue(steps, Class().writeSteps.send, [&] { return Formatted(ToFormat(m_Value, formatName)); });
  return true;
}

bool TemperaturePropertyPoint::ReceiveFormatted(rt::Steps& steps, std::string_view formatName) {
  if (!IsFormatted(formatName)) return false;
  std::string text = InText();
  size_t comma = text.find(',');
  if (comma != std::string::npos) {
    RefuseFormatted(steps, comma + 1);
  } else {
    steps(FormattedStep, [&] { m_Value = FromFormat(vIN.ToDouble(), formatName); });
  }
  return true;
}

// --- UCPTtemp_p -------------------------------------------------------------------------------

UCPTtemp_p::UCPTtemp_p() : TemperaturePropertyPoint(TempPClass) {}

rt::Variant UCPTtemp_p::Formatted(double value) const { return rt::Variant::String(rt::NumberText(value)); }

void UCPTtemp_p::RefuseFormatted(rt::Steps& steps, size_t position) {
  std::string usFormat = m_CpName + std::string(UsSuffix);
  host::WriteLog("UCPTtemp_p - Delimiters in vIN=>1< tEnd=" + std::to_string(position));
  host::WriteLog("UCPTtemp_p.ReadNV - Attempting to force to " + usFormat);
  PutFormat(steps, FormattedStep, usFormat);
  host::WriteLog("UCPTtemp_p.ReadNV - Data Format Error.");
}

ForceLines UCPTtemp_p::UnlistedReadLines(std::string_view) const {
  return {"UCPTtemp_p.ReadNV - Unsupported Format", std::string(CpForceTexts.attempt),
          std::string(CpForceTexts.failedPrefix)};
}

void UCPTtemp_p::LogRawRefusal(rt::Steps& steps) {
  steps(TempPClass.word.valueStep, [&] {
    host::WriteLog("UCPTtemp_p.ReadNV(" + GetProperty(m_CP, "Name").ToString() +
                   ")  - Unsupported format. Reset format in browser..");
  });
}

// --- UCPTtemp_Dif_p ---------------------------------------------------------------------------

UCPTtemp_Dif_p::UCPTtemp_Dif_p() : TemperaturePropertyPoint(TempDifPClass) {}

void UCPTtemp_Dif_p::RefuseFormatted(rt::Steps&, size_t) {
  host::WriteLog(std::string(DifRefusal));
  host::WriteLog("UCPTtemp_Dif_p.ReadCP - Data Format Error.");
}

ForceLines UCPTtemp_Dif_p::UnlistedReadLines(std::string_view formatName) const {
  return {"UCPTtemp_Dif_p.ReadCP - Unsupported Format <" + std::string(formatName) + ">",
          std::string(CpForceTexts.attempt), std::string(CpForceTexts.failedPrefix)};
}

void UCPTtemp_Dif_p::BeforeRawDecode() const {
  host::WriteLog("UCPTtemp_Dif_p.ReadNV - RAW type not yet supported force to another type???");
}

// Up to four hexadecimal digits, a 16-bit two's-complement number ("00C8" is 200).
bool UCPTtemp_Dif_p::DecodeUndelimited(rt::Steps& steps, const std::string& text) {
  steps(HexStep, [&] {
    if (rt::Len(text) > 4) rt::Raise(rt::err::Overflow);
    m_Value = TempDifPClass.word.fromRaw(rt::DoubleToInteger(rt::ParseNumber("&h" + text)));
  });
  return true;
}

void UCPTtemp_Dif_p::LogRawRefusal(rt::Steps&) { host::WriteLog(std::string(DifRefusal)); }

}  // namespace points
