#include "points/nv/point.h"

#include <array>

#include "forms/msgbox.h"
#include "host/log.h"
#include "lns/errors.h"
#include "points/nv/late_bound.h"

namespace points {

namespace {

using CallKind = rt::Object::CallKind;

struct ContractMember {
  std::string_view name;
  CallKind kind;
  rt::Variant (*call)(NetworkVariablePoint& point, std::vector<rt::Variant>& args);
};

// Late binding answers a property Get written as a call and the other way round.
bool KindFits(CallKind entry, CallKind asked) {
  auto readLike = [](CallKind k) { return k == CallKind::Get || k == CallKind::Method; };
  return entry == asked || (readLike(entry) && readLike(asked));
}

const std::array<ContractMember, 6> ContractMembers{{
    {"NvName", CallKind::Let,
     [](NetworkVariablePoint& p, std::vector<rt::Variant>& a) {
       p.put_NvName(AssignedValue(a).ToString());
       return rt::Variant();
     }},
    {"NvName", CallKind::Get,
     [](NetworkVariablePoint& p, std::vector<rt::Variant>&) { return rt::Variant::String(p.get_NvName()); }},
    {"Changed", CallKind::Get,
     [](NetworkVariablePoint& p, std::vector<rt::Variant>&) { return rt::Variant::Boolean(p.get_Changed()); }},
    {"WriteNV", CallKind::Method,
     [](NetworkVariablePoint& p, std::vector<rt::Variant>&) {
       p.WriteNV();
       return rt::Variant();
     }},
    {"ReadNV", CallKind::Method,
     [](NetworkVariablePoint& p, std::vector<rt::Variant>&) {
       p.ReadNV();
       return rt::Variant();
     }},
    {"Device", CallKind::Set,
     [](NetworkVariablePoint& p, std::vector<rt::Variant>& a) {
       p.putref_Device(AssignedValue(a).ToObject());
       return rt::Variant();
     }},
}};

std::string LineText(int line) { return " Line " + std::to_string(line); }

}  // namespace

const rt::Variant& AssignedValue(const std::vector<rt::Variant>& args) {
  if (args.empty()) rt::Raise(rt::err::ArgumentNotOptional);
  return args.back();
}

void NetworkVariablePoint::put_NvName(const std::string& name) {
  m_NvName = name;
  if (class_.bindingFailure == BindingFailure::Raise) {
    m_NV = BindVariable(name);
    return;
  }
  rt::Steps steps = rt::Steps::LogAndResumeNext(
      [this, &name](int line, const rt::Error& error) { ReportBindingFailure(name, line, error); });
  steps(0, [&] { m_NV = BindVariable(name); });
}

rt::Ref<rt::Object> NetworkVariablePoint::BindVariable(const std::string& name) const {
  rt::Ref<rt::Object> deviceInterface = ObjectOf(GetProperty(m_Device, "Interface"));
  rt::Ref<rt::Object> variables = ObjectOf(GetProperty(deviceInterface, "NetworkVariables"));
  return ObjectOf(CallMethod(variables, "Item", {rt::Variant::String(name)}));
}

void NetworkVariablePoint::ReportBindingFailure(const std::string& name, int line, const rt::Error& error) const {
  std::string title = ClassName() + ".NvName";
  switch (class_.bindingFailure) {
    case BindingFailure::LogCantFind:
      host::WriteLog(ClassName() + "-Can't find " + name);
      break;
    case BindingFailure::MessageBox:
      forms::MsgBox("Error - " + error.Description() + LineText(line), forms::vbOKOnly + forms::vbCritical, title);
      break;
    case BindingFailure::MessageBoxNamed:
      forms::MsgBox("Error - (" + name + ")" + error.Description() + LineText(line),
                    forms::vbOKOnly + forms::vbCritical, title);
      break;
    case BindingFailure::Raise:
      break;
  }
}

void NetworkVariablePoint::WriteNV() {
  if (!class_.gated || m_Changed) {
    rt::Steps steps = rt::Steps::LogAndResumeNext(
        [this](int line, const rt::Error& error) { host::WriteLog(WriteErrorText(line, error)); });
    Send(steps);
  }
  m_Changed = false;
}

void NetworkVariablePoint::ReadNV() {
  rt::Steps steps =
      rt::Steps::LogAndResumeNext([this](int line, const rt::Error& error) { LogReadError(line, error); });
  Receive(steps);
  m_Changed = false;
}

std::string NetworkVariablePoint::WriteErrorText(int line, const rt::Error& error) const {
  std::string text = "Error-" + error.Description() + LineText(line) + " " + ClassName() + ".WriteNV";
  if (class_.writeErrors == WriteErrorLine::Named) text += " >" + m_NvName + "<";
  return text;
}

void NetworkVariablePoint::LogReadError(int line, const rt::Error& error) const {
  std::string where = " " + ClassName() + ".ReadNV";
  std::string named = where + " >" + m_NvName + "<";
  switch (class_.readErrors) {
    case ReadErrorLine::ErrNumber:
      if (error.Number() == lns::err::DeviceNotResponding) return;
      host::WriteLog("Err.Number(" + std::to_string(error.Number()) + ")-" + error.Description() + LineText(line) +
                     named);
      return;
    case ReadErrorLine::ErrorNamed:
      host::WriteLog("Error-" + error.Description() + LineText(line) + named);
      return;
    case ReadErrorLine::ErrorPlain:
      host::WriteLog("Error-" + error.Description() + LineText(line) + where);
      return;
    case ReadErrorLine::NameFirst:
      host::WriteLog(m_NvName + ".ReadNV-" + error.Description() + LineText(line));
      return;
  }
}

rt::Variant NetworkVariablePoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  for (const ContractMember& entry : ContractMembers) {
    if (rt::EqualsNoCase(entry.name, member) && KindFits(entry.kind, kind)) return entry.call(*this, args);
  }
  return InvokeTyped(member, kind, args);
}

rt::Variant NetworkVariablePoint::InvokeTyped(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  return rt::Object::Invoke(member, kind, args);
}

std::string NetworkVariablePoint::ReadFormat(rt::Steps& steps, int line, std::string held) const {
  steps(line, [&] { held = GetProperty(m_NV, "DsFormatType").ToString(); });
  return held;
}

void NetworkVariablePoint::PutFormat(rt::Steps& steps, int line, std::string_view formatName) {
  steps(line, [&] { LetProperty(m_NV, "DsFormatType", rt::Variant::String(std::string(formatName))); });
}

void NetworkVariablePoint::ReadValue(rt::Steps& steps, int line) {
  steps(line, [&] { vIN = GetProperty(m_NV, "Value"); });
}

void NetworkVariablePoint::PutValue(rt::Steps& steps, int line, const std::function<rt::Variant()>& compose) {
  steps(line, [&] { LetProperty(m_NV, "Value", compose()); });
}

std::string NetworkVariablePoint::VariableName() const { return GetProperty(m_NV, "Name").ToString(); }

bool NetworkVariablePoint::ForceOnWrite(rt::Steps& steps, std::string_view formatName) {
  return ForceToRaw(steps, class_.writeSteps.force, m_NV, "DsFormatType", vIN,
                    WriteForceLines(NvForceTexts, class_.writeForcePrefix, formatName, vIN));
}

bool NetworkVariablePoint::ForceOnRead(rt::Steps& steps, const ForceLines& lines) {
  if (!ForceToRaw(steps, class_.readSteps.force, m_NV, "DsFormatType", vIN, lines)) return false;
  ReadValue(steps, class_.readSteps.force);
  return true;
}

}  // namespace points
