#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lns/codec.h"
#include "lns/device.h"
#include "lns/interface.h"
#include "lns/journal.h"
#include "lns/server.h"
#include "runtime/variant.h"
#include "support/error_number.h"
#include "support/temp_machine.h"

namespace points::testing {

inline constexpr char Tab = '\t';

// Each test gets a fresh machine folder with the network "Bench": the simulated unit "FCU 1"
// (its 37 network variables) and "Bench 1", a device with one writable input of every type
// ("nviTemp", "nviDiff", "nviLevel", "nviCount", "nviMinutes", "nviSeconds", "nviText",
// "nviByte", "nviState", "nviState64", "nviMode", "nviOcc", "nviStatus", "nviSetpts",
// "nviSchedule", "nviSwitch"), open through an Object Server; an empty log; no faults.
class PointTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::shared_ptr<lns::AppDevice> Bench() const { return bench_; }
  std::shared_ptr<lns::AppDevice> Unit() const { return unit_; }

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

  // Values put into the variable's Value, as the journal shows them: a text quoted, a number
  // bare. Calls the stand-in refused are not listed.
  std::vector<std::string> Sent(const std::string& nvName) const;
  // Whether the point read the variable's format name since the journal was cleared.
  bool FormatRead(const std::string& nvName) const;

  static std::vector<std::string> Log();
  static void ClearLog();

 private:
  std::optional<orvex::test::TempMachine> temp_;
  std::shared_ptr<lns::ObjectServer> server_;
  std::shared_ptr<lns::AppDevice> bench_;
  std::shared_ptr<lns::AppDevice> unit_;
};

template <class T>
rt::Ref<rt::Object> AsObject(std::shared_ptr<T> object) {
  return rt::Ref<rt::Object>(std::static_pointer_cast<rt::Object>(std::move(object)));
}

// A quoted text as Sent lists it.
std::string Quoted(const std::string& text);

// A network variable whose every call is recorded with its Variant, for what the stand-in cannot
// show: the width of a number put, and format names of other tools. Reachable by name through a
// FakeDevice's Interface.NetworkVariables.Item.
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

// A point of class T bound through a FakeDevice to `variable`, named `nvName`.
template <class T>
std::shared_ptr<T> BoundToRecorder(const std::shared_ptr<RecordingVariable>& variable, const std::string& nvName) {
  auto point = std::make_shared<T>();
  point->putref_Device(std::make_shared<FakeDevice>(variable));
  point->put_NvName(nvName);
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

}  // namespace points::testing
