#pragma once

#include <array>
#include <string>

namespace mainwindow {

// The main window's settings file "OrvexUC_FCU.ini" in the program's folder: four lines taken by
// position.
using SettingsLines = std::array<std::string, 4>;

SettingsLines DefaultSettingsLines();
std::string SettingsFilePath();

// Reads the four values; each failing step (open, every read) is handed to `logFailure` and the
// values not read stay empty.
SettingsLines ReadSettingsFile(void (*logFailure)(const std::string& description));
// Creates or overwrites the file with the lines, each followed by CR LF; false when that fails.
bool WriteSettingsFile(const SettingsLines& lines);

}  // namespace mainwindow
