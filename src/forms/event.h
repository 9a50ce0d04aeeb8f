#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace forms {

enum class Event {
  Initialize,
  Load,
  Activate,
  Deactivate,
  QueryUnload,
  Unload,
  Resize,
  GotFocus,
  LostFocus,
  Validate,
  Click,
  Change,
  KeyDown,
  KeyPress,
  KeyUp,
  MouseDown,
  MouseMove,
  MouseUp,
  Timer,
};

std::string_view EventName(Event event);  // "Click", "Validate", ...
std::optional<Event> EventNamed(std::string_view name);  // letter case ignored

// Arguments of one event; handlers change the by-reference ones (cancel, keyCode, keyAscii) in place.
struct EventArgs {
  int index = -1;          // member of a control array, -1 for a single control or the form
  bool cancel = false;     // Validate, QueryUnload, Unload
  int unloadMode = 0;      // QueryUnload
  int keyCode = 0;         // KeyDown, KeyUp
  int keyAscii = 0;        // KeyPress: the character's code point
  int shift = 0;           // KeyDown, KeyUp, mouse events
  int button = 0;          // mouse events
  float x = 0;             // mouse events, twips
  float y = 0;
  int previousTab = 0;     // tab control Click
};

using Handler = std::function<void(EventArgs&)>;

}  // namespace forms
