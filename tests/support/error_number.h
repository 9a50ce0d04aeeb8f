#pragma once

#include <cstdint>
#include <string>

#include "runtime/error.h"

namespace orvex::test {

// The number of the error `body` raised; 0 when it raised none.
template <class Body>
int32_t ErrorNumberOf(Body&& body) {
  try {
    body();
  } catch (const rt::Error& e) {
    return e.Number();
  }
  return 0;
}

// The description of the error `body` raised; empty when it raised none.
template <class Body>
std::string ErrorDescriptionOf(Body&& body) {
  try {
    body();
  } catch (const rt::Error& e) {
    return e.Description();
  }
  return {};
}

}  // namespace orvex::test
