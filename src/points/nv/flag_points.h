#pragma once

#include <span>
#include <string>
#include <vector>

#include "points/flags.h"
#include "points/nv/point.h"

namespace points {

// A flag-set point class.
struct FlagsClass {
  PointClass point;
  int flags;  // Bit0 .. Bit(flags - 1)
  FormatNames formattedNames;
  // The written formatted text: one "0"/"1" entry per flag, then "0" entries up to `writeEntries`.
  char writeDelimiter;
  int writeEntries;
  // A formatted text is read from the characters at positions 1, 3, 5, ... when its count of
  // delimiters (counted up to the limit) is one of the accepted counts.
  char readDelimiter;
  int readLimit;
  std::span<const int> readCounts;
  // The raw text: the flag bytes, then "0" entries up to `rawEntries`. A read takes the text with
  // one of the accepted TAB counts; TAB count + 1 bytes, of which the flag bytes are used.
  int rawEntries;
  int rawLimit;
  std::span<const int> rawCounts;
  bool logsDelimiters;  // "Delimiters in vIN=>" & count & "< tEnd=" & position, per TAB found
  std::string (*formattedRefusal)(const std::string& nvName);
  std::string (*rawRefusal)(const std::string& nvName);
};

// Flags exposed as Boolean properties Bit0, Bit1, ... Not gated: every WriteNV sends.
class FlagsPoint : public FlagsOf<NetworkVariablePoint> {
 public:
  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 protected:
  explicit FlagsPoint(const FlagsClass& flagsClass);
  void Send(rt::Steps& steps) override;
  void Receive(rt::Steps& steps) override;

 private:
  void DecodeFormatted(rt::Steps& steps);
  void DecodeRaw(rt::Steps& steps);
  int CountRawDelimiters(const std::string& text) const;

  const FlagsClass& flags_;
};

// Sixteen flags.
class SNVT_state final : public FlagsPoint {
 public:
  SNVT_state();
};

// The first 32 of 64 flags; the others are sent as 0 and ignored on reading.
class SNVT_state_64 final : public FlagsPoint {
 public:
  SNVT_state_64();
};

}  // namespace points
