// String resources linked into the Win32 test program.
#pragma once

#define IDS_TEST_CAPTION 161
#define IDS_TEST_LONG 3001
#define IDS_TEST_EMPTY_SLOT 3002  // deliberately absent from the table
