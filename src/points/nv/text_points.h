#pragma once

#include <cstdint>
#include <string>

#include "points/nv/point.h"

namespace points {

// A text of at most 30 characters. It has no raw form: a read switches the variable to its own
// format, a write in any other format sends nothing.
class SNVT_str_asc final : public NetworkVariablePoint {
 public:
  SNVT_str_asc();

  // Stored as given, of any length.
  void put_Value(const std::string& value) {
    m_Value = value;
    m_Changed = true;
  }
  const std::string& get_Value() const noexcept { return m_Value; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  std::string m_Value;
};

// A device-specific one-byte value. Every read switches the variable to "RAW".
class UNVT_Byte final : public NetworkVariablePoint {
 public:
  UNVT_Byte();

  void put_Value(uint8_t value) {
    m_Value = value;
    m_Changed = true;
  }
  uint8_t get_Value() const noexcept { return m_Value; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void SendRawText(rt::Steps& steps, int line);

  uint8_t m_Value = 0;
};

}  // namespace points
