#include "platform/res_file.h"

#include <cctype>

#include "base/le_bytes.h"

namespace gw {
namespace {

// A name or type field: 0xFFFF then a 16-bit number, or a zero-terminated
// UTF-16 text (kept as Latin-1; names are ASCII in practice).
ResourceName readNameField(ByteReader& r) {
  uint16_t first = r.u16();
  if (first == 0xFFFF) return ResourceName::number(r.u16());
  std::string text;
  for (uint16_t c = first; c != 0 && r.ok(); c = r.u16()) text.push_back(c < 256 ? char(c) : '?');
  return ResourceName::text(text);
}

}  // namespace

std::optional<std::vector<ResEntry>> parseResFile(const uint8_t* data, size_t size) {
  std::vector<ResEntry> entries;
  ByteReader r(data, size);
  while (r.remaining() > 0) {
    size_t start = r.pos();
    uint32_t dataSize = r.u32();
    uint32_t headerSize = r.u32();
    if (!r.ok() || headerSize < 16 || headerSize > size - start) return std::nullopt;
    ResEntry e;
    e.type = readNameField(r);
    e.name = readNameField(r);
    r.align(4);
    r.u32();  // data version
    r.u16();  // memory flags
    e.language = r.u16();
    if (!r.ok() || r.pos() > start + headerSize) return std::nullopt;
    r.seek(start + headerSize);
    const uint8_t* bytes = r.take(dataSize);
    if (!r.ok()) return std::nullopt;
    e.bytes = ResourceBytes{bytes, dataSize};
    r.align(4);
    if (!r.ok()) {
      // The last entry may end without padding.
      if (start + headerSize + dataSize == size) {
        if (dataSize) entries.push_back(e);
        break;
      }
      return std::nullopt;
    }
    // The leading empty entry (type 0, size 0) only marks the file format.
    if (!(e.type.isNumber && e.type.id == 0 && dataSize == 0)) entries.push_back(e);
  }
  return entries;
}

bool resourceNameMatches(const ResourceName& stored, const ResourceName& wanted) {
  if (stored.isNumber != wanted.isNumber) return false;
  if (stored.isNumber) return stored.id == wanted.id;
  if (stored.name.size() != wanted.name.size()) return false;
  for (size_t i = 0; i < stored.name.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(stored.name[i])) !=
        std::toupper(static_cast<unsigned char>(wanted.name[i])))
      return false;
  }
  return true;
}

}  // namespace gw
