#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/form.h"
#include "forms/input.h"
#include "forms/msgbox.h"
#include "runtime/clock.h"
#include "support/error_number.h"

// A form of the sample layout that records the events it is asked to watch, as
// "<control>(<index>)_<Event>" or "Form_<Event>".
class RecordingForm : public forms::Form {
 public:
  explicit RecordingForm(std::string name = "fSample") : Form(std::move(name)) {}

  std::vector<std::string> events;

  void Watch(const std::string& control, std::initializer_list<forms::Event> watched) {
    for (forms::Event event : watched) {
      On(control, event, [this, control, event](forms::EventArgs& e) { events.push_back(Label(control, e.index, event)); });
    }
  }
  void WatchForm(std::initializer_list<forms::Event> watched) {
    for (forms::Event event : watched) {
      On(event, [this, event](forms::EventArgs&) { events.push_back("Form_" + std::string(forms::EventName(event))); });
    }
  }
  static std::string Label(const std::string& control, int index, forms::Event event) {
    std::string name = index < 0 ? control : control + "(" + std::to_string(index) + ")";
    return name + "_" + std::string(forms::EventName(event));
  }
};

class fSample : public RecordingForm {};

class fSecond : public RecordingForm {
 public:
  fSecond() : RecordingForm("fSecond") {}
};

// Every test starts from a fresh toolkit on a virtual clock, with the toolkit's diagnostics captured.
class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::ResetForTests();
    clock_ = std::make_shared<rt::VirtualClock>();
    rt::UseClock(clock_);
    forms::SetPlatformLog([this](const std::string& line) { platformLog.push_back(line); });
  }
  void TearDown() override {
    forms::ResetForTests();
    rt::UseClock(nullptr);
  }

  // A shown sample form with the given events watched.
  std::shared_ptr<RecordingForm> ShownSample() {
    auto form = forms::New<RecordingForm>();
    form->Show();
    form->events.clear();
    return form;
  }

  int64_t Now() const { return clock_->NowMs(); }

  std::shared_ptr<rt::VirtualClock> clock_;
  std::vector<std::string> platformLog;
};

using orvex::test::ErrorNumberOf;
