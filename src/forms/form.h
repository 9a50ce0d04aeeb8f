#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "forms/constants.h"
#include "forms/control.h"
#include "forms/control_ref.h"
#include "forms/event.h"

namespace forms {

struct BuiltLayout;

// A window. A form class derives from Form, names its layout (resources/layouts/<name>.json) and
// registers its event handlers in its constructor:
//
//   class fSample : public forms::Form {
//    public:
//     fSample() : Form("fSample") {
//       On(Event::Load, [this](EventArgs&) { Form_Load(); });
//       On("cmdOK", Event::Click, [this](EventArgs&) { cmdOK_Click(); });
//       On("txtCP", Event::Validate, [this](EventArgs& e) { txtCP_Validate(e.index, e.cancel); });
//     }
//   };
//
// The controls come from the layout when the form loads; a handler for a control the layout lacks,
// or for an event its kind never raises, makes the load fail with a clear error.
class Form : public rt::Object {
 public:
  explicit Form(std::string name);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  std::string TypeName() const override { return name_; }
  const std::string& Name() const noexcept { return name_; }

  void On(Event event, Handler handler);
  void On(std::string_view control, Event event, Handler handler);
  // Handlers are by name: those of an array member serve every member of its array.
  template <class T>
  void On(const ControlRef<T>& control, Event event, Handler handler) {
    On(control.name, event, std::move(handler));
  }
  template <class T>
  void On(const ControlArray<T>& control, Event event, Handler handler) {
    On(control.name, event, std::move(handler));
  }

