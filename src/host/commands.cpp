#include "host/commands.h"

#include "host/connection.h"
#include "host/main_window.h"
#include "host/plugin_errors.h"
#include "lns/device.h"
#include "lns/interface.h"
#include "lns/server.h"
#include "runtime/text.h"

namespace host {

namespace {

constexpr int32_t ConfigureCommand = 13;
constexpr int32_t AppDeviceClass = 7;
constexpr int32_t LonMarkObjectClass = 28;
constexpr int32_t DeviceTemplateScope = 3;

// One step of an object walk: a property, then (unless kNoItem) its Item named by the path
// element that many places before the last.
constexpr int kNoItem = -1;
struct WalkStep {
  const char* member;
  int elementFromEnd;
};

enum class WalkRoot { ObjectServer, Network, System };

struct ObjectWalk {
  int16_t classId;
  WalkRoot root;
  std::vector<WalkStep> steps;
};

const std::vector<ObjectWalk>& ObjectWalks() {
  static const std::vector<ObjectWalk> walks = {
      {1, WalkRoot::Network, {}},
      {2, WalkRoot::ObjectServer, {{"Networks", kNoItem}}},
      {3, WalkRoot::System, {}},
      {4, WalkRoot::Network, {{"Systems", kNoItem}}},
      {5, WalkRoot::System, {{"Subsystems", 0}}},
      {6, WalkRoot::System, {{"Subsystems", 0}, {"Subsystems", kNoItem}}},
      {7, WalkRoot::System, {{"Subsystems", 1}, {"AppDevices", 0}}},
      {8, WalkRoot::System, {{"Subsystems", 0}, {"AppDevices", kNoItem}}},
      {9, WalkRoot::System, {{"Subsystems", 1}, {"Routers", 0}}},
      {10, WalkRoot::System, {{"Subsystems", 0}, {"Routers", kNoItem}}},
      {12, WalkRoot::Network, {{"Channels", 0}}},
      {13, WalkRoot::Network, {{"Channels", kNoItem}}},
      {16, WalkRoot::System, {{"Subnets", 0}}},
      {17, WalkRoot::System, {{"Subnets", kNoItem}}},
      {18, WalkRoot::System, {{"Connections", kNoItem}}},
      {19, WalkRoot::System, {{"Subsystems", 2}, {"AppDevices", 1}, {"Interface", kNoItem}}},
      {21, WalkRoot::System, {{"TemplateLibrary", kNoItem}}},
      {28, WalkRoot::System, {{"Subsystems", 2}, {"AppDevices", 1}, {"Interface", kNoItem}, {"LonMarkObjects", 0}}},
      {29, WalkRoot::System, {{"Subsystems", 1}, {"AppDevices", 0}, {"Interface", kNoItem}, {"LonMarkObjects", kNoItem}}},
      {32, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"HardwareTemplates", 0}}},
      {33, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"HardwareTemplates", kNoItem}}},
      {34, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"BuildTemplates", 0}}},
      {35, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"BuildTemplates", kNoItem}}},
      {36, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"DeviceTemplates", 0}}},
      {37, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"DeviceTemplates", kNoItem}}},
      {38, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"ProgramTemplates", 0}}},
      {39, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"ProgramTemplates", kNoItem}}},
      {41, WalkRoot::Network, {{"NetworkServiceDevices", kNoItem}}},
      {42, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"ConnectionDescriptionTemplates", 0}}},
      {43, WalkRoot::System, {{"TemplateLibrary", kNoItem}, {"ConnectionDescriptionTemplates", kNoItem}}},
      {44, WalkRoot::System, {{"ErrorObject", kNoItem}}},
      {52, WalkRoot::System, {{"RecoveryStatus", kNoItem}}},
  };
  return walks;
}

rt::ObjectRef RootObject(WalkRoot root) {
  switch (root) {
    case WalkRoot::ObjectServer:
      return g_ObjectServer.Shared();
    case WalkRoot::Network:
      return g_Network.Shared();
    case WalkRoot::System:
      return g_System.Shared();
  }
  return nullptr;
}

rt::ObjectRef Member(const rt::ObjectRef& object, const char* member, std::vector<rt::Variant> args) {
  if (!object) throw rt::Error(rt::err::ObjectNotSet);
  rt::ObjectRef next = object->Invoke(member, rt::Object::CallKind::Get, args).ToObject();
  if (!next) throw rt::Error(rt::err::ObjectNotSet);
  return next;
}

