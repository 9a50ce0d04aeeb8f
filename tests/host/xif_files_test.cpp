#include <gmock/gmock.h>
#include <sys/stat.h>

#include <chrono>

#include "host/cregistry.h"
#include "host/hidden_window.h"
#include "host/xif_files.h"
#include "netreg_fixture.h"
#include "process/windows.h"
#include "support/eventually.h"
#include "support/temp_machine.h"

namespace host::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// An XIF text whose line 4 (and 5) are given; the rest does not matter to the program-ID reader.
std::string XifText(const std::string& line4, const std::string& line5 = "") {
  return "ORVEX-XIF 1\nTitle\n# comment\n" + line4 + "\r\n" + line5 + "\n";
}

class XifFilesTest : public NetRegTest {
 protected:
  // The folder as FindXifInTree takes it, and a file's path as the search builds it.
  std::string Root() const { return xifRoot_.string() + "\\"; }
  std::string Found(const std::string& relative) const { return Root() + relative; }
};

TEST_F(XifFilesTest, ReadXifProgramIdTakesLineFourOrFive) {
  struct Case {
    const char* file;
    std::string text;
    std::string programId;
  };
  const std::vector<Case> cases = {
      {"standard.xif", XifText("80:07:1A:55:01:03:04:00"), "80071A5501030400"},
      {"blank4.XIF", XifText("   ", "80:07:1A:55:01:03:04:05"), "80071A5501030405"},
      {"lower.xif", XifText("80:07:1a:55:01:03:04:0b"), "80071a550103040b"},
      {"text.xif", XifText("41:42:00:43:44:45:46:47"), "AB CDEFG        "},
      {"other.txt", XifText("80:07:1A:55:01:03:04:00"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    WriteFile(xifRoot_ / c.file, c.text);
    EXPECT_EQ(ReadXifProgramId((xifRoot_ / c.file).string()), c.programId);
  }
}

TEST_F(XifFilesTest, ReadXifProgramIdRaisesForWhatItCannotRead) {
  WriteFile(xifRoot_ / "short.xif", "ORVEX-XIF 1\nTitle\n");
  WriteFile(xifRoot_ / "blank.xif", "ORVEX-XIF 1\nTitle\n#\n  \n");
  WriteFile(xifRoot_ / "nothex.xif", XifText("41:4G:00:43:44:45:46:47"));
  for (const char* file : {"short.xif", "blank.xif", "nothex.xif", "missing.xif"}) {
    SCOPED_TRACE(file);
    EXPECT_NE(RaisedBy([&] { ReadXifProgramId((xifRoot_ / file).string()); }).Number(), 0);
  }
}

TEST_F(XifFilesTest, TheTreeSearchMatchesPrefixAndLastByte) {
  struct Case {
    const char* fileId;
    const char* wanted;
    bool found;
  };
  for (const Case& c : {Case{"80:07:1A:55:01:03:04:07", "80071A5501030400", true},
                        Case{"80:07:1A:55:01:03:04:08", "80071A5501030400", false},
                        Case{"80:07:1A:55:01:03:04:1A", "80071a550103041a", true},
                        Case{"80:07:1A:55:01:03:04:03", "80071A550103041A", true},
                        Case{"80:07:1a:55:01:03:04:00", "80071A5501030400", false},
                        Case{"80:07:1A:55:02:03:04:00", "80071A5501030400", false},
                        Case{"41:42:43:44:45:46:47:48", "80071A5501030400", false}}) {
    SCOPED_TRACE(std::string(c.fileId) + " for " + c.wanted);
    Restart();
    WriteFile(xifRoot_ / "unit.xif", XifText(c.fileId));
    std::string wanted = c.wanted;
    EXPECT_EQ(FindXifInTree(Root(), wanted), c.found ? Found("unit.xif") : "");
    EXPECT_EQ(wanted, rt::UCase(c.wanted));
  }
}

TEST_F(XifFilesTest, AFoldersFilesComeBeforeItsSubfolders) {
  WriteFile(xifRoot_ / "a" / "deep" / "first.xif", XifText("80:07:1A:55:01:03:04:00"));
  WriteFile(xifRoot_ / "b" / "second.xif", XifText("80:07:1A:55:01:03:04:00"));
  WriteFile(xifRoot_ / "z.xif", XifText("80:07:1A:55:02:03:04:00"));
  WriteFile(xifRoot_ / ".hidden" / "early.xif", XifText("80:07:1A:55:01:03:04:00"));
  fs::create_directories(xifRoot_ / "folder.xif");
  std::string wanted = "80071A5501030400";
  EXPECT_EQ(FindXifInTree(Root(), wanted), Found("a\\deep\\first.xif"));
}

TEST_F(XifFilesTest, NamesMatchWithoutRegardToCaseAndTheFoundPathKeepsTheCallersSpelling) {
  WriteFile(xifRoot_ / "Sub" / "a.txt", XifText("80:07:1A:55:01:03:04:00"));
  WriteFile(xifRoot_ / "Sub" / "b.XiF", XifText("80:07:1A:55:02:03:04:00"));
  WriteFile(xifRoot_ / "Sub" / "C.XIF", XifText("80:07:1A:55:01:03:04:00") + std::string(2000, 'x') + "\n");
  fs::create_symlink(xifRoot_ / "Sub" / "C.XIF", xifRoot_ / "Sub" / "B.lnk.xif");
  std::string wanted = "80071A5501030400";
  const std::string root = root_.string() + "\\XIF\\";
  EXPECT_EQ(FindXifInTree(root, wanted), root + "Sub\\B.lnk.xif");
  fs::remove(xifRoot_ / "Sub" / "B.lnk.xif");
  EXPECT_EQ(FindXifInTree(root, wanted), root + "Sub\\C.XIF");
}

TEST_F(XifFilesTest, FilesThatCannotBeReadArePassedOver) {
  WriteFile(xifRoot_ / "1short.xif", "ORVEX-XIF 1\n");
  WriteFile(xifRoot_ / "2nothex.xif", XifText("41:4G:00:43:44:45:46:47"));
  WriteFile(xifRoot_ / "3badbyte.xif", XifText("80:07:1A:55:01:03:04:G0"));
  fs::create_symlink(xifRoot_ / "nowhere", xifRoot_ / "4dangling.xif");
  WriteFile(xifRoot_ / "5good.xif", XifText("80:07:1A:55:01:03:04:02"));
  std::string wanted = "80071A5501030400";
  EXPECT_EQ(FindXifInTree(Root(), wanted), Found("5good.xif"));
}

TEST_F(XifFilesTest, LinksToFoldersAreNotFollowed) {
  WriteFile(root_ / "elsewhere" / "unit.xif", XifText("80:07:1A:55:01:03:04:00"));
  fs::create_directories(xifRoot_ / "tree");
  fs::create_directory_symlink(xifRoot_, xifRoot_ / "tree" / "loop");
  fs::create_directory_symlink(root_ / "elsewhere", xifRoot_ / "tree" / "outside");
  std::string wanted = "80071A5501030400";
  EXPECT_EQ(FindXifInTree(Root(), wanted), "");
}

TEST_F(XifFilesTest, FindXifFileSearchesTheSystemsRootOnlyWhenThereIsOne) {
  OpenDemo();
  WriteFile(xifRoot_ / "unit.xif", XifText("80:07:1A:55:01:03:04:00"));
  WriteFile(xifRoot_ / "unit.XFB", "xfb");
  std::string wanted = "80071a5501030400";
  EXPECT_EQ(FindXifFile(wanted), Found("unit.xif"));
  EXPECT_EQ(wanted, "80071A5501030400");
  EXPECT_EQ(g_XifDir, xifRoot_.string());

  g_System->put_XifSearchRoot("");
  EXPECT_EQ(FindXifFile(wanted), "");
  EXPECT_EQ(g_XifDir, "");

  // A remote client keeps the root it had.
  g_XifDir = xifRoot_.string();
  g_Remote = true;
  EXPECT_EQ(FindXifFile(wanted), Found("unit.xif"));
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
}

TEST_F(XifFilesTest, TheDialogTakesAFileOfTheWantedFamily) {
  struct Case {
    const char* chosenId;
    const char* wanted;
    bool fits;
  };
  for (const Case& c : {Case{"80:07:1A:55:01:03:04:00", "80071A5501030403", true},
                        Case{"80:07:1A:55:01:03:04:09", "80071A5501030403", true},
                        Case{"80:07:1A:55:01:03:04:00", "80071A5501030408", false},
                        Case{"80:07:1A:55:02:03:04:00", "80071A5501030400", false}}) {
    SCOPED_TRACE(std::string(c.chosenId) + " for " + c.wanted);
    Restart();
    const fs::path chosen = root_ / "chosen.xif";
    WriteFile(chosen, XifText(c.chosenId));
    WriteXfbBeside(chosen);
    forms::QueueFileChoice(forms::FileChoice::Path(chosen.string()));
    std::string xifPath = "old";
    std::string wanted = c.wanted;
    GetXifFromUser(xifPath, wanted);
    EXPECT_EQ(xifPath, c.fits ? chosen.string() : "");
    EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
    EXPECT_FALSE(forms::FindForm("fHidden"));
  }
}

TEST_F(XifFilesTest, ACancelledDialogGivesNothing) {
  g_XifDir = "/start/here";
  forms::QueueFileChoice(forms::FileChoice::Cancel());
  auto hidden = forms::New<fHidden>();
  hidden->Load();
  EXPECT_EQ(hidden->DlgXIF(g_XifDir, "80071A5501030400"), "");
  hidden->Unload();
  ASSERT_EQ(forms::FileDialogRecords().size(), 1u);
  EXPECT_EQ(forms::FileDialogRecords()[0].initDir, "/start/here");
  EXPECT_EQ(forms::FileDialogRecords()[0].title, "Locate the XIF file with Program ID 80071A5501030400");
}

class ConversionTest : public XifFilesTest {
 protected:
  fs::path Xif() const { return xifRoot_ / "unit.xif"; }
  fs::path Xfb() const { return xifRoot_ / "unit.XFB"; }
  std::string Converted() {
    std::string xifPath = Xif().string();
    const std::string result = ConvertXifToXfb(xifPath);
    EXPECT_EQ(xifPath, result);
    return result;
  }
  void ExpectCannotExport() {
    ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
    const forms::MsgBoxRecord& box = forms::MsgBoxRecords()[0];
    EXPECT_EQ(box.prompt, "The file " + Xfb().string() + " could not be found.");
    EXPECT_EQ(box.title, "Cannot Export Database");
    EXPECT_EQ(box.style, forms::vbOKOnly | forms::vbCritical);
  }
  // A stand-in for the tool that notes its start and then runs `body`.
  void InstallFakeTool(const std::string& body) {
    const fs::path tool = installation_.conversionTool;
    WriteFile(tool, "#!/bin/sh\necho started >> '" + (root_ / "tool.log").string() + "'\n" + body + "\n");
    chmod(tool.c_str(), 0755);
  }
  static bool FinishedWindowGoes() {
    return orvex::test::Eventually([] { return proc::FindWindow("Finished - XIF32BIN") == 0; });
  }
  std::string ToolLog() const { return orvex::test::ReadFile(root_ / "tool.log"); }
};

TEST_F(ConversionTest, TheToolMakesTheXfbAndIsClosed) {
  WriteXifFile(Xif(), UnitProgramId);
  EXPECT_EQ(Converted(), Xif().string());
  EXPECT_TRUE(fs::exists(Xfb()));
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
  EXPECT_TRUE(FinishedWindowGoes());
}

TEST_F(ConversionTest, AnExistingXfbNeedsNoTool) {
  InstallFakeTool("exit 1");
  WriteXifFile(Xif(), UnitProgramId);
  WriteXfbBeside(Xif());
  EXPECT_EQ(Converted(), Xif().string());
  EXPECT_FALSE(fs::exists(root_ / "tool.log"));
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
}

TEST_F(ConversionTest, AMissingXifComesBackAsItWas) {
  InstallFakeTool("exit 1");
  EXPECT_EQ(Converted(), Xif().string());
  EXPECT_FALSE(fs::exists(root_ / "tool.log"));
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
}

TEST_F(ConversionTest, NoXfbAfterTheToolCannotExportTheDatabase) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
  };
  const std::vector<Case> cases = {
      {"tool fails", [this] { WriteFile(Xif(), XifText("80:07:1A:55:01:03:04:00") + "no declaration\n"); }},
      {"tool missing",
       [this] {
         WriteXifFile(Xif(), UnitProgramId);
         CRegistry().put_MachineSetting("SOFTWARE\\LonWorks", "LonWorks Path", "");
       }},
      {"tool hangs",
       [this] {
         WriteXifFile(Xif(), UnitProgramId);
         // Hangs until the test lets it go, and notes that it did.
         InstallFakeTool("while [ ! -e '" + (root_ / "go").string() + "' ]; do sleep 0.01; done\necho ended >> '" +
                         (root_ / "tool.log").string() + "'");
         g_XifToolTimeLimit = std::chrono::milliseconds(300);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    c.arrange();
    EXPECT_EQ(Converted(), "");
    EXPECT_THAT(ToolLog(), Not(HasSubstr("ended"))) << "the plug-in gave up before the tool ended";
    ExpectCannotExport();
  }
  WriteFile(root_ / "go", "");
  EXPECT_TRUE(orvex::test::Eventually([this] { return ToolLog().find("ended") != std::string::npos; }));
}

}  // namespace
}  // namespace host::test
