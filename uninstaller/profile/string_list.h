// An ordered list of PathString values. Duplicates are allowed until the
// list is normalised; every comparison ignores letter case.
#pragma once

#include <cstddef>
#include <vector>

#include "profile/path_string.h"

class StringList {
 public:
  using const_iterator = std::vector<PathString>::const_iterator;

  void append(const PathString& item) { items_.push_back(item); }
  void append(const char* item) { items_.emplace_back(item); }
  // Inserts a copy of [first, last) of another list before `position`.
  void insert(const_iterator position, const_iterator first, const_iterator last) {
    items_.insert(position, first, last);
  }
  void clear() { items_.clear(); }

  std::size_t count() const { return items_.size(); }
  bool isEmpty() const { return items_.empty(); }
  const PathString& operator[](std::size_t i) const { return items_[i]; }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

  // True when some item equals `item` ignoring case.
  bool contains(const char* item) const;
  // Whether the list is sorted without two equal items in a row, as
  // Normalize leaves it.
  bool isNormalized() const;

  // Ascending by case-insensitive comparison; equal items keep their order.
  void sort();
  // Drops every item equal to the item before it.
  void dropAdjacentDuplicates();
  // sort, then dropAdjacentDuplicates.
  void Normalize();
  // Moves every item of `other` into this list, each before the first item
  // of this list that compares greater; both lists keep their order, and
  // an item of this list comes before an equal item of `other`.
  void merge(StringList&& other);
  // Drops every item that equals some item of `other`. When either list is
  // empty nothing changes; duplicates that `other` does not name stay.
  void Subtract(const StringList& other);

  // Reserves room for `n` items in all.
  void reserve(std::size_t n) { items_.reserve(n); }

 private:
  std::vector<PathString> items_;
};
