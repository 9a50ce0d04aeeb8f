#include "lns/values/codec.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lns/calls/errors.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace lns {
namespace {

constexpr char Tab = '\t';

// What a number field's device value measures, which decides the units a format suffix selects.
enum class Unit { None, Temperature, TempDifference };
enum class Suffix { None, US, SI, USDiff };

struct EnumName {
  uint8_t value;
  std::string_view name;
};

enum class FieldKind { Number, Enumerated, Text };

// One field of a type's device bytes; multi-byte fields are kept most significant byte first.
struct Field {
  FieldKind kind;
  size_t size;            // bytes
  bool isSigned = false;  // two's complement
  double scale = 1;       // device units per count
  Unit unit = Unit::None;
  int decimals = 0;            // the presented number is rounded to this many decimals
  bool fixedDecimals = false;  // and shown with exactly that many
  std::span<const EnumName> names = {};
};

// A type's bytes and its formatted text: the fields in order, or for a flag list (`flagBytes`
// bytes of one-bit flags, the first flag in the most significant bit) one "0"/"1" entry per flag,
// separated by `delimiter`; `alsoAccepted` names further delimiters a written text may use.
struct Layout {
  std::span<const Field> fields = {};
  char delimiter = ',';
  std::string_view alsoAccepted = {};
  size_t flagBytes = 0;
};

constexpr std::string_view StandardScope = "#0000000000000000[0].";
constexpr std::string_view DeviceScope = "#80071A5501000000[4].";
constexpr std::string_view SharedScope = "#80071A5503000000[4].";

struct TypeEntry {
  std::string_view name;
  const Layout* layout;
  std::string_view scope;  // the prefix of the type's scoped format names
};

// --- enumerations -------------------------------------------------------------------------

constexpr std::array HvacModeNames{
    EnumName{0, "HVAC_AUTO"},       EnumName{1, "HVAC_HEAT"},        EnumName{2, "HVAC_MRNG_WRMUP"},
    EnumName{3, "HVAC_COOL"},       EnumName{4, "HVAC_NIGHT_PURGE"}, EnumName{5, "HVAC_PRE_COOL"},
    EnumName{6, "HVAC_OFF"},        EnumName{7, "HVAC_TEST"},        EnumName{8, "HVAC_EMERG_HEAT"},
    EnumName{9, "HVAC_FAN_ONLY"},   EnumName{10, "HVAC_FREE_COOL"},  EnumName{11, "HVAC_ICE"},
    EnumName{12, "HVAC_MAX_HEAT"},  EnumName{13, "HVAC_ECONOMY"},    EnumName{14, "HVAC_DEHUMID"},
    EnumName{15, "HVAC_CALIBRATE"}, EnumName{16, "HVAC_EMERG_COOL"}, EnumName{17, "HVAC_EMERG_STEAM"},
    EnumName{255, "HVAC_NUL"}};

constexpr std::array OccupancyNames{EnumName{0, "OC_OCCUPIED"}, EnumName{1, "OC_UNOCCUPIED"}, EnumName{2, "OC_BYPASS"},
                                    EnumName{3, "OC_STANDBY"}, EnumName{255, "OC_NUL"}};

constexpr std::array HvacTypeNames{
    EnumName{0, "HVT_GENERIC"},    EnumName{1, "HVT_FAN_COIL"}, EnumName{2, "HVT_VAV"},
    EnumName{3, "HVT_HEAT_PUMP"},  EnumName{4, "HVT_ROOFTOP"},  EnumName{5, "HVT_UNIT_VENT"},
    EnumName{6, "HVT_CHILL_CEIL"}, EnumName{7, "HVT_RADIATOR"}, EnumName{8, "HVT_AHU"},
    EnumName{9, "HVT_SELF_CONT"},  EnumName{255, "HVT_NUL"}};

constexpr std::array BooleanNames{EnumName{0, "BOOL_FALSE"}, EnumName{1, "BOOL_TRUE"}, EnumName{255, "BOOL_NUL"}};

// --- fields ---------------------------------------------------------------------------------

constexpr Field CentiCelsius{
    .kind = FieldKind::Number, .size = 2, .isSigned = true, .scale = 0.01, .unit = Unit::Temperature, .decimals = 3};
constexpr Field DeciCelsius{
    .kind = FieldKind::Number, .size = 2, .isSigned = true, .scale = 0.1, .unit = Unit::Temperature, .decimals = 3};
constexpr Field CentiKelvin{
    .kind = FieldKind::Number, .size = 2, .isSigned = true, .scale = 0.01, .unit = Unit::TempDifference, .decimals = 3};
constexpr Field LevelPercent{.kind = FieldKind::Number, .size = 2, .isSigned = true, .scale = 0.005, .decimals = 3};
constexpr Field TenthsOfSeconds{.kind = FieldKind::Number, .size = 2, .scale = 0.1, .decimals = 1};
constexpr Field Unsigned16{.kind = FieldKind::Number, .size = 2};
constexpr Field Unsigned8{.kind = FieldKind::Number, .size = 1};
constexpr Field SwitchLevel{.kind = FieldKind::Number, .size = 1, .scale = 0.5, .decimals = 1, .fixedDecimals = true};
constexpr Field SwitchState{.kind = FieldKind::Number, .size = 1, .isSigned = true};
constexpr Field HvacMode{.kind = FieldKind::Enumerated, .size = 1, .names = HvacModeNames};
constexpr Field Occupancy{.kind = FieldKind::Enumerated, .size = 1, .names = OccupancyNames};
constexpr Field HvacType{.kind = FieldKind::Enumerated, .size = 1, .names = HvacTypeNames};
constexpr Field LonBoolean{.kind = FieldKind::Enumerated, .size = 1, .names = BooleanNames};
constexpr Field AsciiText{.kind = FieldKind::Text, .size = 31};

// --- layouts --------------------------------------------------------------------------------

template <size_t N>
using Fields = std::array<Field, N>;

constexpr Fields<1> TempPFields{CentiCelsius};
constexpr Fields<1> UserTempFields{DeciCelsius};
constexpr Fields<1> UserTempDiffFields{CentiKelvin};
constexpr Fields<6> SetpointFields{CentiCelsius, CentiCelsius, CentiCelsius, CentiCelsius, CentiCelsius, CentiCelsius};
constexpr Fields<1> LevelFields{LevelPercent};
constexpr Fields<2> SwitchFields{SwitchLevel, SwitchState};
constexpr Fields<1> TimeSecFields{TenthsOfSeconds};
constexpr Fields<1> Unsigned16Fields{Unsigned16};
constexpr Fields<1> ByteFields{Unsigned8};
constexpr Fields<1> HvacModeFields{HvacMode};
constexpr Fields<1> OccupancyFields{Occupancy};
constexpr Fields<1> HvacTypeFields{HvacType};
constexpr Fields<1> BooleanFields{LonBoolean};
constexpr Fields<7> HvacStatusFields{HvacMode,     LevelPercent, LevelPercent, LevelPercent,
                                     LevelPercent, LevelPercent, Unsigned8};
constexpr Fields<3> TodEventFields{Occupancy, Occupancy, Unsigned16};
constexpr Fields<1> TextFields{AsciiText};

constexpr Layout TempP{.fields = TempPFields};
constexpr Layout UserTemp{.fields = UserTempFields};
constexpr Layout UserTempDiff{.fields = UserTempDiffFields};
constexpr Layout TempSetpt{.fields = SetpointFields};
constexpr Layout LevPercent{.fields = LevelFields};
constexpr Layout Switch{.fields = SwitchFields, .delimiter = ' '};
constexpr Layout TimeSec{.fields = TimeSecFields};
constexpr Layout Whole16{.fields = Unsigned16Fields};
constexpr Layout Whole8{.fields = ByteFields};
constexpr Layout HvacModeLayout{.fields = HvacModeFields};
constexpr Layout OccupancyLayout{.fields = OccupancyFields};
constexpr Layout HvacTypeLayout{.fields = HvacTypeFields};
constexpr Layout BooleanLayout{.fields = BooleanFields};
constexpr Layout HvacStatus{.fields = HvacStatusFields};
constexpr Layout TodEvent{.fields = TodEventFields};
constexpr Layout StrAsc{.fields = TextFields};
constexpr Layout State16{.delimiter = ',', .alsoAccepted = "\t", .flagBytes = 2};
constexpr Layout FlagList64{.delimiter = ' ', .flagBytes = 8};

// --- the types ------------------------------------------------------------------------------

constexpr std::array Types{
    TypeEntry{"SNVT_temp_p", &TempP, StandardScope},
    TypeEntry{"SNVT_temp_setpt", &TempSetpt, StandardScope},
    TypeEntry{"SNVT_lev_percent", &LevPercent, StandardScope},
    TypeEntry{"SNVT_switch", &Switch, StandardScope},
    TypeEntry{"SNVT_state", &State16, StandardScope},
    TypeEntry{"SNVT_state_64", &FlagList64, StandardScope},
    TypeEntry{"SNVT_str_asc", &StrAsc, StandardScope},
    TypeEntry{"SNVT_count", &Whole16, StandardScope},
    TypeEntry{"SNVT_time_sec", &TimeSec, StandardScope},
    TypeEntry{"SNVT_time_min", &Whole16, StandardScope},
    TypeEntry{"SNVT_time_hour", &Whole16, StandardScope},
    TypeEntry{"SNVT_hvac_mode", &HvacModeLayout, StandardScope},
    TypeEntry{"SNVT_occupancy", &OccupancyLayout, StandardScope},
    TypeEntry{"SNVT_hvac_status", &HvacStatus, StandardScope},
    TypeEntry{"SNVT_tod_event", &TodEvent, StandardScope},
    TypeEntry{"SNVT_hvac_type", &HvacTypeLayout, StandardScope},
    TypeEntry{"UNVT_Byte", &Whole8, DeviceScope},
    TypeEntry{"SCPTbypassTime", &Whole16, StandardScope},
    TypeEntry{"SCPTminSendTime", &TimeSec, StandardScope},
    TypeEntry{"SCPTmaxSendTime", &TimeSec, StandardScope},
    TypeEntry{"SCPTmaxRcvTime", &TimeSec, StandardScope},
    TypeEntry{"SCPTlocation", &StrAsc, StandardScope},
    TypeEntry{"SCPTsetPnts", &TempSetpt, StandardScope},
    TypeEntry{"SCPTdevMajVer", &Whole8, StandardScope},
    TypeEntry{"SCPTdevMinVer", &Whole8, StandardScope},
    TypeEntry{"SCPThvacType", &HvacTypeLayout, StandardScope},
    TypeEntry{"UCPTewtFlowTmr", &TimeSec, DeviceScope},
    TypeEntry{"UCPTfanMinOffTmr", &TimeSec, DeviceScope},
    TypeEntry{"UCPTfanMinOnTmr", &TimeSec, DeviceScope},
    TypeEntry{"UCPTcoolIntStgTmr", &TimeSec, DeviceScope},
    TypeEntry{"UCPTheatIntStgTmr", &TimeSec, DeviceScope},
    TypeEntry{"UCPTcoolKi", &TimeSec, DeviceScope},
    TypeEntry{"UCPTheatKi", &TimeSec, DeviceScope},
    TypeEntry{"UCPTcoolVlvStroke", &TimeSec, DeviceScope},
    TypeEntry{"UCPTheatVlvStroke", &TimeSec, DeviceScope},
    TypeEntry{"UCPTDaSptKi", &TimeSec, DeviceScope},
    TypeEntry{"UCPTeconPosKi", &TimeSec, DeviceScope},
    TypeEntry{"UCPTeconStroke", &TimeSec, DeviceScope},
    TypeEntry{"UCPTewtSampleTmr", &Whole16, DeviceScope},
    TypeEntry{"UCPTfltrChangeHrs", &Whole16, DeviceScope},
    TypeEntry{"UCPTcoolKp", &LevPercent, DeviceScope},
    TypeEntry{"UCPTheatKp", &LevPercent, DeviceScope},
    TypeEntry{"UCPTcoolDB", &LevPercent, DeviceScope},
    TypeEntry{"UCPTheatDB", &LevPercent, DeviceScope},
    TypeEntry{"UCPTdaSptKp", &LevPercent, DeviceScope},
    TypeEntry{"UCPTeconPosKp", &LevPercent, DeviceScope},
    TypeEntry{"UCPTeconDB", &LevPercent, DeviceScope},
    TypeEntry{"UCPTeconLowMin", &LevPercent, DeviceScope},
    TypeEntry{"UCPTeconMedMin", &LevPercent, DeviceScope},
    TypeEntry{"UCPTeconHighMin", &LevPercent, DeviceScope},
    TypeEntry{"UCPTunitAppVer", &StrAsc, DeviceScope},
    TypeEntry{"UCPTlocSptEnable", &BooleanLayout, DeviceScope},
    TypeEntry{"UCPTsoftJumpers", &FlagList64, DeviceScope},
    TypeEntry{"UCPToccDiff", &UserTempDiff, DeviceScope},
    TypeEntry{"UCPTunOccDiff", &UserTempDiff, DeviceScope},
    TypeEntry{"UCPTcoolEnDiff", &UserTempDiff, DeviceScope},
    TypeEntry{"UCPTheatEnDiff", &UserTempDiff, DeviceScope},
    TypeEntry{"UCPTeconOaEnDiff", &UserTempDiff, DeviceScope},
    TypeEntry{"UCPTeconOaEnSpt", &UserTemp, SharedScope},
    TypeEntry{"UCPTmaxDaSpt", &UserTemp, SharedScope},
    TypeEntry{"UCPTminDaSpt", &UserTemp, SharedScope},
    TypeEntry{"UCPTsptAdjMax", &UserTemp, SharedScope},
    TypeEntry{"UCPTsptAdjMin", &UserTemp, SharedScope},
};

struct SuffixName {
  Suffix suffix;
  std::string_view text;
};

constexpr std::array TemperatureSuffixes{SuffixName{Suffix::None, ""}, SuffixName{Suffix::US, "#US"},
                                         SuffixName{Suffix::SI, "#SI"}, SuffixName{Suffix::USDiff, "#US_diff"}};
constexpr std::array DifferenceSuffixes{SuffixName{Suffix::None, ""}, SuffixName{Suffix::US, "#US"},
                                        SuffixName{Suffix::SI, "#SI"}};
constexpr std::array PlainSuffixes{SuffixName{Suffix::None, ""}};

// A parsed format name: raw, or formatted in the units its suffix selects.
struct Format {
  bool raw = false;
  Suffix suffix = Suffix::None;
};

// --- small helpers --------------------------------------------------------------------------

const TypeEntry* FindType(std::string_view typeName) {
  for (const TypeEntry& type : Types) {
    if (type.name == typeName) return &type;
  }
  return nullptr;
}

const TypeEntry& RequireType(std::string_view typeName) {
  const TypeEntry* type = FindType(typeName);
  if (type == nullptr) Fail(err::FormatNotSupported, "no type " + std::string(typeName));
  return *type;
}

size_t LayoutSize(const Layout& layout) {
  size_t size = layout.flagBytes;
  for (const Field& field : layout.fields) size += field.size;
  return size;
}

Unit LayoutUnit(const Layout& layout) {
  for (const Field& field : layout.fields) {
    if (field.unit != Unit::None) return field.unit;
  }
  return Unit::None;
}

std::span<const SuffixName> SuffixesOf(Unit unit) {
  switch (unit) {
    case Unit::Temperature: return TemperatureSuffixes;
    case Unit::TempDifference: return DifferenceSuffixes;
    case Unit::None: break;
  }
  return PlainSuffixes;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && rt::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Format names compare without regard to case, so that a tool's "raw" or "snvt_temp_p#us" is
// still a format the value can be exchanged in.
std::optional<Format> ParseFormat(const TypeEntry& type, std::string_view formatName) {
  if (formatName.empty() || rt::EqualsNoCase(formatName, "RAW")) return Format{.raw = true};
  std::string_view rest = formatName;
  if (StartsWithNoCase(rest, type.scope)) rest.remove_prefix(type.scope.size());
  if (!StartsWithNoCase(rest, type.name)) return std::nullopt;
  rest.remove_prefix(type.name.size());
  for (const SuffixName& suffix : SuffixesOf(LayoutUnit(*type.layout))) {
    if (rt::EqualsNoCase(rest, suffix.text)) return Format{.suffix = suffix.suffix};
  }
  return std::nullopt;
}

Format RequireFormat(const TypeEntry& type, std::string_view formatName) {
  std::optional<Format> format = ParseFormat(type, formatName);
  if (!format) Fail(err::FormatNotSupported, std::string(formatName) + " for " + std::string(type.name));
  return *format;
}

[[noreturn]] void Refuse(const TypeEntry& type, std::string_view what) {
  Fail(err::InvalidValue, std::string(type.name) + ": " + std::string(what));
}

// A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
std::string Quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

std::vector<std::string_view> Split(std::string_view text, char delimiter) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t pos = text.find(delimiter); pos != std::string_view::npos; pos = text.find(delimiter, start)) {
    pieces.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// A byte written as a plain decimal number: digits only, 0 to 255.
std::optional<uint8_t> ParseByteText(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > 255) return std::nullopt;
  return static_cast<uint8_t>(value);
}

// --- raw text -------------------------------------------------------------------------------

std::string RawText(const Bytes& bytes) {
  std::vector<std::string> pieces;
  for (uint8_t b : bytes) pieces.push_back(std::to_string(b));
  return rt::Join(pieces, Tab);
}

Bytes ParseRawText(const TypeEntry& type, std::string_view text) {
  std::vector<std::string_view> pieces = Split(text, Tab);
  size_t size = LayoutSize(*type.layout);
  if (pieces.size() != size) {
    Refuse(type, "the raw value needs " + std::to_string(size) + " TAB-separated bytes, not " + Quoted(text));
  }
  Bytes bytes;
  for (std::string_view piece : pieces) {
    std::optional<uint8_t> b = ParseByteText(piece);
    if (!b) Refuse(type, Quoted(piece) + " is not a byte from 0 to 255");
    bytes.push_back(*b);
  }
  return bytes;
}

// --- numbers --------------------------------------------------------------------------------

int64_t ReadCount(const Field& field, const uint8_t* at) {
  uint64_t raw = 0;
  for (size_t i = 0; i < field.size; ++i) raw = (raw << 8) | at[i];
  const uint64_t signBit = uint64_t{1} << (8 * field.size - 1);
  auto count = static_cast<int64_t>(raw);
  return field.isSigned && (raw & signBit) != 0 ? count - static_cast<int64_t>(signBit << 1) : count;
}

void WriteCount(const Field& field, int64_t count, uint8_t* at) {
  auto raw = static_cast<uint64_t>(count);
  for (size_t i = field.size; i-- > 0;) {
    at[i] = static_cast<uint8_t>(raw & 0xFF);
    raw >>= 8;
  }
}

int64_t MinCount(const Field& field) { return field.isSigned ? -(int64_t{1} << (8 * field.size - 1)) : 0; }

int64_t MaxCount(const Field& field) {
  int bits = static_cast<int>(8 * field.size) - (field.isSigned ? 1 : 0);
  return (int64_t{1} << bits) - 1;
}

// Device units (°C, K, ...) to the units the format's suffix names, and back.
double ToFormatUnits(double value, Unit unit, Suffix suffix) {
  if (unit == Unit::None || suffix == Suffix::SI) return value;
  if (unit == Unit::Temperature && suffix != Suffix::USDiff) return value * 1.8 + 32;
  return value * 1.8;
}

double FromFormatUnits(double value, Unit unit, Suffix suffix) {
  if (unit == Unit::None || suffix == Suffix::SI) return value;
  if (unit == Unit::Temperature && suffix != Suffix::USDiff) return (value - 32) / 1.8;
  return value / 1.8;
}

double PresentedNumber(const Field& field, const uint8_t* at, Suffix suffix) {
  double value = ToFormatUnits(static_cast<double>(ReadCount(field, at)) * field.scale, field.unit, suffix);
  double factor = std::pow(10.0, field.decimals);
  double rounded = std::round(value * factor) / factor;
  return rounded == 0 ? 0 : rounded;  // no "-0"
}

std::string NumberFieldText(const Field& field, const uint8_t* at, Suffix suffix) {
  double value = PresentedNumber(field, at, suffix);
  if (!field.fixedDecimals) return rt::NumberText(value);
  return rt::Format(value, "0." + std::string(static_cast<size_t>(field.decimals), '0'));
}

int64_t CountOf(const TypeEntry& type, const Field& field, double presented, Suffix suffix) {
  double count = std::round(FromFormatUnits(presented, field.unit, suffix) / field.scale);
  if (!std::isfinite(count) || count < static_cast<double>(MinCount(field)) ||
      count > static_cast<double>(MaxCount(field))) {
    Refuse(type, rt::NumberText(presented) + " is out of range");
  }
  return static_cast<int64_t>(count);
}

double ParseNumberText(const TypeEntry& type, std::string_view text) {
  try {
    return rt::ParseNumber(text);
  } catch (const rt::Error&) {
    Refuse(type, Quoted(text) + " is not a number");
  }
}

// --- fields as text -------------------------------------------------------------------------

std::string EnumeratedText(const Field& field, uint8_t value) {
  for (const EnumName& name : field.names) {
    if (name.value == value) return std::string(name.name);
  }
  return std::to_string(value);  // a value outside the table keeps its number
}

uint8_t EnumeratedValue(const TypeEntry& type, const Field& field, std::string_view text) {
  for (const EnumName& name : field.names) {
    if (name.name == text) return name.value;
  }
  std::optional<uint8_t> number = ParseByteText(text);
  if (!number) Refuse(type, Quoted(text) + " is not a value of the enumeration");
  return *number;
}

std::string AsciiTextOf(const Field& field, const uint8_t* at) {
  std::string text;
  for (size_t i = 0; i < field.size && at[i] != 0; ++i) text.push_back(static_cast<char>(at[i]));
  return text;
}

void WriteAsciiText(const TypeEntry& type, const Field& field, std::string_view text, uint8_t* at) {
  if (rt::Len(text) > field.size) Refuse(type, "the text is longer than " + std::to_string(field.size) + " characters");
  for (char c : text) {
    if (c < ' ' || c > '~') Refuse(type, Quoted(text) + " holds a character that is not printable ASCII");
  }
  for (size_t i = 0; i < field.size; ++i) at[i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
}

bool FlagAt(const uint8_t* at, size_t flag) { return (at[flag / 8] & (0x80 >> (flag % 8))) != 0; }

std::string FlagsText(const Layout& layout, const Bytes& bytes) {
  std::vector<std::string> entries;
  for (size_t flag = 0; flag < layout.flagBytes * 8; ++flag) {
    entries.emplace_back(FlagAt(bytes.data(), flag) ? "1" : "0");
  }
  return rt::Join(entries, layout.delimiter);
}

Bytes FromFlagEntries(const TypeEntry& type, const std::vector<std::string_view>& entries) {
  size_t count = type.layout->flagBytes * 8;
  if (entries.size() != count) {
    Refuse(type, "the value needs " + std::to_string(count) + " flags, not " + std::to_string(entries.size()));
  }
  Bytes bytes(type.layout->flagBytes);
  uint8_t* at = bytes.data();
  for (size_t flag = 0; flag < entries.size(); ++flag) {
    if (entries[flag] == "1") {
      at[flag / 8] |= static_cast<uint8_t>(0x80 >> (flag % 8));
    } else if (entries[flag] != "0") {
      Refuse(type, Quoted(entries[flag]) + " is not a flag (0 or 1)");
    }
  }
  return bytes;
}

std::string FieldText(const Field& field, const uint8_t* at, Suffix suffix) {
  if (field.kind == FieldKind::Number) return NumberFieldText(field, at, suffix);
  if (field.kind == FieldKind::Enumerated) return EnumeratedText(field, *at);
  return AsciiTextOf(field, at);
}

void WriteField(const TypeEntry& type, const Field& field, std::string_view text, Suffix suffix, uint8_t* at) {
  if (field.kind == FieldKind::Number) {
    WriteCount(field, CountOf(type, field, ParseNumberText(type, text), suffix), at);
  } else if (field.kind == FieldKind::Enumerated) {
    *at = EnumeratedValue(type, field, text);
  } else {
    WriteAsciiText(type, field, text, at);
  }
}

// --- whole values ---------------------------------------------------------------------------

bool IsSingleNumber(const Layout& layout) {
  return layout.fields.size() == 1 && layout.fields[0].kind == FieldKind::Number;
}

rt::Variant SingleNumber(const Field& field, const uint8_t* at, Suffix suffix) {
  double value = PresentedNumber(field, at, suffix);
  if (field.scale == 1 && field.unit == Unit::None) return rt::Variant::Long(static_cast<int32_t>(value));
  return rt::Variant::Double(value);
}

std::string FormattedText(const Layout& layout, const Bytes& bytes, Suffix suffix) {
  if (layout.flagBytes != 0) return FlagsText(layout, bytes);
  std::vector<std::string> pieces;
  size_t offset = 0;
  for (const Field& field : layout.fields) {
    pieces.push_back(FieldText(field, bytes.data() + offset, suffix));
    offset += field.size;
  }
  return rt::Join(pieces, layout.delimiter);
}

char DelimiterOf(const Layout& layout, std::string_view text) {
  for (char alternative : layout.alsoAccepted) {
    if (text.find(alternative) != std::string_view::npos) return alternative;
  }
  return layout.delimiter;
}

Bytes FromFormattedText(const TypeEntry& type, std::string_view text, Suffix suffix) {
  const Layout& layout = *type.layout;
  if (layout.flagBytes != 0) return FromFlagEntries(type, Split(text, DelimiterOf(layout, text)));
  // A one-field value is taken whole: a text may hold the delimiter.
  std::vector<std::string_view> pieces =
      layout.fields.size() == 1 ? std::vector{text} : Split(text, DelimiterOf(layout, text));
  if (pieces.size() != layout.fields.size()) {
    Refuse(type, "the value needs " + std::to_string(layout.fields.size()) + " fields, not " + Quoted(text));
  }
  Bytes bytes(LayoutSize(layout));
  size_t offset = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    WriteField(type, layout.fields[i], pieces[i], suffix, bytes.data() + offset);
    offset += layout.fields[i].size;
  }
  return bytes;
}

std::string ValueText(const TypeEntry& type, const rt::Variant& value) {
  if (value.IsObject() || value.IsEmpty()) Refuse(type, "a " + value.TypeName() + " is not a value");
  return value.ToString();
}

Bytes FromSingleNumber(const TypeEntry& type, const rt::Variant& value, Suffix suffix) {
  const Field& field = type.layout->fields[0];
  double number = value.IsNumeric() ? value.ToDouble() : ParseNumberText(type, ValueText(type, value));
  Bytes bytes(field.size);
  WriteCount(field, CountOf(type, field, number, suffix), bytes.data());
  return bytes;
}

}  // namespace

