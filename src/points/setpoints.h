#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "points/value_text.h"
#include "runtime/members.h"
#include "runtime/steps.h"

// Six temperature setpoints travelling as one value: cooling and heating for occupied, standby and
// unoccupied, in degrees Fahrenheit.
namespace points {

// The data order: of the value texts and of the raw bytes.
enum Setpoint {
  occupied_cool,
  standby_cool,
  unoccupied_cool,
  occupied_heat,
  standby_heat,
  unoccupied_heat,
  SetpointCount
};
using Setpoints = std::array<double, SetpointCount>;

// The number texts in data order joined by "," ("72,75,85,68,64,60").
std::string SetpointsText(const Setpoints& setpoints);
// Exactly six fields (five commas, counted up to six), each by the leading-number rule.
std::optional<Setpoints> ParseSetpointsText(std::string_view text);

// Hundredths of a degree Celsius, signed 16-bit, high byte first: twelve entries joined by TAB,
// the text logged as vOutPrefix & text & "<" as it grows. Error 6 when a setpoint lies beyond
// 16 bits; nothing is logged then.
std::string RawSetpointsText(const Setpoints& setpoints, std::string_view className, std::string_view vOutPrefix);
// The twelve entries of that text into `setpoints`: false, changing nothing, unless the text has
// exactly eleven TABs. Each setpoint is step `line`: one whose bytes do not convert keeps its value.
bool TakeRawSetpoints(rt::Steps& steps, int line, std::string_view text, Setpoints& setpoints);

// A point of family Base holding six setpoints; each Let sets Changed.
template <class Base>
class SetpointsPoint : public Base {
 public:
  void put_Setpoint(Setpoint setpoint, double value) {
    m_Setpoints[setpoint] = value;
    this->m_Changed = true;
  }
  double get_Setpoint(Setpoint setpoint) const noexcept { return m_Setpoints[setpoint]; }
  void put_occupied_cool(double v) { put_Setpoint(occupied_cool, v); }
  double get_occupied_cool() const { return get_Setpoint(occupied_cool); }
  void put_unoccupied_cool(double v) { put_Setpoint(unoccupied_cool, v); }
  double get_unoccupied_cool() const { return get_Setpoint(unoccupied_cool); }
  void put_standby_cool(double v) { put_Setpoint(standby_cool, v); }
  double get_standby_cool() const { return get_Setpoint(standby_cool); }
  void put_occupied_heat(double v) { put_Setpoint(occupied_heat, v); }
  double get_occupied_heat() const { return get_Setpoint(occupied_heat); }
  void put_unoccupied_heat(double v) { put_Setpoint(unoccupied_heat, v); }
  double get_unoccupied_heat() const { return get_Setpoint(unoccupied_heat); }
  void put_standby_heat(double v) { put_Setpoint(standby_heat, v); }
  double get_standby_heat() const { return get_Setpoint(standby_heat); }

 protected:
  using Base::Base;

  // All six in data order: as their number texts in `formattedNames`, otherwise raw (an unknown
  // format forced to "RAW" first), the raw text logged as vOutPrefix & text & "<" as it grows.
  void SendSetpoints(rt::Steps& steps, FormatNames formattedNames, std::string_view vOutPrefix) {
    const auto& lines = this->Class().writeSteps;
    std::string formatName = this->ReadFormat(steps, lines.format);
    if (IsListed(formattedNames, formatName)) {
      this->PutValue(steps, lines.send, [&] { return rt::Variant::String(SetpointsText(m_Setpoints)); });
    } else if (IsRawFormat(formatName) || this->ForceOnWrite(steps, formatName)) {
      this->PutValue(steps, lines.send, [&] {
        return rt::Variant::String(RawSetpointsText(m_Setpoints, this->Class().name, vOutPrefix));
      });
    }
  }

  Setpoints m_Setpoints{};
};

// The six properties in interface order, of a class with get_Setpoint and put_Setpoint.
template <class T>
std::vector<rt::Member<T>> SetpointMembers() {
  static constexpr std::array<std::pair<std::string_view, Setpoint>, SetpointCount> InterfaceOrder{{
      {"occupied_cool", occupied_cool},
      {"unoccupied_cool", unoccupied_cool},
      {"standby_cool", standby_cool},
      {"occupied_heat", occupied_heat},
      {"unoccupied_heat", unoccupied_heat},
      {"standby_heat", standby_heat},
  }};
  std::vector<rt::Member<T>> members;
  for (auto [name, setpoint] : InterfaceOrder) {
    members.push_back(rt::Get(name, [setpoint](T& p) { return p.get_Setpoint(setpoint); }));
    members.push_back(
        rt::Let(name, [setpoint](T& p, rt::Args& a) { p.put_Setpoint(setpoint, rt::AssignedValue(a).ToDouble()); }));
  }
  return members;
}

}  // namespace points
