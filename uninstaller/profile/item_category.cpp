#include "profile/item_category.h"

namespace {

struct CategoryInfo {
  const char* name;
  const char* suffix;
};

constexpr std::array<CategoryInfo, kItemCategoryCount> kCategories = {{
    {"DeleteIni", "DeleteIni"},
    {"DeleteLoadRun", "DeleteLoadRun"},
    {"UnSelfRegister", "UnSelfRegister"},
    {"PrintProcessors", "PrintProcessors"},
    {"Monitors", "Monitors"},
    {"Services", "Services"},
    {"Hooks", "Hooks"},
    {"Files", "Files"},
    {"Drivers", nullptr},
    {"Shortcuts", "Shortcuts"},
    {"OemPaths", nullptr},
    {"RegistryKeys", "RegistryKeys"},
}};

}  // namespace

const char* CategoryName(ItemCategory c) { return kCategories[SlotOf(c)].name; }

const char* CategorySectionSuffix(ItemCategory c) { return kCategories[SlotOf(c)].suffix; }
