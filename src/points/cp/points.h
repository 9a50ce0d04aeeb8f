#pragma once

#include <string_view>

#include "points/cp/byte_points.h"
#include "points/cp/plain_points.h"
#include "points/cp/scpt_set_pnts.h"
#include "points/cp/soft_jumpers.h"
#include "points/cp/word_points.h"
#include "points/point_classes.h"

namespace points {

// The fourteen classes.
std::span<const PointClassEntry<ConfigPropertyPoint>> ConfigPropertyClasses();
// Serves the fourteen classes to directors.
void AddConfigPropertyClasses();
// A new point of the named class (the class names are the type library's), or nullptr for a
// name that is no configuration-property point class.
rt::Ref<ConfigPropertyPoint> CreateConfigPropertyPoint(std::string_view className);

}  // namespace points
