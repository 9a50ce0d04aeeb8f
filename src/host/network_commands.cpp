#include "host/network_commands.h"

#include "forms/event_loop.h"
#include "host/connection.h"
#include "host/identity.h"
#include "host/progress.h"
#include "host/registration_names.h"
#include "lns/server.h"

namespace host {
namespace {

bool HasTemplateFor(const lns::DeviceTemplates& templates, const std::string& programId) {
  try {
    templates.ItemByProgramId(programId);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::string ProgramIdCandidate(const std::string& base, int32_t index) { return base + HexPad(index, 2); }

std::vector<std::string> ProgramIdsWithTemplates(const lns::DeviceTemplates& templates, const std::string& base,
                                                 int32_t first, int32_t last) {
  std::vector<std::string> found;
  for (int32_t index = first; index <= last; ++index) {
    std::string candidate = ProgramIdCandidate(base, index);
    if (HasTemplateFor(templates, candidate)) found.push_back(std::move(candidate));
  }
  return found;
}

std::shared_ptr<lns::ComponentApps> ComponentAppsOf(int32_t scope, const rt::Ref<lns::DeviceTemplate>& deviceTemplate,
                                                    const std::string& lonMarkObject) {
  switch (scope) {
    case ObjectServerScope:
      return g_ObjectServer->get_ComponentApps();
    case SystemScope:
      return g_System->get_ComponentApps();
    case DeviceTemplateScope:
      return deviceTemplate->get_ComponentApps();
    case LonMarkObjectScope:
      return deviceTemplate->get_Interface()
          ->get_LonMarkObjects()
          ->Item(rt::Variant::String(lonMarkObject))
          ->get_ComponentApps();
    default:
      return nullptr;
  }
}

bool IsOwnApp(const lns::ComponentApp& app) { return app.get_ProgId() == PlugInProgId; }

void ShowStatusLine(const std::string& text) {
  forms::Default<fProgress>().SetStatus(text);
  forms::DoEvents();
}

}  // namespace host
