#pragma once

#include <cstdint>

#include "points/nv/point.h"

namespace points {

// A level in percent with an on/off state. Not gated: every WriteNV sends.
class SNVT_switch final : public NetworkVariablePoint {
 public:
  SNVT_switch();

  void put_State(int16_t state) {
    m_State = state;
    m_Changed = true;
  }
  int16_t get_State() const noexcept { return m_State; }
  void put_Value(double value) {
    m_Value = value;
    m_Changed = true;
  }
  double get_Value() const noexcept { return m_Value; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void SendRaw(rt::Steps& steps);
  void DecodeFormatted(rt::Steps& steps);
  void DecodeRaw(rt::Steps& steps);

  double m_Value = 0;
  int16_t m_State = 0;
};

}  // namespace points
