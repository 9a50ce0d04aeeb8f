#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "../../process/temp_machine.h"
#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "lns/catalog/catalog.h"
#include "support/error_number.h"

namespace lns {
namespace {

namespace fs = std::filesystem;
using orvex::test::ReadFile;
using orvex::test::WriteFile;
using namespace catalog_status;

constexpr const char* kDeviceProgramId = "80071A5501030400";
constexpr const char* kTemplate = "80071A5501000000";

ResourceFileContent UnitResources() {
  return {kTemplate, 4, 3, {ResourceTexts, ResourceFunctionalProfiles},
          {{"UFPTnode", "Node object", 20000, 1, 0, 0, 2, 0, 0, 2, 4},
           {"UFPTfcu", "Fan-coil unit", 20001, 1, 2, 0, 4, 31, 0, 44, 4}}};
}

class CatalogTest : public proc::test::TempMachineTest {
 protected:
  void SetUp() override {
    TempMachineTest::SetUp();
    lonWorks_ = root_ / "LonWorks";
    resources_ = lonWorks_ / "Types/User/Tarsen";
    WriteFile(resources_ / "TarsenSCC_FCU.rsf", ResourceFileText(UnitResources()));
    WriteFile(resources_ / "TarsenSCC_FCU03.rsf",
              ResourceFileText({"80071a5503000000", 4, 1, {ResourceTypes, ResourceTexts}, {}}));
    WriteFile(resources_ / "Broken.rsf", "not a resource file\n");
  }

  // The Windows-style paths the system passes.
  std::string TypesPath() const { return lonWorks_.string() + "\\Types"; }
  std::string ResourceFolderPath() const { return lonWorks_.string() + "\\types\\User\\Tarsen"; }

  int32_t Open(ResourceCatalog& catalog, int16_t mode, const std::string& path = {}) {
    int32_t handle = 0, status = -1;
    catalog.Open(path.empty() ? TypesPath() : path, mode, handle, status);
    EXPECT_EQ(status, Success);
    return handle;
  }
  struct Found {
    std::string fileName;
    int32_t version = -1;
    int32_t scope = -1;
    int32_t status = -1;
  };
  static Found Find(ResourceCatalog& catalog, int32_t handle, const std::string& programId, int16_t scope,
                    int16_t kind, int16_t occurrence = 0) {
    Found found;
    catalog.Find(handle, programId, scope, kind, occurrence, found.fileName, found.version, found.scope, found.status);
    return found;
  }
  static int32_t Status(const std::function<void(int32_t&)>& call) {
    int32_t status = -1;
    call(status);
    return status;
  }
  void Catalogue() {
    ResourceCatalog catalog;
    const int32_t handle = Open(catalog, CatalogOpenForChange);
    EXPECT_EQ(Status([&](int32_t& s) { catalog.AddDirectory(handle, ResourceFolderPath(), s); }), Success);
    EXPECT_EQ(Status([&](int32_t& s) { catalog.Update(handle, s); }), Success);
    EXPECT_EQ(Status([&](int32_t& s) { catalog.Close(handle, s); }), Success);
  }

