#include "points/nv/snvt_hvac_status.h"

#include "host/log.h"
#include "points/nv/enumerations.h"
#include "runtime/convert.h"
#include "runtime/members.h"

namespace points {

namespace {

constexpr PointClass HvacStatusClass{
    .name = "SNVT_hvac_status",
    .gated = true,
    .writeForcePrefix = "",
    .writeErrors = WriteErrorLine::Plain,
    .readErrors = ReadErrorLine::ErrNumber,
    .bindingFailure = BindingFailure::Raise,
    .readSteps = {10, 20, 30, 40},
    .writeSteps = {10, 20, 40},
};

constexpr std::string_view FormattedName = "SNVT_hvac_status";
constexpr int FormattedFields = 7;
constexpr int RawBytes = 12;
constexpr double PercentPerCount = 0.005;
constexpr std::string_view FormattedRefusal = "SNVT_hvac_status.ReadNV - Data Format Error";
constexpr std::string_view RawRefusal = "SNVT_hvac_status.ReadNV - Data Format Error.";

using Status = SNVT_hvac_status;

}  // namespace

SNVT_hvac_status::SNVT_hvac_status() : NetworkVariablePoint(HvacStatusClass) {}

void SNVT_hvac_status::Send(rt::Steps& steps) {
  std::string formatName = ReadFormat(steps, Class().writeSteps.format);
  host::WriteLog("SNVT_hvac_status.WriteNV(" + formatName + ") ***NOT IMPLEMENTED***");
}

void SNVT_hvac_status::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (formatName == FormattedName) {
    DecodeFormatted(steps);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps)) {
    DecodeRaw(steps);
  }
}

void SNVT_hvac_status::DecodeFormatted(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), ',', FormattedFields, FormattedFields - 1);
  if (!fields) {
    host::WriteLog(std::string(FormattedRefusal));
    return;
  }
  m_Mode = HvacModes.ValueOf((*fields)[0]);
  for (int level = 0; level < LevelCount; ++level) m_Levels[level] = rt::Val((*fields)[level + 1]);
  steps(Class().readSteps.decode, [&] { m_in_alarm = rt::DoubleToByte(rt::Val((*fields)[6])); });
}

// Each field converts on its own: one that does not keeps its value, the others are read.
void SNVT_hvac_status::DecodeRaw(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), Tab, RawBytes, RawBytes - 1);
  if (!fields) {
    host::WriteLog(std::string(RawRefusal));
    return;
  }
  int line = Class().readSteps.decode;
  steps(line, [&] { m_Mode = ByteField((*fields)[0]); });
  for (int level = 0; level < LevelCount; ++level) {
    steps(line, [&] {
      size_t hi = static_cast<size_t>(1 + 2 * level);
      m_Levels[level] = SignedWord(ByteField((*fields)[hi]), ByteField((*fields)[hi + 1])) * PercentPerCount;
    });
  }
  steps(line, [&] { m_in_alarm = rt::DoubleToByte(rt::Val((*fields)[11])); });
}

rt::Variant SNVT_hvac_status::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<Status> members{
      rt::Get("heat_output_primary", &Status::get_heat_output_primary),
      rt::Let("heat_output_primary", &Status::put_heat_output_primary),
      rt::Get("heat_output_secondary", &Status::get_heat_output_secondary),
      rt::Let("heat_output_secondary", &Status::put_heat_output_secondary),
      rt::Get("cool_output", &Status::get_cool_output),
      rt::Let("cool_output", &Status::put_cool_output),
      rt::Get("econ_output", &Status::get_econ_output),
      rt::Let("econ_output", &Status::put_econ_output),
      rt::Get("fan_output", &Status::get_fan_output),
      rt::Let("fan_output", &Status::put_fan_output),
      rt::Get("in_alarm", &Status::get_in_alarm),
      rt::Let("in_alarm", &Status::put_in_alarm),
      rt::Get("Mode", &Status::get_Mode),
      rt::Let("Mode", &Status::put_Mode),
  };
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

}  // namespace points
