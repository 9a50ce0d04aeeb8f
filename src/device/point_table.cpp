#include "device/point_table.h"

namespace device {
namespace {

constexpr Order StatusPage = OrderBy([](const PointRow& row) { return row.pages.status; });
constexpr Order GeneralPage = OrderBy([](const PointRow& row) { return row.pages.general; });
constexpr Order DeviceSetupPage = OrderBy([](const PointRow& row) { return row.pages.deviceSetup; });
constexpr Order NetworkVariables =
    RowsWhere([](const PointRow& row) { return row.binding.family == Family::NetworkVariable; });
constexpr Order JumpersPage = OrderBy([](const PointRow& row) { return row.pages.jumpers; });
constexpr Order AllPoints = OrderBy([](const PointRow& row) { return row.pages.all; });

static_assert(FieldOrder.size == PointCount && BindingOrder.size == PointCount &&
              InterfaceOrder.size == PointCount && ReleaseOrder.size == PointCount);
static_assert(StatusPage.size == 28 && GeneralPage.size == 39 && DeviceSetupPage.size == 81 &&
              NetworkVariables.size == 37 && JumpersPage.size == 1 && AllPoints.size == PointCount);
static_assert(ChangedPoints.size == 68 && WrittenPoints.size == 9);

}  // namespace

std::span<const uint8_t> PageList(int16_t range) {
  switch (range) {
    case 0: return StatusPage.List();
    case 1: return GeneralPage.List();
    case 2: return DeviceSetupPage.List();
    case 3:
    case 5: return NetworkVariables.List();
    case 4: return JumpersPage.List();
    default: return AllPoints.List();
  }
}

}  // namespace device
