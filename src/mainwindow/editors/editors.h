#pragma once

#include <functional>

namespace device {
class Orvex_FCU;
}  // namespace device

namespace forms {
class Form;
}  // namespace forms

// The main window's editors: every white box and combo box a technician types or picks a value
// in. Each writes its point to the device as soon as the focus leaves it, and keeps the page
// refresh off its text while it has the focus (its Tag is "Busy" then).
namespace mainwindow::editors {

// The device object whose points the editors set and write; asked for at each edit.
using DeviceObject = std::function<device::Orvex_FCU&()>;

// Registers the editors' focus and validation handlers on the main window, before it loads.
void AttachEditors(forms::Form& window, const DeviceObject& fcu);

}  // namespace mainwindow::editors
