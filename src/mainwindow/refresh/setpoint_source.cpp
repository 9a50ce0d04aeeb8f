#include <span>
#include <string>

#include "mainwindow/refresh/page_steps.h"
#include "points/cp/byte_points.h"
#include "points/cp/soft_jumpers.h"
#include "points/nv/snvt_temp_setpt.h"

namespace mainwindow::refresh {
namespace {

constexpr int LongRangeJumper = 2;

// The controls of one role: the remote inputs, the long-range setpoint or the short-range shift.
enum class Role { Remote, Long, Short };
struct Control {
  std::string_view name;
  Role role;
  bool framed = false;  // a frame of the General page, a single control
};

constexpr Control RemoteControls[] = {{"txtnviSetpoint", Role::Remote},
                                      {"txtnviSetptOffset", Role::Remote},
                                      {"lblnviSetpoint", Role::Remote},
                                      {"lblnviSetptOffset", Role::Remote}};

// The local controls in the order each branch writes them.
struct LocalOrder {
  std::span<const Control> remoteBranch;
  std::span<const Control> localBranch;
};
constexpr Control StatusRemoteBranch[] = {{"txtnvoSetpoint", Role::Long},
                                          {"lblLongRange", Role::Long},
                                          {"txtnvosetptShift", Role::Short},
                                          {"lblShortRange", Role::Short}};
constexpr Control StatusLocalBranch[] = {{"txtnvoSetpoint", Role::Long},
                                         {"txtnvosetptShift", Role::Short},
                                         {"lblLongRange", Role::Long},
                                         {"lblShortRange", Role::Short}};
constexpr Control GeneralRemoteBranch[] = {{"fraLongRange", Role::Long, true},   {"fraShortRange", Role::Short, true},
                                           {"txtnvoSetpoint", Role::Long},       {"lblLongRange", Role::Long},
                                           {"txtnvosetptShift", Role::Short},    {"lblShortRange", Role::Short}};
constexpr Control GeneralLocalBranch[] = {{"txtnvoSetpoint", Role::Long},    {"txtnvosetptShift", Role::Short},
                                          {"fraLongRange", Role::Long, true}, {"fraShortRange", Role::Short, true},
                                          {"lblLongRange", Role::Long},       {"lblShortRange", Role::Short}};

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
  return page == SourcePage::Status ? refresh.Window().m_StatusIdx : 2;
}

void Enable(Refresh& refresh, int line, int index, std::span<const Control> controls, Role inUse) {
  for (const Control& control : controls) {
    refresh.SetEnabled(line, control.name, control.framed ? -1 : index, control.role == inUse);
  }
}

constexpr std::string_view FieldNames[points::SetpointCount] = {
    "occupied_cool", "standby_cool", "unoccupied_cool", "occupied_heat", "standby_heat", "unoccupied_heat"};

// The shift that applies: the effective occupancy's pair, its cooling field in the cooling view.
void ShowShift(Refresh& refresh, int line, int index) {
  const uint8_t occupancy = refresh.Get<uint8_t>(line, [&] { return EffectiveOccupancy(refresh); }, 0);
  const SetpointPair pair = PairOf(occupancy);
  const bool cooling = refresh.If(line, [&] { return GetHeatCoolMode(refresh) == 2; });
  const points::Setpoint field = cooling ? pair.cool : pair.heat;
  refresh.SetText(line, "txtnvosetptShift", index, [&] {
    return TemperatureText(refresh.Point<points::SNVT_temp_setpt>("nvoSetptShift").get_Setpoint(field));
  });
  refresh(line, [&] {
    refresh.Ctl("txtnvosetptShift", index).SetToolTipText("nvoSetptShift." + std::string(FieldNames[field]));
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
  if (!local) {  // no local control is in use
    Enable(refresh, line, index, source.order.remoteBranch, Role::Remote);
    if (source.notApplicableWhenRemote) refresh.SetText(line, "txtnvosetptShift", index, [] { return "N/A"; });
    return;
  }
  const bool longRange = refresh.If(
      line, [&] { return refresh.Point<points::UCPTsoftJumpers>("nciSoftJumpers").get_Bit(LongRangeJumper); });
  Enable(refresh, line, index, source.order.localBranch, longRange ? Role::Long : Role::Short);
  if (longRange) {
    refresh.SetText(line, "txtnvosetptShift", index, [] { return "N/A"; });
  } else {
    ShowShift(refresh, line, index);
  }
}

void ShowSetpointSource(Refresh& refresh, SourcePage page) {
  ShowLocalSetpoint(refresh, page, ShowRemoteSetpoint(refresh, page));
}

}  // namespace mainwindow::refresh
