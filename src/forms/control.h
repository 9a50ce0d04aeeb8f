#pragma once

#include <cstdint>
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

class Label : public Control {
 public:
  Label(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption);
  int Alignment() const noexcept { return alignment_; }
  void SetAlignment(int v);
  bool AutoSize() const noexcept { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const noexcept { return wordWrap_; }
  void SetWordWrap(bool v);
  int BackStyle() const noexcept { return backStyle_; }  // 0 transparent, 1 opaque
  void SetBackStyle(int v);
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);
  void SetFont(Font font) override;

 private:
  void FitToCaption();
  std::string caption_;
  int alignment_ = 0;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  int backStyle_ = 1;
  int borderStyle_ = 0;
};

// The editable text of text boxes and combo boxes, with the caret and selection that typing uses.
class TextControl : public Control {
 public:
  using Control::Control;
  const std::string& Text() const noexcept { return text_; }
  virtual void SetText(std::string text);
  int SelStart() const noexcept { return selStart_; }
  int SelLength() const noexcept { return selLength_; }
  void SetSelStart(int v);
  void SetSelLength(int v);
  bool Locked() const noexcept { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  // A typed character (Backspace included) at the caret, replacing the selection.
  virtual void TypeCharacter(int keyAscii);

 protected:
  void ReplaceText(std::string text);  // sets the text and raises Change when it differs
  void AssignText(std::string text);   // sets the text without events
  virtual void TextChanged() {}

 private:
  std::string text_;
  int selStart_ = 0;
  int selLength_ = 0;
  bool locked_ = false;
};

class TextBox : public TextControl {
 public:
  TextBox(Form& form, std::string name, int index);
  int Alignment() const noexcept { return alignment_; }
  void SetAlignment(int v);
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  int alignment_ = 0;
  int borderStyle_ = 1;
};

// The item list shared by combo boxes and list boxes.
class ListItems {
 public:
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  const std::string& At(int index) const;  // error 381 outside 0..Count-1
  void Set(int index, std::string item);
  void Insert(std::string item, int index);  // index -1 appends; error 5 outside 0..Count
  void Remove(int index);                    // error 5 outside 0..Count-1
  void Clear() noexcept { items_.clear(); }
  int Find(std::string_view text) const noexcept;  // exact, case-sensitive; -1 when absent
  const std::vector<std::string>& All() const noexcept { return items_; }

 private:
  std::vector<std::string> items_;
};

class ComboBox : public TextControl {
 public:
  ComboBox(Form& form, std::string name, int index);
  int Style() const noexcept { return style_; }  // 0 drop-down combo, 2 drop-down list
  void SetStyle(int v);
  void SetText(std::string text) override;
  void TypeCharacter(int keyAscii) override;
  const ListItems& Items() const noexcept { return items_; }
  int ListCount() const noexcept { return items_.Count(); }
  const std::string& List(int index) const { return items_.At(index); }
  void SetList(int index, std::string item);
  // -1 when the text matches no item.
  int ListIndex() const noexcept { return listIndex_; }
  void SetListIndex(int index);  // selects the item (text and Click); error 380 outside -1..ListCount-1
  void AddItem(std::string item, int index = -1);
  void RemoveItem(int index);
  void Clear();

