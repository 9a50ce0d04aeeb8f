#pragma once

#include <functional>

#include "registry/tree.h"

// The registry file: one JSON document with both hives.
namespace reg::store {

// The registry as the file holds it now; a missing file is an empty registry. A damaged file raises
// Failure(ERROR_REGISTRY_CORRUPT), an unreadable one Failure(ERROR_REGISTRY_IO_FAILED).
Hives Read();

// Re-reads the file under the lock, applies `change` and, when it reports a change, writes the
// result at once. A Failure raised by `change` leaves the file as it was.
void Change(const std::function<bool(Hives&)>& change);

}  // namespace reg::store
