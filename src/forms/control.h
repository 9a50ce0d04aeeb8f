#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/colors.h"
#include "forms/event.h"
#include "forms/metrics.h"
#include "runtime/variant.h"

namespace forms {

class Form;

enum class Kind {
  Label,
  TextBox,
  ComboBox,
  ListBox,
  CommandButton,
  Frame,
  PictureBox,
  Image,
  Line,
  Shape,
  Timer,
  TabControl,
  Menu,
  CommonDialog,
  ObjectControl,  // a platform control that hosts an object (the Object Server control)
};

// The class of each kind, defined by its family's header: controls_text.h (Label, TextBox,
// ComboBox, ListBox), controls_drawing.h (Frame, PictureBox, Image, Line, Shape) and
// controls_command.h (CommandButton, Timer, TabControl, Menu, CommonDialog, ObjectControl).
class Label;
class TextBox;
class ComboBox;
class ListBox;
class CommandButton;
class Frame;
class PictureBox;
class Image;
class Line;
class Shape;
class Timer;
class TabControl;
class Menu;
class CommonDialog;
class ObjectControl;

std::string_view KindName(Kind kind);  // "TextBox", ...
std::optional<Kind> KindFromName(std::string_view name);
// Whether a control of this kind raises the event (handlers for other events are refused at load).
bool KindRaises(Kind kind, Event event);
bool FormRaises(Event event);

// A control of a loaded form. Controls are created from the form's layout when the form loads and
// are gone when it unloads; code reaches them through Form::Ctl by name and index. Positions are
// twips relative to the container (the form's client area, a frame, a picture box or a tab control).
class Control : public rt::Object {
 public:
  Control(Kind kind, Form& form, std::string name, int index);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind GetKind() const noexcept { return kind_; }
  std::string TypeName() const override;
  const std::string& Name() const noexcept { return name_; }
  int Index() const noexcept { return index_; }  // -1 unless a member of a control array
  std::string DisplayName() const;              // "txtCP(3)" or "cmdExit"
  Form& Parent() const noexcept { return *form_; }
  Control* Container() const noexcept { return container_; }  // nullptr: the form's client area
  int Page() const noexcept { return page_; }                 // tab page inside a tab control, else -1
  const std::vector<Control*>& Children() const noexcept { return children_; }  // back to front

  float Left() const noexcept { return left_; }
  float Top() const noexcept { return top_; }
  float Width() const noexcept { return width_; }
  float Height() const noexcept { return height_; }
  void SetLeft(float v);
  void SetTop(float v);
  void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top, float width, float height);

  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool Enabled() const noexcept { return enabled_; }
  virtual void SetEnabled(bool v) { enabled_ = v; }
  const std::string& Tag() const noexcept { return tag_; }
  void SetTag(std::string v) { tag_ = std::move(v); }
  const std::string& ToolTipText() const noexcept { return toolTip_; }
  void SetToolTipText(std::string v) { toolTip_ = std::move(v); }
  int TabIndex() const noexcept { return tabIndex_; }
  void SetTabIndex(int v);
  bool TabStop() const noexcept { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  bool CausesValidation() const noexcept { return causesValidation_; }
  void SetCausesValidation(bool v) { causesValidation_ = v; }
  const Font& GetFont() const noexcept { return font_; }
  virtual void SetFont(Font font) { font_ = std::move(font); }
  OleColor ForeColor() const noexcept { return foreColor_; }
  void SetForeColor(OleColor c) { foreColor_ = c; }
  OleColor BackColor() const noexcept { return backColor_; }
  void SetBackColor(OleColor c) { backColor_ = c; }

  // 0 brings the control to the front of its container, 1 sends it to the back.
  void ZOrder(int position = 0);
  // Moves the focus here (Validate and LostFocus of the control left, then GotFocus); error 5 when
  // the control cannot take the focus.
  void SetFocus();

  bool TakesFocus() const noexcept;            // a kind that can hold the focus
  bool IsEffectivelyVisible() const;           // itself, its containers, the current tab page, the form
  bool IsEffectivelyEnabled() const;           // itself and its containers
  bool CanReceiveFocus() const;                // takes focus, effectively visible and enabled
  bool HasFocus() const;
  bool IsAlive() const noexcept { return !detached_; }  // false once its form has unloaded

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

  // Raises one of this control's events to the form's handler; false when no handler ran.
  bool Raise(Event event, EventArgs& args);
  bool Raise(Event event);

 protected:
  // True while the layout is applied: property changes raise no events then.
  bool AtDesign() const noexcept;
  Form* form_;

 private:
  friend class Form;
  friend struct FormInternals;

  Kind kind_;
  std::string name_;
  int index_;
  Control* container_ = nullptr;
  int page_ = -1;
  std::vector<Control*> children_;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string tag_;
  std::string toolTip_;
  int tabIndex_ = 0;
  bool tabStop_ = true;
  bool causesValidation_ = true;
  Font font_;
  OleColor foreColor_ = syscolor::ButtonText;
  OleColor backColor_ = syscolor::ButtonFace;
  bool detached_ = false;
};

}  // namespace forms
