#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "points/force.h"
#include "points/value_text.h"
#include "runtime/steps.h"
#include "runtime/variant.h"

// The contract of every point, network variable or configuration property: the device is set
// first, the name Let binds the point's LNS object at once, every value Let sets `Changed`, the
// write sends only a changed value (unless the class is not gated), read and write clear
// `Changed`, and LNS failures are logged, never raised.
namespace points {

// How a class words the line its write handler logs.
enum class WriteErrorLine {
  Plain,  // "Error-" & description & " Line " & step & " " & class & "." & write procedure
  Named,  // the same & " >" & name & "<"
};

// How a class words the line its read handler logs.
enum class ReadErrorLine {
  ErrNumber,   // "Err.Number(" & number & ")-" & description & " Line " & step & " " & class & "." & read
               // procedure & " >" & name & "<"; the device's "not responding" error (&H80044718) is not logged
  ErrorNamed,  // "Error-" & description & " Line " & step & " " & class & "." & read procedure & " >" & name & "<"
  ErrorPlain,  // "Error-" & description & " Line " & step & " " & class & "." & read procedure
  NameFirst,   // name & "." & read procedure & "-" & description & " Line " & step
  ErrorFormatName,  // "Error-" & description & " Line " & step & " " & class & "." & read procedure & " >" &
                    // the format name read again (empty when that read fails too) & "<"
};

// What the name Let does when the point's LNS object cannot be bound.
enum class BindingFailure {
  Raise,            // the error goes to the caller
  LogCantFind,      // class & "-Can't find " & name
  MessageBox,       // "Error - " & description & " Line " & step, titled class & "." & name member
  MessageBoxNamed,  // "Error - (" & name & ")" & description & " Line " & step, same title
  LogLetParenthesised,  // "Error-" & description & " Line " & step & " " & class & ".Let " & name member & "(" &
                        // name & ")"
  LogLetQuoted,         // the same with " >" & name & "<" after the name member
  LogDashed,            // "Error - " & description & " Line " & step & " - " & class & "." & name member
  LogDashedNamed,       // the same & " >" & the bound object's Name & "<" (the name given while none is bound)
};

// The line numbers a class's handler reports for each kind of statement.
struct ReadSteps {
  int format;  // reading (or setting) the format name
  int value;   // reading Value
  int decode;  // splitting and converting
  int force;   // forcing "RAW" and reading Value again
};
struct WriteSteps {
  int format;  // reading the format name
  int send;    // composing and putting Value
  int force;   // forcing "RAW"
};

// What a point class is, apart from its value: the data every class of the contract gives.
struct PointClass {
  std::string_view name;
  bool gated;  // the write sends only while Changed is set
  std::string_view writeForcePrefix;  // first part of the "< not supported for >" line
  WriteErrorLine writeErrors;
  ReadErrorLine readErrors;
  BindingFailure bindingFailure;
  ReadSteps readSteps;
  WriteSteps writeSteps;
  // The procedures the handlers' lines name.
  std::string_view writeProcedure = "WriteNV";
  std::string_view readProcedure = "ReadNV";
  // The member a write's force sets and reads back; empty: the family's format member. Its
  // failed line then quotes the family's format member.
  std::string_view writeForceMember = {};
};

// What sets the two families of points apart.
struct PointFamily {
  std::string_view formatMember;  // the member of the bound LNS object that holds its format name
  std::string_view nameMember;    // the member whose Let binds the point
  ForceTexts forceTexts;
};
inline constexpr PointFamily NetworkVariables{"DsFormatType", "NvName", NvForceTexts};
inline constexpr PointFamily ConfigProperties{"FormatName", "CpName", CpForceTexts};

class Point : public rt::Object {
 public:
  std::string TypeName() const override { return std::string(class_.name); }

  // A value was set since the last write or read.
  bool get_Changed() const noexcept { return m_Changed; }
  // The application device; nothing is bound or read here.
  void putref_Device(rt::ObjectRef device) { m_Device = std::move(device); }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  // Both are kept by reference: they are the class's static data.
  Point(const PointFamily& family, const PointClass& pointClass) : family_(family), class_(pointClass) {}

  // Sends the value (a gated class only while Changed is set) and clears Changed.
  void Write();
  // Reads the value into the typed fields and clears Changed.
  void Read();
  // Composes the value for the bound object's format and puts it; runs when a write is due.
  virtual void Send(rt::Steps& steps) = 0;
  // Reads the bound object and decodes it into the typed fields.
  virtual void Receive(rt::Steps& steps) = 0;
  // The LNS object the name Let bound, and that name.
  virtual const rt::Ref<rt::Object>& Bound() const = 0;
  virtual const std::string& BoundName() const = 0;

  // The binding's statements: a failure is raised or reported as the class says, or as
  // `failure` says for a binding through the member `nameMember`.
  rt::Steps BindingSteps() const { return BindingSteps(class_.bindingFailure, family_.nameMember); }
  rt::Steps BindingSteps(BindingFailure failure, std::string_view nameMember) const;

  const PointClass& Class() const noexcept { return class_; }
  const PointFamily& Family() const noexcept { return family_; }
  std::string ClassName() const { return std::string(class_.name); }
  std::string InText() const { return ValueText(vIN); }

  // Each LNS access is one numbered statement of `steps`.
  std::string ReadFormat(rt::Steps& steps, int line, std::string held = {}) const;
  void PutFormat(rt::Steps& steps, int line, std::string_view formatName);
  void ReadValue(rt::Steps& steps, int line);
  // Composing and putting are one statement: a value that cannot be composed is not sent.
  void PutValue(rt::Steps& steps, int line, const std::function<rt::Variant()>& compose);

  // The force to "RAW" of a write, with the class's prefix line, or with `lines`.
  bool ForceOnWrite(rt::Steps& steps, std::string_view formatName);
  bool ForceOnWrite(rt::Steps& steps, const ForceLines& lines);
  // The same in its short form, which logs only a refusal.
  bool ForceQuietlyOnWrite(rt::Steps& steps) { return ForceOnWrite(steps, ShortForceLines(family_.forceTexts)); }
  // The force of a read to `format`; on success Value is read again into vIN.
  bool ForceOnRead(rt::Steps& steps, const ForceLines& lines, std::string_view format = "RAW");
  bool ForceOnRead(rt::Steps& steps) { return ForceOnRead(steps, ReadForceLines(family_.forceTexts, class_.name)); }

  rt::Ref<rt::Object> m_Device;
  rt::Variant vIN;
  bool m_Changed = false;

 private:
  void ReportBindingFailure(BindingFailure failure, std::string_view nameMember, int line,
                            const rt::Error& error) const;
  // A text member of the bound object, read where no error may escape: `fallback` when it fails.
  std::string BoundText(std::string_view member, std::string fallback) const;
  std::string WriteForceMember() const;
  // " " & class & "." & procedure, where a handler's line says the failure was.
  std::string Where(std::string_view procedure) const;
  std::string WriteErrorText(int line, const rt::Error& error) const;
  void LogReadError(int line, const rt::Error& error) const;

  const PointFamily& family_;
  const PointClass& class_;
};

}  // namespace points
