#pragma once

#include <string>

#include "registry/registry.h"

namespace reg {

// The key below hKey and everything under it as text, for demos and tests: the key's path, then
// its values and subkeys indented two blanks a level, subkeys in enumeration order:
//   HKEY_LOCAL_MACHINE\SOFTWARE\LonWorks
//     "LonWorks Path" = "/opt/lonworks"
//     (Default) = expand "%ROOT%"
//     Sub
//       "Count" = dword 7
//       "Blob" = hex(3) 01 ff
// Texts end at their first NUL. On failure `text` is left alone and the status tells why.
LONG DumpTree(HKEY hKey, const char* lpSubKey, std::string& text);

}  // namespace reg
