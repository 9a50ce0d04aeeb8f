#include <span>
#include <string>
#include <variant>

#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "mainwindow/refresh/page_steps.h"
#include "points/cp/byte_points.h"
#include "points/cp/soft_jumpers.h"
#include "points/nv/snvt_temp_setpt.h"

namespace mainwindow::refresh {
namespace {

constexpr int LongRangeJumper = 2;

// The controls of one role: the remote inputs, the long-range setpoint or the short-range shift.
// Each is the page's member of an array that both pages share, or a frame of the General page.
enum class Role { Remote, Long, Short };
struct Control {
  std::variant<forms::ControlArray<forms::Control>, forms::ControlRef<forms::Control>> control;
  Role role;
};

constexpr Control RemoteControls[] = {{controls::txtnviSetpoint, Role::Remote},
                                      {controls::txtnviSetptOffset, Role::Remote},
                                      {controls::lblnviSetpoint, Role::Remote},
                                      {controls::lblnviSetptOffset, Role::Remote}};

// The local controls in the order each branch writes them.
struct LocalOrder {
  std::span<const Control> remoteBranch;
  std::span<const Control> localBranch;
};
constexpr Control StatusRemoteBranch[] = {{controls::txtnvoSetpoint, Role::Long},
                                          {controls::lblLongRange, Role::Long},
                                          {controls::txtnvosetptShift, Role::Short},
                                          {controls::lblShortRange, Role::Short}};
constexpr Control StatusLocalBranch[] = {{controls::txtnvoSetpoint, Role::Long},
                                         {controls::txtnvosetptShift, Role::Short},
                                         {controls::lblLongRange, Role::Long},
                                         {controls::lblShortRange, Role::Short}};
constexpr Control GeneralRemoteBranch[] = {
    {controls::fraLongRange, Role::Long},      {controls::fraShortRange, Role::Short},
    {controls::txtnvoSetpoint, Role::Long},    {controls::lblLongRange, Role::Long},
    {controls::txtnvosetptShift, Role::Short}, {controls::lblShortRange, Role::Short}};
constexpr Control GeneralLocalBranch[] = {
    {controls::txtnvoSetpoint, Role::Long}, {controls::txtnvosetptShift, Role::Short},
    {controls::fraLongRange, Role::Long},   {controls::fraShortRange, Role::Short},
    {controls::lblLongRange, Role::Long},   {controls::lblShortRange, Role::Short}};

struct Page {
  int remoteLine;
  int localLine;
  LocalOrder order;
  bool notApplicableWhenRemote;  // the disabled shift box says "N/A"
};
constexpr Page StatusSource{66, 68, {StatusRemoteBranch, StatusLocalBranch}, true};
constexpr Page GeneralSource{294, 294, {GeneralRemoteBranch, GeneralLocalBranch}, false};

const Page& PageOf(SourcePage page) { return page == SourcePage::Status ? StatusSource : GeneralSource; }
int IndexOf(const Refresh& refresh, SourcePage page) {
  return page == SourcePage::Status ? refresh.State().m_StatusIdx : 2;
}

forms::ControlRef<forms::Control> OnPage(const Control& control, int index) {
  if (const auto* array = std::get_if<forms::ControlArray<forms::Control>>(&control.control)) return array->At(index);
  return std::get<forms::ControlRef<forms::Control>>(control.control);
}

void Enable(Refresh& refresh, int line, int index, std::span<const Control> group, Role inUse) {
  for (const Control& control : group) refresh.SetEnabled(line, OnPage(control, index), control.role == inUse);
}

constexpr std::string_view FieldNames[points::SetpointCount] = {
    "occupied_cool", "standby_cool", "unoccupied_cool", "occupied_heat", "standby_heat", "unoccupied_heat"};

// The shift that applies: the effective occupancy's pair, its cooling field in the cooling view.
void ShowShift(Refresh& refresh, int line, const forms::ControlRef<forms::TextBox>& shift) {
  const uint8_t occupancy = refresh.Get<uint8_t>(line, [&] { return EffectiveOccupancy(refresh); }, 0);
  const SetpointPair pair = PairOf(occupancy);
  const bool cooling = refresh.If(line, [&] { return GetHeatCoolMode(refresh) == 2; });
  const points::Setpoint field = cooling ? pair.cool : pair.heat;
  refresh.SetText(line, shift, [&] {
    return TemperatureText(refresh.Point<points::SNVT_temp_setpt>("nvoSetptShift").get_Setpoint(field));
  });
  refresh(line, [&] {
    refresh.Ctl(shift).SetToolTipText("nvoSetptShift." + std::string(FieldNames[field]));
  });
}

}  // namespace

bool ShowRemoteSetpoint(Refresh& refresh, SourcePage page) {
  const Page& source = PageOf(page);
  const bool remote = refresh.If(source.remoteLine, [&] {
    return refresh.Point<points::UCPT_Boolean>("nciLocSptEnable").get_Value() == 0;
  });
  // With the local setpoint in use none of the remote controls is.
  Enable(refresh, source.remoteLine, IndexOf(refresh, page), RemoteControls, remote ? Role::Remote : Role::Long);
  return !remote;
}

void ShowLocalSetpoint(Refresh& refresh, SourcePage page, bool local) {
  const Page& source = PageOf(page);
  const int line = source.localLine;
  const int index = IndexOf(refresh, page);
  const auto shift = controls::txtnvosetptShift.At(index);
  if (!local) {  // no local control is in use
    Enable(refresh, line, index, source.order.remoteBranch, Role::Remote);
    if (source.notApplicableWhenRemote) refresh.SetText(line, shift, [] { return "N/A"; });
    return;
  }
  const bool longRange = refresh.If(
      line, [&] { return refresh.Point<points::UCPTsoftJumpers>("nciSoftJumpers").get_Bit(LongRangeJumper); });
  Enable(refresh, line, index, source.order.localBranch, longRange ? Role::Long : Role::Short);
  if (longRange) {
    refresh.SetText(line, shift, [] { return "N/A"; });
  } else {
    ShowShift(refresh, line, shift);
  }
}

void ShowSetpointSource(Refresh& refresh, SourcePage page) {
  ShowLocalSetpoint(refresh, page, ShowRemoteSetpoint(refresh, page));
}

}  // namespace mainwindow::refresh
