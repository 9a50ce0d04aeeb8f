#pragma once

#include <filesystem>
#include <string>

#include "lns/values/declaration.h"

namespace lns {

// External interface (XIF) files, in a text format of our own:
//
//   line 1  "ORVEX-XIF 1"
//   line 2  the device's title
//   line 3  a comment
//   line 4  the program ID: eight fields of two hexadecimal digits at the character positions
//           1, 4, 7, ..., 22, one ":" between fields ("80:07:1A:55:01:03:04:00"); a reader
//           that finds line 4 blank takes line 5
//   then one declaration per line (blank lines and lines starting with "#" are skipped):
//           lonmark <index> <name> <typeIndex>          (indexes 1, 2, ... in order)
//           nv <name> input|output <type> <format> <bytes>
//           cp lonmark:<index>|nv:<name>|device <name> <type> <format> <bytes>
//   where <format> is a format name ("-" for the empty one) and <bytes> the starting bytes as
//   hexadecimal digits.
struct XifFile {
  std::string title;
  std::string programId;  // 16 hexadecimal digits
  InterfaceDecl interface;
};

inline constexpr const char* XifMagic = "ORVEX-XIF 1";

// The program ID as the XIF line writes it ("80:07:1A:55:01:03:04:00").
std::string ProgramIdLine(const std::string& programId);

// Raises err::InvalidValue when a name or format cannot be written as one field.
std::string XifText(const XifFile& xif);
// Raises err::InvalidValue naming the line that is not in the format, or the first point the
// interface check refuses.
XifFile ParseXif(const std::string& text);

// Raises err::InvalidArgument when the file cannot be read, and as ParseXif.
XifFile ReadXif(const std::filesystem::path& file);
void WriteXif(const std::filesystem::path& file, const XifFile& xif);

// The simulated fan-coil unit's XIF file.
XifFile UnitXif();
void WriteUnitXif(const std::filesystem::path& file);

}  // namespace lns
