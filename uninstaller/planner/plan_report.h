// The plan tool's output: the profile after loading and planning, as JSON
// or as readable text.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "profile/uninstall_profile.h"

// Each script's path on the simulated machine (what the profile's entries
// record) to its path as the user gave it, which the report shows.
using ScriptPaths = std::map<std::string, std::string, std::less<>>;

// "manufacturer", "driver", "catchAll" or "ignore".
const char* EntryKindName(const ItemSet& entry);

// One JSON object, members in the order the text form uses, indented two
// spaces a level and ending in a newline. The texts of the code page are
// written as \u escapes, so the output is plain ASCII.
std::string PlanToJson(const UninstallProfile& profile, const ScriptPaths& scripts);
std::string PlanToText(const UninstallProfile& profile, const ScriptPaths& scripts);
