#include "registry/quick_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "registry/format.h"
#include "runtime/text.h"

namespace reg {
namespace {

// What a character is to the reader, looked up in one step: the file is mostly blanks and names.
// Plain: taken as it is inside a string.
enum CharClass : unsigned char { Blank = 1, Plain = 2 };

constexpr std::array<unsigned char, 256> kCharClasses = [] {
  std::array<unsigned char, 256> classes{};
  for (size_t c = 0x20; c < classes.size(); ++c) classes[c] = Plain;
  classes['"'] = classes['\\'] = 0;
  classes[' '] = Blank | Plain;
  classes['\n'] = classes['\r'] = classes['\t'] = Blank;
  return classes;
}();

// Thrown, as is Malformed, where the quick reader leaves the text to the JSON library.
struct NotTaken {};

[[noreturn]] void GiveUp() { throw NotTaken{}; }

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text), expectedSize_(text.size()) {}
  // The text read a piece at a time into a window of its own, never cleared: the file's bytes are
  // copied once, into memory that is used again and again.
  Reader(const ReadMore& readMore, size_t expectedSize)
      : readMore_(&readMore), window_(new char[kWindowSize]), expectedSize_(expectedSize) {}

  Hives Document() {
    Hives hives;
    bool read[std::size(kRoots)] = {};
    Members([&](std::string name) {
      size_t index = 0;
      while (index < std::size(kRoots) && name != kRoots[index].name) ++index;
      if (index == std::size(kRoots) || std::exchange(read[index], true)) GiveUp();
      hives.*kRoots[index].key = KeyNode(std::move(name), 0);
    });
    SkipBlanks();
    if (More()) GiveUp();
    return hives;
  }

 private:
  static constexpr size_t kWindowSize = 64 * 1024;
  // A list of subkeys this long is given its room at once (see ReserveForTheRest).
  static constexpr size_t kLongList = 1024;

  Key KeyNode(std::string name, int depth) {
    if (depth > kDeepestKey) GiveUp();
    Key key(std::move(name));
    bool values = false;
    bool subkeys = false;
    Members([&](const std::string& member) {
      if (member == "values" && !std::exchange(values, true)) {
        key.KeepPacked(ReadValues());
      } else if (member == "keys" && !std::exchange(subkeys, true)) {
        ReadSubkeys(key, depth);
      } else {
        GiveUp();
      }
    });
    return key;
  }

  // Checked whole, and packed: their key unpacks them when it is asked for them.
  std::shared_ptr<const char> ReadValues() {
    values_.clear();
    NamesMet names;
    Members([&](std::string name) {
      if (!names.IsNew(values_, name)) GiveUp();
      values_.push_back(ValueNode(std::move(name)));
    });
    return packer_.Pack(values_);
  }

  void ReadSubkeys(Key& key, int depth) {
    NamesMet names;
    const size_t start = Offset();
    Members([&](std::string name) {
      if (!IsKeyName(name) || !names.IsNew(key.subkeys, name)) GiveUp();
      if (key.subkeys.size() == kLongList) ReserveForTheRest(key.subkeys, Offset() - start);
      key.subkeys.push_back(KeyNode(std::move(name), depth + 1));
    });
    if (!names.InOrder()) key.SortSubkeys();
  }

  // Room for as many keys as the rest of the text holds at the length of those read so far, so
  // that a long list is not moved again and again as it grows; room left unused is address space
  // that is never touched.
  void ReserveForTheRest(std::vector<Key>& subkeys, size_t bytesSoFar) const {
    const size_t rest = expectedSize_ - std::min(expectedSize_, Offset());
    subkeys.reserve(subkeys.size() + rest / std::max<size_t>(1, bytesSoFar / subkeys.size()) + 1);
  }

  Value ValueNode(std::string name) {
    Value value{std::move(name), REG_NONE, {}};
    bool typed = false;
    bool filled = false;
    Members([&](const std::string& member) {
      if (member == "type" && !std::exchange(typed, true)) {
        value.type = Type();
      } else if (member == "text" && !std::exchange(filled, true)) {
        const std::string text = String();
        value.data.assign(text.begin(), text.end());
      } else if (member == "hex" && !std::exchange(filled, true)) {
        value.data = HexBytes(String());
      } else {
        GiveUp();
      }
    });
    if (!typed || !filled) GiveUp();
    return value;
  }

