#include <array>
#include <string>

#include "device/orvex_fcu.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/commands.h"
#include "host/connection.h"
#include "host/log.h"
#include "host/main_window.h"
#include "host/network_registration.h"
#include "host/progress.h"
#include "host/resource_catalog.h"
#include "host/short_timer.h"
#include "lns/catalog/catalog.h"
#include "lns/device.h"
#include "lns/interface.h"
#include "lns/system.h"
#include "mainwindow/fmain.h"
#include "mainwindow/fmain_controls.h"

namespace mainwindow {
namespace {

constexpr int16_t OffNet = 1;
constexpr int16_t OnNet = 0;
constexpr const char* MissingResources =
    "The resource files required for this device are not present on this computer. Browsing and data formating "
    "capabilities might be restricted to standard types and standard functional profile templates. Do you want to "
    "continue?";
constexpr const char* ObjectModesNotSet = "Unable to set the Mode for the LonMark Objects, do you want to proceed?";
constexpr const char* StillOffNet =
    "ACTION REQUIRED\r\n\r\nLonMaker is in the 'OffNet' management mode.\r\nThe network must be 'OnNet'.\r\rSet the "
    "network to 'OnNet' from the LonMaker\\Network Properties\\Network Interface menu.";
constexpr const char* CatalogNotClosed = "Error closing the catalog";
constexpr std::array<int16_t, 4> ResourceScopes = {6, 5, 4, 3};
constexpr int16_t ProfileFiles = lns::ResourceFunctionalProfiles;
constexpr int16_t FirstFile = 0;
constexpr int16_t ReadOnlyFile = 0;
// A resource file the catalog names did not open: the box shows no text.
constexpr int32_t FileNotOpened = 1;

void ShowProgress(const std::string& text) { forms::Default<host::fProgress>().put_DisplayStatus(text); }

// Box E of the attach's functions. Retry runs the failed step again, Ignore goes on after it and
// Abort leaves the function.
rt::Steps AttachErrorBox(const std::string& function, bool closeProgress, bool* ignored = nullptr) {
  return rt::Steps([=](int, const rt::Error& error) {
    if (closeProgress) host::UnloadProgressWindow();
    const std::string text = error.Number() == FileNotOpened ? std::string() : error.Description();
    switch (forms::MsgBox(text, forms::vbAbortRetryIgnore | forms::vbCritical, "fMain " + function)) {
      case forms::vbRetry:
        return rt::Resume::Retry;
      case forms::vbIgnore:
        if (ignored) *ignored = true;
        return rt::Resume::Next;
      default:
        return rt::Resume::Exit;
    }
  });
}

bool Declined(const char* question) {
  return forms::MsgBox(question, forms::vbYesNo | forms::vbExclamation) == forms::vbNo;
}

rt::Ref<lns::Interface> InterfaceOf(const rt::Ref<lns::AppDevice>& device) { return device->get_Interface(); }

// The object three Parent steps above, reached by name as any client would.
rt::Ref<lns::AppDevice> DeviceAbove(const rt::Ref<lns::LonMarkObject>& object) {
  rt::ObjectRef node = object.Shared();
  for (int step = 0; step < 3; ++step) {
    std::vector<rt::Variant> none;
    node = rt::Ref<rt::Object>(node)->Invoke("Parent", rt::Object::CallKind::Get, none).ToObject();
  }
  auto device = std::dynamic_pointer_cast<lns::AppDevice>(node);
  if (!device) rt::Raise(rt::err::TypeMismatch);
  return device;
}

// The resource catalog as one look-up uses it.
struct ResourceLookUp {
  lns::ResourceCatalog catalog;
  lns::ResourceFile file;
  lns::FunctionalProfileLookup profiles;
  int32_t handle = 0;

  // Closes the catalog, saying so when that fails.
  void Close() {
    int32_t status = lns::catalog_status::Success;
    catalog.Close(handle, status);
    if (status != lns::catalog_status::Success) forms::MsgBox(CatalogNotClosed, forms::vbOKOnly | forms::vbCritical);
  }

