#pragma once

#include <cstdint>

#include "points/nv/enumerations.h"
#include "points/nv/point.h"
#include "points/typed_value.h"

namespace points {

// An enumerated point class: its table and the format names of its enumeration text.
struct EnumClass {
  PointClass point;
  const Enumeration& enumeration;
  FormatNames formattedNames;
};

// One enumeration value kept as a byte, stored without a range check: a value outside the table
// is sent as the null text. Its raw form is that one byte as decimal text.
class EnumPoint : public TypedValue<NetworkVariablePoint, uint8_t> {
 public:
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  explicit EnumPoint(const EnumClass& enumClass) : TypedValue(enumClass.point), enum_(enumClass) {}
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  const EnumClass& enum_;
};

// An HVAC mode (the values of ehvac_t, HVAC_NUL 255).
class SNVT_hvac_mode final : public EnumPoint {
 public:
  SNVT_hvac_mode();
};

// An occupancy state (OC_NUL 255).
class SNVT_occupancy final : public EnumPoint {
 public:
  SNVT_occupancy();
};

}  // namespace points
