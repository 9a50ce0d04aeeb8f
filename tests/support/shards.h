#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvex::test {

// A long test split into shards that CTest runs side by side, each over its own slice of the
// items the whole would check: items [first, end) of `total`.
struct Slice {
  size_t first;
  size_t end;
};

// The fewest shards that hold `total` items with at most `most` in each.
constexpr size_t ShardsFor(size_t total, size_t most) { return (total + most - 1) / most; }

// Shard `index` of `shards`: the slices follow each other from 0 to `total`, so that the shards
// together take every item once, whatever `total` is.
constexpr Slice SliceOf(size_t index, size_t shards, size_t total) {
  return {index * total / shards, (index + 1) * total / shards};
}

// "sites 24 to 47 of 209", counted from 1.
inline std::string SliceText(const Slice& slice, size_t total, std::string_view items) {
  return std::string(items) + " " + std::to_string(slice.first + 1) + " to " + std::to_string(slice.end) + " of " +
         std::to_string(total);
}

}  // namespace orvex::test
