#include <cstdint>

#include "platform/wire_pointer.h"

namespace gw {

static_assert(sizeof(void*) == 4, "the plug-in is a 32-bit library");

uint32_t wireFromPointer(const void* p) { return uint32_t(reinterpret_cast<uintptr_t>(p)); }
void* pointerFromWire(uint32_t id) { return reinterpret_cast<void*>(uintptr_t(id)); }
void wireForget(uint32_t) {}

}  // namespace gw
