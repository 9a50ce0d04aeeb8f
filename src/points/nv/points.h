#pragma once

#include <string_view>

#include "points/nv/enum_points.h"
#include "points/nv/flag_points.h"
#include "points/nv/number_points.h"
#include "points/nv/snvt_hvac_status.h"
#include "points/nv/snvt_switch.h"
#include "points/nv/snvt_temp_setpt.h"
#include "points/nv/snvt_tod_event.h"
#include "points/nv/text_points.h"
#include "points/point_classes.h"

namespace points {

// The sixteen classes.
std::span<const PointClassEntry<NetworkVariablePoint>> NetworkVariableClasses();
// Serves the sixteen classes to directors.
void AddNetworkVariableClasses();
// A new point of the named class (the class names are the type library's), or nullptr for a
// name that is no network-variable point class.
rt::Ref<NetworkVariablePoint> CreateNetworkVariablePoint(std::string_view className);

}  // namespace points
