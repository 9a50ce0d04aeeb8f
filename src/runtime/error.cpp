#include "runtime/error.h"

#include <map>
#include <new>

namespace rt {
namespace {

const std::map<int32_t, std::string>& StandardTexts() {
  static const std::map<int32_t, std::string> texts = {
      {err::ReturnWithoutGoSub, "Return without GoSub"},
      {err::InvalidProcedureCall, "Invalid procedure call or argument"},
      {err::Overflow, "Overflow"},
      {err::OutOfMemory, "Out of memory"},
      {err::SubscriptOutOfRange, "Subscript out of range"},
      {err::DivisionByZero, "Division by zero"},
      {err::TypeMismatch, "Type mismatch"},
      {err::OutOfStringSpace, "Out of string space"},
      {err::InternalError, "Internal error"},
      {err::BadFileNameOrNumber, "Bad file name or number"},
      {err::FileNotFound, "File not found"},
      {err::BadFileMode, "Bad file mode"},
      {err::FileAlreadyOpen, "File already open"},
      {err::DeviceIoError, "Device I/O error"},
      {err::FileAlreadyExists, "File already exists"},
      {err::InputPastEndOfFile, "Input past end of file"},
      {err::PermissionDenied, "Permission denied"},
      {err::PathFileAccessError, "Path/File access error"},
      {err::PathNotFound, "Path not found"},
      {err::ObjectNotSet, "Object variable or With block variable not set"},
      {err::InvalidPropertyValue, "Invalid property value"},
      {err::ObjectRequired, "Object required"},
      {err::CannotCreateObject, "ActiveX component can't create object"},
      {err::ArgumentNotOptional, "Argument not optional"},
      {err::WrongNumberOfArguments, "Wrong number of arguments or invalid property assignment"},
      {err::ObjectNotSupportProperty, "Object doesn't support this property or method"},
      {err::CancelPressed, "Cancel was selected."},
      {err::ClassNotRegistered, "Class not registered"},
  };
  return texts;
}

}  // namespace

std::string ErrorText(int32_t number) {
  const auto& texts = StandardTexts();
  auto it = texts.find(number);
  return it != texts.end() ? it->second : "Application-defined or object-defined error";
}

Error::Error(int32_t number, std::string source, std::string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  if (description_.empty()) description_ = ErrorText(number_);
}

Error::Error(int32_t number, std::string source) : Error(number, std::move(source), {}) {}

void Raise(int32_t number, std::string source, std::string description) {
  throw Error(number, std::move(source), std::move(description));
}

Error AsError(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return Error(err::OutOfMemory);
  } catch (const std::exception& e) {
    return Error(err::InternalError, {}, e.what());
  } catch (...) {
    return Error(err::InternalError);
  }
}

}  // namespace rt
