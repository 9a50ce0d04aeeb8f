#pragma once

#include <array>

#include "points/nv/point.h"

namespace points {

// Six temperature setpoints: cooling and heating for occupied, standby and unoccupied.
class SNVT_temp_setpt final : public NetworkVariablePoint {
 public:
  // The data order: of the value texts and of the raw bytes.
  enum Setpoint {
    occupied_cool,
    standby_cool,
    unoccupied_cool,
    occupied_heat,
    standby_heat,
    unoccupied_heat,
    SetpointCount
  };

  SNVT_temp_setpt();

  void put_Setpoint(Setpoint setpoint, double value) {
    m_Setpoints[setpoint] = value;
    m_Changed = true;
  }
  double get_Setpoint(Setpoint setpoint) const noexcept { return m_Setpoints[setpoint]; }
  void put_occupied_cool(double v) { put_Setpoint(occupied_cool, v); }
  double get_occupied_cool() const noexcept { return m_Setpoints[occupied_cool]; }
  void put_unoccupied_cool(double v) { put_Setpoint(unoccupied_cool, v); }
  double get_unoccupied_cool() const noexcept { return m_Setpoints[unoccupied_cool]; }
  void put_standby_cool(double v) { put_Setpoint(standby_cool, v); }
  double get_standby_cool() const noexcept { return m_Setpoints[standby_cool]; }
  void put_occupied_heat(double v) { put_Setpoint(occupied_heat, v); }
  double get_occupied_heat() const noexcept { return m_Setpoints[occupied_heat]; }
  void put_unoccupied_heat(double v) { put_Setpoint(unoccupied_heat, v); }
  double get_unoccupied_heat() const noexcept { return m_Setpoints[unoccupied_heat]; }
  void put_standby_heat(double v) { put_Setpoint(standby_heat, v); }
  double get_standby_heat() const noexcept { return m_Setpoints[standby_heat]; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void SendRaw(rt::Steps& steps);
  bool IsShiftVariable(rt::Steps& steps);
  void DecodeFormatted(rt::Steps& steps, bool absolute);
  void DecodeRaw(rt::Steps& steps);

  std::array<double, SetpointCount> m_Setpoints{};
};

}  // namespace points
