#include "process/paths.h"

#include "process/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "runtime/error.h"
#include "temp_machine.h"

namespace proc::test {
namespace {

using ::testing::ElementsAre;

class PathsTest : public TempMachineTest {
 protected:
  void SetUp() override {
    TempMachineTest::SetUp();
    WriteFile(root_ / "LonWorks/Types/User/Tarsen/TarsenSCC_FCU.rsf", "x");
    WriteFile(root_ / "LonWorks/bin/XIF32BIN", "x");
    WriteFile(root_ / "Twins/Dup/in-mixed", "x");
    WriteFile(root_ / "Twins/DUP/in-upper", "x");
  }
  std::string Root() const { return root_.string(); }
};

TEST_F(PathsTest, ResolvesEachComponentWithoutRegardToCase) {
  const struct {
    std::string windowsPath;
    fs::path expected;
  } cases[] = {
      {"\\types\\User\\Tarsen\\TarsenSCC_FCU.rsf", "LonWorks/Types/User/Tarsen/TarsenSCC_FCU.rsf"},
      {"\\BIN\\xif32bin", "LonWorks/bin/XIF32BIN"},
      {"/Types//user\\tarsen\\", "LonWorks/Types/User/Tarsen"},
      {"\\Types\\.\\User", "LonWorks/Types/User"},
      {"\\types\\New Folder\\file.XFB", "LonWorks/Types/New Folder/file.XFB"},
      {"\\Types\\User\\Tarsen\\TarsenSCC_FCU.XFB", "LonWorks/Types/User/Tarsen/TarsenSCC_FCU.XFB"},
      {"\\TYPES\\..\\Bin", "LonWorks/Types/../bin"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolvePath(Root() + "/lonworks" + c.windowsPath), root_ / c.expected) << c.windowsPath;
  }
}

TEST_F(PathsTest, ExactSpellingWinsAndOtherwiseTheFirstInListingOrder) {
  EXPECT_EQ(ResolvePath(Root() + "/Twins/Dup"), root_ / "Twins/Dup");
  EXPECT_EQ(ResolvePath(Root() + "/Twins/DUP"), root_ / "Twins/DUP");
  EXPECT_EQ(ResolvePath(Root() + "/Twins/dup"), root_ / "Twins/DUP");
}

TEST_F(PathsTest, RelativePathsResolveFromTheWorkingFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(root_ / "LonWorks");
  EXPECT_EQ(ResolvePath("types\\user"), fs::path("Types/User"));
  fs::current_path(before);
}

TEST(WildcardMatchTest, MatchesLikeTheFileDialogsDo) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.XIF", "unit.xif", true},     {"*.xif", "UNIT.XIF", true},    {"*.xif", "unit.xifx", false},
      {"*.xif", "xif", false},         {"*.*", "README", true},        {"*.*", "a.b", true},
      {"a?c", "ABC", true},            {"a?c", "ac", false},           {"*", "", true},
      {"a*b*c", "aXXbYYc", true},      {"a*b*c", "aXbY", false},       {"*b", "abab", true},
      {"x.rsf", "X.RSF", true},        {"", "a", false},
  };
  for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST_F(PathsTest, FileAndFolderTestsFollowLinksAndIgnoreCase) {
  fs::create_directory_symlink(root_ / "LonWorks/Types", root_ / "typeslink");
  fs::create_symlink(root_ / "LonWorks/bin/XIF32BIN", root_ / "toollink");
  fs::create_symlink(root_ / "nowhere", root_ / "broken");
  const struct {
    std::string path;
    bool file;
    bool folder;
  } cases[] = {
      {"/lonworks/BIN/xif32bin", true, false}, {"/LONWORKS/types", false, true}, {"/typeslink", false, true},
      {"/toollink", true, false},               {"/broken", false, false},       {"/missing", false, false},
      {"/LonWorks/bin/XIF32BIN/below", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExists(Root() + c.path), c.file) << c.path;
    EXPECT_EQ(IsDirectory(Root() + c.path), c.folder) << c.path;
  }
}

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names;
  for (const DirEntry& entry : entries) names.push_back(entry.name);
  return names;
}

TEST_F(PathsTest, ListingsAreSortedAndFiltered) {
  for (const char* name : {"b.xif", "A.XIF", "c.txt", "a2.xif", ".hidden.xif"}) WriteFile(root_ / "list" / name, "x");
  fs::create_directory(root_ / "list/Sub.xif");
  EXPECT_THAT(Names(ListDirectory(Root() + "/LIST", "*.xif")),
              ElementsAre(".hidden.xif", "A.XIF", "a2.xif", "b.xif", "Sub.xif"));
  EXPECT_THAT(Names(ListDirectory(Root() + "/list", "*.*")),
              ElementsAre(".hidden.xif", "A.XIF", "a2.xif", "b.xif", "c.txt", "Sub.xif"));
  EXPECT_TRUE(ListDirectory(Root() + "/no such folder").empty());
  EXPECT_TRUE(ListDirectory(Root() + "/list/c.txt").empty());
}

TEST_F(PathsTest, ListingsTellLinksApart) {
  fs::create_directories(root_ / "tree/sub");
  WriteFile(root_ / "tree/file", "x");
  fs::create_directory_symlink(root_ / "tree", root_ / "tree/loop");
  fs::create_symlink(root_ / "tree/file", root_ / "tree/filelink");
  fs::create_symlink(root_ / "tree/nowhere", root_ / "tree/broken");
  const std::vector<DirEntry> entries = ListDirectory(Root() + "/tree");
  ASSERT_THAT(Names(entries), ElementsAre("broken", "file", "filelink", "loop", "sub"));
  const struct {
    bool isDirectory;
    bool isLink;
  } expected[] = {{false, true}, {false, false}, {false, true}, {true, true}, {true, false}};
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].isDirectory, expected[i].isDirectory) << entries[i].name;
    EXPECT_EQ(entries[i].isLink, expected[i].isLink) << entries[i].name;
  }
}

TEST_F(PathsTest, ReadFirstLinesStopsAfterTheWantedLine) {
  const std::string longLine(700, 'x');
  const struct {
    const char* name;
    std::string text;
    std::optional<std::string> expected;
  } cases[] = {
      {"more", "1\n2\r\n3\n4\n", "1\n2\r\n"},
      {"exact", "1\n2\n", "1\n2\n"},
      {"short", "1\n2", "1\n2"},
      {"empty", "", ""},
      {"long lines", longLine + "\n" + longLine + "\n" + longLine, longLine + "\n" + longLine + "\n"},
  };
  for (const auto& c : cases) {
    WriteFile(root_ / "lines" / c.name, c.text);
    EXPECT_EQ(ReadFirstLines((root_ / "lines" / c.name).string(), 2), c.expected) << c.name;
  }
  EXPECT_EQ(ReadFirstLines((root_ / "lines").string(), 2), std::nullopt);
  EXPECT_EQ(ReadFirstLines((root_ / "lines/missing").string(), 2), std::nullopt);
}

TEST_F(PathsTest, AnUnreadableFolderRaisesError75) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  fs::create_directories(root_ / "locked");
  fs::permissions(root_ / "locked", fs::perms::none);
  try {
    ListDirectory(Root() + "/locked");
    ADD_FAILURE() << "no error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::err::PathFileAccessError);
  }
  fs::permissions(root_ / "locked", fs::perms::owner_all);
}

}  // namespace
}  // namespace proc::test
