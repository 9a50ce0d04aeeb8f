#pragma once

#include <array>
#include <cstdint>

#include "points/nv/point.h"

namespace points {

// The unit's operating mode, five output levels in percent and an alarm flag. Read-only in
// use: WriteNV only logs that writing is not implemented.
class SNVT_hvac_status final : public NetworkVariablePoint {
 public:
  enum Level { heat_output_primary, heat_output_secondary, cool_output, econ_output, fan_output, LevelCount };

  SNVT_hvac_status();

  void put_Level(Level level, double value) {
    m_Levels[level] = value;
    m_Changed = true;
  }
  double get_Level(Level level) const noexcept { return m_Levels[level]; }
  void put_heat_output_primary(double v) { put_Level(heat_output_primary, v); }
  double get_heat_output_primary() const noexcept { return m_Levels[heat_output_primary]; }
  void put_heat_output_secondary(double v) { put_Level(heat_output_secondary, v); }
  double get_heat_output_secondary() const noexcept { return m_Levels[heat_output_secondary]; }
  void put_cool_output(double v) { put_Level(cool_output, v); }
  double get_cool_output() const noexcept { return m_Levels[cool_output]; }
  void put_econ_output(double v) { put_Level(econ_output, v); }
  double get_econ_output() const noexcept { return m_Levels[econ_output]; }
  void put_fan_output(double v) { put_Level(fan_output, v); }
  double get_fan_output() const noexcept { return m_Levels[fan_output]; }
  void put_in_alarm(uint8_t v) {
    m_in_alarm = v;
    m_Changed = true;
  }
  uint8_t get_in_alarm() const noexcept { return m_in_alarm; }
  void put_Mode(uint8_t v) {
    m_Mode = v;
    m_Changed = true;
  }
  uint8_t get_Mode() const noexcept { return m_Mode; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void DecodeFormatted(rt::Steps& steps);
  void DecodeRaw(rt::Steps& steps);

  uint8_t m_Mode = 0;
  std::array<double, LevelCount> m_Levels{};
  uint8_t m_in_alarm = 0;
};

}  // namespace points
