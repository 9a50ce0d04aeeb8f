#include "lns/catalog/catalog_install.h"

#include <gtest/gtest.h>

#include <map>

#include "../../process/temp_machine.h"
#include "lns/catalog/catalog.h"
#include "lns/catalog/xif.h"
#include "lns/values/fcu_unit.h"
#include "registry/registry.h"
#include "runtime/error.h"

namespace lns {
namespace {

namespace fs = std::filesystem;
using orvex::test::ReadFile;
using orvex::test::WriteFile;

class InstallTest : public proc::test::TempMachineTest {
 protected:
  void SetUp() override {
    TempMachineTest::SetUp();
    tool_ = root_ / "build/xif32bin";
    WriteFile(tool_, "#!/bin/sh\nexit 0\n");
  }

  LonWorksInstallation Install() { return InstallLonWorks(tool_); }

  static std::string RegisteredLonWorksPath() {
    reg::HKEY key{};
    if (reg::RegOpenKey(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", &key) != reg::ERROR_SUCCESS) return {};
    std::string value(1024, '\0');
    reg::DWORD size = static_cast<reg::DWORD>(value.size());
    reg::RegQueryValueEx(key, "LonWorks Path", nullptr, nullptr, reinterpret_cast<reg::BYTE*>(value.data()), &size);
    reg::RegCloseKey(key);
    return value.c_str();
  }

  static void RegisterLonWorksPath(const std::string& path) {
    reg::HKEY key{};
    ASSERT_EQ(reg::RegCreateKey(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", &key), reg::ERROR_SUCCESS);
    reg::RegSetValueEx(key, "LonWorks Path", 0, reg::REG_SZ, reinterpret_cast<const reg::BYTE*>(path.c_str()),
                       static_cast<reg::DWORD>(path.size() + 1));
    reg::RegCloseKey(key);
  }

  // Every file of the machine folder with its bytes and modification time.
  std::map<fs::path, std::pair<std::string, fs::file_time_type>> Snapshot() const {
    std::map<fs::path, std::pair<std::string, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(machine_)) {
      if (entry.is_regular_file()) files[entry.path()] = {ReadFile(entry.path()), entry.last_write_time()};
    }
    return files;
  }

  // The look-ups the plug-in makes: the resource check, then the functional profile of each object.
  static void ExpectTheUnitsResourcesFound(const fs::path& lonWorks) {
    ResourceCatalog catalog;
    int32_t handle = 0, status = -1, a = 0, b = 0;
    std::string fileName;
    catalog.Open(lonWorks.string() + "\\Types", CatalogOpenForReading, handle, status);
    ASSERT_EQ(status, 0);
    catalog.Find(handle, "80071A5501000000", 4, 3, 0, fileName, a, b, status);
    EXPECT_EQ(status, 0);
    catalog.Find(handle, "80071A5501030400", 4, 4, 0, fileName, a, b, status);
    ASSERT_EQ(status, 0);
    ResourceFile file;
    int32_t fileHandle = 0;
    file.Open(fileName, 4, a, 0, fileHandle, status);
    ASSERT_EQ(status, 0);
    FunctionalProfileLookup lookup;
    int16_t points = 0;
    for (const UnitObject& object : FcuObjects) {
      FunctionalProfile profile;
      lookup.Find(fileHandle, object.typeIndex, profile, status);
      EXPECT_EQ(status, 0) << object.name;
      points += profile.mandatoryNvCount + profile.mandatoryCpCount;
    }
    EXPECT_EQ(points, 37 + 46);
    catalog.Find(handle, "80071A5503000000", 4, 3, 0, fileName, a, b, status);
    EXPECT_EQ(status, 0);
  }

  fs::path tool_;
};

TEST_F(InstallTest, LaysTheInstallationIntoTheMachineFolder) {
  const LonWorksInstallation installation = Install();
  const fs::path lonWorks = machine_ / "LonWorks";
  EXPECT_EQ(installation.folder, lonWorks);
  EXPECT_EQ(RegisteredLonWorksPath(), lonWorks.string());
  EXPECT_TRUE(fs::is_regular_file(lonWorks / "Types/User/Tarsen/TarsenSCC_FCU.rsf"));
  EXPECT_EQ(installation.resourceFolder, lonWorks / "Types/User/Tarsen");
  EXPECT_EQ(installation.conversionTool, lonWorks / "bin/XIF32BIN");
  EXPECT_EQ(ReadFile(installation.conversionTool), ReadFile(tool_));
  EXPECT_NE(fs::status(installation.conversionTool).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_TRUE(fs::is_directory(installation.xifFolder));
  EXPECT_EQ(installation.xifFile.parent_path(), installation.xifFolder);
  EXPECT_EQ(ReadXif(installation.xifFile).programId, FcuProgramId);
  ExpectTheUnitsResourcesFound(lonWorks);
}

TEST_F(InstallTest, ASecondRunChangesNothing) {
  Install();
  const auto before = Snapshot();
  Install();
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(InstallTest, AnXifFileInPlaceIsKept) {
  WriteFile(machine_ / "LonWorks/XIF/orvexuc_fcu.xif", "kept\n");
  const LonWorksInstallation installation = Install();
  EXPECT_EQ(installation.xifFile, machine_ / "LonWorks/XIF/orvexuc_fcu.xif");
  EXPECT_EQ(ReadFile(installation.xifFile), "kept\n");
}

TEST_F(InstallTest, CompletesTheInstallationTheRegistryNames) {
  fs::create_directories(root_ / "Elsewhere/TYPES");
  RegisterLonWorksPath((root_ / "Elsewhere").string());
  const LonWorksInstallation installation = Install();
  EXPECT_EQ(installation.folder, root_ / "Elsewhere");
  EXPECT_EQ(installation.typesFolder, root_ / "Elsewhere/TYPES");
  EXPECT_EQ(RegisteredLonWorksPath(), (root_ / "Elsewhere").string());
  EXPECT_FALSE(fs::exists(machine_ / "LonWorks"));
  ExpectTheUnitsResourcesFound(root_ / "Elsewhere");
}

TEST_F(InstallTest, ARegisteredFolderThatIsGoneIsReplaced) {
  RegisterLonWorksPath((root_ / "Gone").string());
  EXPECT_EQ(Install().folder, machine_ / "LonWorks");
  EXPECT_EQ(RegisteredLonWorksPath(), (machine_ / "LonWorks").string());
}

TEST_F(InstallTest, ARebuiltToolReplacesTheOldCopy) {
  Install();
  WriteFile(tool_, "#!/bin/sh\nexit 1\n");
  EXPECT_EQ(ReadFile(Install().conversionTool), "#!/bin/sh\nexit 1\n");
}

TEST_F(InstallTest, FailuresRaiseAndLeaveWhatIsThere) {
  Install();
  const fs::path catalogFile = machine_ / "LonWorks/Types" / CatalogFileName;
  WriteFile(catalogFile, "damaged\n");
  fs::remove(machine_ / "LonWorks/Types/User/Tarsen/TarsenSCC_FCU.rsf");
  EXPECT_THROW(Install(), rt::Error);
  EXPECT_EQ(ReadFile(catalogFile), "damaged\n");

  fs::remove(catalogFile);
  fs::remove(tool_);
  try {
    Install();
    ADD_FAILURE() << "no error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::err::FileNotFound);
  }
  EXPECT_TRUE(fs::is_regular_file(machine_ / "LonWorks/bin/XIF32BIN"));
}

}  // namespace
}  // namespace lns
