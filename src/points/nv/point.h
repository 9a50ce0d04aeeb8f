#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "points/nv/value_text.h"
#include "runtime/steps.h"
#include "runtime/text.h"
#include "runtime/variant.h"

namespace points {

// How a class words the line its WriteNV handler logs.
enum class WriteErrorLine {
  Plain,  // "Error-" & description & " Line " & step & " " & class & ".WriteNV"
  Named,  // the same & " >" & NvName & "<"
};

// How a class words the line its ReadNV handler logs.
enum class ReadErrorLine {
  ErrNumber,   // "Err.Number(" & number & ")-" & description & " Line " & step & " " & class & ".ReadNV >" &
               // NvName & "<"; the device's "not responding" error (&H80044718) is left out of the log
  ErrorNamed,  // "Error-" & description & " Line " & step & " " & class & ".ReadNV >" & NvName & "<"
  ErrorPlain,  // "Error-" & description & " Line " & step & " " & class & ".ReadNV"
  NameFirst,   // NvName & ".ReadNV-" & description & " Line " & step
};

// What NvName Let does when the variable cannot be bound. The other points go on binding either way.
enum class BindingFailure {
  Raise,            // the error goes to the caller
  LogCantFind,      // class & "-Can't find " & name
  MessageBox,       // "Error - " & description & " Line " & step, titled class & ".NvName"
  MessageBoxNamed,  // "Error - (" & name & ")" & description & " Line " & step, same title
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
  bool gated;  // WriteNV sends only while Changed is set
  std::string_view writeForcePrefix;  // first part of the "< not supported for >" line
  WriteErrorLine writeErrors;
  ReadErrorLine readErrors;
  BindingFailure bindingFailure;
  ReadSteps readSteps;
  WriteSteps writeSteps;
};

// The value a Let or Set assigns: the last argument; error 449 when there is none.
const rt::Variant& AssignedValue(const std::vector<rt::Variant>& args);

// A typed property reachable by name.
template <class T>
struct Property {
  std::string_view name;
  rt::Variant (*get)(const T&);
  void (*let)(T&, const rt::Variant&);
};

// The contract of every network-variable point: bound by Device Set then NvName Let, read and
// written with ReadNV and WriteNV, whose failures are logged, never raised.
class NetworkVariablePoint : public rt::Object {
 public:
  std::string TypeName() const override { return std::string(class_.name); }

  // Stores the name, then binds the device's variable of that name at once; Device first.
  void put_NvName(const std::string& name);
  const std::string& get_NvName() const noexcept { return m_NvName; }
  // A typed property was set since the last WriteNV or ReadNV.
  bool get_Changed() const noexcept { return m_Changed; }
  void WriteNV();
  void ReadNV();
  // The application device; nothing is bound or read here.
  void putref_Device(rt::ObjectRef device) { m_Device = std::move(device); }

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  explicit NetworkVariablePoint(const PointClass& pointClass) : class_(pointClass) {}

  // Composes the value for the variable's format and puts it; runs when a write is due.
  virtual void Send(rt::Steps& steps) = 0;
  // Reads the variable and decodes it into the typed fields.
  virtual void Receive(rt::Steps& steps) = 0;
  // The class's typed properties by name; error 438 for any other member.
  virtual rt::Variant InvokeTyped(std::string_view member, CallKind kind, std::vector<rt::Variant>& args);

  template <class T>
  rt::Variant InvokeTable(T& self, std::span<const Property<T>> table, std::string_view member, CallKind kind,
                          std::vector<rt::Variant>& args) {
    for (const Property<T>& property : table) {
      if (!rt::EqualsNoCase(property.name, member)) continue;
      if (kind == CallKind::Let) {
        property.let(self, AssignedValue(args));
        return {};
      }
      if (kind == CallKind::Get || kind == CallKind::Method) return property.get(self);
    }
    return rt::Object::Invoke(member, kind, args);
  }

  const PointClass& Class() const noexcept { return class_; }
  std::string ClassName() const { return std::string(class_.name); }
  std::string InText() const { return ValueText(vIN); }

  // Each LNS access is one numbered statement of `steps`.
  std::string ReadFormat(rt::Steps& steps, int line, std::string held = {}) const;
  void PutFormat(rt::Steps& steps, int line, std::string_view formatName);
  void ReadValue(rt::Steps& steps, int line);
  // Composing and putting are one statement: a value that cannot be composed is not sent.
  void PutValue(rt::Steps& steps, int line, const std::function<rt::Variant()>& compose);
  // The variable's own LNS name.
  std::string VariableName() const;

  // The force to "RAW" of a write, with the class's prefix line.
  bool ForceOnWrite(rt::Steps& steps, std::string_view formatName);
  // The force to "RAW" of a read; on success Value is read again into vIN.
  bool ForceOnRead(rt::Steps& steps, const ForceLines& lines);
  bool ForceOnRead(rt::Steps& steps) { return ForceOnRead(steps, ReadForceLines(NvForceTexts, class_.name)); }

  rt::Ref<rt::Object> m_Device;
  rt::Ref<rt::Object> m_NV;
  rt::Variant vIN;
  bool m_Changed = false;
  std::string m_NvName;

 private:
  rt::Ref<rt::Object> BindVariable(const std::string& name) const;
  void ReportBindingFailure(const std::string& name, int line, const rt::Error& error) const;
  std::string WriteErrorText(int line, const rt::Error& error) const;
  void LogReadError(int line, const rt::Error& error) const;

  const PointClass& class_;
};

}  // namespace points
