#pragma once

#include <vector>

#include "runtime/members.h"

namespace points {

// A point of family Base whose value is one typed Value: its Let stores it and sets Changed,
// also when it holds that value already.
template <class Base, class V>
class TypedValue : public Base {
 public:
  void put_Value(const V& value) {
    m_Value = value;
    this->m_Changed = true;
  }
  const V& get_Value() const noexcept { return m_Value; }

 protected:
  using Base::Base;

  // Value Let, then Value Get.
  template <class T>
  static std::vector<rt::Member<T>> ValueMembers() {
    return {rt::Let("Value", &TypedValue::put_Value), rt::Get("Value", &TypedValue::get_Value)};
  }

  V m_Value{};
};

}  // namespace points
