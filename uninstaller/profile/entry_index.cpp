#include "profile/entry_index.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

template <typename Key>
void SortKeys(std::vector<Key>& keys) {
  std::stable_sort(keys.begin(), keys.end(),
                   [](const Key& a, const Key& b) { return a.name < b.name; });
}

}  // namespace

PathString FirstWord(const char* text) {
  PathString word(text);
  char* space = std::strchr(word.data(), ' ');
  if (space != nullptr) *space = '\0';
  return word;
}

EntryIndex::EntryIndex(const std::vector<ItemSet>& entries) {
  byName_.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    byName_.push_back({entries[i].name, i});
    if (entries[i].isManufacturer) byMakerWord_.push_back({FirstWord(entries[i].name.c_str()), i});
  }
  SortKeys(byName_);
  SortKeys(byMakerWord_);
}

std::optional<std::size_t> EntryIndex::find(const char* name) const {
  const PathString key(name);
  const auto first = std::lower_bound(byName_.begin(), byName_.end(), key,
                                      [](const Key& k, const PathString& n) { return k.name < n; });
  if (first == byName_.end() || first->name != key) return std::nullopt;
  return first->entry;
}

std::optional<std::size_t> EntryIndex::findManufacturer(const char* driverName) const {
  const PathString word = FirstWord(driverName);
  const auto last = std::upper_bound(byMakerWord_.begin(), byMakerWord_.end(), word,
                                     [](const PathString& w, const Key& k) { return w < k.name; });
  if (last == byMakerWord_.begin() || std::prev(last)->name != word) return std::nullopt;
  return std::prev(last)->entry;
}
