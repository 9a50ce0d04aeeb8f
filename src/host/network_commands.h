#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/variant.h"

namespace lns {
class ComponentApp;
class ComponentApps;
class DeviceTemplate;
class DeviceTemplates;
}  // namespace lns

namespace host {

// What the registration and the removal of the plug-in's commands in a network share.

inline constexpr const char* CrLf = "\r\n";

// The unit's program IDs share their first 14 characters; the last byte tells the variant, and
// 00 to 07 are the unit's own.
inline constexpr size_t ProgramIdBaseLength = 14;
inline constexpr int32_t LastStandardIndex = 7;

// Where a command's component application lives (PlugInCommand.RegisterScope).
enum RegisterScopes : int32_t {
  ObjectServerScope = 1,
  SystemScope = 2,
  DeviceTemplateScope = 3,
  LonMarkObjectScope = 4,
};

// The base followed by the index as two hexadecimal digits.
std::string ProgramIdCandidate(const std::string& base, int32_t index);
// The candidates from `first` to `last` that a device template carries, in that order; a failed
// look-up only means there is none.
std::vector<std::string> ProgramIdsWithTemplates(const lns::DeviceTemplates& templates, const std::string& base,
                                                 int32_t first, int32_t last);

// The component applications of a scope: the Object Server's, the open system's, the template's
// or those of the template's LonMark object `lonMarkObject`; nullptr for any other scope. LNS
// failures are raised (a missing template too, for the scopes that need one).
std::shared_ptr<lns::ComponentApps> ComponentAppsOf(int32_t scope, const rt::Ref<lns::DeviceTemplate>& deviceTemplate,
                                                    const std::string& lonMarkObject);

// A component application of this plug-in (its ProgID, letter case included).
bool IsOwnApp(const lns::ComponentApp& app);

// Sets the progress window's status line and lets pending window messages run.
void ShowStatusLine(const std::string& text);

}  // namespace host
