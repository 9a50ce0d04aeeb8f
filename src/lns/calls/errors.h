#pragma once

#include <cstdint>
#include <string>

#include "runtime/error.h"

namespace lns {

// The Object Server stand-in's errors. Every failing member raises one of these as an rt::Error
// with the source "LcaObjectServer".
namespace err {
inline constexpr int32_t ObjectNotFound = static_cast<int32_t>(0x80044702u);
inline constexpr int32_t NotOpen = static_cast<int32_t>(0x80044703u);
inline constexpr int32_t NameExists = static_cast<int32_t>(0x80044704u);
inline constexpr int32_t FormatNotSupported = static_cast<int32_t>(0x80044705u);
inline constexpr int32_t InvalidValue = static_cast<int32_t>(0x80044706u);
inline constexpr int32_t EngineeredMode = static_cast<int32_t>(0x80044707u);
inline constexpr int32_t DatabaseDamaged = static_cast<int32_t>(0x80044708u);
inline constexpr int32_t InterfaceNotFound = static_cast<int32_t>(0x80044709u);
inline constexpr int32_t InvalidArgument = static_cast<int32_t>(0x8004470Au);
inline constexpr int32_t InjectedFault = static_cast<int32_t>(0x8004470Bu);
inline constexpr int32_t RemoteNotAllowed = static_cast<int32_t>(0x8004470Cu);
inline constexpr int32_t DeviceNotResponding = static_cast<int32_t>(0x80044718u);  // -2147203304
}  // namespace err

inline constexpr const char* ErrorSource = "LcaObjectServer";

// The stand-in's text for each of its error numbers.
std::string ErrorDescription(int32_t number);

// Raises the numbered error; `detail` (a name, a path) is added to the standard text.
[[noreturn]] void Fail(int32_t number, const std::string& detail = {});

}  // namespace lns