 private:
  void TextChanged() override;
  ListItems items_;
  int listIndex_ = -1;
  int style_ = 0;
};

class ListBox : public Control {
 public:
  ListBox(Form& form, std::string name, int index);
  const ListItems& Items() const noexcept { return items_; }
  int ListCount() const noexcept { return items_.Count(); }
  const std::string& List(int index) const { return items_.At(index); }
  void SetList(int index, std::string item);
  int ListIndex() const noexcept { return listIndex_; }
  void SetListIndex(int index);  // raises Click when it changes; keeps the item in view
  std::string Text() const;      // the selected item, "" when none
  int TopIndex() const noexcept { return topIndex_; }
  void SetTopIndex(int index);
  void AddItem(std::string item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  int VisibleRows() const;

 private:
  void KeepInRange();
  ListItems items_;
  int listIndex_ = -1;
  int topIndex_ = 0;
};

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Default() const noexcept { return default_; }
  void SetDefault(bool v);
  bool Cancel() const noexcept { return cancel_; }
  void SetCancel(bool v);
  // The access key marked with "&" in the caption, upper case; 0 when none.
  char AccessKey() const noexcept;

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

class Frame : public Control {
 public:
  Frame(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  std::string caption_;
  int borderStyle_ = 1;
};

// Picture boxes and image controls show a picture of the project's own (an SVG under
// resources/pictures, named without folder); "" shows none.
class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, int index);
  const std::string& Picture() const noexcept { return picture_; }
  void SetPicture(std::string name);  // error 481 for a picture that does not exist
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  std::string picture_;
  int borderStyle_ = 1;
};

class Image : public Control {
 public:
  Image(Form& form, std::string name, int index);
  const std::string& Picture() const noexcept { return picture_; }
  void SetPicture(std::string name);
  bool Stretch() const noexcept { return stretch_; }
  void SetStretch(bool v) { stretch_ = v; }
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  std::string picture_;
  bool stretch_ = false;
  int borderStyle_ = 0;
};

class Line : public Control {
 public:
  Line(Form& form, std::string name, int index);
  float X1() const noexcept { return x1_; }
  float Y1() const noexcept { return y1_; }
  float X2() const noexcept { return x2_; }
  float Y2() const noexcept { return y2_; }
  void SetX1(float v);
  void SetY1(float v);
  void SetX2(float v);
  void SetY2(float v);
  int BorderWidth() const noexcept { return borderWidth_; }
  void SetBorderWidth(int v);
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);
  OleColor BorderColor() const noexcept { return borderColor_; }
  void SetBorderColor(OleColor c) { borderColor_ = c; }

 private:
  void UpdateBounds();
  float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  int borderWidth_ = 1;
  int borderStyle_ = 1;
  OleColor borderColor_ = syscolor::WindowText;
};

class Shape : public Control {
 public:
  Shape(Form& form, std::string name, int index);
  int ShapeKind() const noexcept { return shape_; }  // the toolkit's Shape property
  void SetShapeKind(int v);
  int FillStyle() const noexcept { return fillStyle_; }
  void SetFillStyle(int v);
  OleColor FillColor() const noexcept { return fillColor_; }
  void SetFillColor(OleColor c) { fillColor_ = c; }
  int BackStyle() const noexcept { return backStyle_; }
  void SetBackStyle(int v);
  OleColor BorderColor() const noexcept { return borderColor_; }
  void SetBorderColor(OleColor c) { borderColor_ = c; }
  int BorderWidth() const noexcept { return borderWidth_; }
  void SetBorderWidth(int v);
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  int shape_ = 0;
  int fillStyle_ = 1;
  OleColor fillColor_ = RGB(0, 0, 0);
  int backStyle_ = 0;
  OleColor borderColor_ = syscolor::WindowText;
  int borderWidth_ = 1;
  int borderStyle_ = 1;
};

// Ticks come only while the event loop runs (idle, DoEvents, waits, modal boxes).
class Timer : public Control {
 public:
  Timer(Form& form, std::string name, int index);
  ~Timer() override;
  void SetEnabled(bool v) override;  // switching on restarts the countdown
  int32_t Interval() const noexcept { return interval_; }
  void SetInterval(int32_t ms);      // 0..65535, else error 380; restarts the countdown while on

 private:
  friend struct TimerInternals;
  int32_t interval_ = 0;
  std::optional<int64_t> due_;  // clock time of the next tick; empty while it cannot tick
  uint64_t sequence_ = 0;       // order of equal due times
  bool ticking_ = false;        // its handler runs: no re-entrant tick
};

