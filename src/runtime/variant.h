#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/error.h"

namespace rt {

class Variant;

// A COM-like object. Members can also be reached by name at run time (late binding), which
// the automation channel and the Parts' "member reached by name" calls use.
class Object : public std::enable_shared_from_this<Object> {
 public:
  enum class CallKind { Get, Let, Set, Method };

  virtual ~Object() = default;
  virtual std::string TypeName() const { return "Object"; }
  // Default: error 438, "Object doesn't support this property or method".
  virtual Variant Invoke(std::string_view member, CallKind kind, std::vector<Variant>& args);
};

using ObjectRef = std::shared_ptr<Object>;

// A nullable object reference. Reaching a member through Nothing raises error 91; it never crashes.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}  // NOLINT(google-explicit-constructor): `= nullptr` reads as "= Nothing"
  Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}  // NOLINT(google-explicit-constructor)
  template <class U>
  Ref(const Ref<U>& other) : p_(other.Shared()) {}  // NOLINT(google-explicit-constructor)

  T* operator->() const { return &Deref(); }
  T& operator*() const { return Deref(); }
  bool IsNothing() const noexcept { return !p_; }
  explicit operator bool() const noexcept { return static_cast<bool>(p_); }
  const std::shared_ptr<T>& Shared() const noexcept { return p_; }
  T* Get() const noexcept { return p_.get(); }
  void Reset() noexcept { p_.reset(); }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

 private:
  T& Deref() const {
    if (!p_) throw Error(err::ObjectNotSet);
    return *p_;
  }
  std::shared_ptr<T> p_;
};

template <class T, class... Args>
Ref<T> New(Args&&... args) {
  return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

// A COM-like Variant. Empty is not the same as "".
class Variant {
 public:
  enum class Type { Empty, Boolean, Byte, Integer, Long, Double, String, Object };

  Variant() = default;
  static Variant Boolean(bool v);
  static Variant Byte(uint8_t v);
  static Variant Integer(int16_t v);
  static Variant Long(int32_t v);
  static Variant Double(double v);
  static Variant String(std::string v);
  static Variant Object(ObjectRef v);  // a null pointer is Nothing
  static Variant Nothing() { return Object(nullptr); }

  Type GetType() const noexcept { return static_cast<Type>(value_.index()); }
  std::string TypeName() const;  // "Empty", "Boolean", "Byte", "Integer", "Long", "Double", "String", "Object", "Nothing"
  bool IsEmpty() const noexcept { return GetType() == Type::Empty; }
  bool IsNumeric() const noexcept;
  bool IsString() const noexcept { return GetType() == Type::String; }
  bool IsObject() const noexcept { return GetType() == Type::Object; }
  bool IsNothing() const noexcept;

  // Conversions as the original runtime does them: 13 "Type mismatch" for what is not a number,
  // 6 "Overflow" out of range; numbers into whole types round halves to even; texts are read with
  // the locale number conversion. Empty converts to 0, "" and False; Nothing raises 91.
  bool ToBoolean() const;
  uint8_t ToByte() const;
  int16_t ToInteger() const;
  int32_t ToLong() const;
  double ToDouble() const;
  std::string ToString() const;  // numbers by the number text; Boolean as "True"/"False"
  ObjectRef ToObject() const;    // 13 unless an Object (Nothing gives a null pointer)

  friend bool operator==(const Variant& a, const Variant& b) noexcept { return a.value_ == b.value_; }

 private:
  using Storage = std::variant<std::monostate, bool, uint8_t, int16_t, int32_t, double, std::string, ObjectRef>;
  explicit Variant(Storage v) : value_(std::move(v)) {}
  Storage value_;
};

// COM Booleans: True is -1.
inline constexpr int16_t VbTrue = -1;
inline constexpr int16_t VbFalse = 0;

}  // namespace rt
