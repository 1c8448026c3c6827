// The DLL's entry points. Nothing here may throw into the host: the logic is
// in plugin_entry.cpp, which reports failure by its result.
#include <windows.h>

#include "host/plugin_entry.h"
#include "platform/module.h"
#include "platform/win32/window_handle_win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) gw::setModuleInstance(instance);
  return TRUE;
}

extern "C" int __stdcall PLUGIN16GetPluginParams(void* info, void*) {
  return gw::pluginGetParams(static_cast<uint8_t*>(info));
}

extern "C" int __stdcall PLUGIN16DoBuild(HWND window, void* params, void*) {
  return gw::pluginDoBuild(gw::idFromHwnd(window),
                           static_cast<const uint8_t*>(params));
}
