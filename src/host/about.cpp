#include "host/about.h"

#include <exception>
#include <vector>

#include "forms/app.h"
#include "forms/controls_text.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/key_closer.h"
#include "host/main_window.h"
#include "lns/system.h"
#include "process/paths.h"
#include "process/program.h"
#include "runtime/convert.h"

namespace host {
namespace {

constexpr const char* SysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* SysInfoValue = "PATH";
constexpr const char* SharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* SharedToolsValue = "MSINFO";
constexpr const char* SysInfoProgram = "\\MSINFO32.EXE";
constexpr reg::REGSAM KeyAccess = 0x2003F;
constexpr reg::DWORD ValueBufferSize = 1024;
constexpr int16_t OffNet = 1;
constexpr const char* PartNumberMajor = "0#";

std::string NumberFromBytes(const std::string& bytes) {
  uint32_t number = 0;
  for (size_t i = bytes.size(); i-- > 0;) number = (number << 8) | static_cast<uint8_t>(bytes[i]);
  return std::to_string(number);
}

void SetCaptionOf(forms::Form& form, const char* label, const std::string& text) {
  form.Ctl<forms::Label>(label).SetCaption(text);
}

}  // namespace

frmAbout::frmAbout() : Form("frmAbout") {
  On(forms::Event::Load, [this](forms::EventArgs&) { Form_Load(); });
  On("cmdOK", forms::Event::Click, [this](forms::EventArgs&) { Unload(); });
  On("cmdSysInfo", forms::Event::Click, [this](forms::EventArgs&) { StartSysInfo(); });
}

void frmAbout::Form_Load() {
  const auto& app = forms::App();
  SetCaption("About " + app.ProductName());
  SetCaptionOf(*this, "lblVersion",
               "Software PN 7350218-" + rt::Format(app.Major(), PartNumberMajor) + "-" + rt::NumberText(app.Minor()));
  SetCaptionOf(*this, "lblTitle", app.ProductName());
  SetCaptionOf(*this, "lblDescription", app.FileDescription());
  SetCaptionOf(*this, "lblCommissionStatus",
               g_CannotConfigure ? "Commission Status: Not Commissioned" : "Commission Status: Commissioned");
  try {
    const bool offNet = g_System->get_ManagementMode() == OffNet;
    SetCaptionOf(*this, "lblmgmtMode", offNet ? "Management Mode: OffNet" : "Management Mode: OnNet");
  } catch (const std::exception&) {
    // Without an open system there is no mode to tell; the line keeps its design text.
  }
}

void frmAbout::StartSysInfo() {
  try {
    std::string path;
    std::string folder;
    if (!GetKeyValue(reg::HKEY_LOCAL_MACHINE, SysInfoKey, SysInfoValue, path)) {
      if (!GetKeyValue(reg::HKEY_LOCAL_MACHINE, SharedToolsKey, SharedToolsValue, folder) ||
          !proc::FileExists(proc::ResolvePath(folder + SysInfoProgram).string())) {
        throw rt::Error(rt::err::FileNotFound);
      }
      path = folder + SysInfoProgram;
    }
    proc::Program::Start({path});
  } catch (const std::exception&) {
    forms::MsgBox("System Information Is Unavailable At This Time", forms::vbOKOnly);
  }
}

bool frmAbout::GetKeyValue(reg::HKEY keyRoot, const std::string& keyName, const std::string& subKeyRef,
                           std::string& keyValue) {
  reg::HKEY key{};
  if (reg::RegOpenKeyEx(keyRoot, keyName.c_str(), 0, KeyAccess, &key) != reg::ERROR_SUCCESS) {
    keyValue.clear();
    return false;
  }
  KeyCloser closer(key);
  std::vector<reg::BYTE> buffer(ValueBufferSize, 0);
  reg::DWORD type = 0;
  reg::DWORD size = ValueBufferSize;
  if (reg::RegQueryValueEx(key, subKeyRef.c_str(), nullptr, &type, buffer.data(), &size) != reg::ERROR_SUCCESS) {
    keyValue.clear();
    return false;
  }
  std::string data(reinterpret_cast<const char*>(buffer.data()), size);
  if (!data.empty() && data.back() == '\0') data.pop_back();
  if (type == reg::REG_SZ) keyValue = data;
  if (type == reg::REG_DWORD) keyValue = NumberFromBytes(data);
  return true;
}

}  // namespace host
