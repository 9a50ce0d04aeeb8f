#pragma once

// The controls that show text: labels, text boxes, combo boxes and list boxes.

#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "runtime/text.h"

namespace forms {

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
// The caret and selection count 16-bit code units and stand between whole characters: a position
// inside a character outside the 16-bit range falls back before it, and a selection ends before a
// character it would split.
class TextControl : public Control {
 public:
  using Control::Control;
  const std::string& Text() const noexcept { return text_; }
  virtual void SetText(std::string text);
  int SelStart() const noexcept { return static_cast<int>(selStart_.units); }
  int SelLength() const noexcept { return static_cast<int>(selEnd_.units - selStart_.units); }
  void SetSelStart(int v);
  void SetSelLength(int v);
  bool Locked() const noexcept { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  // A typed character (a code point; Backspace included) at the caret, replacing the selection.
  virtual void TypeCharacter(int keyAscii);
  // The Delete key: removes the selection, or else the character after the caret.
  virtual void DeleteForward();

 protected:
  void ReplaceText(std::string text);  // sets the text and raises Change when it differs
  void AssignText(std::string text);   // sets the text without events
  virtual void TextChanged() {}

 private:
  void PlaceSelection(int start, int length);
  // The selection's end: past the whole characters after its start that fit in `length` code units.
  void ExtendSelection(int length);
  rt::TextPlace CharacterBefore(rt::TextPlace place) const;
  rt::TextPlace CharacterAfter(rt::TextPlace place) const;
  // Replaces the text between two places, the caret after the insertion.
  void Splice(rt::TextPlace from, rt::TextPlace to, std::string_view insertion);
  rt::TextPlace OnCharacter(rt::TextPlace place) const;
  std::string text_;
  // The selection's ends keep their bytes beside their code units, so that an edit at the caret
  // never reads the text from its start.
  rt::TextPlace selStart_;
  rt::TextPlace selEnd_;
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
  void DeleteForward() override;
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

}  // namespace forms
