// The library's module instance, recorded by DllMain on Windows. Resources,
// the module path and dialogs are all found through it. Natively there is
// no module instance and the value stays 0.
#pragma once
#include <cstdint>
namespace gw {
void setModuleInstance(void* instance);
void* moduleInstance();
}  // namespace gw
