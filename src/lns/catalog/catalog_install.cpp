#include "lns/catalog/catalog_install.h"

#include <optional>
#include <string>
#include <vector>

#include "lns/catalog/catalog.h"
#include "lns/catalog/xif.h"
#include "lns/values/fcu_unit.h"
#include "process/files.h"
#include "process/paths.h"
#include "registry/machine.h"
#include "registry/registry.h"
#include "runtime/error.h"
#include "runtime/file_writer.h"

namespace lns {
namespace fs = std::filesystem;

namespace {

constexpr const char* kSource = "InstallLonWorks";
constexpr const char* kLonWorksKey = "SOFTWARE\\LonWorks";
constexpr const char* kLonWorksPathValue = "LonWorks Path";
constexpr const char* kResourceTemplate = "80071A5501000000";
constexpr int16_t kResourceScope = 4;

struct UnitResourceFile {
  const char* fileName;
  ResourceFileContent content;
};

// A profile for each of the unit's LonMark objects, counting the points the object owns.
std::vector<FunctionalProfile> UnitProfiles() {
  std::vector<FunctionalProfile> profiles;
  for (const UnitObject& object : FcuObjects) {
    FunctionalProfile profile;
    profile.key = "UFPTorvex" + std::string(object.name);
    profile.description = "Orvex fan-coil unit, " + std::string(object.name) + " object";
    profile.index = object.typeIndex;
    profile.majorVersion = 1;
    profile.scope = kResourceScope;
    for (const UnitPoint& point : FcuUnitPoints()) {
      if (point.objectIndex != object.index) continue;
      ++(point.kind == PointKind::NetworkVariable ? profile.mandatoryNvCount : profile.mandatoryCpCount);
    }
    profiles.push_back(std::move(profile));
  }
  return profiles;
}

std::vector<UnitResourceFile> UnitResourceFiles() {
  return {
      {"TarsenSCC_FCU.rsf",
       {kResourceTemplate, kResourceScope, 1,
        {ResourceTypes, ResourceFormats, ResourceTexts, ResourceFunctionalProfiles}, UnitProfiles()}},
      {"TarsenSCC_FCU03.rsf",
       {"80071A5503000000", kResourceScope, 1, {ResourceTypes, ResourceFormats, ResourceTexts}, {}}},
  };
}

[[noreturn]] void Fail(const std::string& what) { rt::Raise(rt::err::PathFileAccessError, kSource, what); }

constexpr fs::perms kReadable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::others_read;
constexpr fs::perms kExecutable = kReadable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

// Leaves a file that already holds `bytes` untouched; otherwise replaces it whole.
void PlaceFile(const fs::path& target, const std::string& bytes, fs::perms permissions = kReadable) {
  std::error_code ec;
  if (fs::status(target, ec).permissions() == permissions && proc::ReadWholeFile(target) == bytes) return;
  if (rt::ReplaceFile(target, bytes, permissions)) Fail("cannot write " + target.string());
}

void MakeFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) Fail("cannot make the folder " + folder.string());
}

std::optional<fs::path> RegisteredFolder() {
  reg::HKEY key{};
  if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, kLonWorksKey, 0, reg::KEY_QUERY_VALUE, &key) != reg::ERROR_SUCCESS) {
    return std::nullopt;
  }
  reg::DWORD type = 0, size = 0;
  std::string value;
  if (reg::RegQueryValueEx(key, kLonWorksPathValue, nullptr, &type, nullptr, &size) == reg::ERROR_SUCCESS &&
      type == reg::REG_SZ) {
    value.resize(size);
    if (reg::RegQueryValueEx(key, kLonWorksPathValue, nullptr, &type, reinterpret_cast<reg::BYTE*>(value.data()),
                             &size) != reg::ERROR_SUCCESS) {
      value.clear();
    }
  }
  reg::RegCloseKey(key);
  value = value.c_str();  // the text ends at its first NUL
  if (value.empty() || !proc::IsDirectory(value)) return std::nullopt;
  return proc::ResolvePath(value);
}