  // Calls `member` with each member's name, the reader at its value.
  template <class Member>
  void Members(Member member) {
    Expect('{');
    if (Take('}')) return;
    do {
      std::string name = String();
      Expect(':');
      member(std::move(name));
    } while (Take(','));
    Expect('}');
  }

  DWORD Type() {
    SkipBlanks();
    uint64_t type = 0;
    size_t digits = 0;
    while (More() && text_[at_] >= '0' && text_[at_] <= '9') {
      if (digits++ > 0 && type == 0) GiveUp();  // a leading zero
      type = type * 10 + static_cast<uint64_t>(text_[at_++] - '0');
      if (type > UINT32_MAX) GiveUp();
    }
    const bool fraction = More() && (text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E');
    if (digits == 0 || fraction) GiveUp();
    return static_cast<DWORD>(type);
  }

  std::string String() {
    Expect('"');
    std::string text;
    for (;;) {
      if (!More()) GiveUp();
      const size_t plain = at_;
      while (at_ < text_.size() && IsA(Plain)) ++at_;
      text.append(text_, plain, at_ - plain);
      if (at_ == text_.size()) continue;
      const char c = text_[at_++];
      if (c == '"') break;
      if (c != '\\') GiveUp();
      Escape(text);
    }
    if (!rt::IsUtf8(text)) GiveUp();
    return text;
  }

  // Surrogate pairs are left to the JSON library.
  void Escape(std::string& text) {
    switch (const char c = Next()) {
      case '"':
      case '\\':
      case '/':
        text += c;
        return;
      case 'b':
        text += '\b';
        return;
      case 'f':
        text += '\f';
        return;
      case 'n':
        text += '\n';
        return;
      case 'r':
        text += '\r';
        return;
      case 't':
        text += '\t';
        return;
      case 'u':
        break;
      default:
        GiveUp();
    }
    uint32_t code = 0;
    for (int i = 0; i < 4; ++i) code = code << 4 | static_cast<uint32_t>(HexDigit(Next()));
    if (code >= 0xD800 && code <= 0xDFFF) GiveUp();
    text += rt::Utf8(code);
  }

  void SkipBlanks() {
    // The file is indented: runs of spaces go eight at a time.
    constexpr uint64_t kEightSpaces = 0x2020202020202020;
    while (More()) {
      uint64_t eight = 0;
      while (text_.size() - at_ >= sizeof eight &&
             (std::memcpy(&eight, &text_[at_], sizeof eight), eight == kEightSpaces)) {
        at_ += sizeof eight;
      }
      while (at_ < text_.size() && IsA(Blank)) ++at_;
      if (at_ < text_.size()) return;
    }
  }

  bool IsA(CharClass wanted) const { return (kCharClasses[static_cast<unsigned char>(text_[at_])] & wanted) != 0; }

  bool Take(char wanted) {
    SkipBlanks();
    if (!More() || text_[at_] != wanted) return false;
    ++at_;
    return true;
  }

  void Expect(char wanted) {
    if (!Take(wanted)) GiveUp();
  }

  char Next() {
    if (!More()) GiveUp();
    return text_[at_++];
  }

  // Whether a character is left, the next piece read when the window's are used up.
  bool More() {
    if (at_ < text_.size()) return true;
    if (readMore_ == nullptr) return false;
    passed_ += text_.size();
    text_ = std::string_view(window_.get(), (*readMore_)(window_.get(), kWindowSize));
    at_ = 0;
    return !text_.empty();
  }

  size_t Offset() const { return passed_ + at_; }

  const ReadMore* readMore_ = nullptr;
  std::unique_ptr<char[]> window_;
  std::string_view text_;
  size_t at_ = 0;
  size_t passed_ = 0;  // the text's bytes before the window's
  size_t expectedSize_;
  std::vector<Value> values_;  // those of the key being read, before they are packed
  ValuePacker packer_;
};

std::optional<Hives> Taken(Reader&& reader) {
  try {
    return reader.Document();
  } catch (const NotTaken&) {
    return std::nullopt;
  } catch (const Malformed&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<Hives> QuickRead(std::string_view text) { return Taken(Reader(text)); }

std::optional<Hives> QuickRead(const ReadMore& readMore, size_t expectedSize) {
  return Taken(Reader(readMore, expectedSize));
}

}  // namespace reg