// The tabbed dialog control: pages with captions; a child belongs to one page and shows only on it.
// A page switched off with TabEnabled keeps its tab in the row, greyed, and cannot be chosen;
// TabVisible takes the tab out of the row.
class TabControl : public Control {
 public:
  TabControl(Form& form, std::string name, int index);
  int Tab() const noexcept { return tab_; }
  void SetTab(int page);  // raises Click(previous tab) when the page changes; error 380 outside 0..Tabs-1
  int Tabs() const noexcept { return static_cast<int>(pages_.size()); }
  void SetTabs(int count);
  const std::string& TabCaption(int page) const;
  void SetTabCaption(int page, std::string caption);
  bool TabEnabled(int page) const;
  void SetTabEnabled(int page, bool v);
  bool TabVisible(int page) const;
  void SetTabVisible(int page, bool v);
  float TabHeight() const noexcept { return tabHeight_; }
  void SetTabHeight(float v);
  // The page shown after `from` in the given direction that a user may select, or -1.
  int NextSelectablePage(int from, int step) const;

 private:
  struct PageInfo {
    std::string caption;
    bool enabled = true;
    bool visible = true;
  };
  const PageInfo& PageAt(int page) const;
  PageInfo& PageAt(int page);
  std::vector<PageInfo> pages_;
  int tab_ = 0;
  float tabHeight_ = 300;
};

class Menu : public Control {
 public:
  Menu(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Checked() const noexcept { return checked_; }
  void SetChecked(bool v) { checked_ = v; }

 private:
  std::string caption_;
  bool checked_ = false;
};

// The common file dialog. ShowOpen / ShowSave ask for a file the way message boxes ask for an
// answer (forms/msgbox.h); Cancel raises 32755 when CancelError is set.
class CommonDialog : public Control {
 public:
  CommonDialog(Form& form, std::string name, int index);
  const std::string& DialogTitle() const noexcept { return dialogTitle_; }
  void SetDialogTitle(std::string v) { dialogTitle_ = std::move(v); }
  const std::string& InitDir() const noexcept { return initDir_; }
  void SetInitDir(std::string v) { initDir_ = std::move(v); }
  const std::string& Filter() const noexcept { return filter_; }
  void SetFilter(std::string v) { filter_ = std::move(v); }
  int FilterIndex() const noexcept { return filterIndex_; }
  void SetFilterIndex(int v) { filterIndex_ = v; }
  int32_t Flags() const noexcept { return flags_; }
  void SetFlags(int32_t v) { flags_ = v; }
  const std::string& FileName() const noexcept { return fileName_; }
  void SetFileName(std::string v);
  const std::string& FileTitle() const noexcept { return fileTitle_; }
  const std::string& DefaultExt() const noexcept { return defaultExt_; }
  void SetDefaultExt(std::string v) { defaultExt_ = std::move(v); }
  bool CancelError() const noexcept { return cancelError_; }
  void SetCancelError(bool v) { cancelError_ = v; }
  void ShowOpen();
  void ShowSave();

 private:
  void Ask(bool save);
  std::string dialogTitle_;
  std::string initDir_;
  std::string filter_;
  int filterIndex_ = 0;
  int32_t flags_ = 0;
  std::string fileName_;
  std::string fileTitle_;
  std::string defaultExt_;
  bool cancelError_ = false;
};

// Hosts a platform object on the form (the layout names its class by ProgID). The object comes from
// the factory registered for that ProgID when the form loads, or is set by the form's code.
class ObjectControl : public Control {
 public:
  ObjectControl(Form& form, std::string name, int index);
  const std::string& ProgID() const noexcept { return progId_; }
  void SetProgID(std::string v);
  const rt::ObjectRef& Object() const noexcept { return object_; }
  void SetObject(rt::ObjectRef object) { object_ = std::move(object); }

 private:
  std::string progId_;
  rt::ObjectRef object_;
};

using ObjectFactory = std::function<rt::ObjectRef()>;
void RegisterObjectControlClass(std::string progId, ObjectFactory factory);

}  // namespace forms
