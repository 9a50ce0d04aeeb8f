#pragma once

// Members reached by name at run time (late binding): one line per member, with its name, its
// kind and the C++ accessor behind it.
//
//   static const rt::Members<Network> members{
//       rt::Get("Name", &Network::get_Name),
//       rt::Let("Remote", &Network::put_Remote),
//       rt::Method("Open", &Network::Open),
//       rt::Method("Item", [](Network& n, rt::Args& a) { return n.Item(rt::Arg(a, 0)); }),
//   };
//   return members.Invoke<Node>(*this, member, kind, args);
//
// Names compare without regard to case. A Get also answers a method-style call and a method a
// Get. A Let or Set assigns the last argument (error 449 when there is none). A name the table
// does not have, or has for another kind, goes to the base class, which by default raises 438.

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/text.h"
#include "runtime/variant.h"

namespace rt {

using Args = std::vector<Variant>;
using CallKind = Object::CallKind;

// Argument `index` of a call; error 449 when it is missing.
const Variant& Arg(const Args& args, size_t index);
// The value a Let or Set assigns: the last argument; error 449 when there is none.
const Variant& AssignedValue(const Args& args);
bool KindFits(CallKind declared, CallKind asked);

template <class T>
inline constexpr bool IsSharedPtr = false;
template <class T>
inline constexpr bool IsSharedPtr<std::shared_ptr<T>> = true;

// A C++ value as a member returns it: bool Boolean, uint8_t Byte, int16_t Integer, int32_t Long,
// float and double Double, texts String, object pointers Object (a null pointer is Nothing).
template <class V>
Variant ToVariant(const V& value) {
  if constexpr (std::is_same_v<V, Variant>) {
    return value;
  } else if constexpr (std::is_same_v<V, bool>) {
    return Variant::Boolean(value);
  } else if constexpr (std::is_same_v<V, uint8_t>) {
    return Variant::Byte(value);
  } else if constexpr (std::is_same_v<V, int16_t>) {
    return Variant::Integer(value);
  } else if constexpr (std::is_same_v<V, int32_t>) {
    return Variant::Long(value);
  } else if constexpr (std::is_floating_point_v<V>) {
    return Variant::Double(value);
  } else if constexpr (std::is_convertible_v<const V&, std::string_view>) {
    return Variant::String(std::string(std::string_view(value)));
  } else {
    static_assert(IsSharedPtr<V>, "no Variant type for this C++ type");
    return Variant::Object(value);
  }
}

// An object argument of the expected class; Nothing gives nullptr, another class error 13.
template <class T>
std::shared_ptr<T> ObjectArgument(const Variant& value) {
  ObjectRef object = value.ToObject();
  if (!object) return nullptr;
  auto typed = std::dynamic_pointer_cast<T>(object);
  if (!typed) Raise(err::TypeMismatch);
  return typed;
}

// The C++ value of a parameter of type P, converted as the runtime converts Variants.
template <class P>
P FromVariant(const Variant& value) {
  if constexpr (std::is_same_v<P, Variant>) {
    return value;
  } else if constexpr (std::is_same_v<P, bool>) {
    return value.ToBoolean();
  } else if constexpr (std::is_same_v<P, uint8_t>) {
    return value.ToByte();
  } else if constexpr (std::is_same_v<P, int16_t>) {
    return value.ToInteger();
  } else if constexpr (std::is_same_v<P, int32_t>) {
    return value.ToLong();
  } else if constexpr (std::is_same_v<P, double>) {
    return value.ToDouble();
  } else if constexpr (std::is_same_v<P, std::string>) {
    return value.ToString();
  } else {
    static_assert(IsSharedPtr<P>, "no conversion from a Variant to this C++ type");
    return ObjectArgument<typename P::element_type>(value);
  }
}

template <class T>
struct Member {
  std::string name;
  CallKind kind;
  std::function<Variant(T& self, Args& args)> call;
};

template <class T>
class Members {
 public:
  Members(std::initializer_list<Member<T>> members) : members_(members) {}
  explicit Members(std::vector<Member<T>> members) : members_(std::move(members)) {}

  // The member that answers `name` called as `kind`; nullptr when there is none.
  const Member<T>* Find(std::string_view name, CallKind kind) const;

  // Calls that member; without one, Base's Invoke.
  template <class Base = Object>
  Variant Invoke(T& self, std::string_view name, CallKind kind, Args& args) const {
    if (const Member<T>* member = Find(name, kind)) return member->call(self, args);
    return self.Base::Invoke(name, kind, args);
  }

 private:
  std::vector<Member<T>> members_;
};

template <class T>
const Member<T>* Members<T>::Find(std::string_view name, CallKind kind) const {
  for (const Member<T>& member : members_) {
    if (EqualsNoCase(member.name, name) && KindFits(member.kind, kind)) return &member;
  }
  return nullptr;
}

namespace members_detail {

// The parameter type of a one-argument member function (a setter).
template <class F>
struct SetterOf;
template <class C, class R, class P>
struct SetterOf<R (C::*)(P)> {
  using Value = std::remove_cvref_t<P>;
};
template <class C, class R, class P>
struct SetterOf<R (C::*)(P) noexcept> {
  using Value = std::remove_cvref_t<P>;
};

template <class T, class F>
concept TakesArgs = std::invocable<const F&, T&, Args&>;

// The result of an accessor as the member's Variant; a void one gives Empty.
template <class Call>
Variant Returned(Call&& call) {
  using R = std::remove_cvref_t<std::invoke_result_t<Call>>;
  if constexpr (std::is_void_v<R>) {
    call();
    return {};
  } else {
    return ToVariant<R>(call());
  }
}

// A member as declared by Get, Let, Set or Method, before it knows the class it serves: it
// becomes a Member<T> of the table it is listed in.
template <CallKind Kind, class F>
struct Declared {
  std::string_view name;
  F accessor;

  template <class T>
  operator Member<T>() const {  // NOLINT(google-explicit-constructor): tables list declarations
    return {std::string(name), Kind, Adapt<T>()};
  }

  template <class T>
  std::function<Variant(T&, Args&)> Adapt() const {
    if constexpr (TakesArgs<T, F>) {
      return [f = accessor](T& self, Args& args) { return Returned([&] { return std::invoke(f, self, args); }); };
    } else if constexpr (Kind == CallKind::Let || Kind == CallKind::Set) {
      return [f = accessor](T& self, Args& args) {
        std::invoke(f, self, FromVariant<typename SetterOf<F>::Value>(AssignedValue(args)));
        return Variant();
      };
    } else {
      return [f = accessor](T& self, Args&) { return Returned([&] { return std::invoke(f, self); }); };
    }
  }
};

}  // namespace members_detail

// Declares a member of one kind from its name and accessor.
template <CallKind Kind>
struct Declare {
  template <class F>
  members_detail::Declared<Kind, F> operator()(std::string_view name, F accessor) const {
    return {name, std::move(accessor)};
  }
};

// A property Get: a getter of the class, or a function of (self, args) for one with arguments.
inline constexpr Declare<CallKind::Get> Get{};
// A property Let: a setter of one value, or a function of (self, args).
inline constexpr Declare<CallKind::Let> Let{};
// A property Set (an object reference): a setter of one object, or a function of (self, args).
inline constexpr Declare<CallKind::Set> Set{};
// A method: one without arguments, or a function of (self, args).
inline constexpr Declare<CallKind::Method> Method{};

}  // namespace rt