  // Gives the object the first scope, from the narrowest, whose resource files know its profile;
  // an object that no scope knows keeps its mode.
  void SetScope(rt::Steps& step, const std::string& programId, const rt::Ref<lns::LonMarkObject>& object) {
    int16_t typeIndex = 0;
    step(5, [&] { typeIndex = object->get_TypeIndex(); });
    for (int16_t scope : ResourceScopes) {
      if (step.Exited() || FindProfile(step, programId, scope, object, typeIndex)) return;
    }
  }

  bool FindProfile(rt::Steps& step, const std::string& programId, int16_t scope,
                   const rt::Ref<lns::LonMarkObject>& object, int16_t typeIndex) {
    std::string fileName;
    int32_t version = 0;
    int32_t foundScope = 0;
    int32_t status = lns::catalog_status::NotFound;
    step(5, [&] { catalog.Find(handle, programId, scope, ProfileFiles, FirstFile, fileName, version, foundScope, status); });
    if (status != lns::catalog_status::Success) return false;
    int32_t fileHandle = 0;
    bool opened = false;
    step(5, [&] {
      file.Open(fileName, ProfileFiles, version, ReadOnlyFile, fileHandle, status);
      if (status == lns::catalog_status::Success) {
        opened = true;
        return;
      }
      int32_t ignored = 0;
      file.Close(fileHandle, ignored);
      rt::Raise(FileNotOpened);
    });
    if (!opened) return false;
    lns::FunctionalProfile profile;
    status = lns::catalog_status::NotFound;
    step(5, [&] { profiles.Find(fileHandle, typeIndex, profile, status); });
    const bool found = status == lns::catalog_status::Success;
    if (found) {
      step(5, [&] { object->put_Mode(scope); });
      step(5, [&] { ShowProgress("Set " + object->get_Name() + " mode = " + std::to_string(scope)); });
    }
    int32_t ignored = 0;
    step(5, [&] { file.Close(fileHandle, ignored); });
    return found;
  }
};

}  // namespace

void fMain::ProcessDeviceCommand(rt::Ref<lns::AppDevice>& TheDevice, host::PlugInCommand&) {
  rt::Steps step = rt::Steps::LogAndResumeNext([](int line, const rt::Error& error) {
    host::WriteLog("Error - " + error.Description() + "Line " + std::to_string(line) + " in ProcessDeviceCommand");
  });
  step(1, [&] { m_AppDevice = TheDevice; });
  step(2, [&] { FCU().putref_Device(TheDevice.Shared()); });
  bool resourcesFound = false;
  step(3, [&] { resourcesFound = host::CheckResourceFiles(); });
  if (!resourcesFound) {
    if (step.If(3, [] { return Declined(MissingResources); })) return;
  } else if (!host::g_Remote && step.If(4, [this] { return !DrfLookUp(); })) {
    if (step.If(4, [] { return Declined(ObjectModesNotSet); })) return;
  }
  if (step.If(5, [this] { return !SetDevTemplateLabel(); })) return;
  if (step.If(6, [this] { return !InitDevice(); })) return;
  step(7, [this] { FCU().ReadDevice(AllPoints); });
  step(8, [this] {
    int16_t statusPage = 0;
    RefreshMainForm(statusPage);
  });
  step(9, [this] { Ctl(controls::txtSPID).SetText(m_AppDevice->get_ProgramId()); });
}

bool fMain::SetDevTemplateLabel() {
  rt::Steps step = AttachErrorBox("SetDevTemplateLabel", true);
  std::string name;
  step(1, [&] { name = rt::Ref<lns::DeviceTemplate>(m_AppDevice->get_DeviceTemplate())->get_Name(); });
  step(2, [&] {
    std::string rest;
    Ctl(controls::txtDeviceTemplate).SetText(host::SplitFirst(name, "[", rest));
  });
  return !step.Exited();
}

// Only a device that is commissioned and "Config Online" on an OnNet network is read.
bool fMain::InitDevice() {
  bool ignored = false;
  rt::Steps step = AttachErrorBox("InitDevice", true, &ignored);
  bool result = false;
  [&] {
    step(1, [] { host::FrameworkHook(); });
    // A device without an interface stops the attach here.
    step(2, [this] { InterfaceOf(m_AppDevice)->get_NetworkVariables(); });
    if (step.If(3, [] { return host::g_System->get_ManagementMode() == OffNet; })) {
      step(3, [] { ShowProgress("Setting LonMaker to 'OnNet' ..."); });
      step(3, [] {
        host::StartShortTimer(1);
        host::WaitForShortTimer();
      });
      step(3, [] { host::g_System->put_ManagementMode(OnNet); });
    }
    if (step.If(4, [] { return host::g_System->get_ManagementMode() == OffNet; })) {
      step(4, [] { host::g_CannotConfigure = rt::VbTrue; });
      step(4, [] { forms::MsgBox(StillOffNet, forms::vbOKOnly | forms::vbInformation); });
      return;
    }
    if (step.If(5, [this] { return !m_AppDevice->get_IsCommissioned(); })) return;
    step(6, [] { ShowProgress("Testing the device..."); });
    if (step.If(6, [this] { return m_AppDevice->get_TestBlocked(); })) return;
    step(7, [] { ShowProgress("Reading the device state..."); });
    const int16_t state = step.Get<int16_t>(7, [this] { return m_AppDevice->get_State(); }, 0);
    if (ignored || step.Exited()) return;
    if (state == lns::device_state::ConfigOnline) {
      step(7, [] { host::g_CannotConfigure = rt::VbFalse; });
      step(7, [] { ShowProgress("Initializing the SCC ..."); });
      step(7, [this] { forms::WaitWhile([this] { return FCU().get_Initializing(); }); });
      result = !step.Exited();
    } else if (state == lns::device_state::SoftOffline) {
      step(7, [this] { m_AppDevice->put_State(lns::device_state::ConfigOnline); });
    }
  }();
  host::UnloadProgressWindow();
  return result && !step.Exited();
}

bool fMain::DrfLookUp() {
  rt::Steps step = AttachErrorBox("DrfLookUp", false);
  step(1, [] { ShowProgress("Complete DRF look-up in progress..."); });
  std::string programId;
  rt::Ref<lns::LonMarkObjects> objects;
  step(2, [&] { programId = m_AppDevice->get_ProgramId(); });
  step(2, [&] { objects = InterfaceOf(m_AppDevice)->get_LonMarkObjects(); });
  ResourceLookUp lookUp;
  std::string lonWorks;
  step(3, [&] { lonWorks = host::LonWorksPath(); });
  int32_t status = lns::catalog_status::NotFound;
  step(4, [&] { lookUp.catalog.Open(lonWorks + "\\Types", lns::CatalogOpenForReading, lookUp.handle, status); });
  if (!step.Exited() && status == lns::catalog_status::Success) {
    const int32_t count = step.Get<int32_t>(5, [&] { return objects->get_Count(); }, 0);
    for (int32_t i = 1; i <= count && !step.Exited(); ++i) {
      rt::Ref<lns::LonMarkObject> object;
      step(5, [&] { object = objects->Item(rt::Variant::Integer(static_cast<int16_t>(i))); });
      lookUp.SetScope(step, programId, object);
    }
    if (!step.Exited()) step(6, [&] { lookUp.Close(); });
    if (!step.Exited()) return true;
  }
  // After an Abort the look-up's own runner runs nothing more: the closing gets a box of its own.
  AttachErrorBox("DrfLookUp", false)(8, [&] { lookUp.Close(); });
  host::UnloadProgressWindow();
  return false;
}

void fMain::ProcessLonMarkObjectCommand(rt::Ref<lns::LonMarkObject>& TheLMObject, host::PlugInCommand&) {
  m_CmdLonMarkObject = TheLMObject;
  rt::Steps step([](int, const rt::Error&) { return rt::Resume::Next; });
  step(3, [&] { m_AppDevice = DeviceAbove(TheLMObject); });
  step(4, [&] { FCU().putref_Device(DeviceAbove(TheLMObject).Shared()); });
}

void fMain::RefuseStart() {
  if (host::g_InstanceCount != 0) {
    Hide();
  } else {
    EndPlugIn();
  }
}

}  // namespace mainwindow
