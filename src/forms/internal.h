#pragma once

// Toolkit internals shared by the forms library's own sources; not for other layers.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "forms/control.h"
#include "forms/controls_command.h"
#include "forms/form.h"
#include "forms/msgbox.h"

namespace forms {

// The event loop's queue: the only state other threads touch.
struct PostQueue {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void()>> items;
  bool quit = false;
};
PostQueue& Queue();

struct FormClass {
  std::type_index type;
  std::function<std::shared_ptr<Form>()> factory;
};

// An open question (message box or file dialog) waiting for its answer.
struct OpenQuestion {
  MsgBoxRecord* box = nullptr;
  FileDialogRecord* dialog = nullptr;
  std::optional<int> answer;
  std::optional<FileChoice> choice;
};

// Every process-wide state of the toolkit apart from the post queue, reset as one.
struct ToolkitState {
  // First, so it outlives the forms below: their timers leave this list as they go.
  std::vector<Timer*> timers;
  uint64_t timerSequence = 0;

  std::map<std::type_index, std::shared_ptr<Form>> defaults;
  std::vector<std::shared_ptr<Form>> loaded;      // load order
  std::vector<Form*> windowOrder;                 // visible forms, bottom to top
  Form* active = nullptr;
  std::vector<Form*> modalForms;                  // innermost last
  std::vector<std::shared_ptr<rt::Object>> retired;  // unloaded forms and controls, freed when idle

  bool running = false;
  std::function<void(bool waiting)> modalWait;
  std::vector<std::string> unhandled;
  std::function<void(const std::string&)> log;

  std::deque<MsgBoxRecord> boxes;
  std::deque<FileDialogRecord> dialogs;
  std::deque<int> queuedAnswers;
  std::deque<FileChoice> queuedChoices;
  MsgBoxAsker msgBoxAsker;
  FileDialogAsker fileDialogAsker;
  WhenUnanswered whenUnanswered = WhenUnanswered::TakeDefault;
  std::function<void()> questionOpened;
  std::vector<OpenQuestion*> openQuestions;        // innermost last

  // The control a mouse button went down on takes that button's coming up (mouse capture).
  std::weak_ptr<rt::Object> mouseCapture;
  int capturedButton = 0;
};
ToolkitState& State();
// Registrations that describe the installed program survive ResetForTests.
std::map<std::string, FormClass>& FormClasses();  // lower-case name
std::map<std::string, ObjectFactory>& ObjectClasses();

std::string Lower(std::string_view text);
// Graphical controls: drawn, and met by the mouse, beneath the other controls of their container.
bool IsWindowless(Kind kind);
// Error 380 unless low <= value <= high: the property checks of the controls.
void RequireRange(int value, int low, int high);
void ResetApp();
void ResetLoopState();

// A control as the layout loader built it, with its place in the layout.
struct BuiltControl {
  std::shared_ptr<Control> control;
  Control* container = nullptr;  // nullptr: the form's client area
  int page = -1;                 // tab page inside a tab control, else -1
};

// What a form's layout builds: its controls in layout order and the client area it asks for.
struct BuiltLayout {
  std::vector<BuiltControl> controls;
  std::optional<float> clientWidth;
  std::optional<float> clientHeight;
};

// Applies the form's layout to the form's own properties and builds its controls, which the form
// then takes in; error 31037 with the reason.
BuiltLayout BuildLayout(Form& form);
// Error 31037: the layout does not load; `where` names the place in the layout.
[[noreturn]] void BadLayout(const std::string& where, const std::string& reason);

// What the form's own sources share: activation, focus, teardown.
struct FormInternals {
  static void Activate(Form& form);         // Deactivate the previous window, Activate this one
  static void Deactivate(Form& form);       // for Hide: the next visible window becomes active
  // Moves the focus within the form: Validate (may cancel), LostFocus, GotFocus; false when refused.
  static bool MoveFocus(Form& form, Control* target);
  static void FocusFirst(Form& form);
  static void Navigate(Form& form, int step);  // Tab and Shift+Tab
  static std::vector<Control*> TabOrder(const Form& form);
  static void Retire(Form& form);  // drops the controls at unload
  static std::shared_ptr<Form> Share(Form& form);
  static void MarkDefault(Form& form, std::type_index type) { form.defaultOf_ = type; }
};

struct TimerInternals {
  static void Schedule(Timer& timer);  // from now, when it can tick; else unscheduled
  static std::optional<int64_t> NextDue();
  static void FireDue();
};

// The modal wait of message boxes, file dialogs and modal forms; false when it gave up because no
// input can arrive (outside Run, nothing pending and no timer) or the loop was asked to quit.
bool ModalWaitWhile(const std::function<bool()>& condition);
// Refuses input to the form while a question or another modal window is open (error 32001).
void RequireInputAllowed(const Form& form);
[[noreturn]] void RefuseInput(const std::string& reason);
void ReportUnhandled(const std::string& where, const rt::Error& error);

// Keys to the form's focused control, as input::Key and SendKeys deliver them; `keyAscii` -1
// derives the character from the key code and shift state.
void DeliverKey(Form& form, int keyCode, int shift, int keyAscii = -1);

// Asks a file dialog's question (the common dialog's ShowOpen / ShowSave).
FileChoice AskFile(FileDialogRecord record);

}  // namespace forms
