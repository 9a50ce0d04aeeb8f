#include "host/progress.h"

#include "forms/app.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "host/identity.h"

namespace host {

fProgress::fProgress() : Form("fProgress") {
  On(forms::Event::Load, [this](forms::EventArgs&) { Form_Load(); });
  On(forms::Event::Unload, [this](forms::EventArgs&) { Form_Unload(); });
}

void fProgress::Form_Load() {
  SetCaption(PlugInName);
  forms::Screen().SetMousePointer(forms::vbHourglass);
}

void fProgress::Form_Unload() { forms::Screen().SetMousePointer(forms::vbDefault); }

void fProgress::put_DisplayStatus(const std::string& text) {
  if (!Visible()) Show(forms::vbModeless);
  SetStatus(text);
  forms::DoEvents();
}

void fProgress::SetStatus(const std::string& text) { Ctl<forms::Label>("Status").SetCaption(text); }

void UnloadProgressWindow() {
  if (forms::DefaultExists<fProgress>()) forms::Default<fProgress>().Unload();
}

}  // namespace host
