#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lns/values/codec.h"

namespace lns {

// The simulated fan-coil unit: its identity, its LonMark objects, and every network variable and
// configuration property it carries, with the values a unit fresh from commissioning holds.

inline constexpr std::string_view FcuProgramId = "80071A5501030400";
inline constexpr std::string_view FcuNeuronId = "05017A3C2E01";

struct UnitObject {
  int16_t index;  // the LonMark object index
  std::string_view name;
  int16_t typeIndex;  // the functional profile the object implements
};

inline constexpr std::array<UnitObject, 2> FcuObjects{UnitObject{1, "Node", 0}, UnitObject{2, "FCU", 8500}};

enum class PointKind { NetworkVariable, ConfigProperty };
enum class Direction { Input, Output };  // configuration properties are Input: tools write them

struct UnitPoint {
  std::string_view name;  // the LNS name (a configuration property's type name)
  PointKind kind;
  Direction direction;
  int16_t objectIndex;             // the LonMark object that owns it
  std::string_view ownerNv;        // a property of a network variable names it; empty otherwise
  std::string_view typeName;       // the device type its bytes are laid out in
  std::string_view defaultFormat;  // the format name it starts with
  Bytes defaultBytes;
};

// The 37 network variables and 46 configuration properties, network variables first.
const std::vector<UnitPoint>& FcuUnitPoints();

}  // namespace lns
