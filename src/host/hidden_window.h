#pragma once

#include <string>

#include "forms/form.h"

namespace host {

// A window that is never shown: it only hosts the common file dialog that asks for the XIF file.
class fHidden : public forms::Form {
 public:
  fHidden();
  // The chosen file's full path when its program ID fits the wanted one; "" when it does not,
  // on Cancel and on any error.
  std::string DlgXIF(const std::string& initialFolder, const std::string& wanted);
};

}  // namespace host
