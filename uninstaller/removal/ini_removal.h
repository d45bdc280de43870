// Keys of INI files in the Windows directory, and the programs that start
// at log-on (the Run key, or win.ini's "load" line on Win32s).
#pragma once

#include "removal/removal_context.h"

// Deletes the line of each of the remove set's "file,section,key" items.
void RemoveIniEntries(RemovalContext& context);
// Where the key's line lies in the section (a position from the start of the
// file, non-zero), 0 when it has none.
int FindIniKey(RemovalContext& context, const char* path, const char* section, const char* key);
// Takes the key's line out of the section; non-zero when the file was rewritten.
int DeleteIniKeyLine(RemovalContext& context, const char* path, const char* section,
                     const char* key);

// Removes the remove set's "value,program" log-on entries.
void RemoveLoadRunEntries(RemovalContext& context);
int RemoveLoadRunEntry(RemovalContext& context, const char* value, const char* program);
// Registers `program` to run at the next log-on; `value` null is the Run
// key's unnamed value. Non-zero on success.
int AddLoadRunEntry(RemovalContext& context, const char* value, const char* program);
