#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "lns/node.h"

namespace lns {

// A collection whose items have rows of their own, under the name the rows give it (the
// collection's own name): its items now, and taking the items the rows hold.
struct Slot {
  std::string name;
  std::function<std::vector<std::shared_ptr<Node>>()> items;
  std::function<void(const std::vector<std::shared_ptr<Node>>&)> take;
};

// The item of a kind that does not belong in the collection.
[[noreturn]] void RaiseMisplaced(const Node& item, const std::string& collection);

template <class C>
Slot SlotOf(const std::shared_ptr<C>& collection) {
  using T = typename C::ItemType;
  return {collection->Segment(),
          [collection] {
            auto items = collection->Items();
            return std::vector<std::shared_ptr<Node>>(items.begin(), items.end());
          },
          [collection](const std::vector<std::shared_ptr<Node>>& nodes) {
            std::vector<std::shared_ptr<T>> items;
            for (const auto& node : nodes) {
              auto item = std::dynamic_pointer_cast<T>(node);
              if (!item) RaiseMisplaced(*node, collection->Segment());
              items.push_back(std::move(item));
            }
            collection->Replace(std::move(items));
          }};
}

// An object with a row of its own in its database. The row holds the object's own fields; what
// the object holds has rows of its own (its slots), and a device's or device template's interface
// is kept as its shape, its LonMark objects' rows and one row per value.
class Stored {
 public:
  virtual ~Stored() = default;

  // 0 until the object is written or read.
  int64_t Row() const noexcept { return row_; }
  void SetRow(int64_t row) noexcept { row_ = row; }

  // Its own fields, "name" among them.
  virtual nlohmann::json Fields() const = 0;
  // Takes fields that another process stored; DamagedData when they do not fit.
  virtual void TakeFields(const nlohmann::json& fields) = 0;
  virtual std::vector<Slot> Slots() const { return {}; }

  // Devices and device templates: the interface once read (nullptr before), and forgetting it so
  // that its next use reads it again.
  virtual std::shared_ptr<Interface> LoadedInterface() const { return nullptr; }
  virtual void ForgetInterface() {}

 private:
  int64_t row_ = 0;
};

}  // namespace lns
