// A lookup of profile entries by name, built once for a pass over many
// printers. It answers as FindEntry and FindManufacturerEntry do, in
// logarithmic rather than linear time.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "profile/item_set.h"
#include "profile/path_string.h"

class EntryIndex {
 public:
  // The entries must outlive the index and stay unchanged.
  explicit EntryIndex(const std::vector<ItemSet>& entries);

  // The first entry of that name.
  std::optional<std::size_t> find(const char* name) const;
  // The last manufacturer entry whose name's first word equals that of
  // `driverName`.
  std::optional<std::size_t> findManufacturer(const char* driverName) const;

 private:
  struct Key {
    PathString name;
    std::size_t entry;
  };
  std::vector<Key> byName_;       // stably sorted: first entry first among equals
  std::vector<Key> byMakerWord_;  // manufacturers by first word, stably sorted
};

// The text before the first space.
PathString FirstWord(const char* text);
