#include "points/flags.h"

#include "points/value_text.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace points {

namespace {

uint8_t FlagMask(int flag) { return static_cast<uint8_t>(0x80 >> (flag % 8)); }

}  // namespace

size_t FlagSet::At(int flag) const {
  if (flag < 0 || flag >= Count()) rt::Raise(rt::err::SubscriptOutOfRange);
  return static_cast<size_t>(flag);
}

bool FlagSet::Get(int flag) const { return bits_[At(flag)]; }

void FlagSet::Set(int flag, bool value) { bits_[At(flag)] = value; }

std::string FlagSet::EntriesText(char delimiter, int entries) const {
  std::vector<std::string> pieces;
  for (int entry = 0; entry < entries; ++entry) pieces.emplace_back(entry < Count() && Get(entry) ? "1" : "0");
  return rt::Join(pieces, delimiter);
}

std::string FlagSet::RawText(int entries) const {
  std::vector<uint8_t> bytes(static_cast<size_t>(entries));
  for (int flag = 0; flag < Count(); ++flag) {
    if (Get(flag)) bytes[static_cast<size_t>(flag / 8)] |= FlagMask(flag);
  }
  std::vector<std::string> pieces;
  for (uint8_t byte : bytes) pieces.push_back(std::to_string(byte));
  return rt::Join(pieces, Tab);
}

void FlagSet::TakeEntries(std::string_view text) {
  for (int flag = 0; flag < Count(); ++flag) {
    Set(flag, rt::Val(rt::Mid(text, static_cast<size_t>(2 * flag + 1), 1)) != 0);
  }
}

void FlagSet::TakeByte(int index, uint8_t value) {
  for (int flag = index * 8; flag < index * 8 + 8; ++flag) Set(flag, (value & FlagMask(flag)) != 0);
}

}  // namespace points
