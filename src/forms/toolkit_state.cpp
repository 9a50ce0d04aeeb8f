// Process-wide state of the toolkit: default instances, loaded forms, and the reset tests use.
#include <algorithm>
#include <array>

#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/form.h"
#include "forms/internal.h"
#include "runtime/text.h"

namespace forms {
namespace {

constexpr std::array<std::string_view, 19> kEventNames = {
    "Initialize", "Load",     "Activate", "Deactivate", "QueryUnload", "Unload",    "Resize",
    "GotFocus",   "LostFocus", "Validate", "Click",      "Change",      "KeyDown",   "KeyPress",
    "KeyUp",      "MouseDown", "MouseMove", "MouseUp",   "Timer"};

void RaiseInitialize(Form& form) {
  EventArgs args;
  form.Dispatch(nullptr, Event::Initialize, args);
}

}  // namespace

std::string_view EventName(Event event) { return kEventNames[static_cast<size_t>(event)]; }

std::optional<Event> EventNamed(std::string_view name) {
  for (size_t i = 0; i < kEventNames.size(); ++i) {
    if (rt::EqualsNoCase(kEventNames[i], name)) return static_cast<Event>(i);
  }
  return std::nullopt;
}

ToolkitState& State() {
  static ToolkitState state;
  return state;
}

std::map<std::string, FormClass>& FormClasses() {
  static std::map<std::string, FormClass> classes;
  return classes;
}

std::map<std::string, ObjectFactory>& ObjectClasses() {
  static std::map<std::string, ObjectFactory> classes;
  return classes;
}

std::string Lower(std::string_view text) { return rt::LCase(text); }

Form& DefaultInstance(std::type_index type, const std::function<std::shared_ptr<Form>()>& factory) {
  auto& defaults = State().defaults;
  auto it = defaults.find(type);
  if (it != defaults.end()) {
    Form& form = *it->second;
    form.Load();
    return form;
  }
  std::shared_ptr<Form> form = factory();
  // Registered before its events run, so code reaching the default instance from Initialize or Load
  // finds this one instead of making another.
  defaults[type] = form;
  FormInternals::MarkDefault(*form, type);
  RaiseInitialize(*form);
  form->Load();
  return *form;
}

bool DefaultInstanceExists(std::type_index type) { return State().defaults.count(type) != 0; }

std::shared_ptr<Form> Initialized(std::shared_ptr<Form> form) {
  RaiseInitialize(*form);
  return form;
}

void RegisterFormClass(std::string name, std::type_index type, std::function<std::shared_ptr<Form>()> factory) {
  FormClasses().insert_or_assign(Lower(name), FormClass{type, std::move(factory)});
}

Form& DefaultByName(std::string_view name) {
  auto it = FormClasses().find(Lower(name));
  if (it == FormClasses().end()) {
    throw rt::Error(err::ControlNotFound, {}, "There is no form class named " + std::string(name));
  }
  return DefaultInstance(it->second.type, it->second.factory);
}

std::vector<Form*> Forms() {
  std::vector<Form*> forms;
  for (const auto& form : State().loaded) forms.push_back(form.get());
  return forms;
}

Form* FindForm(std::string_view name) {
  for (const auto& form : State().loaded) {
    if (rt::EqualsNoCase(form->Name(), name)) return form.get();
  }
  return nullptr;
}

Form* ActiveForm() { return State().active; }

void ResetForTests() {
  ToolkitState& state = State();
  // Forms go without events, as at the end of a process; their controls stop ticking first.
  for (const auto& form : state.loaded) FormInternals::Retire(*form);
  ToolkitState fresh;
  std::swap(state, fresh);
  fresh.retired.clear();
  fresh.loaded.clear();
  fresh.defaults.clear();
  ResetLoopState();
  ResetApp();
}

}  // namespace forms
