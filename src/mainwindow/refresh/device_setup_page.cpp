#include <string>

#include "lns/device.h"
#include "mainwindow/refresh/device_setup_rows.h"
#include "mainwindow/refresh/page_steps.h"
#include "points/cp/byte_points.h"
#include "points/cp/plain_points.h"

namespace mainwindow::refresh {
namespace {

constexpr int DeviceLine = 2000;
constexpr int SettingsLine = 2006;
constexpr int EditorMember = 3;  // of the arrays shared with other pages

using NumberProperty = points::TypedValue<points::ConfigPropertyPoint, double>;

// The communication timers beside the grid, as its rows say how to show them.
constexpr ConfigBoxRow SendHeartbeat{"nciSndHrtBt", false, OneDecimal};
constexpr ConfigBoxRow ReceiveHeartbeat{"nciRcvHrtBt", false, OneDecimal};
constexpr ConfigBoxRow MinimumSendTime{"nciMinOutTm", true, OneDecimal};

template <class P>
std::string TextOf(const Refresh& refresh, std::string_view property) {
  return refresh.Point<P>(property).get_Value();
}

std::string NumberText(const Refresh& refresh, const ConfigBoxRow& row) {
  const double value = refresh.Point<NumberProperty>(row.point).get_Value();
  return FormatNumber(row.roundDecimalText ? DecimalTextRounded(value) : value, row.pattern);
}

// An editable box: left alone while its editor has it.
void WriteEditable(Refresh& refresh, int line, std::string_view control, int index,
                   const std::function<std::string()>& text) {
  refresh.UnlessBusy(line, control, index, [&] { refresh.SetText(line, control, index, text); });
}
void WriteNumber(Refresh& refresh, std::string_view control, int index, const ConfigBoxRow& row) {
  WriteEditable(refresh, SettingsLine, control, index, [&] { return NumberText(refresh, row); });
}

void WriteIdentity(Refresh& refresh) {
  const fMain& window = refresh.Window();
  refresh.SetText(DeviceLine, "txtUnitAppVer", EditorMember,
                  [&] { return TextOf<points::SCPT_str_asc>(refresh, "nciUnitAppVer"); });
  refresh.SetText(DeviceLine, "txtLonAppVer", EditorMember, [&] { return VersionText(refresh); });
  WriteEditable(refresh, DeviceLine, "txtnciLocation", -1,
                [&] { return TextOf<points::SCPT_str_asc>(refresh, "nciLocation"); });
  refresh.SetText(DeviceLine, "txtNeuronID", -1, [&] { return window.AppDevice()->get_NeuronId(); });
  // A state that cannot be read chooses no text at all.
  refresh.SetText(DeviceLine, "txtDeviceStatus", -1,
                  [&] { return std::string(DeviceStateText(window.AppDevice()->get_State())); });
}

}  // namespace

// Cached values only, but the Neuron ID and the state come from the Object Server on every pass.
void DeviceSetupPage(Refresh& refresh) {
  WriteIdentity(refresh);
  refresh.SetText(SettingsLine, "txtHVAC_Type", -1, [&] { return TextOf<points::SCPThvacType>(refresh, "nciHVACType"); });
  WriteNumber(refresh, "txtnciSndHrtBt", EditorMember, SendHeartbeat);
  WriteNumber(refresh, "txtnciRcvHrtBt", EditorMember, ReceiveHeartbeat);
  WriteNumber(refresh, "txtnciMinOutTm", EditorMember, MinimumSendTime);
  for (int k = 0; k < static_cast<int>(ConfigBoxRows.size()); ++k) WriteNumber(refresh, "txtCP", k, ConfigBoxRows[k]);
}

}  // namespace mainwindow::refresh
