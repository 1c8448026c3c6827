#include <windows.h>

#include "platform/module.h"
#include "platform/resources.h"

namespace gw {
namespace {
void* g_instance = nullptr;  // process-wide: the loaded DLL's own module
}

void setModuleInstance(void* instance) { g_instance = instance; }
void* moduleInstance() { return g_instance; }

std::optional<ResourceBytes> findResource(uint16_t type, const ResourceName& name) {
  HMODULE module = static_cast<HMODULE>(g_instance);
  LPCSTR resName = name.isNumber ? MAKEINTRESOURCEA(name.id) : name.name.c_str();
  HRSRC info = FindResourceA(module, resName, MAKEINTRESOURCEA(type));
  if (!info) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  if (!loaded) return std::nullopt;
  const void* data = LockResource(loaded);
  if (!data) return std::nullopt;
  return ResourceBytes{static_cast<const uint8_t*>(data), SizeofResource(module, info)};
}

}  // namespace gw
