#pragma once

#include <functional>
#include <string_view>

#include "mainwindow/refresh/display.h"

namespace mainwindow::refresh {

class Refresh;

// The text of the first row of `table` whose value `value` gives, each row's test reading the value
// afresh under `line`; a test that fails chooses its own row. No row matching: the table's other.
std::string_view TestedChoice(Refresh& refresh, int line, const TextTable<int>& table,
                              const std::function<int()>& value);

}  // namespace mainwindow::refresh
