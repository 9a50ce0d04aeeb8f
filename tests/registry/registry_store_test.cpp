#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "registry/format.h"
#include "registry/machine.h"
#include "registry/quick_reader.h"
#include "registry/store.h"
#include "registry_fixture.h"
#include "runtime/descriptor.h"
#include "runtime/error.h"
#include "runtime/file_writer.h"
#include "runtime/text.h"
#include "support/temp_machine.h"

namespace reg::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using namespace std::string_literals;

using orvex::test::ReadFile;
using orvex::test::WriteFile;

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

using RegistryStore = MachineTest;

TEST_F(RegistryStore, EveryChangeReachesTheFileAtOnceAsReadableJson) {
  HKEY key = Create("SOFTWARE\\LonWorks");
  ASSERT_EQ(SetBytes(key, "LonWorks Path", REG_SZ, std::string("/opt/lw\0", 8)), ERROR_SUCCESS);
  std::string file = ReadFile(machine_ / "registry.json");
  EXPECT_THAT(file, HasSubstr("\"LonWorks Path\": {\n"));
  EXPECT_THAT(file, HasSubstr("\"text\": \"/opt/lw\\u0000\""));
  EXPECT_EQ(RegistryFile(), machine_ / "registry.json");

  Reset();
  HKEY again{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", 0, KEY_READ, &again), ERROR_SUCCESS);
  EXPECT_EQ(QueryBytes(again, "LonWorks Path"), std::string("/opt/lw\0", 8));
  RegCloseKey(again);
}

TEST_F(RegistryStore, ProcessesChangingAtOnceLoseNoneOfEachOthersChanges) {
  constexpr int kChildren = 3;
  constexpr int kValuesEach = 15;
  int barrier[2];
  ASSERT_EQ(pipe(barrier), 0);
  auto writeValues = [](int writer) {
    HKEY key{};
    bool ok = RegCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared", &key) == ERROR_SUCCESS;
    for (int i = 0; ok && i < kValuesEach; ++i) {
      // A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
      std::string name = 'w' + std::to_string(writer) + "_" + std::to_string(i);
      ok = SetBytes(key, name.c_str(), REG_SZ, name + '\0') == ERROR_SUCCESS;
    }
    return ok;
  };
  std::vector<pid_t> children;
  for (int writer = 1; writer <= kChildren; ++writer) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      char go;
      close(barrier[1]);
      bool started = read(barrier[0], &go, 1) == 0;
      _exit(started && writeValues(writer) ? 0 : 1);
    }
    children.push_back(child);
  }
  close(barrier[0]);
  close(barrier[1]);
  EXPECT_TRUE(writeValues(0));
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  HKEY key{};
  ASSERT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared", &key), ERROR_SUCCESS);
  for (int writer = 0; writer <= kChildren; ++writer) {
    for (int i = 0; i < kValuesEach; ++i) {
      // A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
      std::string name = 'w' + std::to_string(writer) + "_" + std::to_string(i);
      EXPECT_EQ(QueryBytes(key, name.c_str()), name + '\0');
    }
  }
  RegCloseKey(key);
  EXPECT_THAT(FolderEntries(machine_), UnorderedElementsAre("registry.json", "registry.lock"));
}

TEST_F(RegistryStore, ADamagedFileIsReportedByEveryCallAndLeftAsItIs) {
  const std::string damaged[] = {
      "",
      "{}\0{\"HKEY_LOCAL_MACHINE\": {\"keys\": {\"a\": {}}}}"s,
      "{\"HKEY_LOCAL_MACHINE\": {",
      "[]",
      "{\"HKEY_USERS\": {}}",
      "{\"HKEY_LOCAL_MACHINE\": 5}",
      "{\"HKEY_LOCAL_MACHINE\": {\"key\": {}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"keys\": {\"a\": {}, \"A\": {}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"keys\": {\"a\\\\b\": {}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 3, \"hex\": \"0g\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 3, \"hex\": \"012\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": -1, \"text\": \"x\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1, \"text\": \"x\", \"hex\": \"00\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1, \"text\": 7}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"keys\": {\"b\": {}, \"a\": {}, \"B\": {}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"keys\": {\"a\": {}, \"a\": {}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1, \"text\": \"x\"}, \"v\": {\"type\": 1, \"text\": \"y\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"b\": {\"type\": 1, \"text\": \"x\"}, \"a\": {\"type\": 1, \"text\": \"y\"}, "
      "\"B\": {\"type\": 1, \"text\": \"z\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"keys\": {}, \"keys\": {}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1, \"type\": 1, \"text\": \"x\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 4294967296, \"hex\": \"00\"}}}}",
      "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1, \"text\": \"\\ud800\"}}}}",
  };
  const fs::path file = machine_ / "registry.json";
  for (const std::string& content : damaged) {
    WriteFile(file, content);
    HKEY key{};
    DWORD size = 0;
    char name[8];
    std::string dump;
    const LONG statuses[] = {
        RegOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key),
        RegCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key),
        SetBytes(HKEY_LOCAL_MACHINE, "v", REG_SZ, "x"),
        RegQueryValueEx(HKEY_LOCAL_MACHINE, "v", nullptr, nullptr, nullptr, &size),
        RegEnumKey(HKEY_LOCAL_MACHINE, 0, name, 8),
        RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE"),
        DumpTree(HKEY_CURRENT_USER, "", dump),
    };
    for (LONG status : statuses) EXPECT_EQ(status, ERROR_REGISTRY_CORRUPT) << content;
    // A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
    EXPECT_THAT(LastFailure(), HasSubstr('"' + file.string() + "\" is damaged and was left as it is")) << content;
    EXPECT_EQ(ReadFile(file), content);
    EXPECT_THAT(FolderEntries(machine_), UnorderedElementsAre("registry.json", "registry.lock"));
  }
}

