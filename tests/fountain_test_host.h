// A host for the fountain button and gradient editor tests: it answers the
// colour picker (callback code 11) with queued colours, or refuses when the
// queue is empty, and counts how often it was asked.
#pragma once

#include <deque>

#include "base/le_bytes.h"
#include "platform/calling_convention.h"
#include "platform/wire_pointer.h"
#include "protocol/host_protocol.h"

namespace gw {

struct ColourHost {
  static ColourHost*& live() {
    static ColourHost* host = nullptr;
    return host;
  }
  std::deque<uint32_t> answers;
  int asked = 0;
  uint32_t lastOffered = 0;
  uint8_t params[64] = {};

  ColourHost() {
    live() = this;
    writeU16(params + host_params::kHostVersion, 0x1000);
    writeU32(params + host_params::kCallback, wireFromPointer(reinterpret_cast<void*>(&ColourHost::callback)));
  }
  ~ColourHost() { live() = nullptr; }

  static int32_t GW_CDECL callback(void*, int32_t code, int32_t, void* p) {
    ColourHost* host = live();
    if (code != kHostPickColour || !host) return 0;
    auto* record = static_cast<uint8_t*>(p);
    ++host->asked;
    host->lastOffered = readU32(record + colour_pick_record::kColour);
    if (host->answers.empty()) return 0;
    writeU32(record + colour_pick_record::kColour, host->answers.front());
    host->answers.pop_front();
    return 1;
  }
};

}  // namespace gw
