#pragma once

#include <functional>
#include <string_view>

#include "mainwindow/editors/editors.h"

namespace forms {
class TextControl;
}  // namespace forms

namespace mainwindow::editors {

// What an editor does with its box when the focus is about to leave it: map, clamp or cut the
// entry, set the point and write it. `index` is the member of a control array, -1 for a single box.
using Validator = std::function<void(forms::TextControl& box, int index, device::Orvex_FCU& fcu)>;

// A combo box commits again when it has lost the focus; a text box only on validation.
enum class Commit { OnValidate, AgainOnLostFocus };

// The member of `control` that is edited: an array's display members never edit.
inline constexpr int SingleBox = -1;
inline constexpr int EveryMember = -2;

// GotFocus marks the box "Busy"; Validate runs `validate` and never keeps the focus; LostFocus
// (combo boxes: after validating again) clears the mark. A switch to another window is no
// departure: the box stays "Busy" and commits when the focus later leaves it inside the window.
// An error of `validate` is logged as "<control>.Validate-<description> Line 0"; nothing after
// it runs, so nothing is written.
void AddEditor(forms::Form& window, const DeviceObject& fcu, std::string_view control, int member, Commit commit,
               Validator validate);

// The groups of editors.
void AttachComboEditors(forms::Form& window, const DeviceObject& fcu);
void AttachPropertyGrid(forms::Form& window, const DeviceObject& fcu);
void AttachTextEditors(forms::Form& window, const DeviceObject& fcu);

}  // namespace mainwindow::editors
