#pragma once

#include <array>
#include <string_view>

#include "mainwindow/refresh/display.h"

// The "Device Setup" page's texts.
namespace mainwindow::refresh {

// The device's state as the Object Server reports it.
inline constexpr TextRow<int16_t> DeviceStateRows[] = {{4, "OnLine"},       {6, "OffLine"},
                                                       {12, "Soft OffLine"}, {3, "Applicationless"},
                                                       {2, "UnConfigured"},  {140, "Config Bypass"}};
inline constexpr TextTable<int16_t> DeviceStateText{DeviceStateRows, "Undefined"};

// One of the 34 configuration-property boxes txtCP(0..33).
struct ConfigBoxRow {
  std::string_view point;  // an Orvex_FCU point whose Value the box shows
  bool roundDecimalText;   // rounded through its decimal text before the format
  std::string_view pattern;
};

// Row k is txtCP(k).
inline constexpr std::array<ConfigBoxRow, 34> ConfigBoxRows{{
    {"nciOccDiff", true, OneDecimal},
    {"nciUnoccDiff", true, OneDecimal},
    {"nciSptAdjMax", true, OneDecimal},
    {"nciSptAdjMin", true, OneDecimal},
    {"nciCoolEnDiff", true, OneDecimal},
    {"nciCoolKp", true, OneDecimal},
    {"nciCoolKi", true, WholeNumber},
    {"nciCoolDB", true, OneDecimal},
    {"nciCoolVlvStroke", true, WholeNumber},
    {"nciHeatEnDiff", true, OneDecimal},
    {"nciHeatKp", true, OneDecimal},
    {"nciHeatKi", true, WholeNumber},
    {"nciHeatDB", true, OneDecimal},
    {"nciHeatVlvStroke", true, WholeNumber},
    {"nciEwtFlowTmr", false, WholeNumber},
    {"nciEwtSampleTmr", false, WholeNumber},
    {"nciFanMinOffTmr", false, WholeNumber},
    {"nciFanMinOnTmr", false, WholeNumber},
    {"nciCoolIntStgTmr", false, WholeNumber},
    {"nciHeatIntStgTmr", false, WholeNumber},
    {"nciFltrChangeHrs", false, WholeNumber},
    {"nciEconOaEnSpt", true, OneDecimal},
    {"nciEconOaEnDiff", true, OneDecimal},
    {"nciDaSptKp", true, OneDecimal},
    {"nciDaSptKi", true, WholeNumber},
    {"nciMaxDaSpt", true, OneDecimal},
    {"nciMinDaSpt", true, OneDecimal},
    {"nciEconPosKp", true, OneDecimal},
    {"nciEconPosKi", true, WholeNumber},
    {"nciEconDB", true, OneDecimal},
    {"nciEconStroke", true, WholeNumber},
    {"nciEconLowMin", true, OneDecimal},
    {"nciEconMedMin", true, OneDecimal},
    {"nciEconHighMin", true, OneDecimal},
}};

}  // namespace mainwindow::refresh
