#pragma once

#include <functional>

namespace orvex::test {

// True as soon as `condition` holds; false when it still does not after a generous minute. For
// what another process or thread brings about: a test waits for the condition itself, never for
// a time.
bool Eventually(const std::function<bool()>& condition);

}  // namespace orvex::test
