#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/point_table.h"
#include "points/point.h"
#include "runtime/steps.h"
#include "runtime/variant.h"

namespace host {
class LNSPlugInAPI;
}  // namespace host

namespace device {

// The device object: the unit's 83 points, bound to one application device at a time and read
// page by page. Only a binding guards it: while `Initializing`, no one may touch the points.
class Orvex_FCU : public rt::Object {
 public:
  // Creates the 83 points, unbound.
  Orvex_FCU();
  ~Orvex_FCU() override;
  Orvex_FCU(const Orvex_FCU&) = delete;
  Orvex_FCU& operator=(const Orvex_FCU&) = delete;

  std::string TypeName() const override { return "Orvex_FCU"; }

  // True until a binding has finished, and again while one runs.
  bool get_Initializing() const noexcept { return m_Initializing; }
  // Created on first use; nothing in the plug-in reads it.
  rt::Ref<host::LNSPlugInAPI> get_LNSPlugInAPI();
  void putref_LNSPlugInAPI(rt::Ref<host::LNSPlugInAPI> plugIn) { m_LNSPlugInAPI = std::move(plugIn); }
  // The attached device's commission status, 0 when commissioned.
  int16_t get_CommissionStatus() const;

  // The point object of a property of the table (shared, never copied).
  const rt::Ref<points::Point>& Point(std::string_view property) const;

  // Whether any of the 68 points it looks at holds a value set since its last read or write.
  bool get_Changed();
  void Wink();
  void Reset();
  // Writes the nine input variables the unit is driven by, when the device is commissioned.
  void WriteDevice();
  // Reads the points of a page (0 to 5), or all 83 for any other index; refuses, with a log
  // line, while binding or while the device is not commissioned.
  void ReadDevice(int16_t Range);
  std::string get_DeviceTemplate() const;
  std::string get_DeviceName() const;
  rt::ObjectRef get_Device() const;
  // Binds every point to `device`, in binding order; failures are logged and the next step runs.
  void putref_Device(rt::ObjectRef device);

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 private:
  rt::Ref<points::Point>& Slot(size_t row) { return m_Points[PointTable[row].places.field - 1]; }
  const rt::Ref<points::Point>& Slot(size_t row) const { return m_Points[PointTable[row].places.field - 1]; }
  // A client's replacement of a point: an object of the row's class, or Nothing.
  void PutPoint(size_t row, const rt::Variant& point);
  void BindPoint(rt::Steps& steps, size_t row, int line, const rt::ObjectRef& device);
  void ReadPoint(size_t row);
  std::string NameOfDevice() const;

  rt::Ref<rt::Object> m_Device;
  rt::Ref<rt::Object> m_Interface;
  rt::Ref<rt::Object> m_LonMarkObjects;
  rt::Ref<rt::Object> m_LonMarkObject;
  bool m_Initializing = true;
  bool m_Dirty = false;
  std::array<rt::Ref<points::Point>, PointCount> m_Points;  // in declared order
  rt::Ref<host::LNSPlugInAPI> m_LNSPlugInAPI;
};

// Serves the class to directors as "OrvexUC_FCU.Orvex_FCU".
void AddDeviceClass();

}  // namespace device
