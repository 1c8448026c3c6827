#include "platform/string_table.h"

#include "base/le_bytes.h"

namespace gw {

const char kStringTableError[] = "String table error - this application may be damaged";

std::optional<std::string> stringFromBlock(const ResourceBytes& block, int id) {
  ByteReader r(block.data, block.size);
  int slot = id & 15;
  for (int i = 0; i < 16; ++i) {
    uint16_t length = r.u16();
    if (!r.ok()) return std::nullopt;
    if (i == slot) {
      if (length == 0) return std::nullopt;  // an empty slot is an absent string
      std::string text;
      text.reserve(length);
      for (uint16_t k = 0; k < length; ++k) {
        uint16_t c = r.u16();
        if (!r.ok()) return std::nullopt;
        text.push_back(c < 256 ? char(c) : '?');
      }
      return text;
    }
    r.skip(size_t(length) * 2);
  }
  return std::nullopt;
}

std::string loadString(int id) {
  if (id < 0 || id > 0xFFFF) return kStringTableError;
  auto block = findResource(kResString, ResourceName::number(uint16_t(id / 16 + 1)));
  if (!block) return kStringTableError;
  auto text = stringFromBlock(*block, id);
  return text ? *text : std::string(kStringTableError);
}

}  // namespace gw
