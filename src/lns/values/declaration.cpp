#include "lns/values/declaration.h"

#include <set>
#include <stdexcept>

#include "lns/calls/errors.h"
#include "lns/values/fcu_unit.h"

namespace lns {
namespace {

void ValidatePoint(const PointDecl& point) {
  if (point.name.empty()) Fail(err::InvalidValue, "a point without a name");
  size_t size = 0;
  try {
    size = TypeSize(point.type);
  } catch (const rt::Error&) {
    Fail(err::InvalidValue, point.name + ": unknown type " + point.type);
  }
  if (!IsKnownFormat(point.type, point.format)) {
    Fail(err::InvalidValue, point.name + ": format " + point.format + " does not fit " + point.type);
  }
  if (point.bytes.size() != size) {
    Fail(err::InvalidValue, point.name + ": " + std::to_string(point.bytes.size()) + " bytes for a " +
                                std::to_string(size) + "-byte " + point.type);
  }
}

void ValidateNames(const std::vector<std::string>& names, const std::string& where) {
  std::set<std::string> seen;
  for (const auto& name : names) {
    if (!seen.insert(name).second) Fail(err::InvalidValue, where + " has \"" + name + "\" twice");
  }
}

void ValidatePoints(const std::vector<PointDecl>& points, const std::string& where) {
  std::vector<std::string> names;
  for (const auto& point : points) {
    ValidatePoint(point);
    names.push_back(point.name);
  }
  ValidateNames(names, where);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  throw std::invalid_argument(std::string("not a hexadecimal digit: ") + c);
}

}  // namespace

std::string ObjectHolder(const std::string& objectName) { return "object/" + objectName; }
std::string VariablePropertyHolder(const std::string& variableName) { return std::string(VariableHolder) + "/" + variableName; }
std::string PointKey(const std::string& holder, const std::string& name) { return holder + "/" + name; }

void VisitPoints(InterfaceDecl& decl, const std::function<void(const std::string& key, PointDecl& point)>& visit) {
  for (auto& object : decl.lonMarkObjects) {
    for (auto& property : object.configProperties) visit(PointKey(ObjectHolder(object.name), property.name), property);
  }
  for (auto& variable : decl.networkVariables) {
    visit(PointKey(VariableHolder, variable.point.name), variable.point);
    for (auto& property : variable.configProperties) {
      visit(PointKey(VariablePropertyHolder(variable.point.name), property.name), property);
    }
  }
  for (auto& property : decl.configProperties) visit(PointKey(DeviceHolder, property.name), property);
}

void ValidateInterface(const InterfaceDecl& decl) {
  std::vector<std::string> objectNames;
  for (const auto& object : decl.lonMarkObjects) {
    if (object.name.empty()) Fail(err::InvalidValue, "a LonMark object without a name");
    ValidatePoints(object.configProperties, "LonMark object " + object.name);
    objectNames.push_back(object.name);
  }
  ValidateNames(objectNames, "the LonMark objects");
  std::vector<std::string> variableNames;
  for (const auto& variable : decl.networkVariables) {
    ValidatePoint(variable.point);
    ValidatePoints(variable.configProperties, "network variable " + variable.point.name);
    variableNames.push_back(variable.point.name);
  }
  ValidateNames(variableNames, "the network variables");
  ValidatePoints(decl.configProperties, "the device");
}

std::string HexText(const Bytes& bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 0x0F];
  }
  return text;
}

Bytes HexBytes(const std::string& text) {
  if (text.size() % 2 != 0) throw std::invalid_argument("an odd number of hexadecimal digits");
  Bytes bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1])));
  }
  return bytes;
}

InterfaceDecl UnitInterface() {
  InterfaceDecl decl;
  for (const auto& object : FcuObjects) decl.lonMarkObjects.push_back({std::string(object.name), object.typeIndex, {}});
  for (const auto& unitPoint : FcuUnitPoints()) {
    PointDecl point{std::string(unitPoint.name), std::string(unitPoint.typeName), std::string(unitPoint.defaultFormat),
                    unitPoint.defaultBytes};
    if (unitPoint.kind == PointKind::NetworkVariable) {
      decl.networkVariables.push_back({point, unitPoint.direction == Direction::Input, {}});
    } else if (!unitPoint.ownerNv.empty()) {
      for (auto& variable : decl.networkVariables) {
        if (variable.point.name == unitPoint.ownerNv) variable.configProperties.push_back(point);
      }
    } else {
      decl.lonMarkObjects.at(static_cast<size_t>(unitPoint.objectIndex) - 1).configProperties.push_back(point);
    }
  }
  return decl;
}

}  // namespace lns
