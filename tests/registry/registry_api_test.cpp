#include <gmock/gmock.h>

#include "registry_fixture.h"

namespace reg::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using RegistryApi = MachineTest;

const char* const kPlugInKey = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Plug-In";

TEST_F(RegistryApi, CreateMakesEveryMissingKeyAndOpenFindsOnlyExistingOnes) {
  RegCloseKey(Create(kPlugInKey));
  for (const char* path : {"SOFTWARE", "SOFTWARE\\LonWorks", "software\\lonworks\\lca\\plug-ins", kPlugInKey}) {
    HKEY key{};
    EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, path, &key), ERROR_SUCCESS) << path;
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  }
  HKEY missing{HKEY_LOCAL_MACHINE};
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, HKEY{});
  EXPECT_THAT(Subkeys(HKEY_LOCAL_MACHINE), ElementsAre("SOFTWARE"));
  EXPECT_THAT(Subkeys(HKEY_CURRENT_USER), ElementsAre());
}

TEST_F(RegistryApi, KeyPathsAreCheckedBeforeAnythingIsStored) {
  std::string deep;
  for (int level = 0; level < 513; ++level) deep += "k\\";
  struct Case {
    std::string path;
    LONG status;
  };
  const Case cases[] = {
      {"A", ERROR_SUCCESS},
      {"A\\B\\", ERROR_SUCCESS},
      {std::string(255, 'x'), ERROR_SUCCESS},
      {"\\A", ERROR_BAD_PATHNAME},
      {"A\\\\B", ERROR_BAD_PATHNAME},
      {std::string(256, 'x'), ERROR_INVALID_PARAMETER},
      {"bad\xff", ERROR_INVALID_PARAMETER},
      {deep, ERROR_BAD_PATHNAME},
  };
  for (const Case& c : cases) {
    std::string before = Dump();
    HKEY key{};
    LONG status = RegCreateKey(HKEY_LOCAL_MACHINE, c.path.c_str(), &key);
    EXPECT_EQ(status, c.status) << c.path.substr(0, 20);
    if (status != ERROR_SUCCESS) {
      EXPECT_EQ(Dump(), before) << c.path.substr(0, 20);
    }
    RegCloseKey(key);
  }
}

TEST_F(RegistryApi, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  HKEY key = Create("Software\\LonWorks");
  RegCloseKey(Create("SOFTWARE\\LONWORKS\\Sub"));
  ASSERT_EQ(SetBytes(key, "LonWorks Path", REG_SZ, std::string("/opt/lw\0", 8)), ERROR_SUCCESS);
  ASSERT_EQ(SetBytes(key, "LONWORKS PATH", REG_SZ, std::string("/srv/lw\0", 8)), ERROR_SUCCESS);
  EXPECT_EQ(QueryBytes(key, "lonworks path"), std::string("/srv/lw\0", 8));
  EXPECT_EQ(Dump(), "HKEY_LOCAL_MACHINE\n  Software\n    LonWorks\n      \"LonWorks Path\" = \"/srv/lw\"\n      Sub\n");
  RegCloseKey(key);
}

