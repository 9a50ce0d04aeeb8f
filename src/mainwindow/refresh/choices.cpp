#include "mainwindow/refresh/choices.h"

#include "mainwindow/refresh/page_steps.h"

namespace mainwindow::refresh {

std::string_view TestedChoice(Refresh& refresh, int line, const TextTable<int>& table,
                              const std::function<int()>& value) {
  for (const auto& row : table.rows) {
    if (refresh.If(line, [&] { return value() == row.value; })) return row.text;
  }
  return table.other;
}

}  // namespace mainwindow::refresh
