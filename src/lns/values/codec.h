#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

namespace lns {

using Bytes = std::vector<uint8_t>;

// Value formats of network variables and configuration properties: a value of a device type is
// kept as the device's bytes and exchanged in the format a format name names ("RAW", "Raw" and ""
// are the raw text: one decimal number per byte, TAB-separated, most significant byte first).
// Format names compare without regard to case ("raw" is raw); type names compare exactly.

// True when `formatName` is a format a value of `typeName` can be exchanged in.
bool IsKnownFormat(std::string_view typeName, std::string_view formatName);

// The device bytes of `typeName` presented in `formatName` (a text or a number).
// Raises err::FormatNotSupported for an unknown format.
rt::Variant PresentValue(std::string_view typeName, std::string_view formatName, const Bytes& bytes);

// A value given in `formatName` turned into device bytes of `typeName`. `current` is the value
// held now (its length is the type's size). Raises err::InvalidValue for a value the format does
// not accept, err::FormatNotSupported for an unknown format; nothing is changed then.
Bytes AcceptValue(std::string_view typeName, std::string_view formatName, const rt::Variant& value,
                  const Bytes& current);

// The size in bytes of a value of `typeName`; err::FormatNotSupported for an unknown type.
size_t TypeSize(std::string_view typeName);

}  // namespace lns
