#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace rt {

// Standard error numbers the system's messages and log lines show.
namespace err {
inline constexpr int32_t ReturnWithoutGoSub = 3;
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t OutOfStringSpace = 14;
inline constexpr int32_t InternalError = 51;
inline constexpr int32_t BadFileNameOrNumber = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t DeviceIoError = 57;
inline constexpr int32_t FileAlreadyExists = 58;
inline constexpr int32_t InputPastEndOfFile = 62;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t ArgumentNotOptional = 449;
inline constexpr int32_t WrongNumberOfArguments = 450;
inline constexpr int32_t ObjectNotSupportProperty = 438;
inline constexpr int32_t CancelPressed = 32755;  // common dialog with "cancel raises"
inline constexpr int32_t ClassNotRegistered = -2147221164;  // 0x80040154
}  // namespace err

// The standard text of an error number; "Application-defined or object-defined error" for others.
std::string ErrorText(int32_t number);

// A raised error: number, source and description, as the original runtime reports it.
class Error : public std::exception {
 public:
  Error(int32_t number, std::string source, std::string description);
  explicit Error(int32_t number, std::string source = {});

  int32_t Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

[[noreturn]] void Raise(int32_t number, std::string source = {}, std::string description = {});

// Any exception as an Error, so that handlers see one shape (foreign exceptions become error 51).
Error AsError(std::exception_ptr failure);

}  // namespace rt
