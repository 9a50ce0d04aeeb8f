#pragma once

#include <string>

#include "forms/form.h"

namespace host {

// The small modeless window with one status line shown while the plug-in works.
class fProgress : public forms::Form {
 public:
  fProgress();
  // Shows the window when hidden, sets the status line and lets it be drawn at once.
  void put_DisplayStatus(const std::string& text);
  // The status line set directly, as the command flow does while the window is shown.
  void SetStatus(const std::string& text);

 private:
  void Form_Load();
  void Form_Unload();
};

// Unloads the process-wide instance when it exists, so the next use starts from the design.
void UnloadProgressWindow();

}  // namespace host
