#include <gmock/gmock.h>

#include "host/cregistry.h"
#include "host/key_closer.h"
#include "host_fixture.h"

namespace host::test {
namespace {

class CRegistryTest : public HostTest {
 protected:
  static void SetRaw(reg::HKEY root, const char* path, const char* name, reg::DWORD type, const std::string& bytes) {
    reg::HKEY key{};
    ASSERT_EQ(reg::RegCreateKey(root, path, &key), reg::ERROR_SUCCESS);
    KeyCloser closer(key);
    ASSERT_EQ(reg::RegSetValueEx(key, name, 0, type, reinterpret_cast<const reg::BYTE*>(bytes.data()),
                                 static_cast<reg::DWORD>(bytes.size())),
              reg::ERROR_SUCCESS);
  }
  static bool Exists(reg::HKEY root, const char* path) {
    reg::HKEY key{};
    if (reg::RegOpenKey(root, path, &key) != reg::ERROR_SUCCESS) return false;
    reg::RegCloseKey(key);
    return true;
  }
};

TEST_F(CRegistryTest, MachineSettingReadsOnlyStrings) {
  SetRaw(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", "LonWorks Path", reg::REG_SZ, std::string("/opt/lon\0junk\0", 14));
  SetRaw(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", "Count", reg::REG_DWORD, std::string("\x07\0\0\0", 4));
  SetRaw(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", "Empty", reg::REG_SZ, std::string("\0", 1));
  CRegistry registry;
  struct Case {
    const char* key;
    const char* value;
    const char* text;
  };
  for (const Case& c : {Case{"SOFTWARE\\LonWorks", "LonWorks Path", "/opt/lon"}, Case{"SOFTWARE\\LonWorks", "Count", ""},
                        Case{"SOFTWARE\\LonWorks", "Empty", ""}, Case{"SOFTWARE\\LonWorks", "Missing", ""},
                        Case{"SOFTWARE\\Nowhere", "LonWorks Path", ""}}) {
    EXPECT_EQ(registry.get_MachineSetting(c.key, c.value), c.text) << c.key << " " << c.value;
  }
}

TEST_F(CRegistryTest, LetsCreateThePathAndMarkAFailure) {
  CRegistry registry;
  registry.put_MachineSetting("SOFTWARE\\A\\B\\C", "Value", "text");
  EXPECT_EQ(registry.get_MachineSetting("SOFTWARE\\A\\B\\C", "Value"), "text");
  registry.put_AppSetting("Section\\Sub", "Name", "per user");
  EXPECT_TRUE(Exists(reg::HKEY_CURRENT_USER,
                     "SOFTWARE\\LonWorks\\LCA\\Applets\\Velmora OrvexUC_FCU Plug-In\\Section\\Sub"));
  EXPECT_EQ(registry.get_AppSetting("Section\\Sub", "Name"), "per user");
  EXPECT_EQ(registry.ErrorNumber(), 0);
  registry.put_MachineSetting("SOFTWARE\\\\Bad", "Value", "text");
  EXPECT_EQ(registry.ErrorNumber(), static_cast<int32_t>(0x80040201u));
}

TEST_F(CRegistryTest, DeleteMachineKeyRemovesTheWholeTree) {
  CRegistry registry;
  for (const char* path : {"SOFTWARE\\Tree\\A\\A1", "SOFTWARE\\Tree\\A\\A2\\Deep", "SOFTWARE\\Tree\\B"}) {
    registry.put_MachineSetting(path, "v", "x");
  }
  EXPECT_TRUE(registry.DeleteMachineKey("SOFTWARE\\Tree"));
  EXPECT_FALSE(Exists(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Tree"));
  EXPECT_TRUE(Exists(reg::HKEY_LOCAL_MACHINE, "SOFTWARE"));
  EXPECT_FALSE(registry.DeleteMachineKey("SOFTWARE\\Tree"));
}

TEST_F(CRegistryTest, EnumeratesSubkeys) {
  CRegistry registry;
  for (const char* path : {"SOFTWARE\\List\\beta", "SOFTWARE\\List\\Alpha", "SOFTWARE\\Leaf"}) {
    registry.put_MachineSetting(path, "v", "x");
  }
  EXPECT_EQ(registry.FindFirstMachineKey("SOFTWARE\\List"), "Alpha");
  EXPECT_EQ(registry.GetNextMachineKey(), "beta");
  EXPECT_EQ(registry.GetNextMachineKey(), "");
  EXPECT_EQ(registry.FindFirstMachineKey("SOFTWARE\\Leaf"), "");
  EXPECT_EQ(registry.GetNextMachineKey(), "");
  EXPECT_EQ(registry.FindFirstMachineKey("SOFTWARE\\Missing"), "");
  EXPECT_EQ(registry.GetNextMachineKey(), "");
}

}  // namespace
}  // namespace host::test
