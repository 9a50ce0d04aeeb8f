#include "mainwindow/editors/contract.h"

#include <string>

#include "forms/control.h"
#include "forms/controls_text.h"
#include "forms/form.h"
#include "host/log.h"
#include "runtime/error.h"

namespace mainwindow::editors {
namespace {

constexpr const char* Busy = "Busy";

using Box = forms::ControlRef<forms::TextControl>;
using Boxes = forms::ControlArray<forms::TextControl>;

// Whether an event of array member `index` (-1: a single control) is the editor's, and its box.
bool Edits(const Box& box, int index) { return index == box.index; }
bool Edits(const Boxes&, int) { return true; }
Box MemberOf(const Box& box, int) { return box; }
Box MemberOf(const Boxes& boxes, int index) { return boxes.At(index); }

template <class Control>
void Attach(forms::Form& window, const DeviceObject& fcu, const Control& control, Commit commit, Validator validate) {
  auto run = [&window, fcu, control, validate](int index) {
    try {
      validate(window.Ctl(MemberOf(control, index)), index, fcu());
    } catch (const rt::Error& error) {
      host::WriteLog(std::string(control.name) + ".Validate-" + error.Description() + " Line 0");
    }
  };
  window.On(control, forms::Event::GotFocus, [&window, control](forms::EventArgs& e) {
    if (Edits(control, e.index)) window.Ctl(MemberOf(control, e.index)).SetTag(Busy);
  });
  window.On(control, forms::Event::Validate, [control, run](forms::EventArgs& e) {
    if (Edits(control, e.index)) run(e.index);
  });
  window.On(control, forms::Event::LostFocus, [&window, control, run, commit](forms::EventArgs& e) {
    if (!Edits(control, e.index) || !window.IsActive()) return;
    if (commit == Commit::AgainOnLostFocus) run(e.index);
    window.Ctl(MemberOf(control, e.index)).SetTag("");
  });
}

}  // namespace

void AddEditor(forms::Form& window, const DeviceObject& fcu, const Box& box, Commit commit, Validator validate) {
  Attach(window, fcu, box, commit, std::move(validate));
}

void AddEditor(forms::Form& window, const DeviceObject& fcu, const Boxes& boxes, Commit commit, Validator validate) {
  Attach(window, fcu, boxes, commit, std::move(validate));
}

void AttachEditors(forms::Form& window, const DeviceObject& fcu) {
  AttachComboEditors(window, fcu);
  AttachPropertyGrid(window, fcu);
  AttachTextEditors(window, fcu);
}

}  // namespace mainwindow::editors