  fs::path lonWorks_;
  fs::path resources_;
};

TEST_F(CatalogTest, OpenReportsWhyItFails) {
  fs::create_directories(root_ / "Damaged");
  WriteFile(root_ / "Damaged" / CatalogFileName, "something else\n");
  const struct {
    std::string path;
    int16_t mode;
    int32_t status;
  } cases[] = {
      {TypesPath(), CatalogOpenForChange, Success},
      {lonWorks_.string() + "/TYPES", CatalogOpenForReading, Success},
      {TypesPath(), 2, InvalidArgument},
      {lonWorks_.string() + "\\NoTypes", CatalogOpenForReading, FolderNotFound},
      {"", CatalogOpenForReading, FolderNotFound},
      {(resources_ / "TarsenSCC_FCU.rsf").string(), CatalogOpenForReading, FolderNotFound},
      {(root_ / "Damaged").string(), CatalogOpenForChange, Damaged},
  };
  for (const auto& c : cases) {
    ResourceCatalog catalog;
    int32_t handle = -1, status = -1;
    catalog.Open(c.path, c.mode, handle, status);
    EXPECT_EQ(status, c.status) << c.path;
    EXPECT_EQ(handle != 0, c.status == Success) << c.path;
  }
  EXPECT_EQ(ReadFile(root_ / "Damaged" / CatalogFileName), "something else\n");
}

TEST_F(CatalogTest, FindServesAProgramIdAtExactlyTheFilesScope) {
  Catalogue();
  ResourceCatalog catalog;
  const int32_t handle = Open(catalog, CatalogOpenForReading);
  const struct {
    const char* programId;
    int16_t scope;
    int16_t kind;
    int32_t status;
  } cases[] = {
      {kTemplate, 4, ResourceTexts, Success},
      {kDeviceProgramId, 6, ResourceFunctionalProfiles, NotFound},
      {kDeviceProgramId, 5, ResourceFunctionalProfiles, NotFound},
      {kDeviceProgramId, 4, ResourceFunctionalProfiles, Success},
      {kDeviceProgramId, 3, ResourceFunctionalProfiles, NotFound},
      {"80071a55010304ff", 4, ResourceFunctionalProfiles, Success},
      {"80071A5502030400", 4, ResourceFunctionalProfiles, NotFound},
      {"80071A5503030400", 4, ResourceTexts, Success},
      {"80071A5503030400", 4, ResourceFunctionalProfiles, NotFound},
      {kTemplate, 4, ResourceFormats, NotFound},
      {"80071A55010304", 4, ResourceTexts, InvalidArgument},
      {"80071A550103040G", 4, ResourceTexts, InvalidArgument},
      {kTemplate, 7, ResourceTexts, InvalidArgument},
      {kTemplate, -1, ResourceTexts, InvalidArgument},
      {kTemplate, 4, 0, InvalidArgument},
      {kTemplate, 4, 5, InvalidArgument},
  };
  for (const auto& c : cases) {
    const Found found = Find(catalog, handle, c.programId, c.scope, c.kind);
    EXPECT_EQ(found.status, c.status) << c.programId << " scope " << c.scope << " kind " << c.kind;
    EXPECT_EQ(found.fileName.empty(), c.status != Success) << c.programId;
  }
  const Found unit = Find(catalog, handle, kDeviceProgramId, 4, ResourceFunctionalProfiles);
  EXPECT_EQ(fs::path(unit.fileName), resources_ / "TarsenSCC_FCU.rsf");
  EXPECT_EQ(unit.version, 3);
  EXPECT_EQ(unit.scope, 4);
  EXPECT_EQ(Find(catalog, handle, kTemplate, 4, ResourceTexts, 1).status, NotFound);
  EXPECT_EQ(Find(catalog, handle + 100, kTemplate, 4, ResourceTexts).status, InvalidHandle);
}

TEST_F(CatalogTest, ResourceFilesInTheTypesFolderItselfAreFound) {
  WriteFile(lonWorks_ / "Types/Standard.rsf", ResourceFileText({"0000000000000000", 0, 1, {ResourceTypes}, {}}));
  ResourceCatalog catalog;
  const int32_t handle = Open(catalog, CatalogOpenForReading);
  EXPECT_EQ(Find(catalog, handle, kDeviceProgramId, 0, ResourceTypes).status, Success);
  EXPECT_EQ(Find(catalog, handle, kDeviceProgramId, 4, ResourceTexts).status, NotFound);
}

TEST_F(CatalogTest, ChangesNeedACatalogOpenedForChange) {
  fs::create_directories(root_ / "Line\nBreak");
  ResourceCatalog catalog;
  const int32_t reading = Open(catalog, CatalogOpenForReading);
  const int32_t changing = Open(catalog, CatalogOpenForChange);
  const struct {
    int32_t handle;
    std::string folder;
    int32_t addStatus;
    int32_t updateStatus;
  } cases[] = {
      {reading, ResourceFolderPath(), ReadOnly, ReadOnly},
      {changing, lonWorks_.string() + "\\types\\User\\Nobody", FolderNotFound, Success},
      {changing, (resources_ / "TarsenSCC_FCU.rsf").string(), FolderNotFound, Success},
      {changing, "", FolderNotFound, Success},
      {changing, (root_ / "Line\nBreak").string(), InvalidArgument, Success},
      {changing + 100, ResourceFolderPath(), InvalidHandle, InvalidHandle},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Status([&](int32_t& s) { catalog.AddDirectory(c.handle, c.folder, s); }), c.addStatus) << c.folder;
    EXPECT_EQ(Status([&](int32_t& s) { catalog.Update(c.handle, s); }), c.updateStatus) << c.folder;
  }
  EXPECT_EQ(Find(catalog, changing, kTemplate, 4, ResourceTexts).status, NotFound);
  Open(catalog, CatalogOpenForReading);  // the stored catalog is still whole
}

TEST_F(CatalogTest, AddedFoldersAreFoundAtOnceAndKeptOnlyByUpdate) {
  {
    ResourceCatalog catalog;
    const int32_t handle = Open(catalog, CatalogOpenForChange);
    EXPECT_EQ(Find(catalog, handle, kTemplate, 4, ResourceTexts).status, NotFound);
    EXPECT_EQ(Status([&](int32_t& s) { catalog.AddDirectory(handle, ResourceFolderPath(), s); }), Success);
    EXPECT_EQ(Find(catalog, handle, kTemplate, 4, ResourceTexts).status, Success);
    EXPECT_EQ(Status([&](int32_t& s) { catalog.Close(handle, s); }), Success);
    EXPECT_EQ(Status([&](int32_t& s) { catalog.Close(handle, s); }), InvalidHandle);
  }
  ResourceCatalog later;
  int32_t handle = Open(later, CatalogOpenForReading);
  EXPECT_EQ(Find(later, handle, kTemplate, 4, ResourceTexts).status, NotFound);
  Catalogue();
  handle = Open(later, CatalogOpenForReading);
  EXPECT_EQ(Find(later, handle, kTemplate, 4, ResourceTexts).status, Success);
  EXPECT_EQ(ReadFile(lonWorks_ / "Types" / CatalogFileName), "orvex resource catalog 1\nfolder User/Tarsen\n");
}

TEST_F(CatalogTest, AddingAFolderTwiceKeepsOneEntry) {
  Catalogue();
  Catalogue();
  EXPECT_EQ(ReadFile(lonWorks_ / "Types" / CatalogFileName), "orvex resource catalog 1\nfolder User/Tarsen\n");
}

TEST_F(CatalogTest, UpdatesOfTwoCatalogsJoin) {
  fs::create_directories(root_ / "Elsewhere");
  ResourceCatalog first, second;
  const int32_t a = Open(first, CatalogOpenForChange);
  const int32_t b = Open(second, CatalogOpenForChange);
  EXPECT_EQ(Status([&](int32_t& s) { first.AddDirectory(a, ResourceFolderPath(), s); }), Success);
  EXPECT_EQ(Status([&](int32_t& s) { second.AddDirectory(b, (root_ / "Elsewhere").string(), s); }), Success);
  EXPECT_EQ(Status([&](int32_t& s) { first.Update(a, s); }), Success);
  EXPECT_EQ(Status([&](int32_t& s) { second.Update(b, s); }), Success);
  EXPECT_EQ(Find(second, b, kTemplate, 4, ResourceTexts).status, Success);
  EXPECT_EQ(ReadFile(lonWorks_ / "Types" / CatalogFileName),
            "orvex resource catalog 1\nfolder User/Tarsen\nfolder " + (root_ / "Elsewhere").string() + "\n");
}

TEST_F(CatalogTest, ADamagedCatalogIsNeverOverwritten) {
  ResourceCatalog catalog;
  const int32_t handle = Open(catalog, CatalogOpenForChange);
  WriteFile(lonWorks_ / "Types" / CatalogFileName, "orvex resource catalog 1\nwhatever\n");
  EXPECT_EQ(Status([&](int32_t& s) { catalog.AddDirectory(handle, ResourceFolderPath(), s); }), Success);
  EXPECT_EQ(Status([&](int32_t& s) { catalog.Update(handle, s); }), Damaged);
  EXPECT_EQ(ReadFile(lonWorks_ / "Types" / CatalogFileName), "orvex resource catalog 1\nwhatever\n");
}

TEST_F(CatalogTest, TheInstallationCanMove) {
  Catalogue();
  fs::rename(lonWorks_, root_ / "Moved");
  lonWorks_ = root_ / "Moved";
  ResourceCatalog catalog;
  const int32_t handle = Open(catalog, CatalogOpenForReading);
  EXPECT_EQ(Find(catalog, handle, kTemplate, 4, ResourceTexts).status, Success);
}

TEST_F(CatalogTest, FunctionalProfilesAreLookedUpThroughAnOpenResourceFile) {
  Catalogue();
  ResourceCatalog catalog;
  const int32_t handle = Open(catalog, CatalogOpenForReading);
  const Found found = Find(catalog, handle, kDeviceProgramId, 4, ResourceFunctionalProfiles);
  ResourceFile file;
  FunctionalProfileLookup lookup;
  int32_t fileHandle = 0;
  EXPECT_EQ(Status([&](int32_t& s) { file.Open(found.fileName, 4, found.version, 0, fileHandle, s); }), Success);
  const struct {
    int16_t typeIndex;
    int32_t status;
    const char* key;
  } cases[] = {{20000, Success, "UFPTnode"}, {20001, Success, "UFPTfcu"}, {8020, NotFound, ""}, {0, NotFound, ""}};
  for (const auto& c : cases) {
    FunctionalProfile profile;
    EXPECT_EQ(Status([&](int32_t& s) { lookup.Find(fileHandle, c.typeIndex, profile, s); }), c.status);
    EXPECT_EQ(profile.key, c.key);
  }
  FunctionalProfile fcu;
  EXPECT_EQ(Status([&](int32_t& s) { lookup.Find(fileHandle, 20001, fcu, s); }), Success);
  EXPECT_EQ(fcu.description, "Fan-coil unit");
  EXPECT_EQ(fcu.minorVersion, 2);
  EXPECT_EQ(fcu.optionalCpCount, 44);
  EXPECT_EQ(fcu.scope, 4);
  EXPECT_EQ(Status([&](int32_t& s) { file.Close(fileHandle, s); }), Success);
  EXPECT_EQ(Status([&](int32_t& s) { file.Close(fileHandle, s); }), InvalidHandle);
  FunctionalProfile profile;
  EXPECT_EQ(Status([&](int32_t& s) { lookup.Find(fileHandle, 20000, profile, s); }), InvalidHandle);
}

TEST_F(CatalogTest, ResourceFileOpenReportsWhyItFails) {
  const std::string unit = (resources_ / "TarsenSCC_FCU.rsf").string();
  const struct {
    std::string fileName;
    int16_t kind;
    int32_t version;
    int16_t mode;
    int32_t status;
  } cases[] = {
      {unit, ResourceFunctionalProfiles, 3, 0, Success},
      {unit, ResourceFunctionalProfiles, 0, 0, Success},
      {lonWorks_.string() + "\\TYPES\\user\\tarsen\\tarsenscc_fcu.RSF", ResourceTexts, 3, 0, Success},
      {unit, ResourceFunctionalProfiles, 2, 0, VersionMismatch},
      {unit, ResourceFormats, 3, 0, NotFound},
      {(resources_ / "TarsenSCC_FCU03.rsf").string(), ResourceFunctionalProfiles, 1, 0, NotFound},
      {(resources_ / "Missing.rsf").string(), ResourceTexts, 1, 0, NotFound},
      {"", ResourceTexts, 1, 0, NotFound},
      {(resources_ / "Broken.rsf").string(), ResourceTexts, 1, 0, Damaged},
      {unit, ResourceFunctionalProfiles, 3, 1, InvalidArgument},
      {unit, 9, 3, 0, InvalidArgument},
  };
  for (const auto& c : cases) {
    ResourceFile file;
    int32_t fileHandle = -1;
    EXPECT_EQ(Status([&](int32_t& s) { file.Open(c.fileName, c.kind, c.version, c.mode, fileHandle, s); }), c.status)
        << c.fileName << " kind " << c.kind;
    EXPECT_EQ(fileHandle != 0, c.status == Success);
  }
}

TEST_F(CatalogTest, AResourceFilesHandlesEndWithIt) {
  int32_t fileHandle = 0;
  {
    ResourceFile file;
    int32_t status = -1;
    file.Open((resources_ / "TarsenSCC_FCU.rsf").string(), ResourceFunctionalProfiles, 0, 0, fileHandle, status);
    EXPECT_EQ(status, Success);
  }
  FunctionalProfile profile;
  FunctionalProfileLookup lookup;
  EXPECT_EQ(Status([&](int32_t& s) { lookup.Find(fileHandle, 20000, profile, s); }), InvalidHandle);
  ResourceFile other;
  EXPECT_EQ(Status([&](int32_t& s) { other.Close(fileHandle, s); }), InvalidHandle);
}

// The device attach's look-up of one profile: the statuses of the catalog's open, the find at
// scope 4, the resource file's open and the profile's find, up to the first that is not 0.
std::vector<int32_t> LookUpProfile(const std::string& typesPath) {
  ResourceCatalog catalog;
  ResourceFile file;
  int32_t handle = 0, fileHandle = 0, version = 0, scope = 0, status = -1;
  std::string fileName;
  FunctionalProfile profile;
  const std::vector<std::function<void()>> steps = {
      [&] { catalog.Open(typesPath, CatalogOpenForReading, handle, status); },
      [&] { catalog.Find(handle, kDeviceProgramId, 4, ResourceFunctionalProfiles, 0, fileName, version, scope, status); },
      [&] { file.Open(fileName, ResourceFunctionalProfiles, version, 0, fileHandle, status); },
      [&] { FunctionalProfileLookup().Find(fileHandle, 20001, profile, status); },
  };
  std::vector<int32_t> statuses;
  for (size_t i = 0; i < steps.size() && (statuses.empty() || statuses.back() == Success); ++i) {
    steps[i]();
    statuses.push_back(status);
  }
  return statuses;
}

TEST_F(CatalogTest, AnInjectedFaultMeetsOnlyTheCallsItConcerns) {
  Catalogue();
  const struct {
    CatalogFault fault;
    std::vector<int32_t> statuses;
  } cases[] = {
      {{CatalogCall::CatalogOpen, "", std::nullopt, FolderNotFound}, {FolderNotFound}},
      {{CatalogCall::CatalogFind, kDeviceProgramId, 4, NotFound}, {Success, NotFound}},
      {{CatalogCall::CatalogFind, "", 6, NotFound}, {Success, Success, Success, Success}},
      {{CatalogCall::CatalogFind, "80071A5503030400", std::nullopt, NotFound}, {Success, Success, Success, Success}},
      {{CatalogCall::FileOpen, kDeviceProgramId, 4, Damaged}, {Success, Success, Damaged}},
      {{CatalogCall::ProfileFind, "", 5, NotFound}, {Success, Success, Success, Success}},
      {{CatalogCall::ProfileFind, "", 4, 9, {0}, Repeat::Once}, {Success, Success, Success, 9}},
      {{CatalogCall::ProfileFind, "", std::nullopt, NotFound, {0}, Repeat::Always, "TarsenSCC_FCU.rsf", 20001},
       {Success, Success, Success, NotFound}},
      {{CatalogCall::ProfileFind, "", std::nullopt, NotFound, {0}, Repeat::Always, "tarsen\\TARSENSCC_FCU.RSF"},
       {Success, Success, Success, NotFound}},
      {{CatalogCall::ProfileFind, "", std::nullopt, NotFound, {0}, Repeat::Always, "SCC_FCU.rsf"},
       {Success, Success, Success, Success}},
      {{CatalogCall::ProfileFind, "", std::nullopt, NotFound, {0}, Repeat::Always, "", 20000},
       {Success, Success, Success, Success}},
      {{CatalogCall::FileOpen, "", std::nullopt, Damaged, {0}, Repeat::Always, "TarsenSCC_FCU03.rsf"},
       {Success, Success, Success, Success}},
  };
  for (const auto& c : cases) {
    ClearFaults();
    FailCatalogCall(c.fault);
    EXPECT_EQ(LookUpProfile(TypesPath()), c.statuses) << CatalogCallName(c.fault.call);
  }
  EXPECT_EQ(LookUpProfile(TypesPath()), (std::vector<int32_t>{Success, Success, Success, Success})) << "used up";

  ClearJournal();
  FailCatalogCall({CatalogCall::FileOpen, "", std::nullopt, std::nullopt, {70, "Access denied"}});
  EXPECT_EQ(orvex::test::ErrorDescriptionOf([&] { LookUpProfile(TypesPath()); }), "Access denied");
  ClearFaults();
  const auto entries = JournalEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_THAT(JournalLine(entries[1]), ::testing::StartsWith("ResourceCatalog.Find Method ("));
  EXPECT_THAT(JournalLine(entries[1]), ::testing::EndsWith(R"(, "80071A5501030400", 4, 4, 0) status 0 ok)"));
  EXPECT_EQ(entries[2].path + "." + entries[2].member, "ResourceFile.Open");
  EXPECT_EQ(entries[2].error, 70);
}

TEST_F(CatalogTest, ALookUpCanBeMadeToReportAChosenFile) {
  Catalogue();
  ResourceCatalog catalog;
  const int32_t handle = Open(catalog, CatalogOpenForReading);
  const struct {
    std::string chosen;
    fs::path reported;
  } cases[] = {
      {"User/Tarsen/TarsenSCC_FCU03.rsf", lonWorks_ / "Types/User/Tarsen/TarsenSCC_FCU03.rsf"},
      {"/elsewhere/none.rsf", "/elsewhere/none.rsf"},
  };
  for (const auto& c : cases) {
    ClearFaults();
    CatalogFault fault{CatalogCall::CatalogFind, kDeviceProgramId, 5, Success};
    fault.foundFile = c.chosen;
    FailCatalogCall(fault);
    const Found found = Find(catalog, handle, kDeviceProgramId, 5, ResourceFunctionalProfiles);
    EXPECT_EQ(fs::path(found.fileName), c.reported);
    EXPECT_EQ(found.scope, 5);
    EXPECT_EQ(found.status, Success);
    EXPECT_EQ(fs::path(Find(catalog, handle, kDeviceProgramId, 4, ResourceFunctionalProfiles).fileName),
              resources_ / "TarsenSCC_FCU.rsf");
  }
  ClearFaults();
}

TEST(ResourceFileFormatTest, TextAndContentRoundTrip) {
  const ResourceFileContent content = UnitResources();
  const std::optional<ResourceFileContent> parsed = ParseResourceFile(ResourceFileText(content));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(ResourceFileText(*parsed), ResourceFileText(content));
  ASSERT_EQ(parsed->profiles.size(), 2u);
  EXPECT_EQ(parsed->profiles[1].description, "Fan-coil unit");
  EXPECT_EQ(parsed->profiles[1].optionalNvCount, 31);
}

TEST(ResourceFileFormatTest, AnythingElseIsRejected) {
  const std::string header = "orvex resource file 1\n";
  const std::string valid = "template 80071A5501000000\nscope 4\nversion 1\nkinds 3 4\n";
  EXPECT_TRUE(ParseResourceFile(header + valid));
  EXPECT_TRUE(ParseResourceFile(header + valid + "\nprofile 1 1 0 0 0 0 0 0 UFPTx\n"));
  const char* damaged[] = {
      "",
      "orvex resource file 2\ntemplate 80071A5501000000\nscope 4\nversion 1\n",
      "orvex resource file 1\nscope 4\nversion 1\n",
      "orvex resource file 1\ntemplate 80071A55010000\nscope 4\nversion 1\n",
      "orvex resource file 1\ntemplate 80071A550100000Z\nscope 4\nversion 1\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nversion 1\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 7\nversion 1\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope four\nversion 1\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 4\nversion 0\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 4\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 4\nversion 1\nkinds 3 5\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 4\nversion 1\ncolour blue\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 4\nversion 1\nprofile 1 1 0 0 0 0 0\n",
      "orvex resource file 1\ntemplate 80071A5501000000\nscope 4\nversion 1\nprofile 1 1 0 0 0 0 0 40000 UFPTx\n",
  };
  for (const char* text : damaged) EXPECT_FALSE(ParseResourceFile(text)) << text;
}

}  // namespace
}  // namespace lns
