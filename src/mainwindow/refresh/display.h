#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// How the pages turn the values their points hold into texts: the number formats, the null limit
// of temperatures, and the value-to-text tables that several pages share.
namespace mainwindow::refresh {

// Number patterns: one decimal ("#0.0"), a whole number ("#0"), one decimal without a leading
// zero below 1 ("#.0"). Halves away from zero; "." whatever the machine's locale.
inline constexpr std::string_view OneDecimal = "#0.0";
inline constexpr std::string_view WholeNumber = "#0";
inline constexpr std::string_view BareDecimal = "#.0";

// Temperatures from here up are the unit's "no value".
inline constexpr double NullLimit = 621.0;

std::string FormatNumber(double value, std::string_view pattern);
// "NULL" when `value` is `limit` or more (the value decides, not its rounded text); otherwise the
// value in `pattern`.
std::string FormatOrNull(double value, double limit, std::string_view pattern);
// The way nearly every temperature and setpoint is shown: FormatOrNull(value, 621.0, "#0.0").
std::string TemperatureText(double value);
// Rounded to one decimal place on its 15-digit decimal text, ties to the even digit, so that noise
// past the 15th digit cannot tip it (2.25 gives 2.2, 2.75 gives 2.8).
double DecimalTextRounded(double value);

template <class V>
struct TextRow {
  V value;
  std::string_view text;
};

// A value-to-text table: the rows are tested in order for exact equality, the first match wins and
// every other value takes `other`.
template <class V>
struct TextTable {
  std::span<const TextRow<V>> rows;
  std::string_view other;

  constexpr std::string_view operator()(V value) const {
    for (const auto& row : rows) {
      if (row.value == value) return row.text;
    }
    return other;
  }
};

namespace rows {
inline constexpr TextRow<uint8_t> HvacMode[] = {
    {0, "Automatic"},    {1, "Heating"},   {2, "Morning Warmup"},  {3, "Cooling"},          {4, "Night Purge"},
    {5, "PreCool"},      {6, "Off"},       {7, "Test"},            {8, "Emergency Heat"},   {9, "Fan Only"},
    {10, "Free Cool"},   {11, "Ice"},      {12, "Max Heat"},       {13, "Economy"},         {14, "Dehumid"},
    {15, "Calibrate"},   {16, "Emergency Cool"}, {17, "Emergency Steam"}, {255, "NULL"},
};
inline constexpr TextRow<uint8_t> UnitStatus[] = {
    {0, "Off Alarm"}, {1, "Off"},        {2, "Start"},   {3, "Fan Only"},
    {4, "Heating"},   {5, "Economizer"}, {6, "Cooling"}, {7, "Dehumidification"},
};
inline constexpr TextRow<uint8_t> Occupancy[] = {
    {0, "Occupied"}, {1, "Unoccupied"}, {2, "Bypass"}, {3, "Standby"}, {255, "NULL"},
};
inline constexpr TextRow<uint8_t> FanSwitch[] = {
    {0, "Off"}, {1, "Low"}, {2, "Med"}, {3, "High"}, {4, "Auto"}, {255, "NULL"},
};
inline constexpr TextRow<uint8_t> HeatCoolAuto[] = {
    {0, "OFF"}, {1, "Heat"}, {2, "Cool"}, {3, "Auto"}, {255, "NULL"},
};
inline constexpr TextRow<double> TerminalLoad[] = {
    {-100.0, "Heating"}, {100.0, "Cooling"}, {0.0, "None"},  // -0.0 equals 0.0
};
inline constexpr TextRow<bool> BitState[] = {{false, "Open"}, {true, "Closed"}};
}  // namespace rows

// HVAC modes (nviApplicMode, the mode of nvoUnitStatus).
inline constexpr TextTable<uint8_t> HvacModeText{rows::HvacMode, "Unknown"};
// The unit's own operating status (nvoTsnFcUnitStat); it has no null row.
inline constexpr TextTable<uint8_t> UnitStatusText{rows::UnitStatus, "Unknown"};
// Occupancy states; a site that shows fewer states says so with a table of its own.
inline constexpr TextTable<uint8_t> OccupancyText{rows::Occupancy, "Error"};
// The fan speed switch (nvoFanModeSpdSw).
inline constexpr TextTable<uint8_t> FanSwitchText{rows::FanSwitch, "ERROR"};
// The heat/cool/auto switch (nvoHeatCoolAuto); its first text is in capitals.
inline constexpr TextTable<uint8_t> HeatCoolAutoText{rows::HeatCoolAuto, "ERROR"};
// The terminal load, compared exactly: only the ends and zero have names.
inline constexpr TextTable<double> TerminalLoadText{rows::TerminalLoad, "Unknown"};
// The box of a bit row: a clear bit is "Open", a set one "Closed".
inline constexpr TextTable<bool> BitStateText{rows::BitState, ""};

// The names a bit row's caption gives the bit and its two states.
struct BitWords {
  std::string_view name;
  std::string_view clear;
  std::string_view set;
};
// The caption beside a bit row's box: "Freeze Fault = Alarm".
std::string BitCaption(const BitWords& words, bool set);

}  // namespace mainwindow::refresh
