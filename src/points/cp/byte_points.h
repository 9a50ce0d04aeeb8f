#pragma once

#include <cstdint>
#include <string>

#include "points/cp/point.h"
#include "points/typed_value.h"

namespace points {

// A property that is one byte on the device, formatted in its own type's format (the property's
// name) or raw as one decimal number. An unknown format is forced to "RAW": in full on a read,
// in the short form on a write.
class BytePropertyPoint : public ConfigPropertyPoint {
 protected:
  using ConfigPropertyPoint::ConfigPropertyPoint;

  void Send(rt::Steps& steps) final;
  void Receive(rt::Steps& steps) final;

  virtual bool WritesFormatted(std::string_view formatName) const { return formatName == m_CpName; }
  virtual void SendFormatted(rt::Steps& steps) = 0;
  virtual void DecodeFormatted(rt::Steps& steps) = 0;
  // The value as the raw text sends it, and vIN taken as that text.
  virtual rt::Variant RawValue() const = 0;
  virtual void DecodeRaw() = 0;
};

// A plain byte.
class UCPT_Byte final : public TypedValue<BytePropertyPoint, uint8_t> {
 public:
  UCPT_Byte();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  // The byte is read as soon as the point is bound to a property.
  void AfterBinding() override;
  bool WritesFormatted(std::string_view formatName) const override;
  void SendFormatted(rt::Steps& steps) override;
  void DecodeFormatted(rt::Steps& steps) override;
  rt::Variant RawValue() const override;
  void DecodeRaw() override;
};

// A boolean: 0 false, 1 true, 255 null.
class UCPT_Boolean final : public TypedValue<BytePropertyPoint, uint8_t> {
 public:
  UCPT_Boolean();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void SendFormatted(rt::Steps& steps) override;
  void DecodeFormatted(rt::Steps& steps) override;
  rt::Variant RawValue() const override;
  void DecodeRaw() override;
};

// The HVAC type: its enumeration text, beside the code of that text.
class SCPThvacType final : public TypedValue<BytePropertyPoint, std::string> {
 public:
  SCPThvacType();

  void put_EnumValue(uint8_t value) {
    m_EnumValue = value;
    m_Changed = true;
  }
  uint8_t get_EnumValue() const noexcept { return m_EnumValue; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  // A text outside the table is sent as "HVT_HEAT_PUMP", and the code follows what was sent.
  void SendFormatted(rt::Steps& steps) override;
  void DecodeFormatted(rt::Steps& steps) override;
  // After a raw read the value holds the decimal text of the byte, which a raw write sends back.
  rt::Variant RawValue() const override;
  void DecodeRaw() override;

 private:
  uint8_t m_EnumValue = 0;
};

}  // namespace points
