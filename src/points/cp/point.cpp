#include "points/cp/point.h"

#include "points/late_bound.h"

namespace points {

namespace {

// The chain's steps by the number its failures report.
constexpr int ObjectStep = 20;
constexpr int PropertyStep = 60;

}  // namespace

int16_t ConfigPropertyPoint::get_ObjIdx() const {
  if (m_ObjIdx) return *m_ObjIdx;
  if (indexField_ == IndexField::Number) return 0;
  rt::Raise(rt::err::TypeMismatch);
}

void ConfigPropertyPoint::ClearBinding() {
  m_Interface = nullptr;
  m_LonMarkObjects = nullptr;
  m_LonMarkObject = nullptr;
  m_ConfigProperties = nullptr;
  m_CP = nullptr;
}

void ConfigPropertyPoint::BindLonMarkObject(rt::Steps& steps) {
  steps(0, [&] { m_Interface = ObjectOf(GetProperty(m_Device, "Interface")); });
  steps(0, [&] { m_LonMarkObjects = ObjectOf(GetProperty(m_Interface, "LonMarkObjects")); });
  steps(ObjectStep, [&] {
    m_LonMarkObject = ObjectOf(CallMethod(m_LonMarkObjects, "Item", {rt::Variant::Integer(get_ObjIdx())}));
  });
}

void ConfigPropertyPoint::BindProperties(rt::Steps& steps) {
  steps(ObjectStep, [&] { m_ConfigProperties = ObjectOf(GetProperty(PropertiesOwner(), "ConfigProperties")); });
}

void ConfigPropertyPoint::put_CpName(const std::string& name) {
  m_CpName = name;
  ClearBinding();
  rt::Steps steps = BindingSteps();
  BindLonMarkObject(steps);
  BindProperties(steps);
  steps(PropertyStep,
        [&] { m_CP = ObjectOf(CallMethod(m_ConfigProperties, "Item", {rt::Variant::String(m_CpName)})); });
  AfterBinding();
}

}  // namespace points
