#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/form.h"
#include "forms/msgbox.h"
#include "host/identity.h"
#include "host/process_state.h"
#include "lns/platform.h"
#include "registry/registry.h"
#include "runtime/clock.h"
#include "support/temp_machine.h"

namespace host::test {

namespace fs = std::filesystem;
using orvex::test::WriteFile;

// A fresh process for every test: its own machine folder, the virtual clock, no forms, no
// connection; App.End only counts, and unanswered message boxes take their default.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_.emplace("host");
    root_ = temp_->Root();
    machine_ = temp_->Machine();
    programFolder_ = root_ / "program";
    fs::create_directories(programFolder_);
    reg::Reset();
    lns::ResetPlatform();
    forms::ResetForTests();
    rt::UseClock(std::make_shared<rt::VirtualClock>());
    ResetProcessState();
    SetApplicationIdentity();
    forms::App().SetPath(programFolder_.string());
    forms::App().SetEndHook([this] { ++ends_; });
    forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
    forms::SetPlatformLog([](const std::string&) {});
  }
  void TearDown() override {
    ResetProcessState();
    forms::ResetForTests();
    lns::ResetPlatform();
    rt::UseClock(nullptr);
    reg::Reset();
    temp_.reset();
  }

  std::optional<orvex::test::TempMachine> temp_;
  fs::path root_;
  fs::path machine_;
  fs::path programFolder_;
  int ends_ = 0;
};

}  // namespace host::test
