#include <gmock/gmock.h>

#include "host/commands.h"
#include "host/connection.h"
#include "plugin_test_support.h"

namespace host::test {
namespace {

using ::testing::ElementsAreArray;

TEST(SplitFirstTest, SplitsAtTheFirstDelimiterAndTrimsTheRest) {
  struct Case {
    const char* text;
    const char* delimiter;
    const char* first;
    const char* rest;
  };
  for (const Case& c : {Case{"a/b/c", "/", "a", "b/c"}, Case{" a / b ", "/", " a ", "b"}, Case{"abc", "/", "abc", ""},
                        Case{"/abc", "/", "", "abc"}, Case{"abc/", "/", "abc", ""}, Case{"1.1 beta", " ", "1.1", "beta"},
                        Case{"Name[4]", "[", "Name", "4]"}, Case{"", "/", "", ""}}) {
    std::string rest = "old";
    EXPECT_EQ(SplitFirst(c.text, c.delimiter, rest), c.first) << c.text;
    EXPECT_EQ(rest, c.rest) << c.text;
  }
}

TEST(ParseObjectPathTest, ElementsUpToTheFirstEmptyOne) {
  struct Case {
    const char* path;
    std::vector<std::string> elements;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"/Demo/Demo", {}},
      {"Demo/Demo/Subsystem 1/FCU 1", {"Demo", "Demo", "Subsystem 1", "FCU 1"}},
      {"Demo / Demo / Subsystem 1 / FCU 1 ", {"Demo ", "Demo ", "Subsystem 1 ", "FCU 1"}},
      {" Demo/x", {" Demo", "x"}},
      {"a//b", {"a"}},
      {"a/b/", {"a", "b"}},
      {"single", {"single"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ParseObjectPath(c.path), static_cast<int16_t>(c.elements.size()));
    std::vector<std::string> parsed;
    for (int16_t k = 1; k <= g_PathCount; ++k) parsed.push_back(GetPathElement(k, false));
    EXPECT_THAT(parsed, ElementsAreArray(c.elements));
  }
}

// A path of 1 MiB: a parse that copied the rest of the path at each element would take minutes.
TEST(ParseObjectPathTest, MoreThan32767ElementsOverflow) {
  std::string path;
  for (int i = 0; i < 32768; ++i) path += "element " + std::string(22, 'e') + " /";
  try {
    ParseObjectPath(path);
    FAIL() << "no overflow";
  } catch (const rt::Error& error) {
    EXPECT_EQ(error.Number(), rt::err::Overflow);
  }
}

TEST(GetPathElementTest, StripsThePrefixUpToTheFirstColon) {
  ParseObjectPath("Sub:Subsystem 1/Dev:FCU 1/Trailing:/a:b:c/Blank:   /plain");
  struct Case {
    int16_t index;
    bool strip;
    const char* element;
  };
  for (const Case& c : {Case{1, true, "Subsystem 1"}, Case{1, false, "Sub:Subsystem 1"}, Case{2, true, "FCU 1"},
                        Case{3, true, "Trailing:"}, Case{4, true, "b:c"}, Case{5, true, "Blank:   "},
                        Case{6, true, "plain"}, Case{0, true, ""}, Case{7, true, ""}, Case{-1, false, ""}}) {
    EXPECT_EQ(GetPathElement(c.index, c.strip), c.element) << c.index;
  }
}

TEST(MatchCommandTest, KnownCommandsAndTheirClasses) {
  InitCommandTable();
  struct Case {
    int32_t command;
    int16_t objectClass;
    bool known;
    bool matched;
  };
  for (const Case& c : {Case{13, 7, true, true}, Case{13, 28, true, false}, Case{13, 0, true, false},
                        Case{14, 7, false, false}, Case{50, 7, false, false}}) {
    const CommandMatch match = MatchCommand(c.command, c.objectClass);
    EXPECT_EQ(match.known, c.known) << c.command << "/" << c.objectClass;
    EXPECT_EQ(match.index.has_value(), c.matched) << c.command << "/" << c.objectClass;
  }
}

TEST(CommandTableTest, TheOneEntry) {
  InitCommandTable();
  const PlugInCommand& entry = g_Commands[0];
  EXPECT_EQ(entry.CommandId, 13);
  EXPECT_EQ(entry.ObjectClassId, 7);
  EXPECT_EQ(entry.Name, "Velmora OrvexUC_FCU Configure");
  EXPECT_EQ(entry.Description, "Configure selected Orvex FCU");
  EXPECT_TRUE(entry.AskDefault);
  EXPECT_EQ(entry.RegisterScope, 3);
  EXPECT_EQ(entry.ProgramId, "80071A5501030400");
  EXPECT_EQ(entry.TemplateName, "OrvexUC_FCU");
  EXPECT_EQ(entry.LonMarkObject, "");
}

class ObjectFromPathTest : public PlugInTest {
 protected:
  void SetUp() override {
    PlugInTest::SetUp();
    plugIn_ = NewPlugIn();
    plugIn_->put_networkName("Demo");
  }
  std::string TypeFound(int16_t objectClass, const std::string& path) {
    ParseObjectPath(path);
    rt::ObjectRef found = GetObjectFromPath(objectClass);
    return found ? found->TypeName() : "Nothing";
  }
  std::shared_ptr<LNSPlugInAPI> plugIn_;
};

TEST_F(ObjectFromPathTest, WalksByClass) {
  struct Case {
    int16_t objectClass;
    const char* path;
    const char* type;
  };
  for (const Case& c : {Case{1, "", "Network"}, Case{2, "", "Networks"}, Case{3, "", "System"},
                        Case{4, "", "Systems"}, Case{5, "Demo/Subsystem 1", "Subsystem"},
                        Case{7, DemoDevicePath, "AppDevice"}, Case{7, "Subsystem 1/FCU 1", "AppDevice"},
                        Case{7, "FCU 1", "Nothing"}, Case{7, "Demo/Demo/Subsystem 2/FCU 1", "Nothing"},
                        Case{8, "Demo/Subsystem 1", "AppDevices"}, Case{19, "Subsystem 1/FCU 1/x", "Interface"},
                        Case{21, "", "TemplateLibrary"}, Case{28, "Subsystem 1/FCU 1/Node", "LonMarkObject"},
                        Case{29, "Subsystem 1/FCU 1", "LonMarkObjects"}, Case{36, "x/OrvexUC_FCU", "DeviceTemplate"},
                        Case{0, DemoDevicePath, "Nothing"}, Case{22, DemoDevicePath, "Nothing"},
                        Case{53, DemoDevicePath, "Nothing"}, Case{-1, DemoDevicePath, "Nothing"}}) {
    EXPECT_EQ(TypeFound(c.objectClass, c.path), c.type) << c.objectClass << " " << c.path;
  }
}

TEST_F(ObjectFromPathTest, FindsTheNamedDevice) {
  ParseObjectPath("Demo / Demo / Subsystem 1/FCU 1");
  auto device = std::dynamic_pointer_cast<lns::AppDevice>(GetObjectFromPath(7));
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->get_Name(), "FCU 1");
}

TEST_F(ObjectFromPathTest, DispatchesALonMarkObjectEntry) {
  g_Commands[0].ObjectClassId = 28;
  ParseObjectPath("Subsystem 1/FCU 1/Node");
  DispatchCommand(0, GetObjectFromPath(28));
  ASSERT_EQ(window_->lonMarkObjects.size(), 1u);
  EXPECT_EQ(window_->lonMarkObjects[0]->get_Name(), "Node");
  EXPECT_TRUE(window_->devices.empty());
}

}  // namespace
}  // namespace host::test
