#include "forms/controls_text.h"

#include <algorithm>

#include "forms/form.h"
#include "forms/internal.h"
#include "forms/layout.h"
#include "runtime/text.h"

namespace forms {
namespace {

// The selection index after an insertion or removal at `at`, the selected item staying selected.
int ShiftedSelection(int selected, int at, bool inserted) {
  if (selected < 0) return selected;
  if (inserted) return at <= selected ? selected + 1 : selected;
  if (at == selected) return -1;
  return at < selected ? selected - 1 : selected;
}

}  // namespace

// ---- Label

Label::Label(Form& form, std::string name, int index) : Control(Kind::Label, form, std::move(name), index) {}

void Label::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  FitToCaption();
}

void Label::SetAlignment(int v) {
  RequireRange(v, 0, 2);
  alignment_ = v;
}

void Label::SetAutoSize(bool v) {
  autoSize_ = v;
  FitToCaption();
}

void Label::SetWordWrap(bool v) {
  wordWrap_ = v;
  FitToCaption();
}

void Label::SetBackStyle(int v) {
  RequireRange(v, 0, 1);
  backStyle_ = v;
}

void Label::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

void Label::SetFont(Font font) {
  Control::SetFont(std::move(font));
  FitToCaption();
}

// AutoSize: the label takes the size of its caption at once, because code reads the new size.
void Label::FitToCaption() {
  if (!autoSize_) return;
  auto lines = LayoutLines(caption_, GetFont(), wordWrap_, static_cast<int>(Width()));
  int widest = 0;
  for (const auto& line : lines) widest = std::max(widest, TextWidthTwips(line, GetFont()));
  if (!wordWrap_) SetWidth(static_cast<float>(widest));
  SetHeight(static_cast<float>(LineHeightTwips(GetFont()) * static_cast<int>(lines.size())));
}

// ---- TextControl

void TextControl::SetText(std::string text) {
  // GCC 12 at -O3 takes the string moved into ReplaceText's parameter for uninitialized.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
  ReplaceText(std::move(text));
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  selStart_ = 0;
  selLength_ = 0;
}

void TextControl::SetSelStart(int v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  selStart_ = std::min(v, static_cast<int>(text_.size()));
  selLength_ = 0;
}

void TextControl::SetSelLength(int v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  selLength_ = std::min(v, static_cast<int>(text_.size()) - selStart_);
}

void TextControl::AssignText(std::string text) {
  text_ = std::move(text);
  selStart_ = std::min(selStart_, static_cast<int>(text_.size()));
  selLength_ = std::min(selLength_, static_cast<int>(text_.size()) - selStart_);
  TextChanged();
}

void TextControl::ReplaceText(std::string text) {
  if (text == text_) return;
  AssignText(std::move(text));
  Raise(Event::Change);
}

void TextControl::TypeCharacter(int keyAscii) {
  if (locked_) return;
  std::string text = text_;
  int start = selStart_;
  int length = selLength_;
  if (keyAscii == vbKeyBack) {
    if (length == 0 && start > 0) {
      --start;
      length = 1;
    }
    text.erase(static_cast<size_t>(start), static_cast<size_t>(length));
  } else if (keyAscii >= 32 && keyAscii <= 255) {
    text.replace(static_cast<size_t>(start), static_cast<size_t>(length), 1, static_cast<char>(keyAscii));
    ++start;
  } else {
    return;
  }
  selStart_ = start;
  selLength_ = 0;
  ReplaceText(std::move(text));
}

// ---- TextBox

TextBox::TextBox(Form& form, std::string name, int index) : TextControl(Kind::TextBox, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
  SetForeColor(syscolor::WindowText);
}

void TextBox::SetAlignment(int v) {
  RequireRange(v, 0, 2);
  alignment_ = v;
}

void TextBox::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

// ---- ListItems

const std::string& ListItems::At(int index) const {
  if (index < 0 || index >= Count()) throw rt::Error(381, {}, "Invalid property array index");
  return items_[static_cast<size_t>(index)];
}

void ListItems::Set(int index, std::string item) {
  At(index);
  items_[static_cast<size_t>(index)] = std::move(item);
}

void ListItems::Insert(std::string item, int index) {
  if (index == -1) index = Count();
  if (index < 0 || index > Count()) throw rt::Error(rt::err::InvalidProcedureCall);
  items_.insert(items_.begin() + index, std::move(item));
}

