// The package's Start-menu program groups and their shortcuts.
#pragma once

#include "removal/removal_context.h"

// Deletes the remove set's shortcuts, then their groups once empty.
void RemoveShortcuts(RemovalContext& context);
// Win32s: asks Program Manager over DDE to delete one item of a group;
// non-zero when it did.
int RemoveProgmanItem(RemovalContext& context, const char* group, const char* description);
// A folder holding nothing but "." and ".."; paths shorter than 4 characters
// never count as empty.
bool IsFolderEmpty(RemovalContext& context, const char* path);
