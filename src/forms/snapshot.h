#pragma once

#include <nlohmann/json.hpp>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/msgbox.h"

// Read-only views of the model as JSON, for the automation channel's queries.
namespace forms {

// Every property of the control by its toolkit name (colours as "#RRGGBB" or a system colour name;
// lists and tab pages as arrays), plus "Kind", "Container", "Page", "EffectiveVisible",
// "EffectiveEnabled" and "HasFocus".
nlohmann::json Describe(const Control& control);
// The form's properties, "Loaded", "Active", "ActiveControl" and "Controls" (each described).
nlohmann::json Describe(const Form& form);
nlohmann::json Describe(const MsgBoxRecord& box);
nlohmann::json Describe(const FileDialogRecord& dialog);

}  // namespace forms
