#include "host/network_deregistration.h"

#include <optional>
#include <vector>

#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/commands.h"
#include "host/connection.h"
#include "host/hourglass.h"
#include "host/network_commands.h"
#include "host/progress.h"
#include "lns/server.h"
#include "runtime/steps.h"
#include "runtime/text.h"

namespace host {

namespace {

constexpr int32_t RegisterCommandId = 50;

rt::Resume IgnoreFailure(int, const rt::Error&) { return rt::Resume::Next; }

void ShowProgressLine(const std::string& text) {
  if (g_ShowProgress) ShowStatusLine(text);
}

rt::Ref<lns::DeviceTemplates> SystemTemplates() { return g_System->get_TemplateLibrary()->get_DeviceTemplates(); }

// The collection a removal cleans; the template-bound scopes need the template of the program ID.
std::shared_ptr<lns::ComponentApps> AppsToClean(int16_t scope, const std::string& templateProgramId,
                                                const std::string& lonMarkObject) {
  rt::Ref<lns::DeviceTemplate> deviceTemplate;
  if (scope == DeviceTemplateScope || scope == LonMarkObjectScope) {
    deviceTemplate = SystemTemplates()->ItemByProgramId(templateProgramId);
  }
  return ComponentAppsOf(scope, deviceTemplate, lonMarkObject);
}

// False when a failure ended the removal before the system's command-50 applications.
bool RemoveCommands(const lns::DeviceTemplates& templates, const std::vector<std::string>& found,
                    bool includeServerScope) {
  try {
    for (const std::string& programId : found) {
      const auto deviceTemplate = templates.ItemByProgramId(programId);
      for (int16_t index = 0; index < CommandCount; ++index) {
        const PlugInCommand& command = g_Commands[static_cast<size_t>(index)];
        if (command.RegisterScope == ObjectServerScope && !includeServerScope) continue;
        DeregisterCommand(rt::Variant::Long(command.RegisterScope).ToInteger(), command.CommandId,
                          deviceTemplate->get_ProgramId(), command.LonMarkObject);
        FrameworkHookArg(rt::Variant::Integer(index));
      }
    }
    DeregisterCommand(SystemScope, RegisterCommandId, "", "");
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void OfferTemplateRemoval(lns::DeviceTemplates& templates, const std::vector<std::string>& found) {
  rt::Steps step(IgnoreFailure);
  for (const std::string& programId : found) {
    step.ClearError();
    const auto deviceTemplate =
        step.Get<rt::Ref<lns::DeviceTemplate>>(1, [&] { return templates.ItemByProgramId(programId); }, nullptr);
    const std::string name = step.Get<std::string>(2, [&] { return deviceTemplate->get_Name(); }, "");
    // A template whose devices cannot be counted is taken as in use.
    const bool unused = step.Get<bool>(3, [&] { return deviceTemplate->get_AppDevices()->get_Count() == 0; }, false);
    if (step.LastError() || !unused) continue;
    forms::DoEvents();
    const int answer = forms::MsgBox("The device template '" + name +
                                         "' is no longer referenced by any device in the current network. Do you want "
                                         "to remove the device template from the template library?",
                                     forms::vbYesNo | forms::vbExclamation);
    if (answer != forms::vbYes) continue;
    step(4, [&] { templates.Remove(rt::Variant::String(name)); });
    if (step.LastError()) {
      forms::MsgBox("Unable to remove the device template: " + name, forms::vbOKOnly | forms::vbCritical);
    }
  }
}

// One network of the stand-alone deregistration; `serverScopePending` until a network's commands
// were unregistered with the Object Server's own collection.
class NetworkDeregistration {
 public:
  NetworkDeregistration(bool exhaustive, bool& serverScopePending)
      : exhaustive_(exhaustive), serverScopePending_(serverScopePending) {}

  void Run(const lns::Networks& networks, int32_t position) {
    step_(1, [&] { g_Network = networks.Item(rt::Variant::Long(position)); });
    ShowProgressLine("Opening " + step_.Get<std::string>(2, [] { return g_Network->get_Name(); }, "") + "...");
    step_.ClearError();
    step_(3, [] { g_Network->Open(); });
    if (!step_.LastError()) {
      DetachInterface();
      if (OpenSystem()) Unregister();
    }
    Close();
  }

 private:
  void DetachInterface() {
    step_(4, [] { g_System = g_Network->get_Systems()->Item(rt::Variant::Integer(1)); });
    step_(5, [&] { attachment_ = g_System->get_Attachment(); });
    step_(6, [&] { networkInterface_ = attachment_->get_NetworkInterface(); });
    step_(7, [&] { attachment_->putref_NetworkInterface(nullptr); });
    systemName_ = step_.Get<std::string>(8, [] { return g_System->get_Name(); }, "");
  }

  // Engineered mode first, without a connection to the network; then with the interface.
  bool OpenSystem() {
    ShowProgressLine("Opening " + systemName_ + "..." + CrLf + "Engineered system mode");
    step_.ClearError();
    step_(9, [] { g_System->Open(); });
    detached_ = !step_.LastError();
    if (!detached_) {
      ReattachInterface();
      const std::string interfaceName = step_.Get<std::string>(10, [&] { return networkInterface_->get_Name(); }, "");
      ShowProgressLine("Opening " + systemName_ + "..." + CrLf + "Network Interface '" + interfaceName + "'");
      step_.ClearError();
      step_(11, [] { g_System->Open(); });
      if (step_.LastError()) return false;
    }
    opened_ = true;
    step_(12, [&] { managementMode_ = g_System->get_ManagementMode(); });
    return true;
  }

  void ReattachInterface() {
    step_(13, [&] { attachment_->putref_NetworkInterface(networkInterface_.Shared()); });
  }

  void Unregister() {
    ShowProgressLine("Deregister commands...");
    bool offerTemplateRemoval = exhaustive_;
    bool includeServerScope = serverScopePending_;
    step_(14, [&] { UnregisterCommands(offerTemplateRemoval, includeServerScope); });
    serverScopePending_ = false;
  }

  // The system gets back the mode it had when it opened and, after an engineered open, its
  // network interface, so that the network's attachment is not lost.
  void Close() {
    if (opened_ && managementMode_) step_(15, [&] { g_System->put_ManagementMode(*managementMode_); });
    step_(16, [] { g_System->Close(); });
    if (detached_) ReattachInterface();
    step_(17, [] { g_Network->Close(); });
    g_System = nullptr;
    g_Network = nullptr;
  }

  bool exhaustive_;
  bool& serverScopePending_;
  rt::Steps step_{IgnoreFailure};
  rt::Ref<lns::NetworkAttachment> attachment_;
  rt::Ref<lns::NetworkInterface> networkInterface_;
  std::string systemName_;
  bool detached_ = false;
  bool opened_ = false;
  std::optional<int16_t> managementMode_;
};

}  // namespace

void UnregisterCommands(bool& offerTemplateRemoval, bool& includeServerScope) {
  HourglassPointer pointer;
  const std::string base = rt::Left(g_Commands[0].ProgramId, ProgramIdBaseLength);
  const auto templates = SystemTemplates();
  const std::vector<std::string> found = ProgramIdsWithTemplates(*templates, base, 0, LastStandardIndex);
  if (!RemoveCommands(*templates, found, includeServerScope)) return;
  if (offerTemplateRemoval && g_ShowProgress) OfferTemplateRemoval(*templates, found);
}

void DeregisterCommand(int16_t scope, int32_t command, const std::string& templateProgramId,
                       const std::string& lonMarkObject) {
  rt::Steps step(IgnoreFailure);
  const auto apps = step.Get<rt::Ref<lns::ComponentApps>>(
      1, [&] { return AppsToClean(scope, templateProgramId, lonMarkObject); }, nullptr);
  if (!apps) return;
  const int32_t count = step.Get<int32_t>(2, [&] { return apps->get_Count(); }, 0);
  for (int32_t position = count; position >= 1; --position) {
    // An application that cannot be read is left alone.
    const bool ours = step.Get<bool>(3, [&] {
      const auto app = apps->Item(rt::Variant::Long(position));
      return IsOwnApp(*app) && app->get_Command() == command;
    }, false);
    if (!ours) continue;
    ShowProgressLine(templateProgramId + CrLf + "Deregister Command " + std::to_string(command) + "...");
    step(4, [&] { apps->Remove(rt::Variant::Long(position)); });
  }
}

void DeregisterFromNetworks(bool exhaustive) {
  rt::Steps step(IgnoreFailure);
  step(1, [] { InitCommandTable(); });
  if (g_ShowProgress) {
    step(2, [] {
      forms::Default<fProgress>().Show(forms::vbModeless);
      ShowStatusLine("Opening the Object Server...");
    });
  }
  step(3, [] { g_ObjectServer = MainWindowObjectServer(); });
  step(4, [] { g_ObjectServer->put_Remote(false); });
  step(5, [] { g_ObjectServer->Open(); });
  const auto networks = step.Get<rt::Ref<lns::Networks>>(6, [] { return g_ObjectServer->get_Networks(); }, nullptr);
  const int32_t count = step.Get<int32_t>(7, [&] { return networks->get_Count(); }, 0);
  if (!step.LastError()) {
    bool serverScopePending = true;
    for (int32_t position = 1; position <= count; ++position) {
      NetworkDeregistration(exhaustive, serverScopePending).Run(*networks, position);
    }
  }
  if (g_ShowProgress) {
    step(8, [] {
      UnloadProgressWindow();
      forms::DoEvents();
    });
  }
  step(9, [] { g_ObjectServer->Close(); });
  g_ObjectServer = nullptr;
}

}  // namespace host
