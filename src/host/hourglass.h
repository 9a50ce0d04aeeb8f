#pragma once

#include "forms/app.h"
#include "forms/constants.h"

namespace host {

// Shows the hourglass while a piece of work runs and puts back the pointer it found on every way
// out, errors included.
class HourglassPointer {
 public:
  HourglassPointer() : remembered_(forms::Screen().MousePointer()) {
    forms::Screen().SetMousePointer(forms::vbHourglass);
  }
  ~HourglassPointer() { Restore(); }
  HourglassPointer(const HourglassPointer&) = delete;
  HourglassPointer& operator=(const HourglassPointer&) = delete;

  // Puts the pointer back now, before a message that should not show the hourglass.
  void Restore() { forms::Screen().SetMousePointer(remembered_); }

 private:
  int remembered_;
};

}  // namespace host
