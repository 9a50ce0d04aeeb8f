#pragma once

#include <string>
#include <vector>

namespace host {

// The one sink of the plug-in's log lines: fMain.lstLog, which keeps the newest 500.
void WriteLog(const std::string& message);
std::vector<std::string> LogLines();

}  // namespace host
