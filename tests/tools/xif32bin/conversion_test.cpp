#include <gtest/gtest.h>

#include "lns/catalog/xif.h"
#include "lns/values/fcu_unit.h"
#include "process/program.h"
#include "process/temp_machine.h"
#include "process/windows.h"
#include "support/eventually.h"

namespace {

namespace fs = std::filesystem;
using orvex::test::ReadFile;
using orvex::test::WriteFile;
using namespace std::chrono_literals;
using proc::FindWindow;
using proc::Program;

constexpr const char* kWorking = "XIF32BIN";
constexpr const char* kFinished = "Finished - XIF32BIN";

// The unit's XIF text with its program ID line replaced by `idLines`.
std::string Xif(const std::string& idLines) {
  std::string text = lns::XifText(lns::UnitXif());
  const std::string line = lns::ProgramIdLine(std::string(lns::FcuProgramId));
  return text.replace(text.find(line), line.size(), idLines);
}

// The unit's XIF text with output variables added until it declares `count` network variables.
std::string XifWithVariables(size_t count) {
  std::string text = lns::XifText(lns::UnitXif());
  for (size_t i = lns::UnitXif().interface.networkVariables.size(); i < count; ++i) {
    text += "nv nvoExtra" + std::to_string(i) + " output SNVT_temp_p SNVT_temp_p#US 7FFF\n";
  }
  return text;
}

class ConversionTest : public proc::test::TempMachineTest {
 protected:
  Program Start(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{XIF32BIN_TOOL};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return Program::Start(command);
  }

  // What the plug-in does while the tool runs: wait while "XIF32BIN" shows, then close
  // "Finished - XIF32BIN". Returns whether the finished window was found.
  static bool CloseTheFinishedTool(Program& tool) {
    proc::WindowHandle finished = 0;
    orvex::test::Eventually([&] {
      if (tool.Wait(0ms)) return true;
      finished = FindWindow(kWorking) == 0 ? FindWindow(kFinished) : 0;
      return finished != 0;
    });
    return finished != 0 && proc::PostMessage(finished, proc::WM_CLOSE, 1, 1);
  }

  fs::path XifFolder() const { return root_ / "LonWorks/XIF/Unit"; }
  std::vector<fs::path> FilesIn(const fs::path& folder) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path().filename());
    return files;
  }
};

TEST_F(ConversionTest, WritesTheXfbBesideTheXifAndWaitsToBeClosed) {
  const struct {
    std::string xif;
    std::string programId;
  } cases[] = {
      {lns::XifText(lns::UnitXif()), "80071A5501030400"},
      {Xif("   \n80 07 1a 55 01 03 04 07"), "80071A5501030407"},
      {Xif("4F-52-56-45-58-00-00-00"), "4F52564558000000"},
  };
  for (const auto& c : cases) {
    WriteFile(XifFolder() / "Unit.xif", c.xif);
    const std::string xifPath = root_.string() + "\\lonworks\\xif\\UNIT\\Unit.xif";
    Program tool = Start({xifPath, xifPath.substr(0, xifPath.size() - 3) + "XFB"});
    EXPECT_TRUE(CloseTheFinishedTool(tool)) << c.programId;
    EXPECT_EQ(tool.Wait(20s), 0);
    const std::string xfb = ReadFile(XifFolder() / "Unit.XFB");
    EXPECT_EQ(xfb.substr(0, 4), "OXFB");
    EXPECT_EQ(xfb.substr(6, 16), c.programId);
    EXPECT_EQ(xfb.substr(22, 6), std::string("\x02\x00\x25\x00\x2E\x00", 6));  // 2 objects, 37 NVs, 46 CPs
    EXPECT_NE(xfb.find(c.xif), std::string::npos);
    EXPECT_EQ(FindWindow(kFinished), 0);
    fs::remove(XifFolder() / "Unit.XFB");
  }
}

TEST_F(ConversionTest, ANeverClosedToolEndsAfterItsOwnTimeLimit) {
  WriteFile(XifFolder() / "Unit.xif", lns::XifText(lns::UnitXif()));
  Program tool =
      Start({"--close-wait-ms", "100", (XifFolder() / "Unit.xif").string(), (XifFolder() / "Unit.XFB").string()});
  EXPECT_EQ(tool.Wait(20s), 0);
  EXPECT_TRUE(fs::exists(XifFolder() / "Unit.XFB"));
  EXPECT_EQ(FindWindow(kFinished), 0);
}

