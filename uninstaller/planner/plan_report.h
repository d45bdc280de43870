// The plan tool's output: the profile after loading and planning, as JSON
// or as readable text.
#pragma once

#include <string>

#include "planner/json.h"
#include "profile/uninstall_profile.h"

// "manufacturer", "driver", "catchAll" or "ignore".
const char* EntryKindName(const ItemSet& entry);

json::Value PlanToJson(const UninstallProfile& profile);
std::string PlanToText(const UninstallProfile& profile);