void ListItems::Remove(int index) {
  if (index < 0 || index >= Count()) throw rt::Error(rt::err::InvalidProcedureCall);
  items_.erase(items_.begin() + index);
}

int ListItems::Find(std::string_view text) const noexcept {
  auto it = std::find(items_.begin(), items_.end(), text);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// ---- ComboBox

ComboBox::ComboBox(Form& form, std::string name, int index)
    : TextControl(Kind::ComboBox, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
  SetForeColor(syscolor::WindowText);
}

void ComboBox::SetStyle(int v) {
  if (v != 0 && v != 1 && v != 2) throw rt::Error(rt::err::InvalidPropertyValue);
  if (!AtDesign()) throw rt::Error(err::PropertyReadOnly, {}, "'Style' property is read-only");
  style_ = v;
}

void ComboBox::SetText(std::string text) {
  if (style_ != 2) {
    TextControl::SetText(std::move(text));
    return;
  }
  int found = items_.Find(text);
  if (found < 0) throw rt::Error(err::PropertyReadOnly, {}, "'Text' property is read-only");
  SetListIndex(found);
}

void ComboBox::TextChanged() { listIndex_ = items_.Find(Text()); }

void ComboBox::TypeCharacter(int keyAscii) {
  if (style_ != 2) {
    TextControl::TypeCharacter(keyAscii);
    return;
  }
  if (keyAscii < 32 || keyAscii > 255) return;
  // A drop-down list takes no free text: a letter picks the next item that starts with it.
  for (int step = 1; step <= ListCount(); ++step) {
    int i = (listIndex_ + step) % ListCount();
    const std::string& item = items_.At(i);
    if (!item.empty() && std::toupper(static_cast<unsigned char>(item[0])) == std::toupper(keyAscii)) {
      SetListIndex(i);
      return;
    }
  }
}

void ComboBox::SetList(int index, std::string item) {
  items_.Set(index, std::move(item));
  if (index == listIndex_) AssignText(items_.At(index));
}

void ComboBox::SetListIndex(int index) {
  RequireRange(index, -1, ListCount() - 1);
  if (index == listIndex_ && (index < 0 || Text() == items_.At(index))) return;
  AssignText(index < 0 ? std::string() : items_.At(index));
  listIndex_ = index;
  Raise(Event::Click);
}

void ComboBox::AddItem(std::string item, int index) {
  int at = index == -1 ? ListCount() : index;
  items_.Insert(std::move(item), index);
  listIndex_ = ShiftedSelection(listIndex_, at, true);
}

void ComboBox::RemoveItem(int index) {
  items_.Remove(index);
  listIndex_ = ShiftedSelection(listIndex_, index, false);
}

void ComboBox::Clear() {
  items_.Clear();
  AssignText({});
}

// ---- ListBox

ListBox::ListBox(Form& form, std::string name, int index) : Control(Kind::ListBox, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
  SetForeColor(syscolor::WindowText);
}

void ListBox::SetList(int index, std::string item) { items_.Set(index, std::move(item)); }

void ListBox::SetListIndex(int index) {
  RequireRange(index, -1, ListCount() - 1);
  if (index == listIndex_) return;
  listIndex_ = index;
  if (index >= 0 && index < topIndex_) topIndex_ = index;
  if (index >= topIndex_ + VisibleRows()) topIndex_ = index - VisibleRows() + 1;
  Raise(Event::Click);
}

std::string ListBox::Text() const { return listIndex_ < 0 ? std::string() : items_.At(listIndex_); }

void ListBox::SetTopIndex(int index) {
  RequireRange(index, 0, std::max(0, ListCount() - 1));
  topIndex_ = index;
}

void ListBox::AddItem(std::string item, int index) {
  int at = index == -1 ? ListCount() : index;
  items_.Insert(std::move(item), index);
  listIndex_ = ShiftedSelection(listIndex_, at, true);
}

void ListBox::RemoveItem(int index) {
  items_.Remove(index);
  listIndex_ = ShiftedSelection(listIndex_, index, false);
  KeepInRange();
}

void ListBox::Clear() {
  items_.Clear();
  listIndex_ = -1;
  topIndex_ = 0;
}

int ListBox::VisibleRows() const {
  int inner = static_cast<int>(Height()) - 4 * kTwipsPerPixel;
  return std::max(1, inner / LineHeightTwips(GetFont()));
}

void ListBox::KeepInRange() { topIndex_ = std::clamp(topIndex_, 0, std::max(0, ListCount() - VisibleRows())); }

}  // namespace forms
