#include "automation/variant_json.h"

#include <array>
#include <functional>
#include <limits>

#include "automation/protocol_error.h"

namespace automation {
namespace {

using Type = rt::Variant::Type;

Json EncodeScalar(const rt::Variant& value) {
  switch (value.GetType()) {
    case Type::Boolean: return value.ToBoolean();
    case Type::Byte: return value.ToByte();
    case Type::Integer: return value.ToInteger();
    case Type::Long: return value.ToLong();
    case Type::Double: return value.ToDouble();
    default: return value.ToString();
  }
}

rt::Variant DecodeWholeNumber(int64_t n) {
  if (n >= std::numeric_limits<int16_t>::min() && n <= std::numeric_limits<int16_t>::max()) {
    return rt::Variant::Integer(static_cast<int16_t>(n));
  }
  if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max()) {
    return rt::Variant::Long(static_cast<int32_t>(n));
  }
  return rt::Variant::Double(static_cast<double>(n));
}

rt::Variant DecodePlain(const Json& json, std::string_view field) {
  switch (json.type()) {
    case Json::value_t::null: return {};
    case Json::value_t::boolean: return rt::Variant::Boolean(json.get<bool>());
    case Json::value_t::number_integer: return DecodeWholeNumber(json.get<int64_t>());
    case Json::value_t::number_unsigned: {
      const auto n = json.get<uint64_t>();
      if (n <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        return DecodeWholeNumber(static_cast<int64_t>(n));
      }
      return rt::Variant::Double(static_cast<double>(n));
    }
    case Json::value_t::number_float: return rt::Variant::Double(json.get<double>());
    case Json::value_t::string: return rt::Variant::String(json.get<std::string>());
    default: RaiseWrongType(field, "a value: a number, a text, true/false, null or {\"type\":..,\"value\":..}");
  }
}

struct TypedDecoder {
  std::string_view name;
  std::function<rt::Variant(const rt::Variant&)> convert;
};

const std::array<TypedDecoder, 6>& TypedDecoders() {
  static const std::array<TypedDecoder, 6> decoders = {{
      {"Boolean", [](const rt::Variant& v) { return rt::Variant::Boolean(v.ToBoolean()); }},
      {"Byte", [](const rt::Variant& v) { return rt::Variant::Byte(v.ToByte()); }},
      {"Integer", [](const rt::Variant& v) { return rt::Variant::Integer(v.ToInteger()); }},
      {"Long", [](const rt::Variant& v) { return rt::Variant::Long(v.ToLong()); }},
      {"Double", [](const rt::Variant& v) { return rt::Variant::Double(v.ToDouble()); }},
      {"String", [](const rt::Variant& v) { return rt::Variant::String(v.ToString()); }},
  }};
  return decoders;
}

rt::Variant DecodeObject(const Json& json, const ObjectTable& objects, std::string_view field) {
  const auto id = json.find("object");
  if (id == json.end() || !id->is_number_integer()) RaiseWrongType(field, "an Object with a whole-number \"object\" id");
  return rt::Variant::Object(objects.Find(id->get<int64_t>()));
}

rt::Variant DecodeTyped(const Json& json, const ObjectTable& objects, std::string_view field) {
  const Json& type = json["type"];
  if (!type.is_string()) RaiseWrongType(field, "a value whose \"type\" is a text");
  const auto name = type.get<std::string>();
  if (name == "Empty") return {};
  if (name == "Nothing") return rt::Variant::Nothing();
  if (name == "Object") return DecodeObject(json, objects, field);
  for (const auto& decoder : TypedDecoders()) {
    if (decoder.name != name) continue;
    const auto value = json.find("value");
    if (value == json.end()) RaiseWrongType(field, "a " + name + " with a \"value\"");
    return decoder.convert(DecodePlain(*value, field));
  }
  RaiseUnknown("Variant type", name);
}

}  // namespace

Json EncodeVariant(const rt::Variant& value, ObjectTable& objects) {
  if (value.IsEmpty() || value.IsNothing()) return {{"type", value.TypeName()}};
  if (value.IsObject()) {
    const rt::ObjectRef object = value.ToObject();
    return {{"type", "Object"}, {"object", objects.Hold(object)}, {"class", object->TypeName()}};
  }
  return {{"type", value.TypeName()}, {"value", EncodeScalar(value)}};
}

rt::Variant DecodeVariant(const Json& json, const ObjectTable& objects, std::string_view field) {
  if (json.is_object() && json.contains("type")) return DecodeTyped(json, objects, field);
  return DecodePlain(json, field);
}

}  // namespace automation
