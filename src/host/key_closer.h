#pragma once

#include "registry/registry.h"

namespace host {

// Closes an opened registry key however the caller leaves.
class KeyCloser {
 public:
  explicit KeyCloser(reg::HKEY key) : key_(key) {}
  ~KeyCloser() { reg::RegCloseKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  reg::HKEY key_;
};

}  // namespace host
