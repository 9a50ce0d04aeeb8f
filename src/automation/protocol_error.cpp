#include "automation/protocol_error.h"

#include "runtime/error.h"

namespace automation {
namespace {

[[noreturn]] void RaiseChannelError(int32_t number, std::string description) {
  rt::Raise(number, std::string(ChannelErrorSource), std::move(description));
}

}  // namespace

void RaiseMalformed(const std::string& detail) {
  RaiseChannelError(rt::err::InvalidProcedureCall, "Malformed request: " + detail);
}

void RaiseWrongType(std::string_view field, std::string_view expected) {
  RaiseChannelError(rt::err::TypeMismatch,
                    "Field \"" + std::string(field) + "\" must be " + std::string(expected));
}

void RaiseUnknown(std::string_view what, std::string_view name) {
  RaiseChannelError(rt::err::SubscriptOutOfRange, "Unknown " + std::string(what) + " \"" + std::string(name) + "\"");
}

void RaiseNotPossible(const std::string& reason) { RaiseChannelError(rt::err::InvalidProcedureCall, reason); }

}  // namespace automation
