#pragma once

#include <span>
#include <string>
#include <string_view>

#include "com/classes.h"
#include "host/identity.h"
#include "runtime/variant.h"

namespace points {

// A point class as the server's type library knows it: its name and its fixed class id.
template <class Base>
struct PointClassEntry {
  std::string_view className;
  std::string_view classId;
  rt::Ref<Base> (*create)();
};

template <class Base, class T>
rt::Ref<Base> CreatePoint() {
  return rt::New<T>();
}

// A new point of the named class (exact name), or nullptr for a name the table does not have.
template <class Base>
rt::Ref<Base> CreateByName(std::span<const PointClassEntry<Base>> classes, std::string_view className) {
  for (const PointClassEntry<Base>& entry : classes) {
    if (entry.className == className) return entry.create();
  }
  return nullptr;
}

// Serves each class to directors as "OrvexUC_FCU." & its name, under its class id.
template <class Base>
void AddComClasses(std::span<const PointClassEntry<Base>> classes) {
  for (const PointClassEntry<Base>& entry : classes) {
    com::Classes().Add({std::string(host::ServerName) + "." + std::string(entry.className), std::string(entry.classId),
                        std::string(entry.className),
                        [create = entry.create] { return rt::ObjectRef(create().Shared()); }});
  }
}

}  // namespace points
