#include "automation/object_verbs.h"

#include "com/classes.h"
#include "automation/protocol_error.h"

namespace automation {
namespace {

using Kind = rt::Object::CallKind;

rt::ObjectRef Target(const Request& request, const ObjectTable& objects) {
  return objects.Find(request.WholeNumber("object"));
}

std::vector<rt::Variant> Arguments(const Request& request, const ObjectTable& objects) {
  std::vector<rt::Variant> arguments;
  if (!request.Has("args")) return arguments;
  const Json& list = request.Field("args");
  if (!list.is_array()) RaiseWrongType("args", "a list of values");
  for (size_t i = 0; i < list.size(); ++i) {
    arguments.push_back(DecodeVariant(list[i], objects, "args[" + std::to_string(i) + "]"));
  }
  return arguments;
}

Json Invoke(const Request& request, ObjectTable& objects, Kind kind) {
  const rt::ObjectRef target = Target(request, objects);
  const std::string member = request.Text("member");
  std::vector<rt::Variant> arguments = Arguments(request, objects);
  if (kind == Kind::Let || kind == Kind::Set) arguments.push_back(DecodeVariant(request.Field("value"), objects, "value"));
  const rt::Variant result = target->Invoke(member, kind, arguments);
  if (kind == Kind::Let || kind == Kind::Set) return Json::object();
  return {{"value", EncodeVariant(result, objects)}};
}

Json Create(const Request& request, ObjectTable& objects) {
  const rt::ObjectRef object = com::CreateObject(request.Text("progid"));
  return {{"object", objects.Hold(object)}, {"class", object->TypeName()}};
}

Json ListHeld(const ObjectTable& objects) {
  Json list = Json::array();
  for (const auto& [id, object] : objects.Held()) list.push_back({{"object", id}, {"class", object->TypeName()}});
  return {{"objects", list}};
}

}  // namespace

void AddObjectVerbs(Channel& channel) {
  ObjectTable& objects = channel.Objects();
  channel.AddVerb("create", "progid=P: a new object of a registered class; replies its id",
                  [&objects](const Request& r) { return Create(r, objects); }, VerbKind::ObjectCall);
  channel.AddVerb("release", "object=N: lets go of an object", [&objects](const Request& r) {
    objects.Release(r.WholeNumber("object"));
    return Json::object();
  }, VerbKind::ObjectCall);
  channel.AddVerb("objects", "the objects held, with their classes",
                  [&objects](const Request&) { return ListHeld(objects); });
  channel.AddVerb("get", "object=N member=M [args=[..]]: a property's value",
                  [&objects](const Request& r) { return Invoke(r, objects, Kind::Get); }, VerbKind::ObjectCall);
  channel.AddVerb("let", "object=N member=M value=V [args=[..]]: assigns a property",
                  [&objects](const Request& r) { return Invoke(r, objects, Kind::Let); }, VerbKind::ObjectCall);
  channel.AddVerb("set", "object=N member=M value={\"type\":\"Object\",\"object\":K}: assigns an object property",
                  [&objects](const Request& r) { return Invoke(r, objects, Kind::Set); }, VerbKind::ObjectCall);
  channel.AddVerb("call", "object=N member=M [args=[..]]: calls a method; replies its value",
                  [&objects](const Request& r) { return Invoke(r, objects, Kind::Method); }, VerbKind::ObjectCall);
}

}  // namespace automation
