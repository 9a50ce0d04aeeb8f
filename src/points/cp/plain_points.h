#pragma once

#include <string>

#include "points/cp/point.h"
#include "points/typed_value.h"

namespace points {

// A number handed to LNS and taken back as it is, in the engineering unit of the property's
// format of the moment, without a look at that format.
class PlainNumberPoint : public TypedValue<ConfigPropertyPoint, double> {
 public:
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  using TypedValue::TypedValue;
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;
};

// Seconds.
class SCPT_time_sec final : public PlainNumberPoint {
 public:
  SCPT_time_sec();
};

// Minutes.
class SCPT_time_min final : public PlainNumberPoint {
 public:
  SCPT_time_min();
};

// Hours.
class SCPT_time_hour final : public PlainNumberPoint {
 public:
  SCPT_time_hour();
};

// Percent.
class SCPT_lev_percent final : public PlainNumberPoint {
 public:
  SCPT_lev_percent();
};

// The bypass time: a property of a network variable, not of a LonMark object. Bound by Device,
// ObjIdx, NvName, then CpName.
class SCPTbypassTime final : public PlainNumberPoint {
 public:
  SCPTbypassTime();

  // Stores the name, then binds the variable of that name and its property collection; a failed
  // step shows a message box and the next one runs.
  void put_NvName(const std::string& name);

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  rt::Ref<rt::Object> PropertiesOwner() const override { return m_NV; }

 private:
  rt::Ref<rt::Object> m_NV;
  std::string m_NvName;
};

// A text of at most 31 characters on the device.
class SCPT_str_asc final : public TypedValue<ConfigPropertyPoint, std::string> {
 public:
  SCPT_str_asc();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  // A longer value is cut to 31 characters, in Value too, before it is sent.
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;
};

}  // namespace points
