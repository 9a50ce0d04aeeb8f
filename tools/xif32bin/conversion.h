#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace xif32bin {

class ConversionFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the XIF file and writes its binary form to `xfb` whole or not at all.
// Raises ConversionFailure for an input that is not an XIF file, counts that the format cannot
// hold, an output that is the input itself, or one that cannot be made.
void ConvertXifToXfb(const std::filesystem::path& xif, const std::filesystem::path& xfb);

}  // namespace xif32bin
