#pragma once

#include <cstdint>

#include "lns/values/codec.h"

// What the crash test's plug-in process does after command 50: it writes the unit's setpoint
// this many times, each time with these bytes.
namespace host::test {

inline constexpr const char* CrashDevice = "Demo/Subsystem 1/FCU 1";
inline constexpr const char* CrashPoint = "nviSetpoint";
inline constexpr int CrashValueWrites = 10;

inline lns::Bytes CrashValue(int step) { return {0x0A, static_cast<uint8_t>(step)}; }

}  // namespace host::test
