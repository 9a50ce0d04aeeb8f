#include "automation/input_verbs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>

#include "automation/by_name.h"
#include "automation/form_target.h"
#include "automation/protocol_error.h"
#include "forms/controls_command.h"
#include "forms/input.h"
#include "forms/msgbox.h"
#include "runtime/text.h"

namespace automation {
namespace {

struct KeyName {
  std::string_view name;
  int code;
};

constexpr std::array<KeyName, 12> KeyNames = {{
    {"Enter", forms::vbKeyReturn},
    {"Return", forms::vbKeyReturn},
    {"Tab", forms::vbKeyTab},
    {"Escape", forms::vbKeyEscape},
    {"Esc", forms::vbKeyEscape},
    {"Backspace", forms::vbKeyBack},
    {"Space", forms::vbKeySpace},
    {"Left", forms::vbKeyLeft},
    {"Up", forms::vbKeyUp},
    {"Right", forms::vbKeyRight},
    {"Down", forms::vbKeyDown},
    {"Delete", forms::vbKeyDelete},
}};

// A key code by number, by name, or a letter or digit (its upper-case character code).
int KeyCode(const Request& request) {
  if (request.Field("key").is_number_integer()) return request.Int("key");
  const std::string name = request.Text("key");
  for (const auto& key : KeyNames) {
    if (rt::EqualsNoCase(key.name, name)) return key.code;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return std::toupper(static_cast<unsigned char>(name[0]));
  }
  RaiseUnknown("key", name);
}

Json PressKey(const Request& request) {
  const int code = KeyCode(request);
  const int shift = request.Int("shift", 0);
  if (request.Has("control")) {
    forms::input::Key(TargetControl(request), code, shift);
  } else {
    forms::input::Key(TargetForm(request), code, shift);
  }
  return Json::object();
}

// Questions answered through the channel whose modal loops have not yet taken the answer.
std::vector<const void*>& AnsweredQuestions() {
  static std::vector<const void*> answered;
  if (!forms::IsQuestionOpen()) answered.clear();
  return answered;
}

const void* InnermostQuestion() {
  if (const auto* box = forms::OpenMsgBox()) return box;
  return forms::OpenFileDialog();
}

void NoteAnswered() { AnsweredQuestions().push_back(InnermostQuestion()); }

int ButtonResult(const Request& request) {
  if (request.Field("button").is_number_integer()) return request.Int("button");
  const std::string name = request.Text("button");
  const auto result = forms::ResultFromName(name);
  if (!result) RaiseUnknown("button", name);
  return *result;
}

Json Answer(const Request& request) {
  const int result = ButtonResult(request);
  if (request.Flag("queue", false)) {
    forms::QueueMsgBoxAnswer(result);
    return {{"queued", true}};
  }
  if (!forms::OpenMsgBox()) RaiseNotPossible("No message box is open (answer with queue=true for the next one)");
  forms::AnswerMsgBox(result);
  NoteAnswered();
  return Json::object();
}

forms::FileChoice Choice(const Request& request) {
  if (request.Flag("cancel", false)) return forms::FileChoice::Cancel();
  return forms::FileChoice::Path(request.FilePath("path"));
}

Json Choose(const Request& request) {
  forms::FileChoice choice = Choice(request);
  if (request.Flag("queue", false)) {
    forms::QueueFileChoice(std::move(choice));
    return {{"queued", true}};
  }
  if (!forms::OpenFileDialog()) RaiseNotPossible("No file dialog is open (choose with queue=true for the next one)");
  forms::AnswerFileDialog(std::move(choice));
  NoteAnswered();
  return Json::object();
}

// The point a request names, in the form's client area: x and y (twips) from the named control's
// corner or from the form's; without them, the middle of the control or of the client area.
forms::input::Point MousePoint(const Request& request, const forms::Form& form) {
  const forms::Control* control = request.Has("control") ? &TargetControl(request) : nullptr;
  const float width = control ? control->Width() : form.ScaleWidth();
  const float height = control ? control->Height() : form.ScaleHeight();
  const forms::input::Point local{static_cast<float>(request.Int("x", static_cast<int>(width / 2))),
                                  static_cast<float>(request.Int("y", static_cast<int>(height / 2)))};
  return control ? forms::input::PointOn(*control, local) : local;
}

Json PressMouse(const Request& request) {
  enum class Action { Down, Up, Press };
  constexpr std::array<Named<Action>, 3> actions = {
      {{"down", Action::Down}, {"up", Action::Up}, {"press", Action::Press}}};
  constexpr std::array<Named<int>, 3> buttons = {
      {{"Left", forms::vbLeftButton}, {"Right", forms::vbRightButton}, {"Middle", forms::vbMiddleButton}}};
  const Action action = ByName(actions, request, "action", "mouse action", std::optional(Action::Press));
  const int button = ByName(buttons, request, "button", "mouse button", std::optional(forms::vbLeftButton));
  const int shift = request.Int("shift", 0);
  forms::Form& form = TargetForm(request);
  const forms::input::Point at = MousePoint(request, form);
  const auto act = action == Action::Down ? forms::input::MouseDown
                   : action == Action::Up ? forms::input::MouseUp
                                          : forms::input::MousePress;
  return {{"control", ControlName(act(form, button, shift, at).get())}};
}

// A verb that acts on the control a request names.
VerbHandler OnControl(std::function<void(forms::Control&, const Request&)> act) {
  return [act = std::move(act)](const Request& request) {
    act(TargetControl(request), request);
    return Json::object();
  };
}

}  // namespace

bool QuestionAwaitsAnswer() {
  const void* innermost = InnermostQuestion();
  const auto& answered = AnsweredQuestions();
  return innermost && std::find(answered.begin(), answered.end(), innermost) == answered.end();
}

void AnswerWithDefault() {
  if (!QuestionAwaitsAnswer()) return;
  if (const auto* box = forms::OpenMsgBox()) {
    forms::AnswerMsgBox(box->DefaultResult());
  } else {
    forms::AnswerFileDialog(forms::FileChoice::Cancel());
  }
  NoteAnswered();
}

void AddInputVerbs(Channel& channel) {
  channel.AddVerb("click", "form=F control=C [index=I]: clicks a control (focus moves first)",
                  OnControl([](forms::Control& c, const Request&) { forms::input::Click(c); }));
  channel.AddVerb("focus", "form=F control=C [index=I]: puts the focus on a control",
                  OnControl([](forms::Control& c, const Request&) { forms::input::Focus(c); }));
  channel.AddVerb("type", "form=F control=C [index=I] text=T [replace=false]: types into a text or combo box",
                  OnControl([](forms::Control& c, const Request& r) {
                    forms::input::TypeText(c, r.Text("text"), r.Flag("replace", true));
                  }));
  channel.AddVerb("key", "form=F [control=C index=I] key=Enter|Tab|Escape|...|13 [shift=1]: presses a key",
                  PressKey);
  channel.AddVerb("tab", "form=F control=C page=N: clicks a page's tab",
                  OnControl([](forms::Control& c, const Request& r) {
                    forms::input::SelectTab(ControlOfKind<forms::TabControl>(c, "TabControl"), r.Int("page"));
                  }));
  channel.AddVerb("select", "form=F control=C [index=I] item=N: picks an item of a combo or list box",
                  OnControl([](forms::Control& c, const Request& r) { forms::input::SelectItem(c, r.Int("item")); }));
  channel.AddVerb("mouseover", "form=F control=C [index=I] [x=X y=Y]: moves the mouse over a control",
                  OnControl([](forms::Control& c, const Request& r) {
                    forms::input::MouseOver(c, static_cast<float>(r.Int("x", 0)), static_cast<float>(r.Int("y", 0)));
                  }));
  channel.AddVerb("mouse",
                  "form=F [control=C index=I] [x=X y=Y] [action=press|down|up] [button=Left|Right|Middle] [shift=N]: "
                  "a mouse button on whatever control lies at the point; replies that control",
                  PressMouse);
  channel.AddVerb("close", "form=F: the window's close box", [](const Request& r) {
    forms::input::Close(TargetForm(r));
    return Json::object();
  });
  channel.AddVerb("answer", "button=Yes|No|OK|Cancel|Abort|Retry|Ignore|N [queue=true]: answers the open message box",
                  Answer);
  channel.AddVerb("choose", "path=P | cancel=true [queue=true]: answers the open file dialog", Choose);
}

}  // namespace automation
