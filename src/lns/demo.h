#pragma once

#include <string>

namespace lns {

// The demo network of the simulated machine: network "Demo" on the network interface "LON1",
// its system "Demo" OnNet, the template "OrvexUC_FCU" of the simulated fan-coil unit, and two
// such units "FCU 1" and "FCU 2" in the subsystem "Subsystem 1", commissioned and Config Online.
inline constexpr const char* DemoNetworkName = "Demo";
inline constexpr const char* DemoSystemName = "Demo";
inline constexpr const char* DemoNetworkInterface = "LON1";
inline constexpr const char* DemoSubsystemName = "Subsystem 1";
inline constexpr const char* DemoDeviceName = "FCU 1";
inline constexpr const char* DemoSecondDeviceName = "FCU 2";
inline constexpr const char* DemoTemplateName = "OrvexUC_FCU";

// Creates the demo network in the machine folder, with `xifSearchRoot` as its system's XIF
// search root. Returns false, changing nothing, when the machine has a network of that name.
bool CreateDemoNetwork(const std::string& xifSearchRoot);

}  // namespace lns
