#include <vector>

#include "platform/posix/embedded_res.h"
#include "platform/res_file.h"
#include "platform/resources.h"

namespace gw {

std::optional<ResourceBytes> findResource(uint16_t type, const ResourceName& name) {
  // Parsed once: the embedded bytes never change while the program runs.
  static const std::vector<ResEntry> entries = [] {
    auto parsed = parseResFile(gw_embedded_res, gw_embedded_res_size);
    return parsed ? *parsed : std::vector<ResEntry>{};
  }();
  ResourceName wantedType = ResourceName::number(type);
  for (const ResEntry& e : entries) {
    if (resourceNameMatches(e.type, wantedType) && resourceNameMatches(e.name, name)) return e.bytes;
  }
  return std::nullopt;
}

}  // namespace gw
