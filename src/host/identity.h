#pragma once

#include <cstdint>

namespace host {

// The plug-in as directors and the registry know it.
inline constexpr const char* PlugInName = "Velmora OrvexUC_FCU Plug-In";
inline constexpr const char* PlugInProgId = "OrvexUC_FCU.LNSPlugInAPI";
// The server's other classes go by ServerName & "." & their class name.
inline constexpr const char* ServerName = "OrvexUC_FCU";
inline constexpr const char* PlugInClassId = "{5B0C6A31-94E2-4F7D-8C1A-2D6E3F40B718}";
inline constexpr const char* PlugInVersion = "1.1";
inline constexpr const char* ManufacturerId = "1818";
inline constexpr const char* ManufacturerName = "Velmora Applied";
inline constexpr const char* LcaVersion = "3.0";
inline constexpr const char* PlugInDescription = "LonMark® Plug-In for the OrvexUC_FCU™";
inline constexpr const char* SettingsFileName = "OrvexUC_FCU.ini";

// The program's version resource.
inline constexpr const char* ApplicationTitle = "LNS Plug-in for OrvexUC FCU";
inline constexpr const char* ProductName = "OrvexUC_FCU™ Device Plug-In";
inline constexpr const char* FileDescription = "Configures the selected Orvex Fan Coil Unit";
inline constexpr int VersionMajor = 1;
inline constexpr int VersionMinor = 1;

// App's identity (title, product, version), as the version resource gives it.
void SetApplicationIdentity();

}  // namespace host
