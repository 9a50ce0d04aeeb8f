#pragma once

#include "points/cp/point.h"
#include "points/setpoints.h"

namespace points {

// The six occupancy setpoints, one property value.
class SCPTsetPnts final : public SetpointsPoint<ConfigPropertyPoint> {
 public:
  SCPTsetPnts();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  // All six in data order, whichever was set.
  void Send(rt::Steps& steps) override;
  // An unknown format is forced to "SCPTsetPnts#US", which the next read decodes.
  void Receive(rt::Steps& steps) override;

 private:
  void DecodeFormatted();
  void DecodeDifference(rt::Steps& steps);
};

}  // namespace points
