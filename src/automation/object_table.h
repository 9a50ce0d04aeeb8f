#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>

#include "runtime/variant.h"

namespace automation {

// The objects a director holds, by the ids the protocol shows. One id per object: handing out
// an object the director already holds gives its old id.
class ObjectTable {
 public:
  int64_t Hold(const rt::ObjectRef& object);
  // Raises 9 for an id the director does not hold.
  rt::ObjectRef Find(int64_t id) const;
  void Release(int64_t id);
  void ReleaseAll();
  const std::map<int64_t, rt::ObjectRef>& Held() const noexcept { return held_; }

 private:
  std::map<int64_t, rt::ObjectRef> held_;
  std::unordered_map<const rt::Object*, int64_t> ids_;  // the same objects, by address
  int64_t nextId_ = 1;
};

}  // namespace automation
