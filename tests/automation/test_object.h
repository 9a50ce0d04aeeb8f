#pragma once

#include <string>

#include "runtime/variant.h"

namespace automation::testing {

inline constexpr const char* TestProgId = "Orvex.TestObject";
inline constexpr const char* TestClassId = "{6F1C2A40-3B7D-4E55-9A1E-2C7B90D41E11}";

// A small served class for the channel's tests: a number and a text property, an object
// property, a method with a result, one that fails on request, one that asks a question, one
// that shows the test window, one that lets pending window messages run and one that ends the program.
class TestObject : public rt::Object {
 public:
  TestObject();
  ~TestObject() override;
  std::string TypeName() const override { return "TestObject"; }
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

  static int Live();  // objects not yet destroyed

  int16_t count = 0;
  std::string name;
  rt::ObjectRef partner;
};

// Puts the class into the process's class table.
void AddTestClass();

}  // namespace automation::testing
