// Printer drivers that no kept printer needs, their registry keys, and the
// OEM copies of the package's INF files.
#pragma once

#include "platform/file_system.h"
#include "profile/path_string.h"
#include "removal/removal_context.h"

// Deletes, in one driver environment (null: the running one), every
// installed driver that the remove set lists or that only removed printers
// use (and "(PSCRIPT)" drivers without a printer of their name when the
// masking tool goes), queues its registry keys into the remove set and
// uninstalls the OEM INF file that names it.
void RemoveDrivers(RemovalContext& context, const char* environment);

// The OEM INF file (its name, at most 19 characters) whose [Strings] printer
// name contains the driver name; empty when there is none.
PathString FindOemInf(RemovalContext& context, const char* driverName);

// Deletes every "oem*.inf" in the INF directory whose match line (the
// profile's oemInfLine) begins with the profile's oemInfString, with its
// ".PNF" companion.
void SweepOemInfFiles(RemovalContext& context);
// The per-file part of the sweep: `directory` ends with a backslash.
void DeleteMatchingOemInf(RemovalContext& context, const platform::FindData& found,
                          const char* directory);
