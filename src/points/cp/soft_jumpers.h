#pragma once

#include "points/cp/point.h"
#include "points/flags.h"

namespace points {

// The device's software jumpers: 32 flags Bit0 to Bit31.
class UCPTsoftJumpers final : public FlagsOf<ConfigPropertyPoint> {
 public:
  UCPTsoftJumpers();

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void DecodeFormatted(rt::Steps& steps);
  void DecodeRaw(rt::Steps& steps);
};

}  // namespace points
