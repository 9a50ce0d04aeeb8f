#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lns/values/codec.h"

namespace lns {

// A device interface as templates, XIF files and new devices describe it: its LonMark objects,
// network variables and configuration properties, each with its device type, the format name it
// starts with and its starting bytes.

struct PointDecl {
  std::string name;
  std::string type;
  std::string format;
  Bytes bytes;
};

struct NetworkVariableDecl {
  PointDecl point;
  bool input = true;
  std::vector<PointDecl> configProperties;
};

struct LonMarkObjectDecl {
  std::string name;
  int16_t typeIndex = 0;
  std::vector<PointDecl> configProperties;
};

struct InterfaceDecl {
  std::vector<LonMarkObjectDecl> lonMarkObjects;  // item 1 first
  std::vector<NetworkVariableDecl> networkVariables;
  std::vector<PointDecl> configProperties;  // the device's own
};

// The key a point's value is kept under within its device or template: its holder, "/" and its
// name ("object/FCU/UCPTcoolKp", "nv/nviSetpoint", "nv/nviOccManCmd/SCPTbypassTime",
// "device/SCPTlocation").
std::string ObjectHolder(const std::string& objectName);
inline constexpr const char* VariableHolder = "nv";
std::string VariablePropertyHolder(const std::string& variableName);
inline constexpr const char* DeviceHolder = "device";
std::string PointKey(const std::string& holder, const std::string& name);
// Every point of the interface with its key.
void VisitPoints(InterfaceDecl& decl, const std::function<void(const std::string& key, PointDecl& point)>& visit);

// Raises err::InvalidValue naming the first point whose type is unknown, whose format its type
// does not take, or whose bytes are not the type's size, and the first name given twice.
void ValidateInterface(const InterfaceDecl& decl);

// Bytes as hexadecimal digits, two per byte, upper case ("01F4").
std::string HexText(const Bytes& bytes);
// The bytes of a hexadecimal text; std::invalid_argument for an odd length or a non-digit.
Bytes HexBytes(const std::string& text);

// The simulated fan-coil unit's interface, from its point table.
InterfaceDecl UnitInterface();

}  // namespace lns
