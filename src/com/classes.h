#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

namespace com {

// A class this process serves, as COM knows it: ProgID, class id ("{...}" GUID text) and a
// factory for new objects.
struct ComClass {
  std::string progId;
  std::string classId;
  std::string description;
  std::function<rt::ObjectRef()> create;
};

// The classes this process serves, keyed by ProgID (letter case ignored, like the registry).
class ClassTable {
 public:
  // Replaces a class of the same ProgID.
  void Add(ComClass comClass);
  const ComClass* Find(std::string_view progId) const;
  const std::vector<ComClass>& All() const noexcept { return classes_; }

 private:
  std::vector<ComClass> classes_;
};

// The process's class table; assign a fresh table to reset it.
ClassTable& Classes();

// Activation: a new object of the class, when the class is served here and registered in the
// machine's registry under the same class id. Otherwise COM's "Class not registered"
// (-2147221164); a factory's own errors pass through, and a factory that makes nothing gives 429.
// A damaged registry file is raised as such (reg::RaiseIfStoreFailed).
rt::ObjectRef CreateObject(std::string_view progId);

// Self-registration of every served class for the program file `program`:
//   HKLM\SOFTWARE\Classes\<ProgID>              = description
//   HKLM\SOFTWARE\Classes\<ProgID>\CLSID        = class id
//   HKLM\SOFTWARE\Classes\CLSID\<id>            = description
//   HKLM\SOFTWARE\Classes\CLSID\<id>\ProgID     = ProgID
//   HKLM\SOFTWARE\Classes\CLSID\<id>\LocalServer32 = program path
// Raises an error with the registry's message when a write fails.
void RegisterServer(const std::filesystem::path& program);
// Removes those keys again. Like COM's own unregistration it reports nothing: a key already
// gone, or one that still holds keys of another server, stays as it is. Only a damaged registry
// file is raised, and nothing is removed.
void UnregisterServer();
// The ProgIDs of every class registered in the machine's registry as RegisterServer writes it,
// served by this process or not: a class id with its LocalServer32 whose ProgID names it again.
// Sorted. Only reads; a damaged registry file is raised as such.
std::vector<std::string> RegisteredProgIds();

}  // namespace com
