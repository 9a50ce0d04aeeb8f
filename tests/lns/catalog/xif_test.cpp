#include <gmock/gmock.h>

#include <unistd.h>

#include <sstream>

#include "lns/calls/errors.h"
#include "lns/catalog/xif.h"
#include "lns/values/fcu_unit.h"
#include "support/error_number.h"

namespace lns::testing {
namespace {

using orvex::test::ErrorNumberOf;

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The program ID as a reader that knows only the fixed field positions takes it.
std::string IdAtFieldPositions(const std::string& line) {
  std::string id;
  for (size_t position = 1; position <= 22; position += 3) id += line.substr(position - 1, 2);
  return id;
}

TEST(XifTest, TheUnitsFileRoundTrips) {
  XifFile unit = UnitXif();
  XifFile read = ParseXif(XifText(unit));
  EXPECT_EQ(read.title, "OrvexUC_FCU");
  EXPECT_EQ(read.programId, FcuProgramId);
  EXPECT_EQ(read.interface.networkVariables.size(), 37u);
  size_t properties = 0;
  for (const auto& object : read.interface.lonMarkObjects) properties += object.configProperties.size();
  for (const auto& variable : read.interface.networkVariables) properties += variable.configProperties.size();
  EXPECT_EQ(properties, 46u);
  EXPECT_EQ(XifText(read), XifText(unit));
}

TEST(XifTest, TheProgramIdStandsOnLineFourAtTheFixedFieldPositions) {
  auto lines = LinesOf(XifText(UnitXif()));
  ASSERT_GT(lines.size(), 4u);
  EXPECT_EQ(lines[3], "80:07:1A:55:01:03:04:00");
  EXPECT_EQ(IdAtFieldPositions(lines[3]), FcuProgramId);
  EXPECT_GE(lines[0].front(), '8') << "a first line read as the ID line would look like a text program ID";
}

// Header variants: the ID line, where it stands, and what the reader makes of it.
struct HeaderCase {
  std::string header;  // lines 1 to 5
  std::string programId;
  int32_t error = 0;
};

class HeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderTest, ReadsTheProgramIdWhereItStands) {
  const HeaderCase& c = GetParam();
  std::string text = c.header + "lonmark 1 Node 0\n";
  if (c.error) {
    EXPECT_EQ(ErrorNumberOf([&] { ParseXif(text); }), c.error);
  } else {
    EXPECT_EQ(ParseXif(text).programId, c.programId);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderTest,
    ::testing::Values(HeaderCase{"ORVEX-XIF 1\nT\n#\n80:07:1A:55:01:03:04:00\n\n", "80071A5501030400"},
                      HeaderCase{"ORVEX-XIF 1\nT\n#\n   \n80:07:1a:55:01:03:04:05\n", "80071A5501030405"},
                      HeaderCase{"ORVEX-XIF 1\nT\n#\n80-07-1A-55-01-03-04-00 trailing words\n", "80071A5501030400"},
                      HeaderCase{"ORVEX-XIF 1\nT\n#\n41:42:43:44:45:46:47:00\n", "4142434445464700"},
                      HeaderCase{"ORVEX-XIF 1\nT\n#\n80:07:1A:55:01:03:04\n", "", err::InvalidValue},
                      HeaderCase{"ORVEX-XIF 1\nT\n#\n80:07:1A:55:01:03:04:0G\n", "", err::InvalidValue},
                      HeaderCase{"XIF 1\nT\n#\n80:07:1A:55:01:03:04:00\n", "", err::InvalidValue},
                      HeaderCase{"ORVEX-XIF 1\nT\n", "", err::InvalidValue}));

// Declarations that are not in the format, each refused naming its line.
class DeclarationTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DeclarationTest, RefusesTheLine) {
  std::string text = std::string("ORVEX-XIF 1\nT\n#\n80:07:1A:55:01:03:04:00\nlonmark 1 Node 0\n") + GetParam() + "\n";
  try {
    ParseXif(text);
    FAIL() << "accepted " << GetParam();
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), err::InvalidValue);
  }
}

INSTANTIATE_TEST_SUITE_P(Declarations, DeclarationTest,
                         ::testing::Values("lonmark 3 FCU 8500", "lonmark 2 FCU eighty", "lonmark 1 Node 0",
                                           "nv a sideways SNVT_temp_p RAW 0898", "nv a input SNVT_temp_p RAW 08",
                                           "nv a input SNVT_temp_p RAW 08X8", "nv a input SNVT_temp_p NOFORMAT 0898",
                                           "nv a input NOTYPE RAW 00", "nv a input SNVT_temp_p RAW",
                                           "cp lonmark:2 SCPTdevMajVer SCPTdevMajVer SCPTdevMajVer 01",
                                           "cp nv:none SCPTbypassTime SCPTbypassTime SCPTbypassTime 0000",
                                           "cp somewhere SCPTdevMajVer SCPTdevMajVer SCPTdevMajVer 01",
                                           "cp device SCPTdevMajVer SCPTdevMajVer SCPTdevMajVer 01\n"
                                           "cp device SCPTdevMajVer SCPTdevMajVer SCPTdevMajVer 02",
                                           "interface 1"));

TEST(XifTest, AccessesTheFileByItsPath) {
  auto folder = std::filesystem::temp_directory_path() / ("xif-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  WriteUnitXif(folder / "OrvexUC_FCU.xif");
  EXPECT_EQ(ReadXif(folder / "OrvexUC_FCU.xif").programId, FcuProgramId);
  EXPECT_EQ(ErrorNumberOf([&] { ReadXif(folder / "missing.xif"); }), err::InvalidArgument);
  std::filesystem::remove_all(folder);
}

TEST(XifTest, NamesThatCannotStandInAFieldAreRefused) {
  XifFile xif{"T", "80071A5501030400", {}};
  xif.interface.lonMarkObjects.push_back({"Two words", 0, {}});
  EXPECT_EQ(ErrorNumberOf([&] { XifText(xif); }), err::InvalidValue);
  xif.interface.lonMarkObjects.clear();
  xif.programId = "80071A55";
  EXPECT_EQ(ErrorNumberOf([&] { XifText(xif); }), err::InvalidValue);
}

}  // namespace
}  // namespace lns::testing
