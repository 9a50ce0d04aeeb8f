#pragma once

#include <string>
#include <vector>

#include "forms/form.h"

namespace automation::testing {

// A small window for the channel's input and query verbs: a text box and a button that copies
// its text into a label, a button that asks a question, a timer that counts its ticks, a tab
// control with a combo box on its first page, and a file dialog.
class fChannelTest : public forms::Form {
 public:
  fChannelTest();

 private:
  void cmdApply_Click();
  void cmdAsk_Click();
  void cmdPick_Click();
  void tmrTick_Timer();
  int ticks_ = 0;
};

// The lines the test window's handlers write, oldest first; the test server's "log".
std::vector<std::string>& TestLog();

// Registers the layout and the form class (idempotent).
void AddTestForm();

}  // namespace automation::testing
