// The two entry points' logic, free of Win32: exports_win32.cpp wraps them as
// the DLL's stdcall exports, and the native host and tests call them directly.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace gw {

extern const char kPluginName[];
extern const char kPluginDescription[];
extern const char kHostTooOldMessage[];

// Fills the host's PluginInfo record in place: keeps its size word, clears
// the rest of the record, writes name, description and version. Never writes
// past the size the host gave; returns 0 when that size cannot hold the name
// field and a terminated description.
int pluginGetParams(uint8_t* info);

// Runs the plug-in for the host: version test, rasteriser start, fonts,
// folders, the main dialog, cleanup. 0 when the host is too old (or params is
// missing), else 1.
int pluginDoBuild(WindowId window, const uint8_t* params);

}  // namespace gw
