#pragma once

#include <stdexcept>
#include <string>

#include "registry/registry.h"

namespace reg {

// A failed call, carried from wherever it is found to the call's status and LastFailure().
class Failure : public std::runtime_error {
 public:
  Failure(LONG status, const std::string& message) : std::runtime_error(message), status_(status) {}
  LONG Status() const noexcept { return status_; }

 private:
  LONG status_;
};

// Without a message, the status's own text is the message.
[[noreturn]] inline void Refuse(LONG status, const std::string& message = {}) {
  throw Failure(status, message.empty() ? StatusText(status) : message);
}

}  // namespace reg
