#include "com/classes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <vector>
#include <functional>

#include "registry/registry.h"
#include "support/temp_machine.h"

namespace com {
namespace {

constexpr const char* TestProgId = "Orvex.TestObject";
constexpr const char* TestClassId = "{6F1C2A40-3B7D-4E55-9A1E-2C7B90D41E11}";

std::string DefaultValue(const std::string& key) {
  char buffer[512] = {};
  reg::LONG size = sizeof buffer;
  if (reg::RegQueryValue(reg::HKEY_LOCAL_MACHINE, key.c_str(), buffer, &size) != reg::ERROR_SUCCESS) return "<none>";
  return buffer;
}

class ClassRegistration : public ::testing::Test {
 protected:
  ClassRegistration() {
    std::filesystem::create_directories(machine_.Machine());
    reg::Reset();
    Classes() = {};
    Classes().Add({TestProgId, TestClassId, "Channel test object", [] { return std::make_shared<rt::Object>(); }});
  }
  ~ClassRegistration() override {
    Classes() = {};
    reg::Reset();
  }
  orvex::test::TempMachine machine_{"com"};
};

int32_t ActivationError(std::string_view progId) {
  try {
    CreateObject(progId);
  } catch (const rt::Error& e) {
    return e.Number();
  }
  return 0;
}

TEST_F(ClassRegistration, RegisterWritesProgIdClassIdAndServerPath) {
  RegisterServer("/opt/orvex/orvexuc_fcu");
  const std::string classKey = std::string("SOFTWARE\\Classes\\CLSID\\") + TestClassId;
  const struct {
    std::string key;
    std::string value;
  } expected[] = {
      {"SOFTWARE\\Classes\\Orvex.TestObject", "Channel test object"},
      {"SOFTWARE\\Classes\\Orvex.TestObject\\CLSID", TestClassId},
      {classKey, "Channel test object"},
      {classKey + "\\ProgID", "Orvex.TestObject"},
      {classKey + "\\LocalServer32", "/opt/orvex/orvexuc_fcu"},
  };
  for (const auto& e : expected) EXPECT_EQ(DefaultValue(e.key), e.value) << e.key;
  EXPECT_NE(CreateObject("ORVEX.TESTOBJECT"), nullptr);
}

TEST_F(ClassRegistration, UnregisterRemovesEveryKeyAndActivationFails) {
  RegisterServer("/opt/orvex/orvexuc_fcu");
  UnregisterServer();
  EXPECT_EQ(DefaultValue("SOFTWARE\\Classes\\Orvex.TestObject"), "<none>");
  EXPECT_EQ(DefaultValue(std::string("SOFTWARE\\Classes\\CLSID\\") + TestClassId), "<none>");
  EXPECT_EQ(ActivationError(TestProgId), rt::err::ClassNotRegistered);
  UnregisterServer();  // twice is harmless
}

// Each file of the folder with its size and time of change.
std::string Listing(const std::filesystem::path& folder) {
  std::string listing;
  for (const auto& file : std::filesystem::recursive_directory_iterator(folder)) {
    listing += file.path().string() + " " + std::to_string(file.is_regular_file() ? file.file_size() : 0) + " " +
               std::to_string(file.last_write_time().time_since_epoch().count()) + "\n";
  }
  return listing;
}

TEST_F(ClassRegistration, TheRegisteredClassesAreReadAsTheirRegistrationWritesThemAndNothingIsWritten) {
  RegisterServer("/opt/orvex/orvexuc_fcu");
  // A torn registration lacks its LocalServer32 key.
  const std::string torn = "{00000000-0000-0000-0000-000000000001}";
  reg::RegSetValue(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Orvex.Torn\\CLSID", reg::REG_SZ, torn.c_str(), 0);
  reg::RegSetValue(reg::HKEY_LOCAL_MACHINE, ("SOFTWARE\\Classes\\CLSID\\" + torn + "\\ProgID").c_str(), reg::REG_SZ,
                   "Orvex.Torn", 0);
  const std::string before = Listing(machine_.Machine());
  EXPECT_EQ(RegisteredProgIds(), std::vector<std::string>{TestProgId});
  EXPECT_EQ(Listing(machine_.Machine()), before);
  const std::filesystem::path absent = machine_.Root() / "absent";
  setenv("ORVEX_MACHINE", absent.c_str(), 1);
  EXPECT_EQ(RegisteredProgIds(), std::vector<std::string>{});
  EXPECT_FALSE(std::filesystem::exists(absent));
}

TEST_F(ClassRegistration, ActivationNeedsTheRegistryToPointAtThisServersClass) {
  EXPECT_EQ(ActivationError(TestProgId), rt::err::ClassNotRegistered);
  RegisterServer("/opt/orvex/orvexuc_fcu");
  reg::RegSetValue(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Orvex.TestObject\\CLSID", reg::REG_SZ,
                   "{00000000-0000-0000-0000-000000000001}", 0);
  EXPECT_EQ(ActivationError(TestProgId), rt::err::ClassNotRegistered);
  EXPECT_EQ(ActivationError("Orvex.Unknown"), rt::err::ClassNotRegistered);
}

TEST_F(ClassRegistration, AClassAddedAgainReplacesTheOld) {
  Classes().Add({"orvex.testobject", "{X}", "again", [] { return nullptr; }});
  ASSERT_EQ(Classes().All().size(), 1u);
  EXPECT_EQ(Classes().Find("Orvex.TestObject")->classId, "{X}");
  RegisterServer("/opt/x");
  EXPECT_EQ(ActivationError("Orvex.TestObject"), rt::err::CannotCreateObject);
}

TEST_F(ClassRegistration, ADamagedRegistryIsRaisedAsSuchAndKept) {
  RegisterServer("/opt/orvex/orvexuc_fcu");
  const std::string damaged = "{}\nnot JSON";
  std::ofstream(reg::RegistryFile(), std::ios::binary) << damaged;
  const std::function<void()> calls[] = {
      [] { CreateObject(TestProgId); }, [] { RegisterServer("/opt/x"); }, [] { UnregisterServer(); }};
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Number(), reg::ErrorNumberOf(reg::ERROR_REGISTRY_CORRUPT));
      EXPECT_THAT(e.Description(), ::testing::HasSubstr(reg::RegistryFile().string() + "\" is damaged"));
    }
  }
  std::ifstream in(reg::RegistryFile(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
}

}  // namespace
}  // namespace com
