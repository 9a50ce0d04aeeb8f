#pragma once

#include <functional>
#include <string>
#include <vector>

namespace forms {
class Form;
}  // namespace forms

namespace host {

// The one sink of the plug-in's log lines: fMain.lstLog, which keeps the newest 500. A target of
// its own, so that the points log without linking the host.
void WriteLog(const std::string& message);
std::vector<std::string> LogLines();

// How the log reaches fMain, loading it when it is not loaded. The host's main-window seam sets
// it; until something has, writing raises error 91.
void SetLogWindow(std::function<forms::Form&()> window);

}  // namespace host
