#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "points/point.h"
#include "runtime/members.h"

namespace points {

// The contract of every configuration-property point: bound by Device Set, ObjIdx Let, then
// CpName Let, which resolves the LonMark object's property at once; read and written with ReadCP
// and WriteCP, whose failures are logged, never raised.
class ConfigPropertyPoint : public Point {
 public:
  // Stores the name, then binds the device's property of that name on the LonMark object at
  // ObjIdx. Every binding starts from nothing: a failed one leaves no earlier device's object.
  void put_CpName(const std::string& name);
  const std::string& get_CpName() const noexcept { return m_CpName; }
  // The LonMark object index (Virtual 0, Node 1, FCU 2). Error 13 while it has not been set,
  // unless the class keeps it as a number that starts at 0.
  void put_ObjIdx(int16_t index) { m_ObjIdx = index; }
  int16_t get_ObjIdx() const;
  void WriteCP() { Write(); }
  void ReadCP() { Read(); }

 protected:
  enum class IndexField { Text, Number };
  explicit ConfigPropertyPoint(const PointClass& pointClass, IndexField indexField = IndexField::Text)
      : Point(ConfigProperties, pointClass), indexField_(indexField) {}

  const rt::Ref<rt::Object>& Bound() const override { return m_CP; }
  const std::string& BoundName() const override { return m_CpName; }

  // The object whose ConfigProperties hold the point's property.
  virtual rt::Ref<rt::Object> PropertiesOwner() const { return m_LonMarkObject; }
  // Runs after the binding's steps.
  virtual void AfterBinding() {}
  // Drops every object the name Let resolves.
  void ClearBinding();
  // The LonMark object at ObjIdx (its Item call is step 20), and the owner's property collection
  // (step 20 too).
  void BindLonMarkObject(rt::Steps& steps);
  void BindProperties(rt::Steps& steps);

  // The members in slot order: `leading`, CpName and ObjIdx, `values`, Changed, WriteCP, ReadCP
  // and Device.
  template <class T>
  static std::vector<rt::Member<T>> SlotOrder(std::vector<rt::Member<T>> leading, std::vector<rt::Member<T>> values);

  rt::Ref<rt::Object> m_Interface;
  rt::Ref<rt::Object> m_LonMarkObjects;
  rt::Ref<rt::Object> m_LonMarkObject;
  rt::Ref<rt::Object> m_ConfigProperties;
  rt::Ref<rt::Object> m_CP;
  std::string m_CpName;

 private:
  IndexField indexField_;
  std::optional<int16_t> m_ObjIdx;
};

template <class T>
std::vector<rt::Member<T>> ConfigPropertyPoint::SlotOrder(std::vector<rt::Member<T>> leading,
                                                          std::vector<rt::Member<T>> values) {
  using P = ConfigPropertyPoint;
  std::vector<rt::Member<T>> members = std::move(leading);
  members.push_back(rt::Let("CpName", &P::put_CpName));
  members.push_back(rt::Get("CpName", &P::get_CpName));
  members.push_back(rt::Let("ObjIdx", &P::put_ObjIdx));
  members.push_back(rt::Get("ObjIdx", &P::get_ObjIdx));
  for (rt::Member<T>& value : values) members.push_back(std::move(value));
  members.push_back(rt::Get("Changed", &P::get_Changed));
  members.push_back(rt::Method("WriteCP", &P::WriteCP));
  members.push_back(rt::Method("ReadCP", &P::ReadCP));
  members.push_back(rt::Set("Device", &P::putref_Device));
  return members;
}

}  // namespace points
