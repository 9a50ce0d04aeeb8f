#pragma once

#include <cstdint>

#include "points/nv/point.h"

namespace points {

// A scheduled occupancy event: the state in force, the next state, and the minutes until then.
class SNVT_tod_event final : public NetworkVariablePoint {
 public:
  SNVT_tod_event();

  void put_current_state(uint8_t v) {
    m_current_state = v;
    m_Changed = true;
  }
  uint8_t get_current_state() const noexcept { return m_current_state; }
  void put_next_state(uint8_t v) {
    m_next_state = v;
    m_Changed = true;
  }
  uint8_t get_next_state() const noexcept { return m_next_state; }
  void put_time_to_next_state(double v) {
    m_time_to_next_state = v;
    m_Changed = true;
  }
  double get_time_to_next_state() const noexcept { return m_time_to_next_state; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void SendRaw(rt::Steps& steps);
  void DecodeFormatted(rt::Steps& steps);
  void DecodeRaw(rt::Steps& steps);

  uint8_t m_current_state = 0;
  uint8_t m_next_state = 0;
  double m_time_to_next_state = 0;
};

}  // namespace points
