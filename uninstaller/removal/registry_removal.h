// Registry keys and values of the remove set, and the uninstaller's own
// entries in the list of installed programs.
#pragma once

#include "platform/registry.h"
#include "removal/removal_context.h"

// Deletes the remove set's registry items, a subkey before its parent.
void RemoveRegistryKeys(RemovalContext& context);
// Queues the first Uninstall entry whose "UninstallString" names `pattern`.
void QueueOwnUninstallEntries(RemovalContext& context, const char* pattern);
// Deletes a key with all its subkeys; non-zero when the key itself went.
int DeleteKeyTree(RemovalContext& context, platform::RegKeyHandle root, const char* key);