TEST_F(RegistryStore, AFileThatCannotBeReadIsReported) {
  fs::create_directories(machine_ / "registry.json");
  HKEY key{};
  EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key), ERROR_REGISTRY_IO_FAILED);
  EXPECT_THAT(LastFailure(), HasSubstr("cannot be read"));
  EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key), ERROR_REGISTRY_IO_FAILED);
  EXPECT_TRUE(fs::is_directory(machine_ / "registry.json"));
}

TEST_F(RegistryStore, WithoutTheLockChangesAreRefusedAndReadsGoOn) {
  RegCloseKey(Create("SOFTWARE"));
  const std::string before = ReadFile(machine_ / "registry.json");
  fs::remove(machine_ / "registry.lock");
  fs::create_directory(machine_ / "registry.lock");
  HKEY key{};
  EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "Other", &key), ERROR_REGISTRY_IO_FAILED);
  EXPECT_THAT(LastFailure(), HasSubstr("registry.lock\" cannot be taken"));
  EXPECT_EQ(SetBytes(HKEY_LOCAL_MACHINE, "v", REG_SZ, "x"), ERROR_REGISTRY_IO_FAILED);
  EXPECT_THAT(Subkeys(HKEY_LOCAL_MACHINE), ElementsAre("SOFTWARE"));
  EXPECT_EQ(ReadFile(machine_ / "registry.json"), before);
}

TEST_F(RegistryStore, AHandWrittenFileIsReadInTheRegistrysOwnOrder) {
  WriteFile(machine_ / "registry.json", R"({
    "HKEY_LOCAL_MACHINE": {"keys": {"b": {}, "C": {}, "a": {"values": {"Blob": {"type": 3, "hex": "00FF"}}}}}
  })");
  EXPECT_THAT(Subkeys(HKEY_LOCAL_MACHINE), ElementsAre("a", "b", "C"));
  HKEY key{};
  ASSERT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, "A", &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryBytes(key, "blob"), std::string("\x00\xff", 2));
  RegCloseKey(key);
}

// Another writer changes a value to one of the same length. The registry's writers make a new file
// and rename it over the old; here it has the same size and, as within one tick of the file system's
// clock, the same modification time. An edit in place keeps the file's inode and size; its
// modification time, set apart here as the clock would after a tick, tells it from the file read last.
TEST_F(RegistryStore, AnotherWritersFileIsSeenAtTheNextCallThoughItLooksTheSame) {
  const fs::path file = machine_ / "registry.json";
  auto renamed = [&](const struct stat& before) {
    std::string text = ReadFile(file);
    text.replace(text.find("aaaa"), 4, "bbbb");
    ASSERT_FALSE(rt::ReplaceFile(file, text));
    const timespec times[] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  };
  auto inPlace = [&](const struct stat& before) {
    const rt::Descriptor editor(open(file.c_str(), O_WRONLY | O_CLOEXEC));
    ASSERT_EQ(pwrite(editor.Get(), "bbbb", 4, static_cast<off_t>(ReadFile(file).find("aaaa"))), 4);
    timespec times[] = {{0, UTIME_OMIT}, before.st_mtim};
    --times[1].tv_sec;
    ASSERT_EQ(futimens(editor.Get(), times), 0);
    struct stat after {};
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_size, before.st_size);
  };
  const std::pair<const char*, std::function<void(const struct stat&)>> writers[] = {{"renamed", renamed},
                                                                                     {"in place", inPlace}};
  for (const auto& [how, write] : writers) {
    HKEY key = Create("SOFTWARE");
    ASSERT_EQ(SetBytes(key, "v", REG_SZ, "aaaa"), ERROR_SUCCESS);
    EXPECT_EQ(QueryBytes(key, "v"), "aaaa") << how;
    struct stat before {};
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    write(before);
    EXPECT_EQ(QueryBytes(key, "v"), "bbbb") << how;
    RegCloseKey(key);
  }
}

