// An XIF file: read; what reads is written and read again to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lns/catalog/xif.h"
#include "runtime/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lns::XifFile xif;
  try {
    xif = lns::ParseXif(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const rt::Error&) {
    return 0;
  }
  const std::string text = lns::XifText(xif);
  if (lns::XifText(lns::ParseXif(text)) != text) std::abort();
  return 0;
}
