#pragma once

#include <functional>
#include <string>

#include "registry/tree.h"

// The process's open keys and the steps every call is built from.
namespace reg {

// A key reached through a handle: its root, its path below the root, the rights it was opened with.
struct OpenKey {
  HKEY root;
  Path path;
  REGSAM access;
};

// The key behind a handle; Failure(ERROR_INVALID_HANDLE) for an unknown or closed one.
OpenKey Resolve(HKEY handle);
// Failure(ERROR_ACCESS_DENIED) unless the key was opened with every right in `needed`.
void Require(const OpenKey& key, REGSAM needed);
HKEY Register(OpenKey key);
// Whether the handle was valid; the roots stay open.
bool Close(HKEY handle);

// The names of a subkey path (null is empty); Failure(ERROR_BAD_PATHNAME) for an empty name inside
// it, Failure(ERROR_INVALID_PARAMETER) for an invalid name.
Path ParsePath(const char* subKey);
// The key `sub` below `parent`, opened with `access`; Failure(ERROR_BAD_PATHNAME) when too deep.
OpenKey Child(const OpenKey& parent, const Path& sub, REGSAM access);
// "HKEY_LOCAL_MACHINE\SOFTWARE\..." for messages.
std::string PathText(const OpenKey& key);

// The stored key a handle names; Failure(ERROR_KEY_DELETED) when it is gone.
Key& KeyOf(Hives& hives, const OpenKey& key);
const Key& KeyOf(const Hives& hives, const OpenKey& key);

// Runs a call: the status the body returns, or the status of a Failure it raised; LastFailure()
// follows. No exception leaves a call.
LONG Guarded(const std::function<LONG()>& body);

}  // namespace reg