std::string ElementFromEnd(int placesBeforeLast) {
  return GetPathElement(static_cast<int16_t>(g_PathCount - placesBeforeLast), true);
}

rt::ObjectRef Walk(const ObjectWalk& walk) {
  rt::ObjectRef object = RootObject(walk.root);
  for (const WalkStep& step : walk.steps) {
    object = Member(object, step.member, {});
    if (step.elementFromEnd != kNoItem) {
      object = Member(object, "Item", {rt::Variant::String(ElementFromEnd(step.elementFromEnd))});
    }
  }
  return object;
}

}  // namespace

void InitCommandTable() {
  g_Commands[0] = PlugInCommand{ConfigureCommand,
                                AppDeviceClass,
                                "Velmora OrvexUC_FCU Configure",
                                "Configure selected Orvex FCU",
                                true,
                                DeviceTemplateScope,
                                "80071A5501030400",
                                "OrvexUC_FCU",
                                ""};
}

CommandMatch MatchCommand(int32_t commandId, int16_t objectClassId) {
  CommandMatch match;
  for (int16_t i = 0; i < CommandCount; ++i) {
    if (g_Commands[i].CommandId != commandId) continue;
    match.known = true;
    if (g_Commands[i].ObjectClassId == objectClassId) {
      match.index = i;
      break;
    }
  }
  return match;
}

std::string SplitFirst(const std::string& text, const std::string& delimiter, std::string& rest) {
  const size_t at = rt::InStr(text, delimiter);
  if (at == 0) {
    rest.clear();
    return text;
  }
  rest = rt::Trim(rt::Mid(text, at + rt::Len(delimiter)));
  return rt::Left(text, at - 1);
}

// SplitFirst repeated over the rest of the path, in one pass: each rest is trimmed of blanks.
int16_t ParseObjectPath(const std::string& objectName) {
  g_PathCount = 0;
  std::string_view rest = objectName;
  for (;;) {
    const size_t slash = rest.find('/');
    const std::string_view element = rest.substr(0, slash);
    if (element.empty()) break;
    if (g_PathCount == INT16_MAX) rt::Raise(rt::err::Overflow);
    ++g_PathCount;
    g_PathElements.resize(static_cast<size_t>(g_PathCount));
    g_PathElements[static_cast<size_t>(g_PathCount) - 1] = element;
    if (slash == std::string_view::npos) break;
    rest = rt::TrimmedView(rest.substr(slash + 1));
  }
  return g_PathCount;
}

std::string GetPathElement(int16_t index, bool stripPrefix) {
  if (index < 1 || index > g_PathCount) return "";
  std::string element = g_PathElements[static_cast<size_t>(index) - 1];
  if (!stripPrefix) return element;
  std::string afterColon;
  SplitFirst(element, ":", afterColon);
  return afterColon.empty() ? element : afterColon;
}

rt::ObjectRef GetObjectFromPath(int16_t objectClassId) {
  // Without an open network the references may still name the one opened before a failure.
  if (!g_NetworkOpen) return nullptr;
  for (const ObjectWalk& walk : ObjectWalks()) {
    if (walk.classId != objectClassId) continue;
    try {
      return Walk(walk);
    } catch (const std::exception&) {
      return nullptr;
    }
  }
  return nullptr;
}

void DispatchCommand(int16_t index, const rt::ObjectRef& target) {
  if (!target) RaisePlugInError(plugin_err::ObjectNotFound, "Object not found");
  PlugInCommand& command = g_Commands.at(static_cast<size_t>(index));
  if (command.ObjectClassId == AppDeviceClass) {
    auto device = std::dynamic_pointer_cast<lns::AppDevice>(target);
    if (!device) rt::Raise(rt::err::TypeMismatch);
    rt::Ref<lns::AppDevice> theDevice(device);
    fMain().ProcessDeviceCommand(theDevice, command);
  }
  if (command.ObjectClassId == LonMarkObjectClass) {
    auto lonMarkObject = std::dynamic_pointer_cast<lns::LonMarkObject>(target);
    if (!lonMarkObject) rt::Raise(rt::err::TypeMismatch);
    rt::Ref<lns::LonMarkObject> theObject(lonMarkObject);
    fMain().ProcessLonMarkObjectCommand(theObject, command);
  }
}

void FrameworkHook() {}

void FrameworkHookArg(const rt::Variant&) {}

}  // namespace host
