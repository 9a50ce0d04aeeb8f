#pragma once

#include <string>
#include <string_view>

namespace automation {

// Source of the errors the channel itself reports (as opposed to errors of the objects it calls).
inline constexpr std::string_view ChannelErrorSource = "automation";

// A request the channel cannot read: error 5 with the detail.
[[noreturn]] void RaiseMalformed(const std::string& detail);
// A field of the wrong JSON kind: error 13.
[[noreturn]] void RaiseWrongType(std::string_view field, std::string_view expected);
// A name or id that refers to nothing: error 9, e.g. "Unknown control \"txtX\"".
[[noreturn]] void RaiseUnknown(std::string_view what, std::string_view name);
// A request that makes no sense in the process's current state: error 5.
[[noreturn]] void RaiseNotPossible(const std::string& reason);

}  // namespace automation
