#pragma once

#include <array>
#include <string_view>

// The rows of the "Input/Output" page that show one bit of a status word as a box ("Open" or
// "Closed") and a caption naming the bit's state.
namespace mainwindow::refresh {

struct BitRow {
  int bit;
  std::string_view clear;  // the caption while the bit is clear
  std::string_view set;
};

// nvoBinaryIn bits 0 to 5, to TxtBinaryIn(k) and lbl_IO(k).
inline constexpr std::array<BitRow, 6> BinaryInputRows{{
    {0, "Freeze Fault = Normal", "Freeze Fault = Alarm"},
    {1, "Occupancy Sensor = Unocc", "Occupancy Sensor = Occ"},
    {2, "Condensate Overflow = Dry", "Condensate Overflow = Wet"},
    {3, "Emergency Shutdown = Normal", "Emergency Shutdown = Alarm"},
    {4, "Dirty Air Filter = Normal", "Dirty Air Filter = Alarm"},
    {5, "Humidistat = Not Required", "Humidistat = Required"},
}};

// nvoBinaryOut bits 0 to 12 go to TxtBinaryOut(k) as "Off" or "On"; their labels never change.
inline constexpr int BinaryOutputCount = 13;

// nvoUnitAppStatus bits 0 to 11, to txtUnitAppStat(k) and lblUnitAppStat(k).
inline constexpr std::array<BitRow, 12> AppStatusRows{{
    {0, "Heating Valve = Disabled", "Heating Valve = Enabled"},
    {1, "Cooling Valve = Disabled", "Cooling Valve = Enabled"},
    {2, "Economizer = Disabled", "Economizer = Enabled"},
    {3, "Dehumid = Disabled", "Dehumid = Enabled"},
    {4, "Electric Heat S1 = Disabled", "Electric Heat S1 = Enabled"},
    {5, "Electric Heat S2 = Disabled", "Electric Heat S2 = Enabled"},
    {6, "Heating Valve Cal = Inactive", "Heating Valve Cal = Active"},
    {7, "Cooling Valve Cal = Inactive", "Cooling Valve Cal = Active"},
    {8, "Economizer Cal = Inactive", "Economizer Cal = Active"},
    {9, "EWT Sampling = Inactive", "EWT Sampling = Active"},
    {10, "EWT Heat Sampling = Normal", "EWT Heat Sampling = Error"},
    {11, "EWT Cool Sampling = Normal", "EWT Cool Sampling = Error"},
}};

// nvoUnitFaults to txtUnitFaults(k) and lblUnitFaults(k). Bit 11 means nothing to the unit and has
// no row, so rows 11 to 14 show bits 12 to 15.
inline constexpr std::array<BitRow, 15> FaultRows{{
    {0, "Equipment Config = Normal", "Equipment Config = Invalid"},
    {1, "Emergency Shutdown = Normal", "Emergency Shutdown = Shutdown"},
    {2, "Freeze Fault = Normal", "Freeze Fault = Failed"},
    {3, "EWT Sensor = Normal", "EWT Sensor = Failed"},
    {4, "Room Temp Sensor = Normal", "Room Temp Sensor = Failed"},
    {5, "IO Exp Communications = Normal", "IO Exp Communications = Failed"},
    {6, "Condensate Overflow = Dry", "Condensate Overflow = Wet"},
    {7, "OAT Sensor = Normal", "OAT Sensor = Failed"},
    {8, "DAT Sensor = Normal", "DAT Sensor = Failed"},
    {9, "Air Filter = Normal", "Air Filter = Dirty"},
    {10, "Serial EEPROM = Good", "Serial EEPROM = Corrupted"},
    {12, "Comm Mod Communications = Good", "Comm Mod Communications = Fail"},
    {13, "Valid Comm Module Software", "Invalid Comm Module Software"},
    {14, "Valid IO Expansion Software", "Invalid IO Expansion Software"},
    {15, "SPI Table Size = Good", "SPI Table Size = Fail"},
}};

}  // namespace mainwindow::refresh
