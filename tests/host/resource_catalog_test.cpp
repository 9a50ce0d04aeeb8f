#include <gmock/gmock.h>

#include "host/cregistry.h"
#include "host/resource_catalog.h"
#include "lns/catalog/catalog.h"
#include "netreg_fixture.h"
#include "process/files.h"

namespace host::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* LonWorksUnknown =
    "The LonWorks folder is not known: the registry value \"LonWorks Path\" under "
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\LonWorks is missing or empty.";

class ResourceCatalogTest : public NetRegTest {
 protected:
  fs::path CatalogFile() const { return installation_.typesFolder / lns::CatalogFileName; }
  std::string CatalogText() const { return proc::ReadWholeFile(CatalogFile()).value_or(""); }
  void ForgetResources() const { fs::remove(CatalogFile()); }
  static void SetLonWorksPath(const std::string& folder) {
    CRegistry().put_MachineSetting("SOFTWARE\\LonWorks", "LonWorks Path", folder);
  }
};

TEST_F(ResourceCatalogTest, TheTableNamesTheUnitsResourceFiles) {
  InitResourceTable();
  EXPECT_EQ(g_Resources[0].Path, installation_.folder.string() + "\\types\\User\\Tarsen\\TarsenSCC_FCU");
  EXPECT_EQ(g_Resources[0].ProgramIdTemplate, "80071A5501000000");
  EXPECT_EQ(g_Resources[0].Selector, 4);
}

TEST_F(ResourceCatalogTest, KnownResourcesAreLeftAsTheyAre) {
  const std::string before = CatalogText();
  EXPECT_TRUE(AddResourcesToCatalog());
  EXPECT_EQ(CatalogText(), before);
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
}

TEST_F(ResourceCatalogTest, UnknownResourcesAreAddedToTheCatalog) {
  ForgetResources();
  EXPECT_FALSE(CheckResourceFiles());
  EXPECT_TRUE(AddResourcesToCatalog());
  EXPECT_THAT(CatalogText(), HasSubstr("Tarsen"));
  EXPECT_TRUE(CheckResourceFiles());
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
}

TEST_F(ResourceCatalogTest, ARemoteClientIsToldToRegisterOnTheServer) {
  g_Remote = true;
  EXPECT_TRUE(AddResourcesToCatalog());
  ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_THAT(forms::MsgBoxRecords()[0].prompt,
              testing::StartsWith("Register this Plug-In on the LNS Server computer"));
  EXPECT_EQ(forms::MsgBoxRecords()[0].style, forms::vbOKOnly | forms::vbExclamation);
}

TEST_F(ResourceCatalogTest, ACatalogThatCannotBeOpenedFailsWithoutAMessage) {
  const fs::path empty = root_ / "empty";
  fs::create_directories(empty);
  SetLonWorksPath(empty.string());
  EXPECT_FALSE(AddResourcesToCatalog());
  EXPECT_FALSE(CheckResourceFiles());
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
}

TEST_F(ResourceCatalogTest, AnUnknownLonWorksFolderAsksAbortRetryIgnore) {
  struct Case {
    int answer;
    bool fixedBeforeRetry;
    bool added;
  };
  for (const Case& c : {Case{forms::vbAbort, false, false}, Case{forms::vbIgnore, false, false},
                        Case{forms::vbRetry, true, true}}) {
    SCOPED_TRACE(c.answer);
    Restart();
    const std::string folder = installation_.folder.string();
    SetLonWorksPath("");
    int asked = 0;
    forms::SetMsgBoxAsker([&](const forms::MsgBoxRecord&) -> std::optional<int> {
      if (asked++ > 0) return forms::vbAbort;
      if (c.fixedBeforeRetry) SetLonWorksPath(folder);
      return c.answer;
    });
    EXPECT_EQ(AddResourcesToCatalog(), c.added);
    ASSERT_FALSE(forms::MsgBoxRecords().empty());
    EXPECT_EQ(forms::MsgBoxRecords()[0].prompt, LonWorksUnknown);
    EXPECT_EQ(forms::MsgBoxRecords()[0].style, forms::vbAbortRetryIgnore | forms::vbCritical);
    EXPECT_EQ(forms::MsgBoxRecords()[0].title, forms::App().Title());
    EXPECT_EQ(forms::MsgBoxRecords().size(), 1u);
  }
}

TEST_F(ResourceCatalogTest, ASuccessfulCheckIsTrustedUntilOneFails) {
  InitResourceTable();  // as the first plug-in object does
  ForgetResources();
  EXPECT_FALSE(CheckResourceFiles());
  EXPECT_EQ(g_ResourcesChecked, 0);
  lns::InstallLonWorks(XIF32BIN_TOOL);
  EXPECT_TRUE(CheckResourceFiles());
  ForgetResources();
  EXPECT_TRUE(CheckResourceFiles());
  g_ResourcesChecked = 0;
  EXPECT_FALSE(CheckResourceFiles());
}

}  // namespace
}  // namespace host::test
