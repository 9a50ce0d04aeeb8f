#include "runtime/variant.h"

#include <gtest/gtest.h>

#include <functional>
#include "support/error_number.h"

namespace {

using rt::Variant;

using orvex::test::ErrorNumberOf;

class Counter : public rt::Object {
 public:
  std::string TypeName() const override { return "Counter"; }
  int count = 0;
};

TEST(VariantTest, EmptyIsNotTheEmptyText) {
  Variant empty;
  Variant blank = Variant::String("");
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_FALSE(blank.IsEmpty());
  EXPECT_FALSE(empty == blank);
  EXPECT_EQ(empty.ToString(), "");
  EXPECT_EQ(empty.ToDouble(), 0);
  EXPECT_FALSE(empty.ToBoolean());
  EXPECT_EQ(ErrorNumberOf([&] { blank.ToDouble(); }), rt::err::TypeMismatch);
}

TEST(VariantTest, TypeNames) {
  struct Case {
    Variant value;
    const char* name;
  } const cases[] = {
      {Variant(), "Empty"},
      {Variant::Boolean(true), "Boolean"},
      {Variant::Byte(1), "Byte"},
      {Variant::Integer(1), "Integer"},
      {Variant::Long(1), "Long"},
      {Variant::Double(1), "Double"},
      {Variant::String("1"), "String"},
      {Variant::Object(std::make_shared<Counter>()), "Object"},
      {Variant::Nothing(), "Nothing"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.TypeName(), c.name);
}

TEST(VariantTest, NumberConversions) {
  struct Case {
    Variant value;
    double asDouble;
    std::string asText;
  } const cases[] = {
      {Variant::Boolean(true), -1, "True"},
      {Variant::Boolean(false), 0, "False"},
      {Variant::Byte(255), 255, "255"},
      {Variant::Integer(-32768), -32768, "-32768"},
      {Variant::Long(70000), 70000, "70000"},
      {Variant::Double(72.5), 72.5, "72.5"},
      {Variant::Double(0.1 + 0.2), 0.1 + 0.2, "0.3"},
      {Variant::String(" 72.5 "), 72.5, " 72.5 "},
      {Variant::String("&hFFFF"), -1, "&hFFFF"},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(c.value.ToDouble(), c.asDouble) << c.asText;
    EXPECT_EQ(c.value.ToString(), c.asText);
  }
}

TEST(VariantTest, WholeNumberConversionsRoundHalvesToEven) {
  EXPECT_EQ(Variant::Double(72.5).ToInteger(), 72);
  EXPECT_EQ(Variant::Double(73.5).ToInteger(), 74);
  EXPECT_EQ(Variant::String("2.5").ToLong(), 2);
  EXPECT_EQ(Variant::String("254.5").ToByte(), 254);
  EXPECT_EQ(Variant::Boolean(true).ToInteger(), rt::VbTrue);
  EXPECT_EQ(Variant::Boolean(true).ToByte(), 255);
  EXPECT_EQ(Variant::Boolean(false).ToByte(), 0);
  EXPECT_EQ(Variant::Integer(-1).ToLong(), -1);
}

TEST(VariantTest, ConversionErrors) {
  auto counter = std::make_shared<Counter>();
  struct Case {
    const char* what;
    std::function<void()> action;
    int error;
  } const cases[] = {
      {"text to number", [] { Variant::String("abc").ToDouble(); }, rt::err::TypeMismatch},
      {"comma decimal", [] { Variant::String("72,5").ToDouble(); }, rt::err::TypeMismatch},
      {"empty text to Integer", [] { Variant::String("").ToInteger(); }, rt::err::TypeMismatch},
      {"text to Boolean", [] { Variant::String("maybe").ToBoolean(); }, rt::err::TypeMismatch},
      {"object to number", [&] { Variant::Object(counter).ToDouble(); }, rt::err::TypeMismatch},
      {"object to text", [&] { Variant::Object(counter).ToString(); }, rt::err::TypeMismatch},
      {"number to object", [] { Variant::Long(1).ToObject(); }, rt::err::TypeMismatch},
      {"Nothing to number", [] { Variant::Nothing().ToLong(); }, rt::err::ObjectNotSet},
      {"Nothing to text", [] { Variant::Nothing().ToString(); }, rt::err::ObjectNotSet},
      {"Integer overflow", [] { Variant::Long(32768).ToInteger(); }, rt::err::Overflow},
      {"Byte below 0", [] { Variant::Integer(-1).ToByte(); }, rt::err::Overflow},
      {"Byte above 255", [] { Variant::String("256").ToByte(); }, rt::err::Overflow},
      {"Long overflow", [] { Variant::Double(3e9).ToLong(); }, rt::err::Overflow},
      {"huge text", [] { Variant::String("1e400").ToDouble(); }, rt::err::Overflow},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorNumberOf(c.action), c.error) << c.what;
}

TEST(VariantTest, BooleanFromTextAndNumbers) {
  struct Case {
    Variant value;
    bool expected;
  } const cases[] = {
      {Variant::String("True"), true},   {Variant::String("false"), false}, {Variant::String(" TRUE "), true},
      {Variant::String("0"), false},     {Variant::String("-1"), true},     {Variant::Double(0.5), true},
      {Variant::Byte(0), false},         {Variant(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.ToBoolean(), c.expected) << c.value.ToString();
}

TEST(VariantTest, ObjectsAndNothing) {
  auto counter = std::make_shared<Counter>();
  Variant held = Variant::Object(counter);
  EXPECT_TRUE(held.IsObject());
  EXPECT_FALSE(held.IsNothing());
  EXPECT_EQ(held.ToObject(), counter);
  EXPECT_TRUE(Variant::Nothing().IsNothing());
  EXPECT_EQ(Variant::Nothing().ToObject(), nullptr);
  EXPECT_FALSE(Variant().IsNothing());
}

TEST(ObjectTest, UnknownMemberRaises438) {
  Counter counter;
  std::vector<Variant> args;
  EXPECT_EQ(ErrorNumberOf([&] { counter.Invoke("Anything", rt::Object::CallKind::Get, args); }),
            rt::err::ObjectNotSupportProperty);
}

TEST(RefTest, UsingNothingRaises91) {
  rt::Ref<Counter> nothing;
  EXPECT_TRUE(nothing.IsNothing());
  EXPECT_EQ(ErrorNumberOf([&] { nothing->count = 1; }), rt::err::ObjectNotSet);
  EXPECT_EQ(ErrorNumberOf([&] { (*nothing).count = 1; }), rt::err::ObjectNotSet);

  auto counter = rt::New<Counter>();
  counter->count = 3;
  rt::Ref<rt::Object> asObject = counter;
  EXPECT_EQ(asObject->TypeName(), "Counter");
  EXPECT_TRUE(asObject == rt::Ref<rt::Object>(counter));
  counter.Reset();
  EXPECT_EQ(ErrorNumberOf([&] { counter->count = 4; }), rt::err::ObjectNotSet);
  EXPECT_FALSE(asObject.IsNothing());
}

TEST(ErrorTest, StandardTextsAndRaise) {
  struct Case {
    int32_t number;
    const char* text;
  } const cases[] = {
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {9, "Subscript out of range"},
      {13, "Type mismatch"},
      {53, "File not found"},
      {91, "Object variable or With block variable not set"},
      {380, "Invalid property value"},
      {20003, "Application-defined or object-defined error"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::Error(c.number).Description(), c.text) << c.number;

  try {
    rt::Raise(20005, "Velmora OrvexUC_FCU Plug-In", "Object not found");
    FAIL() << "Raise returned";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), 20005);
    EXPECT_EQ(e.Source(), "Velmora OrvexUC_FCU Plug-In");
    EXPECT_EQ(e.Description(), "Object not found");
    EXPECT_STREQ(e.what(), "Object not found");
  }
}

TEST(ErrorTest, ForeignExceptionsBecomeErrors) {
  auto asError = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return rt::AsError(std::current_exception());
    }
  };
  EXPECT_EQ(asError(rt::Error(13)).Number(), 13);
  EXPECT_EQ(asError(std::bad_alloc()).Number(), rt::err::OutOfMemory);
  rt::Error logic = asError(std::logic_error("broken"));
  EXPECT_EQ(logic.Number(), rt::err::InternalError);
  EXPECT_EQ(logic.Description(), "broken");
  EXPECT_EQ(asError(42).Number(), rt::err::InternalError);
}

}  // namespace
