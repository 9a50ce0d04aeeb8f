#include "points/nv/flag_points.h"

#include <algorithm>
#include <array>
#include <map>

#include "host/log.h"
#include "runtime/convert.h"
#include "runtime/members.h"
#include "runtime/text.h"

namespace points {

namespace {

constexpr ReadSteps FlagsRead{0, 0, 30, 30};
constexpr WriteSteps FlagsWrite{0, 0, 0};

constexpr std::array<std::string_view, 2> StateNames{"#0000000000000000[0].SNVT_state", "SNVT_state"};
constexpr std::array<int, 1> StateReadCounts{15};
constexpr std::array<int, 1> StateRawCounts{1};

const FlagsClass StateClass{
    .point = {"SNVT_state", false, "SNVT_state-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrNumber,
              BindingFailure::Raise, FlagsRead, FlagsWrite},
    .flags = 16,
    .formattedNames = StateNames,
    .writeDelimiter = Tab,
    .writeEntries = 16,
    .readDelimiter = ',',
    .readLimit = 15,
    .readCounts = StateReadCounts,
    .rawEntries = 2,
    .rawLimit = 5,
    .rawCounts = StateRawCounts,
    .logsDelimiters = false,
    .formattedRefusal = [](const std::string&) {
      return std::string("SNVT_state.ReadNV - Unsupported format. Reset format in browser..");
    },
    .rawRefusal = [](const std::string&) {
      return std::string("SNVT_state.ReadNV - Unsupported format. Reset format in browser..");
    },
};

constexpr std::array<std::string_view, 2> State64Names{"#0000000000000000[0].SNVT_state_64", "SNVT_state_64"};
constexpr std::array<int, 2> State64ReadCounts{31, 63};
// Two bytes as the device sends them, or the eight entries of the class's own raw write.
constexpr std::array<int, 2> State64RawCounts{1, 7};

const FlagsClass State64Class{
    .point = {"SNVT_state_64", false, "SNVT_state_64-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrNumber,
              BindingFailure::Raise, FlagsRead, FlagsWrite},
    .flags = 32,
    .formattedNames = State64Names,
    .writeDelimiter = ' ',
    .writeEntries = 64,
    .readDelimiter = ' ',
    .readLimit = 63,
    .readCounts = State64ReadCounts,
    .rawEntries = 8,
    .rawLimit = 125,
    .rawCounts = State64RawCounts,
    .logsDelimiters = true,
    .formattedRefusal = [](const std::string& nvName) {
      return "SNVT_state_64.ReadNV - Error >" + nvName + "< not initialized. (A)";
    },
    .rawRefusal = [](const std::string& nvName) {
      return "SNVT_state_64.ReadNV - Error >" + nvName + "< not initialized (B).";
    },
};

bool Accepted(std::span<const int> counts, int count) {
  return std::find(counts.begin(), counts.end(), count) != counts.end();
}

// Bit0 .. Bit(flags - 1), each a Get and a Let.
const rt::Members<FlagsPoint>& BitTable(int flags) {
  static std::map<int, rt::Members<FlagsPoint>> tables;
  auto table = tables.find(flags);
  if (table != tables.end()) return table->second;
  return tables.emplace(flags, rt::Members<FlagsPoint>(BitMembers<FlagsPoint>(flags, BitOrder::AscendingGetFirst)))
      .first->second;
}

}  // namespace

FlagsPoint::FlagsPoint(const FlagsClass& flagsClass)
    : FlagsOf(flagsClass.flags, flagsClass.point), flags_(flagsClass) {}

void FlagsPoint::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (IsListed(flags_.formattedNames, formatName)) {
    PutValue(steps, lines.send,
             [&] { return rt::Variant::String(bits_.EntriesText(flags_.writeDelimiter, flags_.writeEntries)); });
  } else if (IsRawFormat(formatName) || ForceOnWrite(steps, formatName)) {
    PutValue(steps, lines.send, [&] { return rt::Variant::String(bits_.RawText(flags_.rawEntries)); });
  }
}

void FlagsPoint::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (IsListed(flags_.formattedNames, formatName)) {
    DecodeFormatted(steps);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps)) {
    DecodeRaw(steps);
  }
}

// Each flag is the character at position 2k + 1; any digit but 0 sets it.
void FlagsPoint::DecodeFormatted(rt::Steps& steps) {
  std::string text = InText();
  if (!Accepted(flags_.readCounts, CountDelimiters(text, flags_.readDelimiter, flags_.readLimit))) {
    host::WriteLog(flags_.formattedRefusal(m_NvName));
    return;
  }
  steps(Class().readSteps.decode, [&] { bits_.TakeEntries(text); });
}

// Each byte converts on its own: a byte that does not convert leaves its eight flags as they were.
void FlagsPoint::DecodeRaw(rt::Steps& steps) {
  std::string text = InText();
  int count = CountRawDelimiters(text);
  if (!Accepted(flags_.rawCounts, count)) {
    host::WriteLog(flags_.rawRefusal(m_NvName));
    return;
  }
  auto fields = rt::CountAndSplit(text, Tab, count, count);
  int bytesUsed = std::min(count + 1, bits_.Bytes());
  for (int byte = 0; byte < bytesUsed; ++byte) {
    steps(Class().readSteps.decode, [&] { bits_.TakeByte(byte, ByteField((*fields)[static_cast<size_t>(byte)])); });
  }
}

int FlagsPoint::CountRawDelimiters(const std::string& text) const {
  int count = 0;
  for (size_t pos = text.find(Tab); pos != std::string::npos && count < flags_.rawLimit; pos = text.find(Tab, pos + 1)) {
    ++count;
    if (flags_.logsDelimiters) {
      host::WriteLog("Delimiters in vIN=>" + std::to_string(count) + "< tEnd=" + std::to_string(pos + 1));
    }
  }
  return count;
}

rt::Variant FlagsPoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  return BitTable(flags_.flags).Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

SNVT_state::SNVT_state() : FlagsPoint(StateClass) {}
SNVT_state_64::SNVT_state_64() : FlagsPoint(State64Class) {}

}  // namespace points
