#pragma once

#include "forms/form.h"

namespace host {

// The registration dialog of a stand-alone start; closing it ends the process.
class fRegisterPlugIn : public forms::Form {
 public:
  fRegisterPlugIn();

 private:
  void Form_Load();
  void bRegister_Click();
  void bDeregister_Click();
  void bExit_Click();
  void Form_Unload();
  void EnableActions(bool enabled);
};

}  // namespace host
