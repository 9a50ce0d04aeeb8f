#include "points/late_bound.h"

namespace points {

using CallKind = rt::Object::CallKind;

rt::Variant GetProperty(const rt::Ref<rt::Object>& target, std::string_view member) {
  std::vector<rt::Variant> args;
  return target->Invoke(member, CallKind::Get, args);
}

void LetProperty(const rt::Ref<rt::Object>& target, std::string_view member, const rt::Variant& value) {
  std::vector<rt::Variant> args{value};
  target->Invoke(member, CallKind::Let, args);
}

rt::Variant CallMethod(const rt::Ref<rt::Object>& target, std::string_view member, std::vector<rt::Variant> args) {
  return target->Invoke(member, CallKind::Method, args);
}

rt::Ref<rt::Object> ObjectOf(const rt::Variant& value) {
  rt::ObjectRef object = value.ToObject();
  if (!object) rt::Raise(rt::err::ObjectNotSet);
  return object;
}

rt::Ref<rt::Object> NetworkVariableOf(const rt::Ref<rt::Object>& device, const std::string& name) {
  rt::Ref<rt::Object> variables = ObjectOf(GetProperty(ObjectOf(GetProperty(device, "Interface")), "NetworkVariables"));
  return ObjectOf(CallMethod(variables, "Item", {rt::Variant::String(name)}));
}

}  // namespace points
