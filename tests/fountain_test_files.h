// Shared by the fountain file and library tests: whole-file reads and
// writes, and a fountain record that differs from every preset.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"

namespace gw::fountain_test {

inline std::vector<uint8_t> readAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
  std::fclose(f);
  return bytes;
}

inline void writeAll(const std::string& path, const uint8_t* data, size_t n) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(data, 1, n, f);
  std::fclose(f);
}

inline bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// A ramp unlike any preset: `count` markers, a free slot that is not clean
// (its colour bits set, as a deleted marker may leave them) and both flags.
inline void sampleFountain(uint8_t* f, int count, uint32_t seed) {
  fountainRecordDefaults(f, FountainPreset::Empty);
  writeU32(f + fountain::kFlags, fountain::kFlagWriteBack | fountain::kFlagLooped);
  writeU32(f + fountain::kStartColour, 0x102030 + seed);
  writeU32(f + fountain::kEndColour, 0xA0B0C0 + seed);
  for (int i = 0; i < count; ++i)
    writeU32(f + fountain::kMarkers + 4 * size_t(i), fountainMakeMarker(10 + 3 * i, seed * 77 + uint32_t(i)));
  writeU32(f + fountain::kMarkers + 4 * size_t(count), 0x00ABCDEF);
  writeU32(f + fountain::kMarkerCount, uint32_t(count));
}

}  // namespace gw::fountain_test
