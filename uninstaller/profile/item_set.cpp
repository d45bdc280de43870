#include "profile/item_set.h"

#include "platform/registry.h"

namespace {

const char* RootName(platform::RegKeyHandle root) {
  if (root == platform::hkey::kLocalMachine) return "HKLM";
  if (root == platform::hkey::kClassesRoot) return "HKCR";
  if (root == platform::hkey::kCurrentUser) return "HKCU";
  if (root == platform::hkey::kUsers) return "HKU";
  return nullptr;
}

}  // namespace

void ItemSet::Unite(const ItemSet& other) {
  // `other` may be this very set.
  const ItemSet copy = other;
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    StringList incoming = copy.items[i];
    items[i].merge(std::move(incoming));
    items[i].sort();
    items[i].dropAdjacentDuplicates();
  }
}

void ItemSet::UniteAll(const std::vector<const ItemSet*>& others) {
  if (others.empty()) return;
  // A merge into a list that is sorted and free of duplicates keeps the
  // list's items ahead of equal incoming ones, so a chain of Unite calls
  // equals one stable sort of all the lists laid end to end followed by
  // dropping duplicates. One ordinary Unite first brings this set there.
  std::size_t first = 0;
  for (const StringList& list : items) {
    if (!list.isNormalized()) {
      Unite(*others[0]);
      first = 1;
      break;
    }
  }
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    std::size_t total = items[i].count();
    for (std::size_t k = first; k < others.size(); ++k) total += others[k]->items[i].count();
    if (total == items[i].count()) continue;
    StringList joined;
    joined.reserve(total);
    joined.insert(joined.end(), items[i].begin(), items[i].end());
    for (std::size_t k = first; k < others.size(); ++k) {
      const StringList& list = others[k]->items[i];
      joined.insert(joined.end(), list.begin(), list.end());
    }
    joined.Normalize();
    items[i] = std::move(joined);
  }
}

void ItemSet::Subtract(const ItemSet& other) {
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) items[i].Subtract(other.items[i]);
}

void ItemSet::Normalize() {
  for (StringList& list : items) list.Normalize();
}

int ItemSet::AddRegistryKey(platform::RegKeyHandle root, const char* subKey, const char* valueName,
                            bool tree) {
  const char* rootName = RootName(root);
  if (rootName == nullptr || subKey == nullptr || subKey[0] == '\0') return 0;
  // An item cut at 259 characters would name another key (a prefix of the
  // real one) with its closing fields lost; such an item is not queued.
  PathString item(rootName);
  const bool fits = item.append(",\"") && item.append(subKey) && item.append("\",\"") &&
                    item.append(valueName) && item.append("\",") && item.append(tree ? "1" : "0");
  if (!fits) return 0;
  slot(ItemCategory::RegistryKeys).append(item);
  return 1;
}

bool ItemSet::hasNoItems() const {
  for (const StringList& list : items) {
    if (!list.isEmpty()) return false;
  }
  return true;
}
