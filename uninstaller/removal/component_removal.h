// The spooler's port monitors and print processors, the package's services,
// and the uninstall hooks of its libraries.
#pragma once

#include "removal/removal_context.h"

// Deletes the remove set's monitors in one environment (null: the running
// one) and their registry keys.
void RemoveMonitors(RemovalContext& context, const char* environment);
// Deletes the remove set's print processors that are installed in one
// environment, once every local printer using one is switched to
// "WinPrint" and "RAW".
void RemovePrintProcessors(RemovalContext& context, const char* environment);
// Switches every local printer that uses `processor` to "WinPrint" and
// "RAW"; non-zero when all of them (or none was using it) were switched.
int ReleasePrintProcessor(RemovalContext& context, const char* processor);
// Change one field of a printer's level-2 information; the SetPrinterA result.
int SetPrinterProcessor(RemovalContext& context, const char* printer, const char* processor);
int SetPrinterDatatype(RemovalContext& context, const char* printer, const char* datatype);
// Deletes the remove set's services (Windows NT only); each one deleted or
// marked for deletion sets rebootNeeded.
void RemoveServices(RemovalContext& context);
// Calls the remove set's hooks ("file,export") in the package's libraries,
// found in the driver directory or beside the program.
void RunHooks(RemovalContext& context);
