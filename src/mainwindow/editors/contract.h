#pragma once

#include <functional>

#include "forms/control_ref.h"
#include "forms/controls_text.h"
#include "mainwindow/editors/editors.h"

namespace mainwindow::editors {

// What an editor does with its box when the focus is about to leave it: map, clamp or cut the
// entry, set the point and write it. `index` is the member of a control array, -1 for a single box.
using Validator = std::function<void(forms::TextControl& box, int index, device::Orvex_FCU& fcu)>;

// A combo box commits again when it has lost the focus; a text box only on validation.
enum class Commit { OnValidate, AgainOnLostFocus };

// GotFocus marks the box "Busy"; Validate runs `validate` and never keeps the focus; LostFocus
// (combo boxes: after validating again) clears the mark. A switch to another window is no
// departure: the box stays "Busy" and commits when the focus later leaves it inside the window.
// An error of `validate` is logged as "<control>.Validate-<description> Line 0"; nothing after
// it runs, so nothing is written.
// A single box, or the one member of an array that edits: the array's display members never do.
void AddEditor(forms::Form& window, const DeviceObject& fcu, const forms::ControlRef<forms::TextControl>& box,
               Commit commit, Validator validate);
// Every member of an array.
void AddEditor(forms::Form& window, const DeviceObject& fcu, const forms::ControlArray<forms::TextControl>& boxes,
               Commit commit, Validator validate);

// The groups of editors.
void AttachComboEditors(forms::Form& window, const DeviceObject& fcu);
void AttachPropertyGrid(forms::Form& window, const DeviceObject& fcu);
void AttachTextEditors(forms::Form& window, const DeviceObject& fcu);

}  // namespace mainwindow::editors
