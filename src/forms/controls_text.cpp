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

// What a typed character puts into the text; nothing for a control character or a code point that
// is no character.
std::string TypedText(int keyAscii) {
  return keyAscii < 32 ? std::string() : rt::Utf8(static_cast<char32_t>(keyAscii));
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
  selStart_ = {};
  selEnd_ = {};
}

void TextControl::SetSelStart(int v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  PlaceSelection(v, 0);
}

void TextControl::SetSelLength(int v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  ExtendSelection(v);
}

void TextControl::PlaceSelection(int start, int length) {
  selStart_ = rt::FitUnits(text_, 0, static_cast<size_t>(start));
  ExtendSelection(length);
}

void TextControl::ExtendSelection(int length) {
  const rt::TextPlace selected = rt::FitUnits(text_, selStart_.byte, static_cast<size_t>(length));
  selEnd_ = {selected.byte, selStart_.units + selected.units};
}

void TextControl::AssignText(std::string text) {
  text_ = std::move(text);
  PlaceSelection(SelStart(), SelLength());
  TextChanged();
}

void TextControl::ReplaceText(std::string text) {
  if (text == text_) return;
  AssignText(std::move(text));
  Raise(Event::Change);
}

rt::TextPlace TextControl::CharacterBefore(rt::TextPlace place) const {
  const rt::Character before = rt::LastCharacter(std::string_view(text_).substr(0, place.byte));
  return {place.byte - before.bytes, place.units - before.Units()};
}

rt::TextPlace TextControl::CharacterAfter(rt::TextPlace place) const {
  const rt::Character after = rt::FirstCharacter(std::string_view(text_).substr(place.byte));
  return {place.byte + after.bytes, place.units + after.Units()};
}

void TextControl::TypeCharacter(int keyAscii) {
  if (locked_) return;
  const bool none = selStart_.byte == selEnd_.byte;
  if (keyAscii == vbKeyBack) {
    Splice(none ? CharacterBefore(selStart_) : selStart_, selEnd_, {});
  } else if (const std::string typed = TypedText(keyAscii); !typed.empty()) {
    Splice(selStart_, selEnd_, typed);
  }
}

void TextControl::DeleteForward() {
  if (locked_) return;
  const bool none = selStart_.byte == selEnd_.byte;
  Splice(selStart_, none ? CharacterAfter(selEnd_) : selEnd_, {});
}

// In place, so that a keystroke costs the same at the end of a long text as of a short one.
void TextControl::Splice(rt::TextPlace from, rt::TextPlace to, std::string_view insertion) {
  const size_t removed = to.byte - from.byte;
  const bool changes = std::string_view(text_).substr(from.byte, removed) != insertion;
  text_.replace(from.byte, removed, insertion);
  selStart_ = OnCharacter({from.byte + insertion.size(), from.units + rt::Len(insertion)});
  selEnd_ = selStart_;
  if (!changes) return;
  TextChanged();
  Raise(Event::Change);
}

// A removal can join bytes that began no sequence on either side of `place` into one character (at
// most three before it); a place inside that character falls back before it, and each byte of it
// before the place had counted one unit.
rt::TextPlace TextControl::OnCharacter(rt::TextPlace place) const {
  for (size_t back = std::min<size_t>(place.byte, 3); back > 0; --back) {
    if (rt::FirstCharacter(std::string_view(text_).substr(place.byte - back)).bytes > back) {
      return {place.byte - back, place.units - back};
    }
  }
  return place;
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
  const std::string typed = TypedText(keyAscii);
  if (typed.empty()) return;
  // A drop-down list takes no free text: a letter picks the next item that starts with it.
  for (int step = 1; step <= ListCount(); ++step) {
    int i = (listIndex_ + step) % ListCount();
    if (rt::EqualsNoCase(std::string_view(items_.At(i)).substr(0, typed.size()), typed)) {
      SetListIndex(i);
      return;
    }
  }
}

void ComboBox::DeleteForward() {
  if (style_ != 2) TextControl::DeleteForward();
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
