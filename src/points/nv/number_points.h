#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "points/nv/point.h"

namespace points {

// A format branch of a one-number point: the names that select it and how the value travels.
struct FormattedBranch {
  FormatNames names;
  rt::Variant (*send)(double value);
  double (*receive)(const rt::Variant& value);
};

// A one-number point class. Its raw form is one 16-bit number, high byte first.
struct NumberClass {
  PointClass point;
  std::span<const FormattedBranch> branches;
  double (*toRaw)(double value);     // the raw number sent, before rounding
  double (*fromRaw)(int32_t count);  // the value of a raw number
  RawWord rawWord;
  bool wholeValue;               // kept as a signed 32-bit integer
  std::string_view vOutPrefix;   // the raw text is logged as it grows; empty: not logged
  std::string (*refusalLine)(const std::string& nvName);  // a value text that does not split
};

// The one-number points: a double `Value`, gated writes.
class NumberPoint : public NetworkVariablePoint {
 public:
  // A whole-number class rounds halves to even and raises error 6 outside the 32-bit range,
  // changing nothing then.
  void put_Value(double value);
  double get_Value() const noexcept { return m_Value; }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  explicit NumberPoint(const NumberClass& numberClass)
      : NetworkVariablePoint(numberClass.point), number_(numberClass) {}
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  const FormattedBranch* BranchOf(std::string_view formatName) const;
  void SendRaw(rt::Steps& steps);
  void DecodeFormatted(rt::Steps& steps, const FormattedBranch& branch);
  void DecodeRaw(rt::Steps& steps);
  void LogRefusal() const;

  const NumberClass& number_;
  double m_Value = 0;
};

// A temperature; degrees Fahrenheit in its raw form.
class SNVT_temp_p final : public NumberPoint {
 public:
  SNVT_temp_p();
};

// A temperature difference (an offset) on a SNVT_temp_p variable; Fahrenheit degrees.
class SNVT_temp_p_US_diff final : public NumberPoint {
 public:
  SNVT_temp_p_US_diff();
};

// A level in percent.
class SNVT_lev_percent final : public NumberPoint {
 public:
  SNVT_lev_percent();
};

// A count, kept whole.
class SNVT_count final : public NumberPoint {
 public:
  SNVT_count();
};

// A time in minutes, kept whole.
class SNVT_time_min final : public NumberPoint {
 public:
  SNVT_time_min();
};

// A time in seconds; tenths of a second in its raw form.
class SNVT_time_sec final : public NumberPoint {
 public:
  SNVT_time_sec();
};

}  // namespace points
