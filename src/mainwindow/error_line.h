#pragma once

#include <string>

#include "runtime/error.h"

namespace mainwindow {

// The window's log line for a failed statement: "Error - <description> Line <n> <procedure> -
// Error #<number>".
inline std::string ErrorLine(const rt::Error& error, int line, const std::string& procedure) {
  return "Error - " + error.Description() + " Line " + std::to_string(line) + " " + procedure + " - Error #" +
         std::to_string(error.Number());
}

}  // namespace mainwindow
