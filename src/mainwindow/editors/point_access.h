#pragma once

#include <string_view>

#include "device/orvex_fcu.h"
#include "points/cp/point.h"
#include "points/typed_value.h"
#include "runtime/error.h"

namespace mainwindow::editors {

// A configuration property holding one number.
using NumberProperty = points::TypedValue<points::ConfigPropertyPoint, double>;

// The device object's point of that property as its class; error 91 when a director has set it
// to Nothing.
template <class T>
T& PointOf(device::Orvex_FCU& fcu, std::string_view property) {
  auto* point = dynamic_cast<T*>(fcu.Point(property).Get());
  if (!point) rt::Raise(rt::err::ObjectNotSet);
  return *point;
}

}  // namespace mainwindow::editors
