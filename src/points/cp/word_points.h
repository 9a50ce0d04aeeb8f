#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "points/cp/point.h"
#include "points/typed_value.h"
#include "points/value_text.h"

namespace points {

// A word class: how its number travels raw, as one 16-bit number, high byte first.
struct WordClass {
  PointClass point;
  RawWord word;
  double (*toRaw)(double value);  // the raw number sent, before rounding
  double (*fromRaw)(int32_t count);
  int rawSendStep;
  std::string_view vOutPrefix;  // the raw text is logged as it grows
  int tabLimit;                 // TABs in a raw text are counted up to this
  int valueStep;                // the value from its two bytes
};

// A double Value whose raw form is one 16-bit number: two decimal byte texts around one TAB.
// Unknown formats are forced to "RAW" through DsFormatType on a write, and on a read in the
// words of the class.
class WordPropertyPoint : public TypedValue<ConfigPropertyPoint, double> {
 public:
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  explicit WordPropertyPoint(const WordClass& wordClass) : TypedValue(wordClass.point), word_(wordClass) {}
  void Send(rt::Steps& steps) final;
  void Receive(rt::Steps& steps) final;

  // The formatted side: false when `formatName` is none of the class's formatted names. A class
  // without one exchanges raw text only.
  virtual bool SendFormatted(rt::Steps&, std::string_view) { return false; }
  virtual bool ReceiveFormatted(rt::Steps&, std::string_view) { return false; }
  virtual ForceLines UnlistedReadLines(std::string_view formatName) const = 0;
  virtual void BeforeRawDecode() const {}
  // A raw text without a TAB; false: refused like any other that does not split.
  virtual bool DecodeUndelimited(rt::Steps&, const std::string&) { return false; }
  virtual void LogRawRefusal(rt::Steps& steps) = 0;

 private:
  void DecodeRaw(rt::Steps& steps);
  void DecodeWord(rt::Steps& steps, const std::string& text);

  const WordClass& word_;
};

// A whole number from 0 to 65535, exchanged only raw.
class UCPTulong final : public WordPropertyPoint {
 public:
  UCPTulong();

 protected:
  ForceLines UnlistedReadLines(std::string_view formatName) const override;
  void LogRawRefusal(rt::Steps& steps) override;
};

// A temperature class: where its own format names are scoped, and what its number measures.
struct TemperatureClass {
  WordClass word;
  std::string_view scope;  // the prefix of the scoped format names
  bool difference;         // a difference: no 32-degree offset, kelvins in "#SI"
};

// A temperature, or a temperature difference, in degrees Fahrenheit. Formatted in the property's
// own format name, with "#US" (Fahrenheit) or "#SI" (Celsius, kelvins) and those two behind the
// class's scope.
class TemperaturePropertyPoint : public WordPropertyPoint {
 protected:
  explicit TemperaturePropertyPoint(const TemperatureClass& temperatureClass)
      : WordPropertyPoint(temperatureClass.word), temperature_(temperatureClass) {}

  bool SendFormatted(rt::Steps& steps, std::string_view formatName) final;
  bool ReceiveFormatted(rt::Steps& steps, std::string_view formatName) final;
  // The value in a formatted name's units, as the class sends it.
  virtual rt::Variant Formatted(double value) const { return rt::Variant::Double(value); }
  // A formatted text that holds a comma, at 1-based `position`.
  virtual void RefuseFormatted(rt::Steps& steps, size_t position) = 0;

 private:
  bool IsFormatted(std::string_view formatName) const;
  double FromFormat(double value, std::string_view formatName) const;
  double ToFormat(double value, std::string_view formatName) const;

  const TemperatureClass& temperature_;
};

// A temperature: tenths of a degree Celsius raw; formatted values travel as text.
class UCPTtemp_p final : public TemperaturePropertyPoint {
 public:
  UCPTtemp_p();

 protected:
  rt::Variant Formatted(double value) const override;
  // Switches the property to its "#US" format for the next read.
  void RefuseFormatted(rt::Steps& steps, size_t position) override;
  ForceLines UnlistedReadLines(std::string_view formatName) const override;
  void LogRawRefusal(rt::Steps& steps) override;
};

// A temperature difference: hundredths of a kelvin raw, also as a run of hexadecimal digits.
class UCPTtemp_Dif_p final : public TemperaturePropertyPoint {
 public:
  UCPTtemp_Dif_p();

 protected:
  void RefuseFormatted(rt::Steps& steps, size_t position) override;
  ForceLines UnlistedReadLines(std::string_view formatName) const override;
  void BeforeRawDecode() const override;
  bool DecodeUndelimited(rt::Steps& steps, const std::string& text) override;
  void LogRawRefusal(rt::Steps& steps) override;
};

}  // namespace points
