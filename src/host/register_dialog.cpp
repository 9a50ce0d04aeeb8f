#include "host/register_dialog.h"

#include <exception>

#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/identity.h"
#include "host/main_window.h"
#include "host/startup.h"

namespace host {
namespace {

constexpr int CompleteModeIndex = 1;

// The buttons have no handling of their own: a failure is shown and the dialog stays open.
bool RunReportingFailure(const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception&) {
    const rt::Error error = rt::AsError(std::current_exception());
    forms::MsgBox(error.Description(), forms::vbOKOnly | forms::vbCritical);
    return false;
  }
}

}  // namespace

fRegisterPlugIn::fRegisterPlugIn() : Form("fRegisterPlugIn") {
  On(forms::Event::Load, [this](forms::EventArgs&) { Form_Load(); });
  On("bRegister", forms::Event::Click, [this](forms::EventArgs&) { bRegister_Click(); });
  On("bDeregister", forms::Event::Click, [this](forms::EventArgs&) { bDeregister_Click(); });
  On("bExit", forms::Event::Click, [this](forms::EventArgs&) { bExit_Click(); });
  On(forms::Event::Unload, [this](forms::EventArgs&) { Form_Unload(); });
}

void fRegisterPlugIn::Form_Load() {
  SetCaption(PlugInName);
  auto& modes = Ctl<forms::ComboBox>("cmbDeregMode");
  modes.Clear();
  for (const char* mode : {"Minimal Mode", "Complete Mode", "Exhaustive Mode"}) modes.AddItem(mode);
  modes.SetListIndex(CompleteModeIndex);
}

void fRegisterPlugIn::bRegister_Click() {
  if (RunReportingFailure([] { RegisterPlugIn(true); })) Unload();
}

void fRegisterPlugIn::bDeregister_Click() {
  const int32_t mode = Ctl<forms::ComboBox>("cmbDeregMode").ListIndex() - 1;
  EnableActions(false);
  Refresh();
  forms::DoEvents();
  const bool done = RunReportingFailure([mode] { DeregisterAll(mode, true); });
  // Window messages ran meanwhile: the dialog may be gone already.
  if (!IsLoaded()) return;
  EnableActions(true);
  if (done) Unload();
}

void fRegisterPlugIn::bExit_Click() { Unload(); }

void fRegisterPlugIn::Form_Unload() { fMain().EndPlugIn(); }

// The list is locked and the buttons disabled so that no second action starts meanwhile.
void fRegisterPlugIn::EnableActions(bool enabled) {
  Ctl<forms::ComboBox>("cmbDeregMode").SetLocked(!enabled);
  for (const char* button : {"bRegister", "bDeregister", "bExit"}) Ctl(button).SetEnabled(enabled);
}

}  // namespace host
