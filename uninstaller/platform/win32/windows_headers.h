// The one place that includes <windows.h> for the Win32 platform layer, with
// the settings every file here needs.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// Left out by WIN32_LEAN_AND_MEAN.
#include <ddeml.h>