void RegisterFolder(const fs::path& folder) {
  reg::HKEY key{};
  if (reg::RegCreateKey(reg::HKEY_LOCAL_MACHINE, kLonWorksKey, &key) != reg::ERROR_SUCCESS) {
    Fail("cannot store \"" + std::string(kLonWorksPathValue) + "\": " + reg::LastFailure());
  }
  const std::string text = folder.string();
  const reg::LONG status = reg::RegSetValueEx(key, kLonWorksPathValue, 0, reg::REG_SZ,
                                              reinterpret_cast<const reg::BYTE*>(text.c_str()),
                                              static_cast<reg::DWORD>(text.size() + 1));
  const std::string failure = reg::LastFailure();
  reg::RegCloseKey(key);
  if (status != reg::ERROR_SUCCESS) Fail("cannot store \"" + std::string(kLonWorksPathValue) + "\": " + failure);
}

fs::path LonWorksFolder() {
  if (std::optional<fs::path> registered = RegisteredFolder()) return *registered;
  const fs::path folder = reg::MachineFolder() / "LonWorks";
  MakeFolder(folder);
  RegisterFolder(folder);
  return folder;
}

// Catalogues the resource folder unless the catalog finds the unit's resources already.
void CatalogueResources(const fs::path& typesFolder, const fs::path& resourceFolder) {
  ResourceCatalog catalog;
  int32_t handle = 0, status = 0, version = 0, scope = 0;
  std::string fileName;
  catalog.Open(typesFolder.string(), CatalogOpenForChange, handle, status);
  if (status != catalog_status::Success) {
    Fail("the types catalog does not open (status " + std::to_string(status) + ")");
  }
  catalog.Find(handle, kResourceTemplate, kResourceScope, ResourceTexts, 0, fileName, version, scope, status);
  if (status == catalog_status::NotFound) {
    catalog.AddDirectory(handle, resourceFolder.string(), status);
    if (status == catalog_status::Success) catalog.Update(handle, status);
  }
  int32_t closed = 0;
  catalog.Close(handle, closed);
  if (status != catalog_status::Success) {
    Fail("the types catalog takes no resource folder (status " + std::to_string(status) + ")");
  }
}

void InstallTool(const fs::path& source, const fs::path& target) {
  const std::optional<std::string> tool = proc::ReadWholeFile(source);
  if (!tool) rt::Raise(rt::err::FileNotFound, kSource, "File not found: " + source.string());
  PlaceFile(target, *tool, kExecutable);
}

}  // namespace

LonWorksInstallation InstallLonWorks(const fs::path& conversionTool) {
  LonWorksInstallation installation;
  installation.folder = LonWorksFolder();
  const std::string root = installation.folder.string();
  installation.typesFolder = proc::ResolvePath(root + "/Types");
  installation.resourceFolder = proc::ResolvePath(root + "/Types/User/Tarsen");
  installation.conversionTool = proc::ResolvePath(root + "/bin/XIF32BIN");
  installation.xifFolder = proc::ResolvePath(root + "/XIF");
  installation.xifFile = proc::ResolvePath(root + "/XIF/OrvexUC_FCU.XIF");

  for (const fs::path& folder : {installation.resourceFolder, installation.conversionTool.parent_path(),
                                 installation.xifFolder}) {
    MakeFolder(folder);
  }
  for (const UnitResourceFile& file : UnitResourceFiles()) {
    const fs::path target = proc::ResolvePath((installation.resourceFolder / file.fileName).string());
    PlaceFile(target, ResourceFileText(file.content));
  }
  CatalogueResources(installation.typesFolder, installation.resourceFolder);
  InstallTool(conversionTool, installation.conversionTool);
  if (!fs::exists(installation.xifFile)) WriteUnitXif(installation.xifFile);
  return installation;
}

}  // namespace lns
