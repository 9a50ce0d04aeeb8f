#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "device/orvex_fcu.h"
#include "forms/control.h"
#include "forms/control_ref.h"
#include "forms/controls_text.h"
#include "mainwindow/fmain.h"
#include "mainwindow/fmain_controls.h"
#include "mainwindow/page_refresh.h"
#include "mainwindow/refresh/display.h"
#include "points/setpoints.h"
#include "runtime/error.h"
#include "runtime/steps.h"

// What the page steps of RefreshMainForm share: one refresh's statement runner, the points and
// controls it reaches, and the steps themselves.
namespace mainwindow::refresh {

// One run of RefreshMainForm. Every statement runs under its step runner: a statement that fails is
// logged with its line number and the next statement runs; a failing test takes its branch; a
// failing read of a selection's value leaves the selection's working copy at its start value.
class Refresh {
 public:
  Refresh(fMain& window, RefreshState& state);

  fMain& Window() const noexcept { return window_; }
  RefreshState& State() const noexcept { return state_; }

  void operator()(int line, const std::function<void()>& statement) { steps_(line, statement); }
  bool If(int line, const std::function<bool()>& test) { return steps_.If(line, test); }
  template <class T>
  T Get(int line, const std::function<T()>& read, T fallback) {
    return steps_.Get<T>(line, read, std::move(fallback));
  }

  // The point object behind one of the device object's point properties: error 91 where a client
  // has put Nothing, 13 for a point of another class.
  template <class P>
  P& Point(std::string_view property) const {
    const auto& point = window_.FCU().Point(property);
    auto* typed = dynamic_cast<P*>(point.Get());
    if (typed == nullptr) throw rt::Error(point.IsNothing() ? rt::err::ObjectNotSet : rt::err::TypeMismatch);
    return *typed;
  }
  template <class C>
  C& Ctl(const forms::ControlRef<C>& control) const {
    return window_.Ctl(control);
  }

  // The row statements of the pages.
  void SetText(int line, const forms::ControlRef<forms::TextControl>& box, const std::function<std::string()>& text);
  void SetEnabled(int line, const forms::ControlRef<forms::Control>& control, bool enabled);
  // The "Busy" guard of an editable box: `write`, the point's read included, runs unless the
  // box's editor holds it, which it shows by a Tag of exactly "Busy". A Tag that cannot be read
  // does not protect the box.
  void UnlessBusy(int line, const forms::ControlRef<forms::Control>& box, const std::function<void()>& write);

 private:
  fMain& window_;
  RefreshState& state_;
  rt::Steps steps_;
};

// The texts of the page rows. A selection reads its value once, under the row's line; when that read
// fails the selection's working copy keeps its start value, 0, and shows that value's text.
template <class V>
std::string Selected(Refresh& refresh, int line, const TextTable<V>& table, const std::function<V()>& read) {
  return std::string(table(refresh.Get<V>(line, read, V{})));
}
// A temperature point's value (SNVT_temp_p).
double Temperature(const Refresh& refresh, std::string_view property);
// One of the six configured setpoints (nciSetpoints).
double ConfiguredSetpoint(const Refresh& refresh, points::Setpoint setpoint);
// The communication module's software version, major "." minor (nciDevMajVer, nciDevMinVer).
std::string VersionText(const Refresh& refresh);
// The effective occupancy (nvoEffectOccup).
uint8_t EffectiveOccupancy(const Refresh& refresh);

// The cooling and heating setpoints of an occupancy: unoccupied (1) and standby (3) have their
// own; occupied (0), bypass, null and any other value take the occupied pair.
struct SetpointPair {
  points::Setpoint cool;
  points::Setpoint heat;
};
SetpointPair PairOf(uint8_t occupancy);

// The heating (1) or cooling (2) view of the unit: its own status when it is heating, economizing
// or cooling, otherwise bit 15 of its application status. A point it cannot read fails the
// calling statement.
int16_t GetHeatCoolMode(const Refresh& refresh);

// The page steps, in the order the dispatch tests the current tab. Each reads the values the
// points hold and writes the page's controls; none reads the device.
void StatusPage(Refresh& refresh);
void SetpointGraph(Refresh& refresh);
void GeneralPage(Refresh& refresh);
void DeviceSetupPage(Refresh& refresh);
void InputOutputPage(Refresh& refresh);
void JumpersPage(Refresh& refresh);
// The Status page's unit schematic, the last writes of the Status step.
void UnitSchematic(Refresh& refresh);

// Which setpoint controls are in use, and the shift that applies. The Status page runs the two
// halves apart, with its remote sensor rows between them; the General page runs them together.
enum class SourcePage { Status, General };
// Reads the local-setpoint flag once and enables the remote setpoint controls exactly when the
// flag is 0. Returns whether the local setpoint is in use.
bool ShowRemoteSetpoint(Refresh& refresh, SourcePage page);
// The local setpoint's range, its controls and the shift box.
void ShowLocalSetpoint(Refresh& refresh, SourcePage page, bool local);
void ShowSetpointSource(Refresh& refresh, SourcePage page);

}  // namespace mainwindow::refresh
