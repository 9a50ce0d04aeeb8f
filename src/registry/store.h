#pragma once

#include <functional>

#include "registry/tree.h"

// The registry file, shared between processes.
namespace reg::store {

// The registry as the file holds it now; a missing file is an empty registry. A damaged file raises
// Failure(ERROR_REGISTRY_CORRUPT), an unreadable one Failure(ERROR_REGISTRY_IO_FAILED). The file is
// parsed again only when it changed since the last call; what is returned stays valid until the
// next call of the store.
const Hives& Read();

// Reads the file afresh under the lock, applies `change` and, when it reports a change, writes the
// result at once. A Failure raised by `change` leaves the file as it was.
void Change(const std::function<bool(Hives&)>& change);

// Forgets the registry read last: a fresh process state.
void Forget();

}  // namespace reg::store
