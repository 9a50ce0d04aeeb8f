#pragma once

#include <chrono>
#include <string>

namespace host {

// The unit's external interface (XIF) file: found in the network's XIF folder tree or chosen by
// the user, with its binary XFB file beside it, made by the LonWorks tool XIF32BIN when missing.

// The root of the last XIF search, where the file dialog starts.
extern std::string& g_XifDir;

// How long the conversion waits for XIF32BIN at most.
inline constexpr std::chrono::milliseconds DefaultXifToolTimeLimit = std::chrono::minutes(2);
extern std::chrono::milliseconds& g_XifToolTimeLimit;

// The program ID on line 4 of an XIF file (line 5 when line 4 is blank): 16 hexadecimal digits,
// or for a text program ID its 8 characters and 8 blanks; "" unless the path ends in ".XIF".
// Raises when the file cannot be read, is too short, or a text field is not hexadecimal.
std::string ReadXifProgramId(const std::string& path);

// The first XIF file of the tree below `folder` (ending with a separator) whose program ID has
// the wanted first 14 characters and ends in the wanted byte or in 00 to 07; a folder's own files
// before its subfolders. `wanted` comes back in upper case. Files that cannot be read and links
// to folders are passed over.
std::string FindXifInTree(const std::string& folder, std::string& wanted);

// True when the path names an existing folder.
bool IsDirectory(const std::string& path);

// A matching XIF file below the open system's XIF search root whose XFB file exists or was
// made, or "". `wanted` comes back in upper case. Never raises.
std::string FindXifFile(std::string& wanted);

// Asks the user for the XIF file; `xifPath` gets it when its program ID fits and its XFB file
// exists or was made, else "".
void GetXifFromUser(std::string& xifPath, std::string& wanted);

// The XIF path when its XFB file exists or XIF32BIN made it; otherwise "" (in `xifPath` too),
// after telling the user. A path with no file behind it comes back unchanged.
std::string ConvertXifToXfb(std::string& xifPath);

}  // namespace host
