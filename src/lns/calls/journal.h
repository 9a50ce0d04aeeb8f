#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

namespace lns {

// What the program shows at the moment of a call: the mouse pointer and which of the main
// window's traffic lamps are visible. The layer that owns the windows fills it in (SetSceneProbe).
struct CallScene {
  int mousePointer = 0;
  std::vector<int> lampsVisible;  // control-array indexes, ascending
};
using SceneProbe = std::function<CallScene()>;
void SetSceneProbe(SceneProbe probe);

// Every member call on an Object Server object and every call of the resource catalog, in the
// order made: what tests and scripts read to see which calls the plug-in made. The journal keeps
// the latest MaxJournalEntries calls.
struct JournalEntry {
  int64_t sequence = 0;
  std::string path;       // the object's path ("Network:Demo/Systems/System:Demo/...")
  std::string member;     // the member's name ("Value", "Open", "Item")
  rt::Object::CallKind kind = rt::Object::CallKind::Get;
  std::string arguments;  // the arguments as text, ", "-separated
  int32_t error = 0;      // the error number the call raised; 0 when it succeeded
  std::optional<int32_t> status;  // what a resource-catalog call reported
  CallScene scene;
};

inline constexpr size_t MaxJournalEntries = 20000;

// Runs as each call is journaled, before the fault rules are asked: a test can arm a fault for
// exactly the call about to be made (the n-th of a session, say).
using CallHook = std::function<void(const JournalEntry&)>;
void SetCallHook(CallHook hook);

std::vector<JournalEntry> JournalEntries();
// The entries newest first, read where they lie (a copy of the whole journal is megabytes):
// `visit` answers whether to go on. No call may be journaled while it runs.
void VisitJournalNewestFirst(const std::function<bool(const JournalEntry&)>& visit);
void ClearJournal();
// The sequence number the next call will get: the entries from it on are the calls made since.
int64_t NextJournalSequence();

// "Get", "Let", "Set" or "Method".
std::string_view CallKindText(rt::Object::CallKind kind);
// One line of text for an entry: path, ".", member, the kind, the arguments and the outcome.
std::string JournalLine(const JournalEntry& entry);
// Arguments as the journal shows them: texts quoted, numbers as number texts, Object Server
// objects by their path segment (<NetworkInterface:LON1>), other objects by type.
std::string ArgumentText(const std::vector<rt::Variant>& arguments);

// An object that the journal names by its segment of a path ("NetworkInterface:LON1") rather than
// by its type: every Object Server object.
class JournalNamed {
 public:
  virtual ~JournalNamed() = default;
  virtual std::string Segment() const = 0;
};

// What the objects and the catalog do as they run a call.
int64_t AppendJournal(JournalEntry entry);
void MarkJournalFailure(int64_t sequence, int32_t errorNumber);
void MarkJournalStatus(int64_t sequence, int32_t status);

}  // namespace lns