TEST_F(RegistryApi, ValuesComeBackWithTypeAndSizeAndATooSmallBufferGetsMoreData) {
  struct Case {
    DWORD type;
    std::string data;
  };
  const Case cases[] = {
      {REG_SZ, std::string("C:\\LonWorks\0", 12)},   // the size counts the terminating NUL
      {REG_SZ, std::string("abc\0def\0", 8)},        // nothing after an inner NUL is lost
      {REG_SZ, std::string("LonMark\xae\0", 9)},     // not UTF-8: an ANSI text
      {REG_EXPAND_SZ, std::string("%ROOT%\\bin\0", 11)},
      {REG_DWORD, std::string("\x02\x00\x00\x00", 4)},
      {REG_BINARY, std::string("\x00\xff\x10", 3)},
      {REG_BINARY, ""},
  };
  HKEY key = Create("Values");
  for (const Case& c : cases) {
    ASSERT_EQ(SetBytes(key, "v", c.type, c.data), ERROR_SUCCESS);
    DWORD type = REG_NONE;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueEx(key, "v", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.data.size());
    EXPECT_EQ(QueryBytes(key, "v"), c.data);
    if (c.data.empty()) continue;
    std::string small(c.data.size() - 1, '?');
    size = static_cast<DWORD>(small.size());
    EXPECT_EQ(RegQueryValueEx(key, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(small.data()), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, c.data.size());
    EXPECT_EQ(small, std::string(c.data.size() - 1, '?'));
  }
  EXPECT_EQ(QueryBytes(key, "absent"), StatusText(ERROR_FILE_NOT_FOUND));
  RegCloseKey(key);
}

TEST_F(RegistryApi, TheEmptyValueNameIsTheDefaultValueOfBothCallFamilies) {
  HKEY key = Create(kPlugInKey);
  ASSERT_EQ(SetBytes(key, "", REG_SZ, std::string("OrvexUC_FCU.LNSPlugInAPI\0", 26)), ERROR_SUCCESS);
  EXPECT_EQ(QueryBytes(key, nullptr), std::string("OrvexUC_FCU.LNSPlugInAPI\0", 26));
  std::vector<char> text(64);
  LONG size = static_cast<LONG>(text.size());
  ASSERT_EQ(RegQueryValue(HKEY_LOCAL_MACHINE, kPlugInKey, text.data(), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 26);
  EXPECT_STREQ(text.data(), "OrvexUC_FCU.LNSPlugInAPI");

  ASSERT_EQ(RegSetValue(key, "New\\Sub", REG_SZ, "text", 0), ERROR_SUCCESS);
  HKEY sub{};
  ASSERT_EQ(RegOpenKey(key, "new\\sub", &sub), ERROR_SUCCESS);
  EXPECT_EQ(QueryBytes(sub, ""), std::string("text\0", 5));
  size = static_cast<LONG>(text.size());
  ASSERT_EQ(RegQueryValue(key, "New", text.data(), &size), ERROR_SUCCESS) << "never set reads as empty";
  EXPECT_EQ(size, 1);
  EXPECT_STREQ(text.data(), "");
  EXPECT_EQ(RegSetValue(key, "Other", REG_DWORD, "text", 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValue(key, "Other", text.data(), &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(sub);
  RegCloseKey(key);
}

TEST_F(RegistryApi, SubkeysAreEnumeratedSortedWithoutRegardToCase) {
  HKEY key = Create("Networks");
  for (const char* name : {"Gamma", "alpha", "Beta"}) RegCloseKey(Create(name, key));
  EXPECT_THAT(Subkeys(key), ElementsAre("alpha", "Beta", "Gamma"));
  std::vector<char> name(6);
  EXPECT_EQ(RegEnumKey(key, 2, name.data(), 5), ERROR_MORE_DATA) << "Gamma and its NUL need 6";
  EXPECT_EQ(RegEnumKey(key, 2, name.data(), 6), ERROR_SUCCESS);
  EXPECT_STREQ(name.data(), "Gamma");
  EXPECT_EQ(RegEnumKey(key, 3, name.data(), 6), ERROR_NO_MORE_ITEMS);
  ASSERT_EQ(RegDeleteKey(key, "BETA"), ERROR_SUCCESS);
  EXPECT_THAT(Subkeys(key), ElementsAre("alpha", "Gamma"));
  RegCloseKey(key);
}

TEST_F(RegistryApi, DeleteRemovesOnlyKeysWithoutSubkeys) {
  HKEY a = Create("A");
  for (const char* path : {"A\\B\\C", "A\\D"}) RegCloseKey(Create(path));
  struct Case {
    HKEY parent;
    const char* path;
    LONG status;
  };
  const Case cases[] = {
      {HKEY_LOCAL_MACHINE, "A", ERROR_ACCESS_DENIED},
      {HKEY_LOCAL_MACHINE, "A\\B", ERROR_ACCESS_DENIED},
      {HKEY_LOCAL_MACHINE, "", ERROR_ACCESS_DENIED},
      {HKEY_LOCAL_MACHINE, nullptr, ERROR_ACCESS_DENIED},
      {HKEY_CURRENT_USER, "", ERROR_ACCESS_DENIED},
      {a, "", ERROR_ACCESS_DENIED},
      {HKEY_LOCAL_MACHINE, "A\\Missing", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "Missing\\C", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "\\A", ERROR_BAD_PATHNAME},
      {a, "b\\c", ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "A\\D", ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "A\\B", ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    std::string before = Dump();
    EXPECT_EQ(RegDeleteKey(c.parent, c.path), c.status) << (c.path ? c.path : "(null)");
    if (c.status != ERROR_SUCCESS) {
      EXPECT_EQ(Dump(), before) << (c.path ? c.path : "(null)");
    }
  }
  EXPECT_EQ(Dump(), "HKEY_LOCAL_MACHINE\n  A\n");
  RegCloseKey(a);
}

TEST_F(RegistryApi, AHandleToADeletedKeyIsToldSo) {
  HKEY doomed = Create("Doomed");
  ASSERT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Doomed"), ERROR_SUCCESS);
  HKEY sub{};
  EXPECT_EQ(SetBytes(doomed, "v", REG_SZ, "x"), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCreateKey(doomed, "Sub", &sub), ERROR_KEY_DELETED);
  EXPECT_THAT(LastFailure(), HasSubstr("HKEY_LOCAL_MACHINE\\Doomed"));
  EXPECT_EQ(Dump(), "HKEY_LOCAL_MACHINE\n") << "no key came back to life";
  EXPECT_EQ(RegCloseKey(doomed), ERROR_SUCCESS);
}

TEST_F(RegistryApi, UnknownAndClosedHandlesAreRefusedByEveryCall) {
  HKEY closed = Create("Key");
  ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  for (HKEY bad : {HKEY{}, HKEY{12345}, closed}) {
    HKEY out{};
    DWORD size = 4;
    BYTE data[4] = {};
    char text[8] = {};
    LONG textSize = 8;
    EXPECT_EQ(RegOpenKey(bad, "x", &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyEx(bad, "x", 0, KEY_READ, &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCreateKey(bad, "x", &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueEx(bad, "v", nullptr, nullptr, data, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValue(bad, "x", text, &textSize), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueEx(bad, "v", 0, REG_BINARY, data, 4), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValue(bad, "x", REG_SZ, "t", 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegEnumKey(bad, 0, text, 8), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteKey(bad, "x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    EXPECT_EQ(LastFailure(), "The handle is invalid.");
  }
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(LastFailure(), "");
  EXPECT_THAT(Subkeys(HKEY_LOCAL_MACHINE), ElementsAre("Key")) << "a root stays open";
}

TEST_F(RegistryApi, AKeyOpenedWithFewRightsRefusesTheOthers) {
  RegCloseKey(Create("Key\\Sub"));
  struct Case {
    REGSAM access;
    LONG query, set, enumerate, create;
  };
  const Case cases[] = {
      {KEY_READ, ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_SUCCESS, ERROR_ACCESS_DENIED},
      {KEY_SET_VALUE, ERROR_ACCESS_DENIED, ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
      {0x2003F, ERROR_SUCCESS, ERROR_SUCCESS, ERROR_SUCCESS, ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    HKEY key{};
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Key", 0, c.access, &key), ERROR_SUCCESS);
    DWORD size = 0;
    char name[8];
    HKEY sub{};
    EXPECT_EQ(RegQueryValueEx(key, "", nullptr, nullptr, nullptr, &size), c.query == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : c.query);
    EXPECT_EQ(SetBytes(key, "v", REG_SZ, "x"), c.set);
    EXPECT_EQ(RegEnumKey(key, 0, name, 8), c.enumerate);
    EXPECT_EQ(RegCreateKey(key, "New", &sub), c.create);
    EXPECT_EQ(RegCreateKey(key, "Sub", &sub), ERROR_SUCCESS) << "opening an existing key needs no right";
    RegCloseKey(sub);
    ASSERT_EQ(RegCreateKey(key, "", &sub), ERROR_SUCCESS);
    EXPECT_EQ(SetBytes(sub, "v", REG_SZ, "x"), c.set) << "a new handle to the same key keeps its rights";
    RegCloseKey(sub);
    RegCloseKey(key);
  }
}

TEST_F(RegistryApi, MissingBuffersAndSizesAreRefused) {
  HKEY key = Create("Key");
  BYTE data[4] = {};
  char text[4] = {};
  EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, "Key", nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "Key", nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueEx(key, "v", nullptr, nullptr, data, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValue(key, "", text, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueEx(key, "v", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValue(key, "", REG_SZ, nullptr, 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegEnumKey(key, 0, nullptr, 4), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetBytes(key, "bad\xff", REG_SZ, "x"), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Dump(), "HKEY_LOCAL_MACHINE\n  Key\n");
  RegCloseKey(key);
}

TEST_F(RegistryApi, TheDumpShowsEveryTypeReadably) {
  HKEY key = Create("SOFTWARE\\LonWorks");
  SetBytes(key, "LonWorks Path", REG_SZ, std::string("/opt/lw\0junk\0", 13));
  SetBytes(key, "", REG_EXPAND_SZ, std::string("%ROOT%\0", 7));
  SetBytes(key, "Count", REG_DWORD, std::string("\x07\x01\x00\x00", 4));
  SetBytes(key, "Blob", REG_BINARY, "\x01\xff");
  RegCloseKey(Create("SOFTWARE\\LonWorks\\Sub"));
  EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, "software\\lonworks"),
            "HKEY_LOCAL_MACHINE\\software\\lonworks\n"
            "  \"LonWorks Path\" = \"/opt/lw\"\n"
            "  (Default) = expand \"%ROOT%\"\n"
            "  \"Count\" = dword 263\n"
            "  \"Blob\" = hex(3) 01 ff\n"
            "  Sub\n");
  std::string text = "kept";
  EXPECT_EQ(DumpTree(key, "Missing", text), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, "kept");
  RegCloseKey(key);
}

}  // namespace
}  // namespace reg::test
