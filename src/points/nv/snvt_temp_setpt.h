#pragma once

#include "points/nv/point.h"
#include "points/setpoints.h"

namespace points {

// Six temperature setpoints: cooling and heating for occupied, standby and unoccupied.
class SNVT_temp_setpt final : public SetpointsPoint<NetworkVariablePoint> {
 public:
  SNVT_temp_setpt();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  bool IsShiftVariable(rt::Steps& steps);
  void DecodeFormatted(rt::Steps& steps, bool absolute);
  void DecodeRaw(rt::Steps& steps);
};

}  // namespace points
