#pragma once

#include <cstdint>
#include <filesystem>

// The LonWorks installation of the simulated machine: the registry value that names its folder,
// the types catalog with the unit's resource files, the conversion tool and the XIF folder.
namespace lns {

struct LonWorksInstallation {
  std::filesystem::path folder;          // the value of "LonWorks Path"
  std::filesystem::path typesFolder;     // "Types", whose catalog knows the resource folder
  std::filesystem::path resourceFolder;  // "Types/User/Tarsen"
  std::filesystem::path conversionTool;  // "bin/XIF32BIN"
  std::filesystem::path xifFolder;       // the XIF search root of the machine's networks
  std::filesystem::path xifFile;         // the unit's XIF file in it
};

// The unit's resource files describe one functional profile for each of its LonMark objects,
// under the type index the object carries, so that a look-up at scope 4 finds both.
//
// Lays the installation into the machine folder (or completes the one "LonWorks Path" already
// names), copying `conversionTool` to "bin/XIF32BIN" and writing the unit's XIF file. What is in
// place already is left as it is, so a second run changes nothing.
// Raises an error when a part cannot be made; what was made before stays.
LonWorksInstallation InstallLonWorks(const std::filesystem::path& conversionTool);

}  // namespace lns
