#include "platform/module.h"
namespace gw {
void setModuleInstance(void*) {}
void* moduleInstance() { return nullptr; }
}  // namespace gw