  // Life cycle. Load builds the controls from the layout and raises Load (hidden). Show loads when
  // needed, shows and activates; modal Show returns once the form is hidden or unloaded. Unload
  // raises QueryUnload and Unload (either may cancel) and drops the controls; unloading a form
  // that is already unloading does nothing.
  void Load();
  void Show(int modal = vbModeless);
  void Hide();
  void Unload(int unloadMode = vbFormCode);
  bool IsLoaded() const noexcept { return loaded_; }
  bool IsUnloading() const noexcept { return unloading_; }
  // While Load applies the layout: property changes raise no events, and properties that only a
  // layout sets (BorderStyle, a combo box's Style, an object control's ProgID) may be set.
  bool IsApplyingLayout() const noexcept { return applyingLayout_; }

  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  const std::string& Icon() const noexcept { return icon_; }
  void SetIcon(std::string picture);
  int BorderStyle() const noexcept { return borderStyle_; }  // read only once loaded (error 383)
  void SetBorderStyle(int style);
  int WindowState() const noexcept { return windowState_; }
  void SetWindowState(int state);  // 0 normal, 1 minimized, 2 maximized; error 380 otherwise
  // Outer size and position in twips; the client area is smaller by fixed non-client metrics.
  float Left() const noexcept { return left_; }
  float Top() const noexcept { return top_; }
  float Width() const noexcept { return width_; }
  float Height() const noexcept { return height_; }
  void SetLeft(float v);
  void SetTop(float v);
  void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top, float width, float height);
  float ScaleWidth() const;
  float ScaleHeight() const;
  float CaptionHeight() const;  // title bar, 0 without border
  float BorderSize() const;     // each side
  float MenuBarHeight() const;  // 0 unless a top-level menu is visible
  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool visible);  // True shows (modeless), False hides
  const std::string& Tag() const noexcept { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  // The topic under which other programs may open a conversation with the window; stored only.
  const std::string& LinkTopic() const noexcept { return linkTopic_; }
  void SetLinkTopic(std::string topic) { linkTopic_ = std::move(topic); }
  bool KeyPreview() const noexcept { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  OleColor BackColor() const noexcept { return backColor_; }
  void SetBackColor(OleColor c) { backColor_ = c; }
  OleColor ForeColor() const noexcept { return foreColor_; }
  void SetForeColor(OleColor c) { foreColor_ = c; }
  const Font& GetFont() const noexcept { return font_; }
  void SetFont(Font font) { font_ = std::move(font); }
  int StartUpPosition() const noexcept { return startUpPosition_; }  // 0 manual, 1 owner, 2 screen
  void SetStartUpPosition(int v);
  bool ControlBox() const noexcept { return controlBox_; }
  void SetControlBox(bool v) { controlBox_ = v; }
  bool MinButton() const noexcept { return minButton_; }
  void SetMinButton(bool v) { minButton_ = v; }
  bool MaxButton() const noexcept { return maxButton_; }
  void SetMaxButton(bool v) { maxButton_ = v; }
  Control* ActiveControl() const noexcept { return activeControl_; }
  bool IsActive() const;  // the active window of the program
  // Activates the form (it must be visible; error 5 otherwise).
  void SetFocus();
  // Redraws at once; the headless model is drawn on demand, so there is nothing to do.
  void Refresh() {}

  // Controls by name (case-insensitive, as the toolkit's) and control-array index. Reaching a control
  // of a form that is not loaded loads it. Errors: 730 unknown name, 340 missing array member,
  // 343 an array reached without index, 13 a control of another kind than T.
  template <class T = Control>
  T& Ctl(std::string_view name) {
    return As<T>(Find(name, -1));
  }
  template <class T = Control>
  T& Ctl(std::string_view name, int index) {
    return As<T>(Find(name, index));
  }
  // By a reference generated from the layout (forms/control_ref.h), of the control's own kind.
  template <class T>
  T& Ctl(const ControlRef<T>& control) {
    return As<T>(Find(control.name, control.index));
  }
  bool HasControl(std::string_view name, int index = -1) const;
  std::vector<int> Indexes(std::string_view name) const;  // members of a control array, ascending
  std::vector<Control*> Controls() const;                 // in layout order
  const std::vector<Control*>& TopLevelControls() const noexcept { return topLevel_; }  // back to front

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

  // Raises an event to this form's handler for the source (nullptr: the form itself); false when no
  // handler ran. The form and the source stay alive while the handler runs.
  bool Dispatch(Control* source, Event event, EventArgs& args);

 private:
  friend struct FormInternals;
  friend class Control;

  // Builds the controls from the layout and takes them in; error 31037, the form staying unloaded.
  void BuildFromLayout();
  void TakeIn(BuiltLayout built);
  void CheckHandlers() const;  // every handler names a control of the layout that raises its event
  Control& Find(std::string_view name, int index);
  template <class T>
  static T& As(Control& control) {
    if constexpr (std::is_same_v<T, Control>) {
      return control;
    } else {
      auto* typed = dynamic_cast<T*>(&control);
      if (!typed) throw rt::Error(rt::err::TypeMismatch);
      return *typed;
    }
  }

  struct HandlerKey {
    std::string control;  // lower case; "" for the form
    Event event;
    friend bool operator<(const HandlerKey& a, const HandlerKey& b) {
      return a.control != b.control ? a.control < b.control : a.event < b.event;
    }
  };

  std::string name_;
  std::optional<std::type_index> defaultOf_;  // the class whose default instance this is or was
  std::map<HandlerKey, Handler> handlers_;
  std::map<HandlerKey, std::string> handlerSpelling_;  // the control name as the code wrote it

  bool loaded_ = false;
  bool applyingLayout_ = false;
  bool unloading_ = false;
  std::vector<std::shared_ptr<Control>> controls_;                 // layout order
  std::map<std::string, std::vector<Control*>> byName_;            // lower-case name → members
  std::vector<Control*> topLevel_;
  Control* activeControl_ = nullptr;

  std::string caption_;
  std::string icon_;
  int borderStyle_ = vbSizable;
  int windowState_ = vbNormal;
  float left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;
  bool visible_ = false;
  std::string tag_;
  std::string linkTopic_;
  bool keyPreview_ = false;
  OleColor backColor_ = syscolor::ButtonFace;
  OleColor foreColor_ = syscolor::ButtonText;
  Font font_;
  int startUpPosition_ = 0;
  bool controlBox_ = true;
  bool minButton_ = true;
  bool maxButton_ = true;
};

// Default instances, one per form class: created, initialised and loaded (hidden) on first use;
// Unload releases it and the next use builds a fresh one from its layout (code that still holds
// the released instance and reaches a control loads that one again as the default).
Form& DefaultInstance(std::type_index type, const std::function<std::shared_ptr<Form>()>& factory);
bool DefaultInstanceExists(std::type_index type);

template <class T>
T& Default() {
  return static_cast<T&>(DefaultInstance(typeid(T), [] { return std::make_shared<T>(); }));
}
// Whether the default instance exists (it is loaded), without creating it.
template <class T>
bool DefaultExists() {
  return DefaultInstanceExists(typeid(T));
}
// A new instance beside the default one ("Dim f As New fHidden"): initialised, not loaded.
std::shared_ptr<Form> Initialized(std::shared_ptr<Form> form);
template <class T, class... Args>
std::shared_ptr<T> New(Args&&... args) {
  auto form = std::make_shared<T>(std::forward<Args>(args)...);
  Initialized(form);
  return form;
}

// Form classes by name, for callers that know only the name (the automation channel).
void RegisterFormClass(std::string name, std::type_index type, std::function<std::shared_ptr<Form>()> factory);
template <class T>
void RegisterFormClass(std::string name) {
  RegisterFormClass(std::move(name), typeid(T), [] { return std::make_shared<T>(); });
}
Form& DefaultByName(std::string_view name);  // error 730 for a name nobody registered

std::vector<Form*> Forms();                  // loaded forms, in load order
Form* FindForm(std::string_view name);       // the first loaded form of that name, or nullptr
Form* ActiveForm();                          // the program's active window, or nullptr

// Clears every process-wide state of the toolkit: forms, timers, the event loop's queue, message-box
// and file-dialog records and answers, hooks, App and Screen. Every test starts with it.
void ResetForTests();

}  // namespace forms
