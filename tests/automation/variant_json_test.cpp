#include "automation/variant_json.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "automation/channel.h"
#include "test_object.h"

namespace automation {
namespace {

using rt::Variant;

struct EncodingCase {
  Variant value;
  const char* json;
};

TEST(VariantJson, EncodesEachTypeAndDecodesItBack) {
  const EncodingCase cases[] = {
      {Variant(), R"({"type":"Empty"})"},
      {Variant::Boolean(true), R"({"type":"Boolean","value":true})"},
      {Variant::Byte(200), R"({"type":"Byte","value":200})"},
      {Variant::Integer(-5), R"({"type":"Integer","value":-5})"},
      {Variant::Long(100000), R"({"type":"Long","value":100000})"},
      {Variant::Double(72.5), R"({"type":"Double","value":72.5})"},
      {Variant::String("Velmora OrvexUC_FCU Plug-In"), R"({"type":"String","value":"Velmora OrvexUC_FCU Plug-In"})"},
      {Variant::String(""), R"({"type":"String","value":""})"},
      {Variant::Nothing(), R"({"type":"Nothing"})"},
  };
  ObjectTable objects;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    const Json encoded = EncodeVariant(c.value, objects);
    EXPECT_EQ(encoded, Json::parse(c.json));
    EXPECT_EQ(DecodeVariant(encoded, objects, "value"), c.value);
  }
}

struct PlainCase {
  const char* json;
  Variant expected;
};

TEST(VariantJson, PlainJsonTakesTheNarrowestFittingType) {
  const PlainCase cases[] = {
      {"5", Variant::Integer(5)},
      {"-32768", Variant::Integer(-32768)},
      {"32768", Variant::Long(32768)},
      {"-2147483648", Variant::Long(INT32_MIN)},
      {"2147483648", Variant::Double(2147483648.0)},
      {"18446744073709551615", Variant::Double(18446744073709551615.0)},
      {"2.5", Variant::Double(2.5)},
      {"\"5\"", Variant::String("5")},
      {"true", Variant::Boolean(true)},
      {"null", Variant()},
  };
  ObjectTable objects;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    EXPECT_EQ(DecodeVariant(Json::parse(c.json), objects, "value"), c.expected);
  }
}

TEST(VariantJson, TypedValuesConvertAsTheRuntimeDoes) {
  const PlainCase cases[] = {
      {R"({"type":"Integer","value":"12"})", Variant::Integer(12)},
      {R"({"type":"Integer","value":2.5})", Variant::Integer(2)},
      {R"({"type":"Long","value":7})", Variant::Long(7)},
      {R"({"type":"Double","value":7})", Variant::Double(7)},
      {R"({"type":"Byte","value":255})", Variant::Byte(255)},
      {R"({"type":"Boolean","value":-1})", Variant::Boolean(true)},
      {R"({"type":"String","value":1.5})", Variant::String("1.5")},
      {R"({"type":"Empty"})", Variant()},
  };
  ObjectTable objects;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    EXPECT_EQ(DecodeVariant(Json::parse(c.json), objects, "value"), c.expected);
  }
}

struct RefusedCase {
  const char* json;
  int32_t number;
};

TEST(VariantJson, RefusesWhatIsNoValueWithTheMatchingError) {
  const RefusedCase cases[] = {
      {R"({"type":"Byte","value":300})", rt::err::Overflow},
      {R"({"type":"Integer","value":"abc"})", rt::err::TypeMismatch},
      {R"({"type":"Boolean","value":"yes"})", rt::err::TypeMismatch},
      {R"({"type":"Integer"})", rt::err::TypeMismatch},
      {R"({"type":5})", rt::err::TypeMismatch},
      {R"({"type":"Currency","value":1})", rt::err::SubscriptOutOfRange},
      {R"({"type":"Object"})", rt::err::TypeMismatch},
      {R"({"type":"Object","object":99})", rt::err::SubscriptOutOfRange},
      {R"([1,2])", rt::err::TypeMismatch},
      {R"({"value":1})", rt::err::TypeMismatch},
  };
  ObjectTable objects;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    try {
      DecodeVariant(Json::parse(c.json), objects, "value");
      ADD_FAILURE() << "accepted";
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Number(), c.number) << e.Description();
    }
  }
}

TEST(VariantJson, AnObjectKeepsOneIdAndComesBackByIt) {
  ObjectTable objects;
  const auto object = std::make_shared<testing::TestObject>();
  const Json first = EncodeVariant(Variant::Object(object), objects);
  const Json second = EncodeVariant(Variant::Object(object), objects);
  EXPECT_EQ(first, Json::parse(R"({"type":"Object","object":1,"class":"TestObject"})"));
  EXPECT_EQ(second, first);
  EXPECT_EQ(DecodeVariant(first, objects, "value").ToObject(), object);
}

TEST(VariantJson, ATextThatIsNoUtf8StillMakesALine) {
  ObjectTable objects;
  const Json encoded = EncodeVariant(Variant::String("LonMark\xAE"), objects);
  EXPECT_THAT(LineText(encoded), ::testing::HasSubstr("LonMark"));
}

}  // namespace
}  // namespace automation