TEST_F(RegistryStore, AChangeThatCannotBeWrittenIsNotSeenAfterwards) {
  HKEY key = Create("SOFTWARE");
  ASSERT_EQ(SetBytes(key, "v", REG_SZ, "old"), ERROR_SUCCESS);
  rt::SetWriteStepHook([](rt::WriteStep step) { return step == rt::WriteStep::Rename ? EIO : 0; });
  HKEY added{};
  EXPECT_EQ(SetBytes(key, "v", REG_SZ, "new"), ERROR_REGISTRY_IO_FAILED);
  EXPECT_EQ(RegCreateKey(key, "Added", &added), ERROR_REGISTRY_IO_FAILED);
  rt::SetWriteStepHook({});
  EXPECT_EQ(QueryBytes(key, "v"), "old");
  EXPECT_THAT(Subkeys(key), ElementsAre());
  RegCloseKey(key);
}

// Upper-cased bytes: "_" after the letters, UTF-8 after ASCII, a prefix first.
TEST_F(RegistryStore, KeysOfEveryKindOfNameAreListedInOneOrderAndFoundInAnyCase) {
  const std::vector<std::string> sorted = {"a", "A1", "ab", "B", "Z", "_x", "\xC3\xA9"};
  WriteFile(machine_ / "registry.json", "{\"HKEY_LOCAL_MACHINE\": {\"keys\": {\"\xC3\xA9\": {}, \"_x\": {}, \"B\": {}, "
                                        "\"ab\": {}, \"Z\": {}, \"A1\": {}, \"a\": {}}}}");
  EXPECT_THAT(Subkeys(HKEY_LOCAL_MACHINE), ElementsAreArray(sorted));
  fs::remove(machine_ / "registry.json");
  for (const char* name : {"Z", "_x", "a", "\xC3\xA9", "ab", "B", "A1"}) RegCloseKey(Create(name));
  EXPECT_THAT(Subkeys(HKEY_LOCAL_MACHINE), ElementsAreArray(sorted));
  for (const std::string& name : sorted) {
    HKEY key{};
    EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, rt::UCase(name).c_str(), &key), ERROR_SUCCESS) << name;
    RegCloseKey(key);
  }
}

// Some of these the quick reader leaves to the JSON library (a byte-order mark, a surrogate pair).
TEST_F(RegistryStore, EscapesAndBlanksOfEveryKindReadAsJsonMeansThem) {
  struct Case {
    std::string file;
    std::string dump;
  };
  const std::string head = "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": 1, \"text\": \"";
  const Case cases[] = {
      {head + R"(\"\\\/\b\f\n\r\t\u00e9\u20AC\u0000x"}}}})", "\"\\/\b\f\n\r\t\xC3\xA9\xE2\x82\xAC"},
      {head + R"(\ud83d\ude00"}}}})", "\xF0\x9F\x98\x80"},
      {"\xEF\xBB\xBF" + head + "x\"}}}}", "x"},
      {" \t\r\n{\"HKEY_LOCAL_MACHINE\"\n:\t{\"values\":{\"v\":{\"text\":\"x\",\"type\":1}}}\r\n}\n", "x"},
  };
  MadeMachineFolder();
  for (const Case& c : cases) {
    ASSERT_FALSE(rt::ReplaceFile(RegistryFile(), c.file));
    EXPECT_EQ(Dump(), "HKEY_LOCAL_MACHINE\n  \"v\" = \"" + c.dump + "\"\n") << c.file;
  }
}

TEST_F(RegistryStore, WhatTheRegistryWritesTheQuickReaderTakesWhole) {
  HKEY key = Create("SOFTWARE\\K\xC3\xA9y \"quoted\"\\Sub");
  SetBytes(key, "", REG_SZ, std::string("line\n\ttab\x01\x7f \xE2\x82\xAC\xF0\x9F\x98\x80\0", 20));
  SetBytes(key, "back\\slash", REG_BINARY, std::string("\x00\xff", 2));
  SetBytes(key, "not UTF-8", REG_SZ, "\xC3");
  RegCloseKey(key);
  const std::string text = ReadFile(machine_ / "registry.json");
  const std::optional<Hives> quick = QuickRead(text);
  ASSERT_TRUE(quick);
  EXPECT_EQ(HivesToJson(*quick), text);
}

