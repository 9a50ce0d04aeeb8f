#pragma once

#include <string>

#include "automation/request.h"
#include "forms/control.h"
#include "forms/form.h"

namespace automation {

// The loaded form a request names in "form"; 9 when no form of that name is loaded.
forms::Form& TargetForm(const Request& request);
// The control a request names in "form", "control" and "index" (for a control-array member).
forms::Control& TargetControl(const Request& request);

// A control as replies name it ({"name", "index"}); null for none.
Json ControlName(const forms::Control* control);

// The control as the kind a verb needs; 13 otherwise.
template <class T>
T& ControlOfKind(forms::Control& control, const std::string& kindName) {
  auto* typed = dynamic_cast<T*>(&control);
  if (!typed) {
    rt::Raise(rt::err::TypeMismatch, "automation", control.DisplayName() + " is a " + control.TypeName() + ", not a " + kindName);
  }
  return *typed;
}

}  // namespace automation
