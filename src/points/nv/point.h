#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "points/point.h"

namespace points {

// The contract of every network-variable point: bound by Device Set then NvName Let, read and
// written with ReadNV and WriteNV, whose failures are logged, never raised.
class NetworkVariablePoint : public Point {
 public:
  // Stores the name, then binds the device's variable of that name at once; Device first.
  void put_NvName(const std::string& name);
  const std::string& get_NvName() const noexcept { return m_NvName; }
  void WriteNV() { Write(); }
  void ReadNV() { Read(); }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  explicit NetworkVariablePoint(const PointClass& pointClass) : Point(NetworkVariables, pointClass) {}

  const rt::Ref<rt::Object>& Bound() const override { return m_NV; }
  const std::string& BoundName() const override { return m_NvName; }
  // The variable's own LNS name.
  std::string VariableName() const;

  rt::Ref<rt::Object> m_NV;
  std::string m_NvName;
};

}  // namespace points
