#include "automation/object_table.h"

#include <string>

#include "automation/protocol_error.h"

namespace automation {

int64_t ObjectTable::Hold(const rt::ObjectRef& object) {
  const auto [known, added] = ids_.try_emplace(object.get(), nextId_);
  if (!added) return known->second;
  held_.emplace(nextId_, object);
  return nextId_++;
}

rt::ObjectRef ObjectTable::Find(int64_t id) const {
  auto it = held_.find(id);
  if (it == held_.end()) RaiseUnknown("object", std::to_string(id));
  return it->second;
}

void ObjectTable::Release(int64_t id) {
  // Drop the reference outside the map: the object's termination may call back into the channel.
  rt::ObjectRef released = Find(id);
  held_.erase(id);
  ids_.erase(released.get());
  released.reset();
}

void ObjectTable::ReleaseAll() {
  while (!held_.empty()) Release(held_.begin()->first);
}

}  // namespace automation
