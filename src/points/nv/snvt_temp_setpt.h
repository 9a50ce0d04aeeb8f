#pragma once

#include "points/nv/point.h"
#include "points/setpoints.h"

namespace points {

// Six temperature setpoints: cooling and heating for occupied, standby and unoccupied.
class SNVT_temp_setpt final : public NetworkVariablePoint, public SetpointProperties<SNVT_temp_setpt> {
 public:
  SNVT_temp_setpt();

  void put_Setpoint(Setpoint setpoint, double value) {
    m_Setpoints[setpoint] = value;
    m_Changed = true;
  }
  double get_Setpoint(Setpoint setpoint) const noexcept { return m_Setpoints[setpoint]; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  bool IsShiftVariable(rt::Steps& steps);
  void DecodeFormatted(rt::Steps& steps, bool absolute);
  void DecodeRaw(rt::Steps& steps);

  Setpoints m_Setpoints{};
};

}  // namespace points
