#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "lns/server.h"
#include "lns/values/declaration.h"
#include "support/error_number.h"
#include "support/temp_machine.h"

namespace lns::testing {

// A fresh simulated machine folder for each test, and a fresh Object Server stand-in.
class LnsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& Machine() const { return machine_; }

  // A small interface: LonMark objects "Node" (CP "SCPTdevMajVer") and "FCU" (CP "UCPTcoolKp"),
  // input "nviSetpoint" (22.00 °C in "SNVT_temp_p#SI"), input "nviOccManCmd" with its
  // "SCPTbypassTime", output "nvoSpaceTemp".
  static InterfaceDecl SmallInterface();
  // A network with template "Unit" (program ID 80071A5501030400) and device "Dev 1" in
  // subsystem "Sub 1" made from it.
  static void MakeNetwork(const std::string& name, const std::string& networkInterface = "LON1");

  // An open Object Server, and the open system of a network of it.
  std::shared_ptr<ObjectServer> OpenServer();
  std::shared_ptr<System> OpenSystem(const std::shared_ptr<ObjectServer>& server, const std::string& network);
  std::shared_ptr<AppDevice> Device(const std::shared_ptr<System>& system, const std::string& name = "Dev 1");

 private:
  std::optional<orvex::test::TempMachine> temp_;
  std::filesystem::path machine_;
};

using orvex::test::ErrorDescriptionOf;
using orvex::test::ErrorNumberOf;

}  // namespace lns::testing
