#pragma once

#include <cstdint>
#include <string>

namespace host {

// The hexadecimal helpers and identifier words of the command registration.

// "&H1F", "0x1f" and "1F" all give 31; "" gives 0. Error 5 for text that is not hexadecimal,
// 6 for a value beyond the signed 32-bit range.
int32_t HexToLong(const std::string& text);
// The last `width` characters of `width` zeros followed by the upper-case hexadecimal digits of
// `value` (7, 2 give "07"; 4096, 2 give "00"). Error 5 for a negative width.
std::string HexPad(int32_t value, int16_t width);

// The word for an LNS object class ("Application Device"), or "Custom ID = " and the id as
// signed decimal with a leading blank when not negative.
std::string ObjectClassName(int16_t classId);
// The word for an LNS command ("Configure"), or "Custom command " and the id.
std::string CommandName(int32_t command);

}  // namespace host
