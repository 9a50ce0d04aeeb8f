#include "points/setpoints.h"

#include "points/temperature.h"
#include "points/value_text.h"
#include "runtime/convert.h"

namespace points {

namespace {

constexpr char FormattedDelimiter = ',';
constexpr int RawBytes = 2 * SetpointCount;
constexpr double RawPerDegree = 100;

}  // namespace

std::string SetpointsText(const Setpoints& setpoints) {
  std::vector<std::string> pieces;
  for (double setpoint : setpoints) pieces.push_back(rt::NumberText(setpoint));
  return rt::Join(pieces, FormattedDelimiter);
}

std::optional<Setpoints> ParseSetpointsText(std::string_view text) {
  auto fields = rt::CountAndSplit(text, FormattedDelimiter, SetpointCount, SetpointCount - 1);
  if (!fields) return std::nullopt;
  Setpoints setpoints{};
  for (size_t i = 0; i < setpoints.size(); ++i) setpoints[i] = rt::Val((*fields)[i]);
  return setpoints;
}

// Every setpoint splits into its bytes before any is logged.
std::string RawSetpointsText(const Setpoints& setpoints, std::string_view className, std::string_view vOutPrefix) {
  std::vector<std::string> pieces;
  for (double setpoint : setpoints) {
    uint8_t hi = 0;
    uint8_t lo = 0;
    WordToBytes(FahrenheitToRaw(setpoint, RawPerDegree), RawWord::Signed, hi, lo, className);
    pieces.push_back(std::to_string(hi));
    pieces.push_back(std::to_string(lo));
  }
  return JoinLogged(pieces, Tab, vOutPrefix);
}

bool TakeRawSetpoints(rt::Steps& steps, int line, std::string_view text, Setpoints& setpoints) {
  auto fields = rt::CountAndSplit(text, Tab, RawBytes, RawBytes - 1);
  if (!fields) return false;
  for (size_t setpoint = 0; setpoint < setpoints.size(); ++setpoint) {
    steps(line, [&] {
      setpoints[setpoint] = RawToFahrenheit(
          SignedWord(ByteField((*fields)[2 * setpoint]), ByteField((*fields)[2 * setpoint + 1])), RawPerDegree);
    });
  }
  return true;
}

}  // namespace points
