// Parser for compiled resource files (.res, as windres writes them): a list of
// entries, each a header (sizes, type, name, language) and its data, all
// DWORD-aligned. Used natively, where the .res is embedded in the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace gw {

struct ResEntry {
  ResourceName type;
  ResourceName name;
  uint16_t language = 0;
  ResourceBytes bytes;
};

// All entries, or nothing when the file is truncated or malformed.
std::optional<std::vector<ResEntry>> parseResFile(const uint8_t* data, size_t size);

// Case-insensitive match of a resource name (names are ASCII).
bool resourceNameMatches(const ResourceName& stored, const ResourceName& wanted);

}  // namespace gw
