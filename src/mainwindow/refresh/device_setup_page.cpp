#include <string>

#include "forms/controls_text.h"
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

using Box = forms::ControlRef<forms::TextBox>;

// An editable box: left alone while its editor has it.
void WriteEditable(Refresh& refresh, int line, const Box& box, const std::function<std::string()>& text) {
  refresh.UnlessBusy(line, box, [&] { refresh.SetText(line, box, text); });
}
void WriteNumber(Refresh& refresh, const Box& box, const ConfigBoxRow& row) {
  WriteEditable(refresh, SettingsLine, box, [&] { return NumberText(refresh, row); });
}

void WriteIdentity(Refresh& refresh) {
  const fMain& window = refresh.Window();
  refresh.SetText(DeviceLine, controls::txtUnitAppVer[EditorMember],
                  [&] { return TextOf<points::SCPT_str_asc>(refresh, "nciUnitAppVer"); });
  refresh.SetText(DeviceLine, controls::txtLonAppVer[EditorMember], [&] { return VersionText(refresh); });
  WriteEditable(refresh, DeviceLine, controls::txtnciLocation,
                [&] { return TextOf<points::SCPT_str_asc>(refresh, "nciLocation"); });
  refresh.SetText(DeviceLine, controls::txtNeuronID, [&] { return window.AppDevice()->get_NeuronId(); });
  // A state that cannot be read chooses no text at all.
  refresh.SetText(DeviceLine, controls::txtDeviceStatus,
                  [&] { return std::string(DeviceStateText(window.AppDevice()->get_State())); });
}

}  // namespace

// Cached values only, but the Neuron ID and the state come from the Object Server on every pass.
void DeviceSetupPage(Refresh& refresh) {
  WriteIdentity(refresh);
  refresh.SetText(SettingsLine, controls::txtHVAC_Type,
                  [&] { return TextOf<points::SCPThvacType>(refresh, "nciHVACType"); });
  WriteNumber(refresh, controls::txtnciSndHrtBt[EditorMember], SendHeartbeat);
  WriteNumber(refresh, controls::txtnciRcvHrtBt[EditorMember], ReceiveHeartbeat);
  WriteNumber(refresh, controls::txtnciMinOutTm[EditorMember], MinimumSendTime);
  for (int k = 0; k < static_cast<int>(ConfigBoxRows.size()); ++k) {
    WriteNumber(refresh, controls::txtCP.At(k), ConfigBoxRows[k]);
  }
}

}  // namespace mainwindow::refresh
