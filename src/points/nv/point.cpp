#include "points/nv/point.h"

#include "points/late_bound.h"
#include "runtime/members.h"

namespace points {

void NetworkVariablePoint::put_NvName(const std::string& name) {
  m_NvName = name;
  m_NV = nullptr;  // a failed binding must not leave the previous device's variable bound
  rt::Steps steps = BindingSteps();
  steps(0, [&] { m_NV = NetworkVariableOf(m_Device, name); });
}

std::string NetworkVariablePoint::VariableName() const { return GetProperty(m_NV, "Name").ToString(); }

rt::Variant NetworkVariablePoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  using P = NetworkVariablePoint;
  static const rt::Members<P> members{
      rt::Let("NvName", &P::put_NvName),
      rt::Get("NvName", &P::get_NvName),
      rt::Method("WriteNV", &P::WriteNV),
      rt::Method("ReadNV", &P::ReadNV),
  };
  return members.Invoke<Point>(*this, member, kind, args);
}

}  // namespace points