bool IsKnownFormat(std::string_view typeName, std::string_view formatName) {
  const TypeEntry* type = FindType(typeName);
  return type != nullptr && ParseFormat(*type, formatName).has_value();
}

rt::Variant PresentValue(std::string_view typeName, std::string_view formatName, const Bytes& bytes) {
  const TypeEntry& type = RequireType(typeName);
  Format format = RequireFormat(type, formatName);
  if (bytes.size() != LayoutSize(*type.layout)) {
    Refuse(type, "the device holds " + std::to_string(bytes.size()) + " bytes");
  }
  if (format.raw) return rt::Variant::String(RawText(bytes));
  if (IsSingleNumber(*type.layout)) return SingleNumber(type.layout->fields[0], bytes.data(), format.suffix);
  return rt::Variant::String(FormattedText(*type.layout, bytes, format.suffix));
}

Bytes AcceptValue(std::string_view typeName, std::string_view formatName, const rt::Variant& value, const Bytes&) {
  const TypeEntry& type = RequireType(typeName);
  Format format = RequireFormat(type, formatName);
  if (format.raw) return ParseRawText(type, ValueText(type, value));
  if (IsSingleNumber(*type.layout)) return FromSingleNumber(type, value, format.suffix);
  return FromFormattedText(type, ValueText(type, value), format.suffix);
}

size_t TypeSize(std::string_view typeName) { return LayoutSize(*RequireType(typeName).layout); }

}  // namespace lns
