// The number formats, the null limit and the value-to-text tables the pages share.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "mainwindow/refresh/display.h"

namespace mainwindow::refresh {
namespace {

TEST(Display, NumberFormats) {
  struct Case {
    double value;
    std::string_view pattern;
    const char* text;
  };
  for (const Case& c : {Case{0, OneDecimal, "0.0"}, {12, OneDecimal, "12.0"}, {2.25, OneDecimal, "2.3"},
                        {71.96, OneDecimal, "72.0"}, {-3.25, OneDecimal, "-3.3"}, {119.5, WholeNumber, "120"},
                        {1200, WholeNumber, "1200"}, {0.46, BareDecimal, ".5"}, {72.04, BareDecimal, "72.0"},
                        {-42985.7, BareDecimal, "-42985.7"}}) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
  }
}

TEST(Display, TemperaturesAtTheNullLimitShowNull) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : {Case{621.0, "NULL"}, {621.806, "NULL"}, {620.96, "621.0"}, {-40, "-40.0"}, {0, "0.0"}}) {
    EXPECT_EQ(TemperatureText(c.value), c.text) << c.value;
  }
  EXPECT_EQ(FormatOrNull(100, 100, WholeNumber), "NULL");
  EXPECT_EQ(FormatOrNull(99.5, 100, WholeNumber), "100");
}

TEST(Display, DecimalTextRoundingTiesToEven) {
  for (auto [value, rounded] : {std::pair{2.25, 2.2}, {2.75, 2.8}, {33.333, 33.3}, {0.15, 0.2}, {-2.25, -2.2}}) {
    EXPECT_DOUBLE_EQ(DecimalTextRounded(value), rounded) << value;
  }
}

TEST(Display, TheDecimalPointIgnoresTheMachinesLocale) {
  if (std::setlocale(LC_ALL, "de_DE.utf8") == nullptr) GTEST_SKIP() << "no German locale";
  const std::string text = TemperatureText(2.25) + " " + FormatNumber(0.46, BareDecimal);
  const double rounded = DecimalTextRounded(2.75);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(text, "2.3 .5");
  EXPECT_DOUBLE_EQ(rounded, 2.8);
}

TEST(Display, ByteTables) {
  struct Case {
    const TextTable<uint8_t>& table;
    uint8_t value;
    const char* text;
  };
  for (const Case& c : {Case{HvacModeText, 0, "Automatic"}, {HvacModeText, 8, "Emergency Heat"},
                        {HvacModeText, 17, "Emergency Steam"}, {HvacModeText, 18, "Unknown"},
                        {HvacModeText, 255, "NULL"}, {UnitStatusText, 0, "Off Alarm"},
                        {UnitStatusText, 7, "Dehumidification"}, {UnitStatusText, 255, "Unknown"},
                        {OccupancyText, 2, "Bypass"}, {OccupancyText, 3, "Standby"}, {OccupancyText, 4, "Error"},
                        {OccupancyText, 255, "NULL"}, {FanSwitchText, 0, "Off"}, {FanSwitchText, 4, "Auto"},
                        {FanSwitchText, 5, "ERROR"}, {FanSwitchText, 255, "NULL"}, {HeatCoolAutoText, 0, "OFF"},
                        {HeatCoolAutoText, 3, "Auto"}, {HeatCoolAutoText, 4, "ERROR"},
                        {HeatCoolAutoText, 255, "NULL"}}) {
    EXPECT_EQ(c.table(c.value), c.text) << int(c.value);
  }
}

TEST(Display, TerminalLoadIsNamedOnlyAtItsEndsAndZero) {
  for (auto [load, text] : {std::pair{-100.0, "Heating"}, {100.0, "Cooling"}, {0.0, "None"}, {-0.0, "None"},
                            {100.0000001, "Unknown"}, {50.0, "Unknown"}, {-99.9, "Unknown"}}) {
    EXPECT_EQ(TerminalLoadText(load), text) << load;
  }
}

TEST(Display, BitRows) {
  const BitWords freeze{"Freeze Fault", "Normal", "Alarm"};
  EXPECT_EQ(std::string(BitStateText(false)) + " / " + BitCaption(freeze, false), "Open / Freeze Fault = Normal");
  EXPECT_EQ(std::string(BitStateText(true)) + " / " + BitCaption(freeze, true), "Closed / Freeze Fault = Alarm");
}

}  // namespace
}  // namespace mainwindow::refresh
