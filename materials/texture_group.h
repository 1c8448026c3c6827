// Texture groups: named texture settings kept in a text file (extension FFT).
//
//   gw::TextureGroup group;
//   if (!gw::textureGroupRead(path, &group)) ...;       // group untouched
//   group.items.push_back({"Granite", settings});
//   if (!gw::textureGroupWrite(path, group, backup)) ...; // old file kept
//
// The text form: a fixed first line, a comment block, header keys, then each
// item between ":BEGINITEM" and ":ENDITEM" as key=value lines (the key table
// is in texture_group_keys.h). Files come from anywhere, so the reader bounds
// everything it keeps: lines, names, the item count, and every number is
// clamped to what the generators take.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "materials/texture_settings.h"

namespace gw {

constexpr char kTextureGroupFirstLine[] = "QUILLMERE O-RIVET TEXTURE FILE";
constexpr char kPrimaryTextureGroup[] = "glwplug5.fft";
constexpr char kTextureGroupExtension[] = "FFT";

// A line longer than this is cut there (the rest of it is ignored).
constexpr size_t kTextureGroupMaxLine = 8192;
// Names are kept to the system's path-and-name limit.
constexpr size_t kTextureNameMax = 260;
// More items than this make a file malformed; reading only part of it would
// let the next save drop the rest.
constexpr size_t kTextureGroupMaxItems = 4096;
// Files larger than this are refused before anything is read.
constexpr size_t kTextureGroupMaxBytes = 32u << 20;

struct TextureItem {
  std::string name;
  std::array<uint8_t, texture_settings::kSize> settings{};
};

struct TextureGroup {
  bool writeable = true;
  std::vector<TextureItem> items;
};

// What the header says about the writer.
struct TextureGroupStamp {
  std::string timeText;  // 24 characters, C `ctime` form
  std::string owner;
  std::string organization;
};

// The current local time and the registered owner and organisation.
TextureGroupStamp textureGroupStampNow();

// Parses the text of a group. False (and `group` untouched) when the first
// line is wrong, the text is over kTextureGroupMaxBytes, or it holds more than
// kTextureGroupMaxItems items. An item cut short by the end of the text is
// dropped; missing keys keep the texture defaults.
bool textureGroupParse(const char* text, size_t size, TextureGroup* group);

// Reads and parses a group file; false for a missing or unreadable file too.
bool textureGroupRead(const std::string& path, TextureGroup* group);

// The text of a group with its writeable flag as `Writeable`. A group with no
// items is still written with its header, so that it reads back (as empty).
std::string textureGroupFormat(const TextureGroup& group, const TextureGroupStamp& stamp);

// Writes the group to `path`: refused for a read-only group; with `backup`
// the present file is first copied to "<path>.bak". The text goes to a
// temporary beside the file and is renamed into place, so a failed write
// leaves the old group as it was.
bool textureGroupWrite(const std::string& path, const TextureGroup& group, bool backup);

// The item named `nameOrIndex` (without regard to case), or else the item at
// that 0-based index when it is a plain number. False when there is none.
bool textureGroupFind(const TextureGroup& group, const std::string& nameOrIndex, size_t* index);

// Writes `text` through a temporary beside `path`; false (old file kept) on
// any failure.
bool writeFileAtomically(const std::string& path, const std::string& text);

}  // namespace gw
