#include "forms/app.h"

#include <cstdlib>
#include <iostream>

#include "forms/form.h"
#include "forms/internal.h"
#include "runtime/error.h"

namespace forms {

void AppObject::SetVersion(int major, int minor) {
  major_ = major;
  minor_ = minor;
}

void AppObject::End() {
  ended_ = true;
  if (endingHook_) endingHook_();
  if (endHook_) {
    endHook_();
    return;
  }
  std::cout.flush();
  std::exit(0);
}

void AppObject::SetEndHook(std::function<void()> hook) { endHook_ = std::move(hook); }

void AppObject::SetEndingHook(std::function<void()> hook) { endingHook_ = std::move(hook); }

void ScreenObject::SetMousePointer(int v) {
  if ((v < 0 || v > 15) && v != 99) throw rt::Error(rt::err::InvalidPropertyValue);
  if (v != mousePointer_) ++mousePointerChanges_;
  mousePointer_ = v;
}

Form* ScreenObject::ActiveForm() const { return forms::ActiveForm(); }

Control* ScreenObject::ActiveControl() const {
  Form* form = forms::ActiveForm();
  return form ? form->ActiveControl() : nullptr;
}

AppObject& App() {
  static AppObject app;
  return app;
}

ScreenObject& Screen() {
  static ScreenObject screen;
  return screen;
}

void ResetApp() {
  App() = AppObject();
  Screen() = ScreenObject();
}

}  // namespace forms
