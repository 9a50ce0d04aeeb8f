#include "lns/calls/journal.h"

#include <deque>

#include "runtime/convert.h"

namespace lns {
namespace {

struct JournalState {
  std::deque<JournalEntry> entries;
  int64_t nextSequence = 1;
  SceneProbe sceneProbe;
  CallHook callHook;
};

JournalState& State() {
  static JournalState state;
  return state;
}

JournalEntry* EntryOf(int64_t sequence) {
  for (auto it = State().entries.rbegin(); it != State().entries.rend(); ++it) {
    if (it->sequence == sequence) return &*it;
  }
  return nullptr;
}

std::string ObjectName(const rt::Object& object) {
  const auto* named = dynamic_cast<const JournalNamed*>(&object);
  return named ? named->Segment() : object.TypeName();
}

std::string OneArgument(const rt::Variant& value) {
  // Chars, not one-letter strings: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
  switch (value.GetType()) {
    case rt::Variant::Type::String:
      return '"' + value.ToString() + '"';
    case rt::Variant::Type::Object:
      return value.IsNothing() ? "Nothing" : '<' + ObjectName(*value.ToObject()) + '>';
    case rt::Variant::Type::Empty:
      return "Empty";
    default:
      return value.ToString();
  }
}

}  // namespace

void SetSceneProbe(SceneProbe probe) { State().sceneProbe = std::move(probe); }
void SetCallHook(CallHook hook) { State().callHook = std::move(hook); }

int64_t AppendJournal(JournalEntry entry) {
  JournalState& state = State();
  entry.sequence = state.nextSequence++;
  if (state.sceneProbe) entry.scene = state.sceneProbe();
  state.entries.push_back(std::move(entry));
  while (state.entries.size() > MaxJournalEntries) state.entries.pop_front();
  if (state.callHook) state.callHook(state.entries.back());
  return state.entries.back().sequence;
}

void MarkJournalFailure(int64_t sequence, int32_t errorNumber) {
  if (JournalEntry* entry = EntryOf(sequence)) entry->error = errorNumber;
}

void MarkJournalStatus(int64_t sequence, int32_t status) {
  if (JournalEntry* entry = EntryOf(sequence)) entry->status = status;
}

std::vector<JournalEntry> JournalEntries() { return {State().entries.begin(), State().entries.end()}; }

void VisitJournalNewestFirst(const std::function<bool(const JournalEntry&)>& visit) {
  const auto& entries = State().entries;
  for (auto it = entries.rbegin(); it != entries.rend() && visit(*it);) ++it;
}

void ClearJournal() { State().entries.clear(); }

int64_t NextJournalSequence() { return State().nextSequence; }

std::string_view CallKindText(rt::Object::CallKind kind) {
  switch (kind) {
    case rt::Object::CallKind::Get: return "Get";
    case rt::Object::CallKind::Let: return "Let";
    case rt::Object::CallKind::Set: return "Set";
    case rt::Object::CallKind::Method: return "Method";
  }
  return "Get";
}

std::string JournalLine(const JournalEntry& entry) {
  std::string line = entry.path + "." + entry.member + " " + std::string(CallKindText(entry.kind));
  if (!entry.arguments.empty()) line += " (" + entry.arguments + ")";
  if (entry.status) line += " status " + std::to_string(*entry.status);
  line += entry.error == 0 ? " ok" : " error " + std::to_string(entry.error);
  return line;
}

std::string ArgumentText(const std::vector<rt::Variant>& arguments) {
  std::string text;
  for (const auto& argument : arguments) {
    if (!text.empty()) text += ", ";
    text += OneArgument(argument);
  }
  return text;
}

}  // namespace lns
