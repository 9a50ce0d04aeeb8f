#include "points/point.h"

#include "forms/msgbox.h"
#include "host/log.h"
#include "lns/calls/errors.h"
#include "points/late_bound.h"
#include "runtime/members.h"

namespace points {

namespace {

std::string LineText(int line) { return " Line " + std::to_string(line); }

}  // namespace

rt::Variant Point::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<Point> members{
      rt::Get("Changed", &Point::get_Changed),
      rt::Set("Device", &Point::putref_Device),
  };
  return members.Invoke(*this, member, kind, args);
}

void Point::Write() {
  if (!class_.gated || m_Changed) {
    rt::Steps steps = rt::Steps::LogAndResumeNext(
        [this](int line, const rt::Error& error) { host::WriteLog(WriteErrorText(line, error)); });
    Send(steps);
  }
  m_Changed = false;
}

void Point::Read() {
  rt::Steps steps =
      rt::Steps::LogAndResumeNext([this](int line, const rt::Error& error) { LogReadError(line, error); });
  Receive(steps);
  m_Changed = false;
}

rt::Steps Point::BindingSteps(BindingFailure failure, std::string_view nameMember) const {
  return rt::Steps([this, failure, nameMember](int line, const rt::Error& error) {
    if (failure == BindingFailure::Raise) throw error;
    ReportBindingFailure(failure, nameMember, line, error);
    return rt::Resume::Next;
  });
}

void Point::ReportBindingFailure(BindingFailure failure, std::string_view nameMember, int line,
                                 const rt::Error& error) const {
  std::string member = ClassName() + "." + std::string(nameMember);
  std::string dashed = "Error - " + error.Description() + LineText(line) + " - " + member;
  std::string let =
      "Error-" + error.Description() + LineText(line) + " " + ClassName() + ".Let " + std::string(nameMember);
  switch (failure) {
    case BindingFailure::LogCantFind:
      host::WriteLog(ClassName() + "-Can't find " + BoundName());
      break;
    case BindingFailure::MessageBox:
      forms::MsgBox("Error - " + error.Description() + LineText(line), forms::vbOKOnly + forms::vbCritical, member);
      break;
    case BindingFailure::MessageBoxNamed:
      forms::MsgBox("Error - (" + BoundName() + ")" + error.Description() + LineText(line),
                    forms::vbOKOnly + forms::vbCritical, member);
      break;
    case BindingFailure::LogLetParenthesised:
      host::WriteLog(let + "(" + BoundName() + ")");
      break;
    case BindingFailure::LogLetQuoted:
      host::WriteLog(let + " >" + BoundName() + "<");
      break;
    case BindingFailure::LogDashed:
      host::WriteLog(dashed);
      break;
    case BindingFailure::LogDashedNamed:
      host::WriteLog(dashed + " >" + BoundText("Name", BoundName()) + "<");
      break;
    case BindingFailure::Raise:
      break;
  }
}

std::string Point::Where(std::string_view procedure) const {
  std::string where(" ");
  where.append(class_.name).append(".").append(procedure);
  return where;
}

std::string Point::WriteErrorText(int line, const rt::Error& error) const {
  std::string text = "Error-" + error.Description() + LineText(line) + Where(class_.writeProcedure);
  if (class_.writeErrors == WriteErrorLine::Named) text += " >" + BoundName() + "<";
  return text;
}

void Point::LogReadError(int line, const rt::Error& error) const {
  std::string where = Where(class_.readProcedure);
  std::string named = where + " >" + BoundName() + "<";
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
      host::WriteLog(BoundName() + "." + std::string(class_.readProcedure) + "-" + error.Description() +
                     LineText(line));
      return;
    case ReadErrorLine::ErrorFormatName:
      host::WriteLog("Error-" + error.Description() + LineText(line) + where + " >" +
                     BoundText(family_.formatMember, {}) + "<");
      return;
  }
}

// Read inside a handler: a failure here must not escape it.
std::string Point::BoundText(std::string_view member, std::string fallback) const {
  try {
    return GetProperty(Bound(), member).ToString();
  } catch (const rt::Error&) {
    return fallback;
  }
}

std::string Point::ReadFormat(rt::Steps& steps, int line, std::string held) const {
  steps(line, [&] { held = GetProperty(Bound(), family_.formatMember).ToString(); });
  return held;
}

void Point::PutFormat(rt::Steps& steps, int line, std::string_view formatName) {
  steps(line, [&] { LetProperty(Bound(), family_.formatMember, rt::Variant::String(std::string(formatName))); });
}

void Point::ReadValue(rt::Steps& steps, int line) {
  steps(line, [&] { vIN = GetProperty(Bound(), "Value"); });
}

void Point::PutValue(rt::Steps& steps, int line, const std::function<rt::Variant()>& compose) {
  steps(line, [&] { LetProperty(Bound(), "Value", compose()); });
}

std::string Point::WriteForceMember() const {
  return std::string(class_.writeForceMember.empty() ? family_.formatMember : class_.writeForceMember);
}

bool Point::ForceOnWrite(rt::Steps& steps, std::string_view formatName) {
  return ForceOnWrite(steps, WriteForceLines(family_.forceTexts, class_.writeForcePrefix, formatName, vIN));
}

bool Point::ForceOnWrite(rt::Steps& steps, const ForceLines& lines) {
  std::string member = WriteForceMember();
  if (member == family_.formatMember) return ForceToRaw(steps, class_.writeSteps.force, Bound(), member, vIN, lines);
  ForceLines quoting = lines;
  quoting.quotedMember = family_.formatMember;
  return ForceToRaw(steps, class_.writeSteps.force, Bound(), member, vIN, quoting);
}

bool Point::ForceOnRead(rt::Steps& steps, const ForceLines& lines, std::string_view format) {
  if (!ForceFormat(steps, class_.readSteps.force, Bound(), family_.formatMember, format, vIN, lines)) return false;
  ReadValue(steps, class_.readSteps.force);
  return true;
}

}  // namespace points
