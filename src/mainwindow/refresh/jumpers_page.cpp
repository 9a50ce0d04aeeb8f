#include <string>

#include "mainwindow/refresh/choices.h"
#include "mainwindow/refresh/jumper_rows.h"
#include "mainwindow/refresh/page_steps.h"
#include "points/cp/soft_jumpers.h"

namespace mainwindow::refresh {
namespace {

constexpr int JumpersLine = 4000;

bool FlagSet(const Refresh& refresh, int flag) {
  return refresh.Point<points::UCPTsoftJumpers>("nciSoftJumpers").get_Bit(flag);
}

// A flag that cannot be read shows "Open".
std::string PositionText(Refresh& refresh, int flag) {
  const bool open = refresh.If(JumpersLine, [&] { return !FlagSet(refresh, flag); });
  return std::string(BitStateText(!open));
}

// The combo, the group's other flags, then the caption.
void WriteUnit(Refresh& refresh, const JumperUnit& unit) {
  refresh.SetText(JumpersLine, controls::cbonciSoftJumpers.At(unit.combo),
                  [&] { return PositionText(refresh, unit.firstFlag); });
  for (int flag = unit.firstFlag + 1; flag < unit.firstFlag + unit.flags; ++flag) {
    refresh.SetText(JumpersLine, controls::txtSoftwareJumper.At(flag), [&] { return PositionText(refresh, flag); });
  }
  refresh(JumpersLine, [&] {
    const auto caption =
        TestedChoice(refresh, JumpersLine, unit.captions, [&] { return JumperSetting(refresh, unit); });
    refresh.Ctl(controls::lblSoftwareJumper.At(unit.firstFlag)).SetCaption(std::string(caption));
  });
}

}  // namespace

int JumperSetting(const Refresh& refresh, const JumperUnit& unit) {
  int setting = 0;
  for (int k = 0; k < unit.flags; ++k) setting |= FlagSet(refresh, unit.firstFlag + k) ? 1 << k : 0;
  return setting;
}

// A combo the technician is working in keeps its whole unit as it is.
void JumpersPage(Refresh& refresh) {
  for (const JumperUnit& unit : JumperUnits) {
    refresh.UnlessBusy(JumpersLine, controls::cbonciSoftJumpers.At(unit.combo), [&] { WriteUnit(refresh, unit); });
  }
}

}  // namespace mainwindow::refresh