// The store reads the file a piece at a time: a piece may end anywhere, inside a name, an escape or
// a number, and the size the file is thought to have may be wrong.
TEST_F(RegistryStore, TheQuickReaderTakesATextInPiecesAsItTakesItWhole) {
  HKEY key = Create("SOFTWARE\\K\xC3\xA9y \"quoted\"");
  // Sizes and a type packed in more than a byte each.
  SetBytes(key, std::string(130, 'n').c_str(), 1000, std::string(300, '\x7f'));
  SetBytes(key, "", REG_SZ, "t\xC3\xA9xt\n");
  RegCloseKey(key);
  store::Change([](Hives& hives) {
    Key& parent = *Descend(hives.localMachine, {"SOFTWARE"});
    for (int i = 0; i < 1100; ++i) parent.AddSubkey("Class" + std::to_string(i)).SetValue({"", REG_DWORD, {1, 2, 3, 4}});
    return true;
  });
  const std::string written = ReadFile(machine_ / "registry.json");
  ASSERT_EQ(HivesToJson(QuickRead(written).value()), written);
  const std::string head = "{\"HKEY_LOCAL_MACHINE\": {\"values\": {\"v\": {\"type\": ";
  const std::pair<std::string, bool> texts[] = {
      {written, true},
      {head + "10, \"text\": \"\\u00e9\\n\"}}}}", true},
      {head + "01, \"hex\": \"00\"}}}}", false},
      {written.substr(0, written.size() - 3), false},
  };
  for (const auto& [text, taken] : texts) {
    for (const size_t piece : {size_t{1}, size_t{7}, text.size()}) {
      size_t at = 0;
      const ReadMore readMore = [&](char* into, size_t room) {
        const size_t count = std::min({room, piece, text.size() - at});
        at += text.copy(into, count, at);
        return count;
      };
      const std::optional<Hives> hives = QuickRead(readMore, text.size() / 2);
      ASSERT_EQ(hives.has_value(), taken) << piece << ": " << text.substr(0, 80);
      if (taken) {
        EXPECT_EQ(HivesToJson(*hives), HivesToJson(QuickRead(text).value())) << piece;
      }
    }
  }
}

// The environment decides the machine folder; each case starts from a clean environment.
class MachineFolderTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    for (const char* name : kVariables) saved_.push_back(Saved(name));
  }
  void TearDown() override {
    for (size_t i = 0; i < std::size(kVariables); ++i) Put(kVariables[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    MachineTest::TearDown();
  }
  static std::optional<std::string> Saved(const char* name) {
    const char* value = getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Put(const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  static constexpr const char* kVariables[] = {"ORVEX_MACHINE", "XDG_DATA_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(MachineFolderTest, TheEnvironmentChoosesTheFolderAndOnlyAWriteMakesIt) {
  struct Case {
    const char* machine;
    const char* xdgDataHome;
    const char* expected;
  };
  // Values starting with "/" lie in the test's folder.
  const Case cases[] = {
      {"/chosen", "/xdg", "/chosen"},
      {nullptr, "/xdg", "/xdg/orvexuc_fcu/machine"},
      {"", "/xdg", "/xdg/orvexuc_fcu/machine"},
      {nullptr, "relative/xdg", "/home/.local/share/orvexuc_fcu/machine"},
      {nullptr, nullptr, "/home/.local/share/orvexuc_fcu/machine"},
  };
  auto inRoot = [&](const char* value) -> std::optional<std::string> {
    if (value == nullptr) return std::nullopt;
    return value[0] == '/' ? (root_.string() + value) : value;
  };
  for (const Case& c : cases) {
    auto machine = inRoot(c.machine);
    auto xdg = inRoot(c.xdgDataHome);
    Put("ORVEX_MACHINE", machine ? machine->c_str() : nullptr);
    Put("XDG_DATA_HOME", xdg ? xdg->c_str() : nullptr);
    Put("HOME", (root_ / "home").c_str());
    const fs::path expected = *inRoot(c.expected);
    EXPECT_EQ(MachineFolder(), expected) << c.expected;
    HKEY key{};
    EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key), ERROR_FILE_NOT_FOUND) << c.expected;
    EXPECT_FALSE(fs::exists(expected)) << c.expected;
    EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key), ERROR_SUCCESS) << c.expected;
    RegCloseKey(key);
    EXPECT_TRUE(fs::is_regular_file(expected / "registry.json")) << c.expected;
    fs::remove_all(expected);
  }
}

TEST_F(MachineFolderTest, AFolderThatCannotBeMadeIsReported) {
  WriteFile(root_ / "a file", "x");
  Put("ORVEX_MACHINE", (root_ / "a file").c_str());
  try {
    MadeMachineFolder();
    ADD_FAILURE() << "no error";
  } catch (const rt::Error& error) {
    EXPECT_EQ(error.Number(), rt::err::PathNotFound);
    EXPECT_THAT(error.Description(), HasSubstr((root_ / "a file").string()));
  }
  HKEY key{};
  EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &key), ERROR_REGISTRY_IO_FAILED);
  EXPECT_THAT(LastFailure(), HasSubstr("cannot be made"));
}

}  // namespace
}  // namespace reg::test
