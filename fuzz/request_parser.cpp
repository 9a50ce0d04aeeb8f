// A director's request line: read, then its fields taken the ways the verbs take them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "automation/request.h"
#include "runtime/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  try {
    const automation::Request request(automation::ParseRequestLine(line));
    for (const char* field : {"verb", "object", "member", "index", "button", "path", "queue"}) {
      try {
        request.Text(field);
        request.Int(field, 0);
        request.Flag(field, false);
      } catch (const rt::Error&) {
      }
    }
  } catch (const rt::Error&) {
  }
  return 0;
}
