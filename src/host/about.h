#pragma once

#include <string>

#include "forms/form.h"
#include "registry/registry.h"

namespace host {

// The About window: product, part number, and two live facts of the running plug-in.
class frmAbout : public forms::Form {
 public:
  frmAbout();
  // Starts System Information, or says it is unavailable.
  void StartSysInfo();
  // True when the value was read into `keyValue`.
  bool GetKeyValue(reg::HKEY keyRoot, const std::string& keyName, const std::string& subKeyRef, std::string& keyValue);

 private:
  void Form_Load();
};

}  // namespace host
