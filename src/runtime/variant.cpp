#include "runtime/variant.h"

#include "runtime/convert.h"
#include "runtime/text.h"

namespace rt {

Variant Object::Invoke(std::string_view, CallKind, std::vector<Variant>&) {
  throw Error(err::ObjectNotSupportProperty);
}

Variant Variant::Boolean(bool v) { return Variant(Storage(std::in_place_index<1>, v)); }
Variant Variant::Byte(uint8_t v) { return Variant(Storage(std::in_place_index<2>, v)); }
Variant Variant::Integer(int16_t v) { return Variant(Storage(std::in_place_index<3>, v)); }
Variant Variant::Long(int32_t v) { return Variant(Storage(std::in_place_index<4>, v)); }
Variant Variant::Double(double v) { return Variant(Storage(std::in_place_index<5>, v)); }
Variant Variant::String(std::string v) { return Variant(Storage(std::in_place_index<6>, std::move(v))); }
Variant Variant::Object(ObjectRef v) { return Variant(Storage(std::in_place_index<7>, std::move(v))); }

std::string Variant::TypeName() const {
  switch (GetType()) {
    case Type::Empty: return "Empty";
    case Type::Boolean: return "Boolean";
    case Type::Byte: return "Byte";
    case Type::Integer: return "Integer";
    case Type::Long: return "Long";
    case Type::Double: return "Double";
    case Type::String: return "String";
    case Type::Object: return IsNothing() ? "Nothing" : "Object";
  }
  return "Empty";
}

bool Variant::IsNumeric() const noexcept {
  switch (GetType()) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
    case Type::Double:
      return true;
    default:
      return false;
  }
}

bool Variant::IsNothing() const noexcept {
  return GetType() == Type::Object && !std::get<ObjectRef>(value_);
}

double Variant::ToDouble() const {
  switch (GetType()) {
    case Type::Empty: return 0;
    case Type::Boolean: return std::get<bool>(value_) ? VbTrue : VbFalse;
    case Type::Byte: return std::get<uint8_t>(value_);
    case Type::Integer: return std::get<int16_t>(value_);
    case Type::Long: return std::get<int32_t>(value_);
    case Type::Double: return std::get<double>(value_);
    case Type::String: return ParseNumber(std::get<std::string>(value_));
    case Type::Object: break;
  }
  throw Error(IsNothing() ? err::ObjectNotSet : err::TypeMismatch);
}

bool Variant::ToBoolean() const {
  if (GetType() == Type::Boolean) return std::get<bool>(value_);
  if (GetType() == Type::String) {
    std::string word = Trim(std::get<std::string>(value_));
    if (EqualsNoCase(word, "True")) return true;
    if (EqualsNoCase(word, "False")) return false;
  }
  return ToDouble() != 0;
}

// A Boolean keeps its bits in a Byte: True (-1) gives 255.
uint8_t Variant::ToByte() const {
  if (GetType() == Type::Boolean) return std::get<bool>(value_) ? 255 : 0;
  return DoubleToByte(ToDouble());
}
int16_t Variant::ToInteger() const { return DoubleToInteger(ToDouble()); }
int32_t Variant::ToLong() const { return DoubleToLong(ToDouble()); }

std::string Variant::ToString() const {
  switch (GetType()) {
    case Type::Empty: return "";
    case Type::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case Type::String: return std::get<std::string>(value_);
    case Type::Object: throw Error(IsNothing() ? err::ObjectNotSet : err::TypeMismatch);
    default: return NumberText(ToDouble());
  }
}

ObjectRef Variant::ToObject() const {
  if (GetType() != Type::Object) throw Error(err::TypeMismatch);
  return std::get<ObjectRef>(value_);
}

}  // namespace rt
