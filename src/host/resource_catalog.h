#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace host {

// The unit's LonMark resource files and the LonWorks resource catalog that must know them.

struct ResourceEntry {
  std::string Path;               // the resource folder and the files' common base name
  std::string ProgramIdTemplate;  // the program-ID template the files are registered under
  int16_t Selector = 0;           // the resource scope of the catalog look-up
};

inline constexpr int ResourceCount = 1;
extern std::array<ResourceEntry, ResourceCount>& g_Resources;
// A check found the files; later checks trust it until one fails.
extern int16_t& g_ResourcesChecked;

// The LonWorks installation folder ("LonWorks Path" under SOFTWARE\LonWorks), "" when unknown.
std::string LonWorksPath();

void InitResourceTable();

// True when the catalog knows the resource folder afterwards (it knew it, or it was added);
// false when a catalog step failed or the user chose Abort.
bool AddResourcesToCatalog();
// True when the catalog finds the resource files, now or at an earlier successful check.
bool CheckResourceFiles();

}  // namespace host
