#include "points/nv/enum_points.h"

#include <array>

#include "runtime/convert.h"
#include "runtime/members.h"

namespace points {

namespace {

constexpr ReadSteps EnumRead{10, 20, 30, 40};
constexpr WriteSteps EnumWrite{10, 20, 40};

constexpr std::array<std::string_view, 3> HvacModeNames{"SNVT_hvac_mode", "UNVTheatCoolAuto",
                                                        "#80071A5503000000[4].UNVTheatCoolAuto"};
constexpr std::array<std::string_view, 1> OccupancyNames{"SNVT_occupancy"};

const EnumClass HvacModeClass{
    .point = {"SNVT_hvac_mode", true, "SNVT_hvac_mode-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrNumber,
              BindingFailure::MessageBox, EnumRead, EnumWrite},
    .enumeration = HvacModes,
    .formattedNames = HvacModeNames,
};

const EnumClass OccupancyClass{
    .point = {"SNVT_occupancy", true, "SNVT_occupancy-StrToNV->", WriteErrorLine::Plain, ReadErrorLine::ErrNumber,
              BindingFailure::MessageBox, EnumRead, EnumWrite},
    .enumeration = Occupancies,
    .formattedNames = OccupancyNames,
};

}  // namespace

void EnumPoint::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (IsListed(enum_.formattedNames, formatName)) {
    PutValue(steps, lines.send, [&] { return rt::Variant::String(enum_.enumeration.TextOf(m_Value)); });
  } else if (IsRawFormat(formatName) || ForceOnWrite(steps, formatName)) {
    PutValue(steps, lines.send, [&] { return rt::Variant::String(rt::NumberText(m_Value)); });
  }
}

void EnumPoint::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (IsListed(enum_.formattedNames, formatName)) {
    m_Value = enum_.enumeration.ValueOf(vIN);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps)) {
    steps(lines.decode, [&] { m_Value = vIN.ToByte(); });
  }
}

rt::Variant EnumPoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<EnumPoint> members(ValueMembers<EnumPoint>());
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

SNVT_hvac_mode::SNVT_hvac_mode() : EnumPoint(HvacModeClass) {}
SNVT_occupancy::SNVT_occupancy() : EnumPoint(OccupancyClass) {}

}  // namespace points
