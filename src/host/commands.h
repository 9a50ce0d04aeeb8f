#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/variant.h"

namespace host {

// A director command the plug-in serves, and what registering it in a network needs.
struct PlugInCommand {
  int32_t CommandId = 0;
  int32_t ObjectClassId = 0;
  std::string Name;
  std::string Description;
  bool AskDefault = false;
  int32_t RegisterScope = 0;
  std::string ProgramId;
  std::string TemplateName;
  std::string LonMarkObject;
};

// The table's size is a constant of the program: every loop over it runs over these entries.
inline constexpr int16_t CommandCount = 1;
extern std::array<PlugInCommand, CommandCount>& g_Commands;

void InitCommandTable();

// How a director's (command, object class) pair meets the table.
struct CommandMatch {
  bool known = false;            // some entry has the command id
  std::optional<int16_t> index;  // the first entry with both ids
};
CommandMatch MatchCommand(int32_t commandId, int16_t objectClassId);

// The text before the first `delimiter`; `rest` gets the trimmed text after it ("" when absent).
std::string SplitFirst(const std::string& text, const std::string& delimiter, std::string& rest);

// The last parsed object path.
extern std::vector<std::string>& g_PathElements;
extern int16_t& g_PathCount;

int16_t ParseObjectPath(const std::string& objectName);
// Element `index` (1-based) or ""; with `stripPrefix` the part after its first ":" when not blank.
std::string GetPathElement(int16_t index, bool stripPrefix);
// The LNS object the last parsed path names for the class, or Nothing. Never raises.
rt::ObjectRef GetObjectFromPath(int16_t objectClassId);
// Hands the object to the main window's entry point for the entry's class; 20005 for Nothing.
void DispatchCommand(int16_t index, const rt::ObjectRef& target);

// The framework's hooks: fixed points where other code may attach; they do nothing.
void FrameworkHook();
void FrameworkHookArg(const rt::Variant& value);

}  // namespace host
