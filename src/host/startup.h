#pragma once

#include <cstdint>
#include <string>

namespace host {

enum class StartMode { StandAlone, Automation };

// What the process needs before anything starts: the program's identity, the COM class in the
// class table and the host's windows by name.
void SetUpPlugIn();

// The program's start-up: nothing when COM started it; otherwise the command line (registration,
// deregistration) or the registration dialog. A command line that finds the registry damaged
// says which file and why, and ends the process with code 1 having written nothing.
void Main(StartMode mode);

// The plug-in's COM classes and its key under the LNS plug-in folder of the local machine.
void RegisterPlugIn(bool showMessages);
// mode -1 the Windows registration only; 0 complete and 1 exhaustive also every LNS network.
void DeregisterAll(int32_t mode, bool showProgress);
void DeregisterPlugIn(bool showMessages);

// Major and minor part of a version text; "1.1" has the minor part 10, like "1.10".
void ParseVersion(const std::string& text, int16_t& major, int16_t& minor);
// `value` when min <= value <= max, else 1 (also stored back).
int16_t ClampToRange(int16_t min, int16_t max, int16_t& value);

// The plug-in key "SOFTWARE\LonWorks\LCA\Plug-Ins\<plug-in name>".
std::string PlugInKey();

}  // namespace host
