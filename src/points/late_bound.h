#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

namespace points {

// Members reached by name at run time, as the points reach the Object Server's objects, so that
// a point depends on no concrete class of it. A Nothing target raises error 91.
rt::Variant GetProperty(const rt::Ref<rt::Object>& target, std::string_view member);
void LetProperty(const rt::Ref<rt::Object>& target, std::string_view member, const rt::Variant& value);
rt::Variant CallMethod(const rt::Ref<rt::Object>& target, std::string_view member, std::vector<rt::Variant> args);

// The object a Get returned; error 13 when it is no object, 91 when it is Nothing.
rt::Ref<rt::Object> ObjectOf(const rt::Variant& value);

// The device's network variable of that name: Interface, NetworkVariables, then Item.
rt::Ref<rt::Object> NetworkVariableOf(const rt::Ref<rt::Object>& device, const std::string& name);

}  // namespace points
