// Texture and tile groups named on the command line: the shipped primary
// groups when none is named, items found by name or index.
#pragma once

#include <cstdint>
#include <string>

namespace gw::cli {

// The shipped group `fileName` in the plug-in's folder, put there from the
// program's own copy when it is missing; empty with *error set otherwise.
std::string primaryGroupPath(const char* fileName, std::string* error);

// Copies the settings of texture `item` (a name, or else an index) of the
// group at `groupPath` (the shipped group when empty) into `settings268`.
bool loadTextureItem(const std::string& groupPath, const std::string& item, uint8_t* settings268,
                     std::string* error);

}  // namespace gw::cli
