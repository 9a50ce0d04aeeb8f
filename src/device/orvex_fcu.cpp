#include "device/orvex_fcu.h"

#include <memory>

#include "com/classes.h"
#include "host/identity.h"
#include "host/log.h"
#include "host/plugin_api.h"
#include "points/cp/points.h"
#include "points/late_bound.h"
#include "points/nv/points.h"
#include "runtime/clock.h"
#include "runtime/members.h"

namespace device {
namespace {

constexpr const char* ClassId = "{9E3D5B72-6A41-4C08-B1F5-3D7A2E8C9F14}";
constexpr const char* NotCommissionedAdvice = "You must commission the device before it can be configured.";

// A point's statements are numbered by its place in the order they run in: ten lines a point.
constexpr int PointLine(size_t place) { return static_cast<int>(place) * 10; }
constexpr int DoneLine = 900;

// The binding's statements of one point, after its Device step.
enum BindingStep { ObjIdxStep = 1, NvNameStep = 2, CpNameStep = 3 };

std::string LineText(int line) { return " Line " + std::to_string(line); }

rt::Steps LoggedSteps(std::string (*line)(int line, const rt::Error& error)) {
  return rt::Steps::LogAndResumeNext([line](int number, const rt::Error& error) { host::WriteLog(line(number, error)); });
}

// The point as its family, or Nothing (error 91 on use) when the slot holds none.
template <class Family>
rt::Ref<Family> As(const rt::Ref<points::Point>& point) {
  return std::dynamic_pointer_cast<Family>(point.Shared());
}

rt::Ref<points::Point> CreatePoint(const PointRow& row) {
  if (row.binding.family == Family::NetworkVariable) return points::CreateNetworkVariablePoint(row.className);
  return points::CreateConfigPropertyPoint(row.className);
}

size_t RowOf(std::string_view property) {
  for (size_t row = 0; row < PointCount; ++row) {
    if (PointTable[row].property == property) return row;
  }
  rt::Raise(rt::err::ObjectNotSupportProperty);
}

}  // namespace

Orvex_FCU::Orvex_FCU() {
  rt::Steps steps = LoggedSteps([](int line, const rt::Error& error) {
    return "Error - " + error.Description() + LineText(line) + " - Orvex_FCU.Class_Initialize";
  });
  for (size_t row = 0; row < PointCount; ++row) {
    steps(PointLine(row + 1), [&] { Slot(row) = CreatePoint(PointTable[row]); });
  }
  steps(DoneLine, [] { host::WriteLog("OrvexUC_FCU - Initialization Complete"); });
}

Orvex_FCU::~Orvex_FCU() {
  m_LNSPlugInAPI = nullptr;
  for (uint8_t row : ReleaseOrder.List()) Slot(row) = nullptr;
}

rt::Ref<host::LNSPlugInAPI> Orvex_FCU::get_LNSPlugInAPI() {
  if (!m_LNSPlugInAPI) m_LNSPlugInAPI = std::make_shared<host::LNSPlugInAPI>();
  return m_LNSPlugInAPI;
}

int16_t Orvex_FCU::get_CommissionStatus() const {
  return points::GetProperty(m_Device, "CommissionStatus").ToInteger();
}

const rt::Ref<points::Point>& Orvex_FCU::Point(std::string_view property) const { return Slot(RowOf(property)); }

void Orvex_FCU::PutPoint(size_t row, const rt::Variant& value) {
  const PointRow& entry = PointTable[row];
  std::shared_ptr<points::Point> point = rt::ObjectArgument<points::Point>(value);
  if (point && point->TypeName() != entry.className) rt::Raise(rt::err::TypeMismatch);
  if (!entry.setter.log.empty()) host::WriteLog(std::string(entry.setter.log));
  Slot(row) = point;
}

bool Orvex_FCU::get_Changed() {
  m_Dirty = false;
  for (uint8_t row : ChangedPoints.List()) {
    if (Slot(row)->get_Changed()) m_Dirty = true;
  }
  return m_Dirty;
}

void Orvex_FCU::Wink() { points::CallMethod(m_Device, "Wink", {}); }

void Orvex_FCU::Reset() { points::CallMethod(m_Device, "Reset", {}); }

void Orvex_FCU::WriteDevice() {
  rt::Steps steps = LoggedSteps([](int line, const rt::Error& error) {
    return "Error - " + error.Description() + LineText(line) + " SCC.WriteDevice";
  });
  steps(1, [] { host::WriteLog("SCC.WriteDevice()- TODO: finish populating list of NVs to write"); });
  if (steps.If(2, [&] { return points::GetProperty(m_Device, "CommissionStatus").ToInteger() == 0; })) {
    const auto written = WrittenPoints.List();
    for (size_t place = 0; place < written.size(); ++place) {
      steps(PointLine(place + 1), [&] { As<points::NetworkVariablePoint>(Slot(written[place]))->WriteNV(); });
    }
    steps(DoneLine, [&] { m_Dirty = false; });
    return;
  }
  steps(3, [&] { host::WriteLog(NameOfDevice() + " is not commisioned. (2nd)"); });
  steps(4, [] { host::WriteLog(std::string(NotCommissionedAdvice) + " (2nd)"); });
}

void Orvex_FCU::ReadDevice(int16_t Range) {
  if (m_Initializing) {
    host::WriteLog(rt::TimeOfDayText() + " - SCC.ReadDevice(Initializing)");
    return;
  }
  rt::Steps steps = LoggedSteps([](int line, const rt::Error& error) {
    return "Error - " + error.Description() + LineText(line) + " SCC.ReadDevice";
  });
  if (steps.If(2, [&] { return get_CommissionStatus() != 0; })) {
    steps(3, [&] { host::WriteLog("SCC.ReadDevice ->" + NameOfDevice() + "< is not commissioned."); });
    steps(4, [] { host::WriteLog(NotCommissionedAdvice); });
    return;
  }
  const auto list = PageList(Range);
  for (size_t place = 0; place < list.size(); ++place) {
    steps(PointLine(place + 1), [&] { ReadPoint(list[place]); });
  }
}

void Orvex_FCU::ReadPoint(size_t row) {
  const rt::Ref<points::Point>& point = Slot(row);
  if (PointTable[row].binding.family == Family::NetworkVariable) {
    As<points::NetworkVariablePoint>(point)->ReadNV();
  } else {
    As<points::ConfigPropertyPoint>(point)->ReadCP();
  }
}

std::string Orvex_FCU::NameOfDevice() const { return points::GetProperty(m_Device, "Name").ToString(); }

std::string Orvex_FCU::get_DeviceTemplate() const {
  const rt::Ref<rt::Object> deviceTemplate = points::ObjectOf(points::GetProperty(m_Device, "DeviceTemplate"));
  return points::GetProperty(deviceTemplate, "").ToString();
}

std::string Orvex_FCU::get_DeviceName() const {
  host::WriteLog("SCC.Get DeviceName = " + NameOfDevice());
  return NameOfDevice();
}

rt::ObjectRef Orvex_FCU::get_Device() const {
  rt::ObjectRef device = m_Device.Shared();
  host::WriteLog("SCC.Get AppDevice = " + points::GetProperty(m_Device, "DisplayText").ToString());
  return device;
}

void Orvex_FCU::putref_Device(rt::ObjectRef device) {
  rt::Steps steps = LoggedSteps([](int line, const rt::Error& error) {
    return "OrvexUCFCU.Set(Device)-" + error.Description() + LineText(line);
  });
  const rt::Ref<rt::Object> given(device);
  m_Initializing = true;
  steps(2, [&] { m_Interface = points::ObjectOf(points::GetProperty(given, "Interface")); });
  steps(3, [&] { m_LonMarkObjects = points::ObjectOf(points::GetProperty(m_Interface, "LonMarkObjects")); });
  steps(4, [&] {
    m_LonMarkObject = points::ObjectOf(points::CallMethod(m_LonMarkObjects, "Item", {rt::Variant::Integer(Node)}));
  });
  m_Device = given;
  const auto order = BindingOrder.List();
  for (size_t place = 0; place < order.size(); ++place) BindPoint(steps, order[place], PointLine(place + 1), device);
  m_Initializing = false;
}

// The device first, and ObjIdx before CpName: a point resolves its LNS object when its name is
// set. A failing step does not skip the point's later ones.
void Orvex_FCU::BindPoint(rt::Steps& steps, size_t row, int line, const rt::ObjectRef& device) {
  const PointRow& entry = PointTable[row];
  const rt::Ref<points::Point>& point = Slot(row);
  steps(line, [&] { point->putref_Device(device); });
  if (entry.binding.family == Family::NetworkVariable) {
    steps(line + NvNameStep,
          [&] { As<points::NetworkVariablePoint>(point)->put_NvName(std::string(entry.lnsName)); });
    return;
  }
  steps(line + ObjIdxStep, [&] { As<points::ConfigPropertyPoint>(point)->put_ObjIdx(entry.binding.objIdx); });
  if (!entry.binding.ownerVariable.empty()) {
    steps(line + NvNameStep, [&] {
      points::LetProperty(point, "NvName", rt::Variant::String(std::string(entry.binding.ownerVariable)));
    });
  }
  steps(line + CpNameStep, [&] { As<points::ConfigPropertyPoint>(point)->put_CpName(std::string(entry.lnsName)); });
}

rt::Variant Orvex_FCU::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  using D = Orvex_FCU;
  // In slot order; each point property a Get, then its Set.
  static const rt::Members<D> members = [] {
    std::vector<rt::Member<D>> list{
        rt::Get("Initializing", &D::get_Initializing),
        rt::Get("LNSPlugInAPI", [](D& self, rt::Args&) { return rt::Variant::Object(self.get_LNSPlugInAPI().Shared()); }),
        rt::Set("LNSPlugInAPI",
                [](D& self, rt::Args& a) {
                  self.putref_LNSPlugInAPI(rt::ObjectArgument<host::LNSPlugInAPI>(rt::AssignedValue(a)));
                }),
        rt::Get("CommissionStatus", &D::get_CommissionStatus),
    };
    for (uint8_t row : InterfaceOrder.List()) {
      list.push_back(rt::Get(PointTable[row].property,
                             [row](D& self, rt::Args&) { return rt::Variant::Object(self.Slot(row).Shared()); }));
      list.push_back(rt::Set(PointTable[row].SetName(),
                             [row](D& self, rt::Args& a) { self.PutPoint(row, rt::AssignedValue(a)); }));
    }
    list.insert(list.end(), {
                                rt::Get("Changed", &D::get_Changed),
                                rt::Method("Wink", &D::Wink),
                                rt::Method("Reset", &D::Reset),
                                rt::Method("WriteDevice", &D::WriteDevice),
                                rt::Method("ReadDevice",
                                           [](D& self, rt::Args& a) { self.ReadDevice(rt::Arg(a, 0).ToInteger()); }),
                                rt::Get("DeviceTemplate", &D::get_DeviceTemplate),
                                rt::Get("DeviceName", &D::get_DeviceName),
                                rt::Get("Device", &D::get_Device),
                                rt::Set("Device", &D::putref_Device),
                            });
    return rt::Members<D>(std::move(list));
  }();
  return members.Invoke(*this, member, kind, args);
}

void AddDeviceClass() {
  com::Classes().Add({std::string(host::ServerName) + ".Orvex_FCU", ClassId, "Orvex_FCU",
                      [] { return rt::ObjectRef(std::make_shared<Orvex_FCU>()); }});
}

}  // namespace device
