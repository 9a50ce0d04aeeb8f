#pragma once

#include <string>

namespace lns {

// The demo network of the simulated machine: network "Demo" on the network interface "LON1",
// its system "Demo" OnNet, the template "OrvexUC_FCU" of the simulated fan-coil unit, and the
// unit "FCU 1" in the subsystem "Subsystem 1", commissioned and Config Online.
inline constexpr const char* DemoNetworkName = "Demo";
inline constexpr const char* DemoSystemName = "Demo";
inline constexpr const char* DemoNetworkInterface = "LON1";
inline constexpr const char* DemoSubsystemName = "Subsystem 1";
inline constexpr const char* DemoDeviceName = "FCU 1";
inline constexpr const char* DemoTemplateName = "OrvexUC_FCU";
inline constexpr const char* DemoSecondDeviceName = "FCU 2";
inline constexpr const char* DemoSecondNeuronId = "05017A3C2E02";

// Creates the demo network in the machine folder, with `xifSearchRoot` as its system's XIF
// search root. Returns false, changing nothing, when the machine has a network of that name.
bool CreateDemoNetwork(const std::string& xifSearchRoot);

// Lays a second unit of the same template and program ID, "FCU 2" with its own Neuron ID,
// beside the first in the demo network. Returns false, changing nothing, when it is there;
// err::ObjectNotFound when the demo network, its subsystem or its template is not.
bool AddSecondDemoUnit();

}  // namespace lns
