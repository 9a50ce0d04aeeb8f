#include "host/main_window.h"

#include "forms/app.h"
#include "forms/controls_command.h"
#include "host/connection.h"
#include "host/log.h"
#include "host/short_timer.h"
#include "lns/server.h"
#include "mainwindow/fmain_controls.h"
#include "runtime/steps.h"

namespace host {

namespace {

constexpr const char* kObjectServerProgId = "Lns.ObjectServerControl";

void RegisterObjectServerControl() {
  forms::RegisterObjectControlClass(kObjectServerProgId, [] { return std::make_shared<lns::ObjectServer>(); });
}

// fMain from its layout alone, for the host's own use before the main window registers.
class BareMainForm : public forms::Form {
 public:
  BareMainForm() : Form("fMain") {
    On(mainwindow::controls::tmrShort, forms::Event::Timer, [](forms::EventArgs&) { ShortTimerTick(); });
    On(forms::Event::Unload, [this](forms::EventArgs&) { UnloadOtherWindows(*this); });
  }
};

class BareMainWindow : public MainWindow {
 public:
  forms::Form& Window() override { return forms::Default<BareMainForm>(); }
  void ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, PlugInCommand&) override { device_ = TheDevice; }
  void ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, PlugInCommand&) override {
    lonMarkObject_ = TheLMObject;
  }
  void EndPlugIn() override {
    rt::Steps step([](int, const rt::Error&) { return rt::Resume::Next; });
    step(1, [this] { Window().Hide(); });
    step(2, [this] { lonMarkObject_.Reset(); });
    step(3, [this] { device_.Reset(); });
    step(4, [] { CloseConnection(); });
    step(5, [this] { Window().Unload(); });
    forms::App().End();
  }

 private:
  rt::Ref<lns::AppDevice> device_;
  rt::Ref<lns::LonMarkObject> lonMarkObject_;
};

std::shared_ptr<MainWindow>& Registered() {
  static std::shared_ptr<MainWindow> window;
  return window;
}

}  // namespace

void UnloadOtherWindows(const forms::Form& mainWindow) {
  std::vector<std::shared_ptr<forms::Form>> others;
  for (forms::Form* form : forms::Forms()) {
    if (form != &mainWindow) others.push_back(std::static_pointer_cast<forms::Form>(form->shared_from_this()));
  }
  for (const auto& form : others) {
    try {
      form->Unload();
    } catch (const std::exception&) {
      // A window that refuses to go does not keep the plug-in alive.
    }
  }
}

void SetMainWindow(std::shared_ptr<MainWindow> window) {
  RegisterObjectServerControl();
  SetLogWindow([]() -> forms::Form& { return fMain().Window(); });
  Registered() = window ? std::move(window) : std::make_shared<BareMainWindow>();
}

MainWindow& fMain() {
  if (!Registered()) SetMainWindow(nullptr);
  return *Registered();
}

}  // namespace host
