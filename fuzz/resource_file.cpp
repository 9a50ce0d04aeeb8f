// A resource file of the catalog: read; what reads is written and read again to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lns/catalog/catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto content = lns::ParseResourceFile(std::string(reinterpret_cast<const char*>(data), size));
  if (!content) return 0;
  const std::string text = lns::ResourceFileText(*content);
  const auto again = lns::ParseResourceFile(text);
  if (!again || lns::ResourceFileText(*again) != text) std::abort();
  return 0;
}