TEST_F(ConversionTest, BadInputFailsWithoutAFile) {
  const struct {
    const char* name;
    std::string xif;
  } cases[] = {
      {"not an XIF file", "one\ntwo\nthree\n80:07:1A:55:01:03:04:00\n"},
      {"empty", ""},
      {"it ends before its program ID", "ORVEX-XIF 1\ntitle\ncomment\n"},
      {"blank lines 4 and 5", Xif("\n")},
      {"a field is not hexadecimal", Xif("80:07:1G:55:01:03:04:00")},
      {"the line ends early", Xif("80:07:1A:55:01:03:04")},
      {"a field is misplaced", Xif("80:07:1A:55:1:03:04:00:00")},
      {"a declaration is wrong", lns::XifText(lns::UnitXif()) + "nv nviExtra sideways SNVT_switch - 0000\n"},
      {"more network variables than the header counts", XifWithVariables(65536)},
  };
  for (const auto& c : cases) {
    WriteFile(XifFolder() / "Unit.xif", c.xif);
    Program tool = Start({(XifFolder() / "Unit.xif").string(), (XifFolder() / "Unit.XFB").string()});
    EXPECT_EQ(tool.Wait(20s), 1) << c.name;
    EXPECT_EQ(FilesIn(XifFolder()), std::vector<fs::path>{"Unit.xif"}) << c.name;
    EXPECT_EQ(FindWindow(kWorking), 0);
  }
}

TEST_F(ConversionTest, MissingFilesFoldersAndTheXifItselfFailWithoutAFile) {
  const std::string xifText = lns::XifText(lns::UnitXif());
  WriteFile(XifFolder() / "Unit.xif", xifText);
  const struct {
    fs::path xif;
    fs::path xfb;
  } cases[] = {
      {XifFolder() / "Missing.xif", XifFolder() / "Missing.XFB"},
      {XifFolder(), XifFolder() / "Folder.XFB"},
      {XifFolder() / "Unit.xif", root_ / "No Folder/Unit.XFB"},
      {XifFolder() / "Unit.xif", XifFolder() / "Unit.xif"},
      {XifFolder() / "Unit.xif", root_.string() + "\\lonworks\\xif\\UNIT\\Unit.XIF"},
  };
  for (const auto& c : cases) {
    Program tool = Start({c.xif.string(), c.xfb.string()});
    EXPECT_EQ(tool.Wait(20s), 1) << c.xfb;
    EXPECT_EQ(FilesIn(XifFolder()), std::vector<fs::path>{"Unit.xif"});
    EXPECT_EQ(ReadFile(XifFolder() / "Unit.xif"), xifText) << c.xfb;
  }
}

// The window shows only once the input has converted: the machine folder is not even made.
TEST_F(ConversionTest, AnInputThatDoesNotConvertLeavesNoTraceOnTheMachine) {
  WriteFile(XifFolder() / "Bad.xif", "not an XIF file\n");
  const fs::path cases[] = {XifFolder() / "Missing.xif", XifFolder(), XifFolder() / "Bad.xif"};
  for (const auto& xif : cases) {
    Program tool = Start({xif.string(), (XifFolder() / "Unit.XFB").string()});
    EXPECT_EQ(tool.Wait(20s), 1) << xif;
    EXPECT_FALSE(fs::exists(machine_)) << xif;
  }
}

TEST_F(ConversionTest, AWrongCommandLineIsRefused) {
  WriteFile(XifFolder() / "Unit.xif", lns::XifText(lns::UnitXif()));
  const std::string xif = (XifFolder() / "Unit.xif").string();
  const std::vector<std::string> cases[] = {
      {}, {xif}, {xif, "a.XFB", "extra"}, {"--close-wait-ms", xif, "a.XFB"}, {"--close-wait-ms", "-1", xif, "a.XFB"},
      {"--close-wait-ms", "9223372036855", xif, "a.XFB"},
      {xif, ""},
  };
  for (const auto& arguments : cases) {
    Program tool = Start(arguments);
    EXPECT_EQ(tool.Wait(20s), 2) << arguments.size();
  }
  EXPECT_EQ(FilesIn(XifFolder()), std::vector<fs::path>{"Unit.xif"});
}

}  // namespace
