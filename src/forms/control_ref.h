#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <span>
#include <string_view>

#include "forms/control.h"

// Controls as a form compiler names them: references generated from a layout, which carry the
// control's kind in their type, so that code that misspells a control or takes it for another
// kind does not compile.
namespace forms {

// One control: a single control (index -1) or one member of a control array.
template <class T>
struct ControlRef {
  std::string_view name;
  int index = -1;

  constexpr explicit ControlRef(std::string_view controlName, int memberIndex = -1)
      : name(controlName), index(memberIndex) {}
  // A control of a derived kind serves where its base is wanted (a TextBox as a TextControl).
  template <class U>
  requires std::derived_from<U, T>
  constexpr ControlRef(const ControlRef<U>& other) : name(other.name), index(other.index) {}
};

// A control array with the members its layout gives it.
template <class T>
struct ControlArray {
  std::string_view name;
  std::span<const int16_t> members;

  constexpr ControlArray(std::string_view arrayName, std::span<const int16_t> layoutMembers)
      : name(arrayName), members(layoutMembers) {}
  template <class U>
  requires std::derived_from<U, T>
  constexpr ControlArray(const ControlArray<U>& other) : name(other.name), members(other.members) {}

  constexpr bool Has(int index) const { return std::ranges::find(members, index) != members.end(); }
  // A member by a constant index: one the layout lacks does not compile.
  consteval ControlRef<T> operator[](int index) const {
    if (!Has(index)) throw "the layout has no such member";
    return ControlRef<T>(name, index);
  }
  // A member chosen at run time: one the layout lacks fails where it is reached (error 340).
  constexpr ControlRef<T> At(int index) const { return ControlRef<T>(name, index); }
};

// A control of a layout as the generator lists it, for checks of the layout itself.
struct LayoutControl {
  std::string_view name;
  Kind kind;
  std::span<const int16_t> members;  // empty for a single control
};

}  // namespace forms
