#include "mainwindow/editors/contract.h"

#include <string>

#include "forms/control.h"
#include "forms/form.h"
#include "host/log.h"
#include "runtime/error.h"

namespace mainwindow::editors {
namespace {

constexpr const char* Busy = "Busy";

forms::TextControl& BoxOf(forms::Form& window, const std::string& control, int index) {
  return index < 0 ? window.Ctl<forms::TextControl>(control) : window.Ctl<forms::TextControl>(control, index);
}

}  // namespace

void AddEditor(forms::Form& window, const DeviceObject& fcu, std::string_view control, int member, Commit commit,
               Validator validate) {
  const std::string name(control);
  auto edits = [member](const forms::EventArgs& e) { return member == EveryMember || e.index == member; };
  auto run = [&window, fcu, name, validate](int index) {
    try {
      validate(BoxOf(window, name, index), index, fcu());
    } catch (const rt::Error& error) {
      host::WriteLog(name + ".Validate-" + error.Description() + " Line 0");
    }
  };
  window.On(control, forms::Event::GotFocus, [&window, name, edits](forms::EventArgs& e) {
    if (edits(e)) BoxOf(window, name, e.index).SetTag(Busy);
  });
  window.On(control, forms::Event::Validate, [edits, run](forms::EventArgs& e) {
    if (edits(e)) run(e.index);
  });
  window.On(control, forms::Event::LostFocus, [&window, name, edits, run, commit](forms::EventArgs& e) {
    if (!edits(e) || !window.IsActive()) return;
    if (commit == Commit::AgainOnLostFocus) run(e.index);
    BoxOf(window, name, e.index).SetTag("");
  });
}

void AttachEditors(forms::Form& window, const DeviceObject& fcu) {
  AttachComboEditors(window, fcu);
  AttachPropertyGrid(window, fcu);
  AttachTextEditors(window, fcu);
}

}  // namespace mainwindow::editors
