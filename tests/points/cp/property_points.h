#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "point_fixture.h"
#include "points/cp/points.h"

// Configuration-property points reached by name, as a client reaches them.
namespace points::testing {

using Kind = rt::Object::CallKind;

inline rt::Variant Call(const rt::Ref<ConfigPropertyPoint>& point, const std::string& member, Kind kind,
                        rt::Variant value = {}) {
  std::vector<rt::Variant> args;
  if (!value.IsEmpty()) args.push_back(std::move(value));
  return point->Invoke(member, kind, args);
}

// Device, ObjIdx, NvName (the bypass time only, "nviOccManCmd"), CpName.
inline void Bind(const rt::Ref<ConfigPropertyPoint>& point, const rt::ObjectRef& device, int16_t objIdx,
                 const std::string& cpName) {
  Call(point, "Device", Kind::Set, rt::Variant::Object(device));
  Call(point, "ObjIdx", Kind::Let, rt::Variant::Integer(objIdx));
  if (point->TypeName() == "SCPTbypassTime") Call(point, "NvName", Kind::Let, Text("nviOccManCmd"));
  Call(point, "CpName", Kind::Let, Text(cpName));
}

// Space-separated field names; "Bits" stands for Bit0 .. Bit31.
inline std::vector<std::string> FieldNames(const std::string& names) {
  std::vector<std::string> fields;
  std::istringstream in(names);
  for (std::string name; in >> name;) {
    for (int flag = 0; name == "Bits" && flag < 32; ++flag) fields.push_back("Bit" + std::to_string(flag));
    if (name != "Bits") fields.push_back(name);
  }
  return fields;
}

// The fields as texts joined by ","; flags as "0" or "1", not joined.
inline std::string Fields(const rt::Ref<ConfigPropertyPoint>& point, const std::string& names) {
  std::string text;
  for (const std::string& name : FieldNames(names)) {
    rt::Variant value = Call(point, name, Kind::Get);
    if (value.GetType() == rt::Variant::Type::Boolean) {
      text += value.ToBoolean() ? "1" : "0";
    } else {
      if (!text.empty()) text += ',';
      text += value.ToString();
    }
  }
  return text;
}

// Each field its value; one value goes to every field.
inline void LetFields(const rt::Ref<ConfigPropertyPoint>& point, const std::string& names,
                      const std::vector<rt::Variant>& values) {
  std::vector<std::string> fields = FieldNames(names);
  for (size_t i = 0; i < fields.size(); ++i)
    Call(point, fields[i], Kind::Let, values.size() == 1 ? values[0] : values[i]);
}

}  // namespace points::testing
