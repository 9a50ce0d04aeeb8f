#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace xif32bin {

class ConversionFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the XIF file and gives its binary form, for the file `xfb`. Raises ConversionFailure for
// an input that is not an XIF file, counts that the format cannot hold, or an output that is the
// input itself.
std::string XfbOf(const std::filesystem::path& xif, const std::filesystem::path& xfb);

// Writes the binary form to `xfb` whole or not at all; raises ConversionFailure when it cannot.
void WriteXfb(const std::filesystem::path& xfb, const std::string& bytes);

}  // namespace xif32bin
