#pragma once

#include <cstdint>
#include <string>

namespace host {

// The numbered errors a director sees from LNSPlugInAPI (20001 is not used).
namespace plugin_err {
inline constexpr int32_t CannotRegisterCommands = 20000;
inline constexpr int32_t ReadOnlyProperty = 20002;
inline constexpr int32_t CommandNotSupported = 20003;
inline constexpr int32_t ObjectTypeNotSupported = 20004;
inline constexpr int32_t ObjectNotFound = 20005;
inline constexpr int32_t CannotDoThat = 20006;
}  // namespace plugin_err

// Raises with the plug-in name as the source.
[[noreturn]] void RaisePlugInError(int32_t number, const std::string& description);

}  // namespace host
