#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lns/calls/journal.h"
#include "lns/device.h"
#include "lns/interface.h"
#include "lns/server.h"
#include "lns/values/codec.h"
#include "runtime/variant.h"
#include "support/error_number.h"
#include "support/temp_machine.h"

namespace points::testing {

inline constexpr char Tab = '\t';

// Each test gets a fresh machine folder with the network "Bench": the simulated units "FCU 1" and
// "FCU 2" (their 37 network variables and 46 configuration properties) and "Bench 1", a device with one writable input
// of every type
// ("nviTemp", "nviDiff", "nviLevel", "nviCount", "nviMinutes", "nviSeconds", "nviText",
// "nviByte", "nviState", "nviState64", "nviMode", "nviOcc", "nviStatus", "nviSetpts",
// "nviSchedule", "nviSwitch"), open through an Object Server; an empty log; no faults.
class PointTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::shared_ptr<lns::AppDevice> Bench() const { return bench_; }
  std::shared_ptr<lns::AppDevice> Unit() const { return unit_; }
  std::shared_ptr<lns::AppDevice> SecondUnit() const { return secondUnit_; }

  // A new point of class T given `device` and bound to the variable `nvName`.
  template <class T>
  std::shared_ptr<T> Bound(const std::string& nvName, const std::shared_ptr<lns::AppDevice>& device = nullptr) {
    auto point = std::make_shared<T>();
    point->putref_Device(device ? device : bench_);
    point->put_NvName(nvName);
    return point;
  }

  // What a one-value point of class T sends for `value` in `format`.
  template <class T, class V>
  std::vector<std::string> Write(const char* nvName, const char* format, V value) {
    SetFormat(nvName, format);
    auto point = Bound<T>(nvName);
    point->put_Value(value);
    lns::ClearJournal();
    point->WriteNV();
    return Sent(nvName);
  }

  // The unit's side of a variable of "Bench 1" (or of `device`).
  std::shared_ptr<lns::NetworkVariable> Variable(const std::string& nvName,
                                                 const std::shared_ptr<lns::AppDevice>& device = nullptr) const;
  void SetFormat(const std::string& nvName, const std::string& formatName);
  std::string FormatOf(const std::string& nvName) const;
  void SetBytes(const std::string& nvName, const lns::Bytes& bytes,
                const std::shared_ptr<lns::AppDevice>& device = nullptr);
  lns::Bytes BytesOf(const std::string& nvName) const;

  // A configuration property of a unit ("FCU 1" unless `device` is given), of a LonMark object or
  // of a network variable.
  std::shared_ptr<lns::ConfigProperty> Property(const std::string& cpName,
                                                const std::shared_ptr<lns::AppDevice>& device = nullptr) const;

  // Values put into the variable's Value, as the journal shows them: a text quoted, a number
  // bare. Calls the stand-in refused are not listed.
  std::vector<std::string> Sent(const std::string& nvName) const { return SentTo("NetworkVariable:" + nvName); }
  std::vector<std::string> PropertySent(const std::string& cpName) const { return SentTo("ConfigProperty:" + cpName); }
  // Whether the point read the variable's format name since the journal was cleared.
  bool FormatRead(const std::string& nvName) const;

  static std::vector<std::string> Log();
  static void ClearLog();

 private:
  // The same for the object whose path ends in `segment`.
  std::vector<std::string> SentTo(const std::string& segment) const;

  std::optional<orvex::test::TempMachine> temp_;
  std::shared_ptr<lns::ObjectServer> server_;
  std::shared_ptr<lns::AppDevice> bench_;
  std::shared_ptr<lns::AppDevice> unit_;
  std::shared_ptr<lns::AppDevice> secondUnit_;
};

template <class T>
rt::Ref<rt::Object> AsObject(std::shared_ptr<T> object) {
  return rt::Ref<rt::Object>(std::static_pointer_cast<rt::Object>(std::move(object)));
}

// A quoted text as Sent lists it.
std::string Quoted(const std::string& text);

// A network variable or configuration property whose every call is recorded with its Variant, for
// what the stand-in cannot show: the width of a number put, and format names of other tools. Its
// format is both its DsFormatType and its FormatName. Reachable by name through a FakeDevice's
// Interface.NetworkVariables.Item, or Interface.LonMarkObjects.Item(any index).ConfigProperties.Item.
class RecordingVariable : public rt::Object {
 public:
  RecordingVariable(std::string name, std::string format, rt::Variant value)
      : name_(std::move(name)), format_(std::move(format)), value_(std::move(value)) {}
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

  const std::vector<rt::Variant>& Puts() const { return puts_; }
  const std::string& Name() const { return name_; }
  // Format changes then succeed and change nothing, as LNS refusing them silently.
  void RefuseFormatChanges() { refuseFormats_ = true; }
  const std::string& Format() const { return format_; }
  void SetFormat(std::string format) { format_ = std::move(format); }
  void SetValue(rt::Variant value) { value_ = std::move(value); }
  int FormatReads() const { return formatReads_; }

 private:
  std::string name_;
  std::string format_;
  rt::Variant value_;
  std::vector<rt::Variant> puts_;
  int formatReads_ = 0;
  bool refuseFormats_ = false;
};

class FakeDevice : public rt::Object {
 public:
  explicit FakeDevice(std::shared_ptr<RecordingVariable> variable) : variable_(std::move(variable)) {}
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 private:
  std::shared_ptr<RecordingVariable> variable_;
};

// A point of class T bound through a FakeDevice to `variable`, named `name`.
template <class T>
std::shared_ptr<T> BoundToRecorder(const std::shared_ptr<RecordingVariable>& variable, const std::string& name) {
  auto point = std::make_shared<T>();
  point->putref_Device(std::make_shared<FakeDevice>(variable));
  if constexpr (requires { point->put_CpName(name); }) {
    point->put_ObjIdx(2);
    point->put_CpName(name);
  } else {
    point->put_NvName(name);
  }
  return point;
}

template <class T>
struct Recorded {
  std::shared_ptr<RecordingVariable> variable;
  std::shared_ptr<T> point;
};

// A recording variable in `format` holding `value`, and a point of class T bound to it.
template <class T>
Recorded<T> Record(const std::string& format, rt::Variant value, const std::string& nvName = "nviRec") {
  auto variable = std::make_shared<RecordingVariable>(nvName, format, std::move(value));
  return {variable, BoundToRecorder<T>(variable, nvName)};
}

inline rt::Variant Text(const std::string& text) { return rt::Variant::String(text); }

inline std::string Repeated(const std::string& piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// `text` with "{d}" replaced by the error's description and "{n}" by its number.
std::string Expand(std::string text, const rt::Error& error);

// The error `body` raises; number 0 when it raises none.
template <class Body>
rt::Error ErrorOf(Body&& body) {
  try {
    body();
  } catch (const rt::Error& e) {
    return e;
  }
  return rt::Error(0, "", "no error");
}

}  // namespace points::testing
