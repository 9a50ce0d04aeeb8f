#pragma once

#include <cstdint>
#include <string>

#include "points/nv/point.h"
#include "points/typed_value.h"

namespace points {

// A text of at most 30 characters. It has no raw form: a read switches the variable to its own
// format, a write in any other format sends nothing.
// Its Value is stored as given, of any length.
class SNVT_str_asc final : public TypedValue<NetworkVariablePoint, std::string> {
 public:
  SNVT_str_asc();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;
};

// A device-specific one-byte value. Every read switches the variable to "RAW".
class UNVT_Byte final : public TypedValue<NetworkVariablePoint, uint8_t> {
 public:
  UNVT_Byte();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void SendRawText(rt::Steps& steps, int line);
};

}  // namespace points
