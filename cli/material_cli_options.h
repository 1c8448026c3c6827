// Option parsing and record files shared by the gradient and material
// sub-commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_values.h"

namespace gw::cli::material_cli {

using cli::parseColour;
using cli::parseImageSize;
using cli::parseNumber;

// Reads at most `limit` + 1 bytes, so a caller can tell an over-long file.
bool readBytes(const std::string& path, size_t limit, std::vector<uint8_t>* out, std::string* error);
// Writes through a temporary beside `path`, renamed into place.
bool writeBytes(const std::string& path, const uint8_t* data, size_t size, std::string* error);

// A gradient settings record (621 bytes), a fountain record (581 bytes, put
// into the settings in multi-colour mode) or a material record's gradient.
bool readGradientFile(const std::string& path, uint8_t* settings621, std::string* error);
// Applies one gradient option ("--shape", "--start", ...) to the settings;
// false for a bad value, true with *known = false for another option.
bool applyGradientOption(const std::string& name, const std::string& value, uint8_t* settings621, bool* known);

}  // namespace gw::cli::material_cli
