#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The LonWorks resource catalog: which folders hold resource files, and what those files tell
// about a program ID's types and functional profiles. Its calls report through a status (the
// last argument), never by raising: 0 success, 4 not found, any other value a failure. Every call
// is journaled and may meet an injected fault (faults.h), which can also make it raise.
namespace lns {

namespace catalog_status {
inline constexpr int32_t Success = 0;
inline constexpr int32_t InvalidHandle = 1;
inline constexpr int32_t InvalidArgument = 2;
inline constexpr int32_t ReadOnly = 3;         // a change asked of a catalog opened for reading
inline constexpr int32_t NotFound = 4;
inline constexpr int32_t Damaged = 5;          // the catalog or resource file is not in its format
inline constexpr int32_t FolderNotFound = 6;
inline constexpr int32_t WriteFailed = 7;
inline constexpr int32_t VersionMismatch = 8;  // the resource file changed since it was found
}  // namespace catalog_status

// Open modes of ResourceCatalog.Open.
inline constexpr int16_t CatalogOpenForChange = 0;
inline constexpr int16_t CatalogOpenForReading = 1;

// What a resource file carries; a look-up asks for one kind.
enum ResourceKind : int16_t {
  ResourceTypes = 1,
  ResourceFormats = 2,
  ResourceTexts = 3,
  ResourceFunctionalProfiles = 4,
};

// What FunctionalProfileLookup.Find tells about a functional profile.
struct FunctionalProfile {
  std::string key;
  std::string description;
  int16_t index = 0;
  int16_t majorVersion = 0;
  int16_t minorVersion = 0;
  int16_t inheritsFrom = 0;
  int16_t mandatoryNvCount = 0;
  int16_t optionalNvCount = 0;
  int16_t mandatoryCpCount = 0;
  int16_t optionalCpCount = 0;
  int16_t scope = 0;
};

// A resource file names the program IDs it serves by a template and a scope: the scope says
// which hexadecimal digits of a program ID must equal the template's.
//   scope 0: none (standard resources)   3: digits 1-6 (manufacturer)
//         1: digits 7-10 (device class)  4: digits 1-10 (manufacturer, device class)
//         2: digits 7-12 (class, usage)  5: digits 1-12 (... usage)   6: all 16
struct ResourceFileContent {
  std::string programIdTemplate;  // 16 hexadecimal digits
  int16_t scope = 0;
  int32_t version = 1;
  std::vector<int16_t> kinds;
  std::vector<FunctionalProfile> profiles;  // each profile's scope is the file's
};

// True for the 16 hexadecimal digits of a program ID.
bool IsProgramIdText(std::string_view text);
// Whether a template at a scope serves the program ID (the digits the scope compares are equal).
bool TemplateServes(const std::string& programIdTemplate, int16_t scope, const std::string& programId);
bool IsResourceKind(int16_t kind);

// The resource file format: a header line, then one "keyword value..." line each.
std::string ResourceFileText(const ResourceFileContent& content);
// Nothing when the text is not a resource file.
std::optional<ResourceFileContent> ParseResourceFile(const std::string& text);

inline constexpr const char* ResourceFileExtension = ".rsf";
inline constexpr const char* CatalogFileName = "ResourceCatalog.lst";

class ResourceCatalog {
 public:
  ResourceCatalog() = default;
  ResourceCatalog(const ResourceCatalog&) = delete;
  ResourceCatalog& operator=(const ResourceCatalog&) = delete;

  // Opens the catalog of the types folder (a folder without a catalog yet has an empty one).
  void Open(const std::string& typesFolder, int16_t mode, int32_t& handle, int32_t& status);
  // The `occurrence`-th (from 0) resource file of `kind` whose template serves `programId` at
  // exactly `scope`, searched in the types folder, then in the catalogued folders in the order
  // they were added. Gives the file's path, its version and its scope.
  void Find(int32_t handle, const std::string& programId, int16_t scope, int16_t kind, int16_t occurrence,
            std::string& fileName, int32_t& version, int32_t& foundScope, int32_t& status);
  // Catalogues an existing folder for this handle's look-ups; Update keeps it.
  void AddDirectory(int32_t handle, const std::string& folder, int32_t& status);
  // Stores the handle's catalogued folders, joined with any another process stored meanwhile.
  void Update(int32_t handle, int32_t& status);
  // Forgets the handle; folders added but not updated are dropped.
  void Close(int32_t handle, int32_t& status);

 private:
  struct OpenCatalog {
    std::filesystem::path typesFolder;
    int16_t mode = CatalogOpenForReading;
    std::vector<std::filesystem::path> folders;
  };
  std::map<int32_t, OpenCatalog> open_;
};

class ResourceFile {
 public:
  ResourceFile() = default;
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;
  ~ResourceFile();

  // Opens a resource file found by ResourceCatalog.Find for reading (mode 0), for one kind of
  // its content; `version` 0 takes any version, else the one Find gave.
  void Open(const std::string& fileName, int16_t kind, int32_t version, int16_t mode, int32_t& fileHandle,
            int32_t& status);
  void Close(int32_t fileHandle, int32_t& status);

 private:
  std::vector<int32_t> handles_;
};

class FunctionalProfileLookup {
 public:
  // The functional profile of `typeIndex` in a resource file a ResourceFile has open.
  void Find(int32_t fileHandle, int16_t typeIndex, FunctionalProfile& profile, int32_t& status);
};

}  // namespace lns
