#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/members.h"

namespace points {

// A set of on/off flags as the device lays them out: numbered from the most significant bit of
// the first raw byte (Bit0 is mask 128 of the first byte, Bit8 mask 128 of the second).
class FlagSet {
 public:
  explicit FlagSet(int count) : bits_(static_cast<size_t>(count)) {}

  int Count() const noexcept { return static_cast<int>(bits_.size()); }
  int Bytes() const noexcept { return Count() / 8; }
  // Error 9 for a flag the set does not have.
  bool Get(int flag) const;
  void Set(int flag, bool value);

  // One "0"/"1" entry per flag, then "0" entries up to `entries`, joined by `delimiter`.
  std::string EntriesText(char delimiter, int entries) const;
  // The flag bytes as decimal texts, then "0" entries up to `entries`, joined by TAB.
  std::string RawText(int entries) const;
  // Each flag from the character at position 2k + 1 of `text` (1-based): a digit other than 0
  // sets it; "0", a blank, any other character or the end of the text clears it.
  void TakeEntries(std::string_view text);
  // The eight flags of raw byte `index` (0-based).
  void TakeByte(int index, uint8_t value);

 private:
  size_t At(int flag) const;
  std::vector<bool> bits_;
};

// A point of family Base holding a flag set; each Let sets Changed.
template <class Base>
class FlagsOf : public Base {
 public:
  // Error 9 for a flag the point does not have.
  void put_Bit(int flag, bool value) {
    bits_.Set(flag, value);
    this->m_Changed = true;
  }
  bool get_Bit(int flag) const { return bits_.Get(flag); }

 protected:
  template <class... BaseArgs>
  explicit FlagsOf(int flags, BaseArgs&&... args) : Base(std::forward<BaseArgs>(args)...), bits_(flags) {}

  FlagSet bits_;
};

enum class BitOrder {
  AscendingGetFirst,  // Bit0 Get, Bit0 Let, Bit1 Get, ...
  DescendingLetFirst  // Bit(n-1) Let, Bit(n-1) Get, ..., Bit0 Let, Bit0 Get
};

// Bit0 .. Bit(count - 1) of a class with get_Bit(flag) and put_Bit(flag, value), in `order`.
template <class T>
std::vector<rt::Member<T>> BitMembers(int count, BitOrder order) {
  std::vector<rt::Member<T>> members;
  for (int i = 0; i < count; ++i) {
    int flag = order == BitOrder::AscendingGetFirst ? i : count - 1 - i;
    std::string name = "Bit" + std::to_string(flag);
    rt::Member<T> get = rt::Get(name, [flag](T& p) { return p.get_Bit(flag); });
    rt::Member<T> let = rt::Let(name, [flag](T& p, rt::Args& a) { p.put_Bit(flag, rt::AssignedValue(a).ToBoolean()); });
    if (order == BitOrder::AscendingGetFirst) {
      members.push_back(std::move(get));
      members.push_back(std::move(let));
    } else {
      members.push_back(std::move(let));
      members.push_back(std::move(get));
    }
  }
  return members;
}

}  // namespace points
