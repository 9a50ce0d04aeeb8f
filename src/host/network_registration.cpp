#include "host/network_registration.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/commands.h"
#include "host/connection.h"
#include "host/hourglass.h"
#include "host/identity.h"
#include "host/log.h"
#include "host/network_commands.h"
#include "host/progress.h"
#include "host/registration_names.h"
#include "host/resource_catalog.h"
#include "host/xif_files.h"
#include "lns/server.h"
#include "runtime/text.h"

namespace host {

namespace {

constexpr size_t ProgramIdLength = 16;
constexpr int32_t NewTemplateKind = 1;
constexpr int MaxNameCounter = 1000;

// The program IDs the registration looks for: the base and a range of last bytes.
struct Candidates {
  std::string base;
  int32_t first = 0;
  int32_t last = LastStandardIndex;
};

Candidates ChooseCandidates() {
  if (rt::Len(g_DevelopmentProgramId) == ProgramIdLength) {
    const int32_t index = HexToLong(rt::Right(g_DevelopmentProgramId, 2));
    return {rt::Left(g_DevelopmentProgramId, ProgramIdBaseLength), index, index};
  }
  return {rt::Left(g_Commands[0].ProgramId, ProgramIdBaseLength), 0, LastStandardIndex};
}

// A failure the registration finds itself: its message shows the context and no description.
struct DetectedFailure {};

std::string UniqueName(const std::string& base, const std::function<bool(const std::string&)>& taken) {
  std::string candidate = base;
  for (int counter = 1; counter <= MaxNameCounter; ++counter) {
    if (!taken(candidate)) return candidate;
    candidate = base + " (" + std::to_string(counter) + ")";
  }
  return candidate;
}

template <class Collection>
bool HoldsName(const Collection& collection, const std::string& name) {
  try {
    collection.Item(rt::Variant::String(name));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

int16_t AsObjectClass(int32_t classId) { return rt::Variant::Long(classId).ToInteger(); }

std::string DefaultQuestion(const PlugInCommand& command, const std::string& templateName) {
  const std::string start = "Do you wish to make " + CommandName(command.CommandId) + " the default action for ";
  switch (command.RegisterScope) {
    case DeviceTemplateScope:
      return start + templateName + " devices?";
    case LonMarkObjectScope:
      return start + "the LonMark object " + command.LonMarkObject + " on " + templateName + " devices?";
    default:
      return start + ObjectClassName(AsObjectClass(command.ObjectClassId)) + " objects?";
  }
}

// One run of RegisterCommands: the context of its failure message and the default-action
// answers, asked at most once per command name.
class CommandRegistration {
 public:
  explicit CommandRegistration(std::shared_ptr<lns::DeviceTemplates> templates) : templates_(std::move(templates)) {}

  // The failure message's description, or nothing when every command was registered.
  std::optional<std::string> Register(std::vector<std::string> found, const std::string& lastCandidate) {
    try {
      if (found.empty()) found.push_back(CreateTemplate(lastCandidate));
      for (const std::string& programId : found) RegisterOnTemplate(templates_->ItemByProgramId(programId));
      return std::nullopt;
    } catch (const DetectedFailure&) {
      return "";
    } catch (...) {
      return rt::AsError(std::current_exception()).Description();
    }
  }

  const std::string& Context() const noexcept { return context_; }

 private:
  [[noreturn]] void Fail(std::string context) {
    context_ = std::move(context);
    throw DetectedFailure{};
  }

  std::string CreateTemplate(std::string programId) {
    if (g_Remote) Fail("Remote client cannot add a template.");
    std::string xifPath = FindXifFile(programId);
    if (xifPath.empty()) GetXifFromUser(xifPath, programId);
    if (xifPath.empty()) Fail("Unable to find XIF file / create a template.");
    const std::string name = FindName(g_Commands[0].TemplateName, *templates_);
    if (name.empty()) Fail("Could not create a unique template name.");
    const auto deviceTemplate = templates_->Add(name, NewTemplateKind);
    ImportOrRemove(*deviceTemplate, xifPath);
    return deviceTemplate->get_ProgramId();
  }

  // A template the import could not fill goes again; the message tells both failures.
  void ImportOrRemove(lns::DeviceTemplate& deviceTemplate, const std::string& xifPath) {
    try {
      deviceTemplate.Import(xifPath);
    } catch (...) {
      const rt::Error importError = rt::AsError(std::current_exception());
      context_ = "Could not import the external interface file " + xifPath + ".";
      std::string description = importError.Description();
      if (const auto removalError = RemoveTemplate(deviceTemplate)) description += CrLf + removalError->Description();
      throw rt::Error(importError.Number(), importError.Source(), description);
    }
  }

  std::optional<rt::Error> RemoveTemplate(const lns::DeviceTemplate& deviceTemplate) {
    try {
      templates_->Remove(rt::Variant::String(deviceTemplate.get_Name()));
      return std::nullopt;
    } catch (...) {
      return rt::AsError(std::current_exception());
    }
  }

  void RegisterOnTemplate(const rt::Ref<lns::DeviceTemplate>& deviceTemplate) {
    for (int16_t index = 0; index < CommandCount; ++index) {
      RegisterCommandOn(deviceTemplate, index);
      forms::DoEvents();
    }
  }

  void RegisterCommandOn(const rt::Ref<lns::DeviceTemplate>& deviceTemplate, int16_t index) {
    const PlugInCommand& command = g_Commands[static_cast<size_t>(index)];
    const auto apps = ComponentAppsOf(command.RegisterScope, deviceTemplate, command.LonMarkObject);
    const std::string templateName = deviceTemplate->get_Name();
    if (!apps) {
      context_ = "ComponentApp was not created.";
      forms::Default<fProgress>().SetStatus("Error adding command " + CommandName(command.CommandId) +
                                            " for Device Template " + templateName + ". " + CrLf + context_);
      return;
    }
    ShowStatusLine(templateName + CrLf + "Adding command " + CommandName(command.CommandId) + " for " +
                   ObjectClassName(AsObjectClass(command.ObjectClassId)) + " objects...");
    rt::Ref<lns::ComponentApp> app = FindOwnApp(*apps, command);
    if (!app) app = CreateComponentApp(*apps, index);
    app->put_Command(command.CommandId);
    app->put_Description(command.Description);
    app->put_Version(PlugInVersion);
    app->put_ManufacturerId(ManufacturerId);
    SetDefault(*apps, *app, DefaultAnswer(command, templateName));
    FrameworkHookArg(rt::Variant::Integer(index));
  }

  static std::shared_ptr<lns::ComponentApp> FindOwnApp(const lns::ComponentApps& apps, const PlugInCommand& command) {
    const int32_t count = apps.get_Count();
    for (int32_t position = 1; position <= count; ++position) {
      auto app = apps.Item(rt::Variant::Long(position));
      if (IsOwnApp(*app) && app->get_Command() == command.CommandId &&
          app->get_ObjectClass() == command.ObjectClassId) {
        return app;
      }
    }
    return nullptr;
  }

  bool DefaultAnswer(const PlugInCommand& command, const std::string& templateName) {
    const auto known = answers_.find(command.Name);
    if (known != answers_.end()) return known->second;
    const int style = forms::vbYesNo | forms::vbQuestion;
    const bool answer =
        command.AskDefault && forms::MsgBox(DefaultQuestion(command, templateName), style, PlugInName) == forms::vbYes;
    answers_[command.Name] = answer;
    return answer;
  }

  // Only one tool's command can be the default: the others lose the flag, ours keep theirs.
  static void SetDefault(const lns::ComponentApps& apps, lns::ComponentApp& app, bool isDefault) {
    app.put_IsDefault(isDefault);
    if (!isDefault) return;
    for (int32_t position = apps.get_Count(); position >= 1; --position) {
      auto other = apps.Item(rt::Variant::Long(position));
      if (!IsOwnApp(*other)) other->put_IsDefault(false);
    }
  }

  std::shared_ptr<lns::DeviceTemplates> templates_;
  std::string context_;
  std::map<std::string, bool> answers_;
};

// The resource step: the user decides whether missing resources stop the registration.
bool AddResourcesOrAsk() {
  while (!AddResourcesToCatalog()) {
    const int answer = forms::MsgBox("Unable to add the resources listed in the ResourceTable to the catalog",
                                     forms::vbAbortRetryIgnore | forms::vbInformation);
    if (answer == forms::vbAbort) return false;
    if (answer == forms::vbIgnore) return true;
  }
  return true;
}

}  // namespace

bool RegisterCommands() {
  HourglassPointer pointer;
  g_Remote = g_ObjectServer->get_Remote();
  const Candidates candidates = ChooseCandidates();
  auto templates = g_System->get_TemplateLibrary()->get_DeviceTemplates();
  const std::vector<std::string> found =
      ProgramIdsWithTemplates(*templates, candidates.base, candidates.first, candidates.last);
  CommandRegistration registration(templates);
  const auto failure = registration.Register(found, ProgramIdCandidate(candidates.base, candidates.last));
  if (failure) {
    pointer.Restore();
    forms::MsgBox(registration.Context() + CrLf + *failure, forms::vbOKOnly | forms::vbCritical);
    return false;
  }
  return AddResourcesOrAsk();
}

std::shared_ptr<lns::ComponentApp> CreateComponentApp(lns::ComponentApps& componentApps, int16_t commandIndex) {
  WriteLog("MMain.CreateComponentApp - Start");
  const PlugInCommand& command = g_Commands.at(static_cast<size_t>(commandIndex));
  const std::string name =
      UniqueName(command.Name, [&](const std::string& candidate) { return HoldsName(componentApps, candidate); });
  try {
    return componentApps.Add(name, PlugInProgId, AsObjectClass(command.ObjectClassId));
  } catch (...) {
    const rt::Error error = rt::AsError(std::current_exception());
    forms::MsgBox(std::to_string(error.Number()) + error.Description(), forms::vbOKOnly);
    return nullptr;
  }
}

std::string FindName(const std::string& baseName, const lns::DeviceTemplates& deviceTemplates) {
  WriteLog("MMain.FindName - Start");
  return UniqueName(baseName, [&](const std::string& candidate) { return HoldsName(deviceTemplates, candidate); });
}

}  // namespace host
