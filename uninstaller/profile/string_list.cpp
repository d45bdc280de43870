#include "profile/string_list.h"

#include <algorithm>
#include <iterator>

namespace {

bool Less(const PathString& a, const PathString& b) { return a < b; }

}  // namespace

bool StringList::contains(const char* item) const {
  return std::any_of(items_.begin(), items_.end(),
                     [item](const PathString& s) { return s.equals(item); });
}

bool StringList::isNormalized() const {
  // Normalised means every item is strictly greater than the one before.
  return std::adjacent_find(items_.begin(), items_.end(),
                            [](const PathString& a, const PathString& b) { return !(a < b); }) ==
         items_.end();
}

void StringList::sort() { std::stable_sort(items_.begin(), items_.end(), Less); }

void StringList::dropAdjacentDuplicates() {
  items_.erase(std::unique(items_.begin(), items_.end()), items_.end());
}

void StringList::Normalize() {
  sort();
  dropAdjacentDuplicates();
}

void StringList::merge(StringList&& other) {
  if (other.items_.empty()) return;
  std::vector<PathString> merged;
  merged.reserve(items_.size() + other.items_.size());
  // The classic list merge, written out because std::merge requires sorted
  // input and these lists need not be: an item of `other` is taken only when
  // it is strictly less than the current item of this list.
  auto mine = items_.begin();
  auto theirs = other.items_.begin();
  while (mine != items_.end() && theirs != other.items_.end()) {
    if (*theirs < *mine) {
      merged.push_back(std::move(*theirs++));
    } else {
      merged.push_back(std::move(*mine++));
    }
  }
  std::move(mine, items_.end(), std::back_inserter(merged));
  std::move(theirs, other.items_.end(), std::back_inserter(merged));
  items_ = std::move(merged);
  other.items_.clear();
}

void StringList::Subtract(const StringList& other) {
  if (items_.empty() || other.items_.empty()) return;
  // Look the items up in a sorted view of `other` rather than scanning it
  // for each item.
  std::vector<const PathString*> sorted;
  sorted.reserve(other.items_.size());
  for (const PathString& s : other.items_) sorted.push_back(&s);
  std::sort(sorted.begin(), sorted.end(),
            [](const PathString* a, const PathString* b) { return *a < *b; });
  const auto named = [&sorted](const PathString& item) {
    return std::binary_search(sorted.begin(), sorted.end(), &item,
                              [](const PathString* a, const PathString* b) { return *a < *b; });
  };
  items_.erase(std::remove_if(items_.begin(), items_.end(), named), items_.end());
}
