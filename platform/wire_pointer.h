// Pointers inside 32-bit host records.
//
// The host records carry pointers in 32-bit fields (HostParams.callback,
// ColourPickRecord.palette, SettingValue's value). On the 32-bit plug-in a
// pointer is its own wire form; wherever pointers are 64-bit (natively, and in
// the 64-bit Windows test build) a pointer is registered and the record carries
// its 32-bit id instead, so the record bytes keep exactly one layout on every
// build.
#pragma once

#include <cstdint>

namespace gw {

// 0 for nullptr (and, with 64-bit pointers, when the registry cannot grow).
// A registered id stays valid until wireForget.
uint32_t wireFromPointer(const void* p);
// nullptr for 0 or an unknown id.
void* pointerFromWire(uint32_t id);
// Releases a registered id; does nothing on the 32-bit build.
void wireForget(uint32_t id);

}  // namespace gw
