#pragma once

#include <cstdint>

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

}  // namespace orvex::test
