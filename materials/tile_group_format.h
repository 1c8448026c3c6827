// Byte layout of a tile group file (extension MTX): a 1082-byte header, then
// `chunk count` chunks back to back, each a 72-byte chunk header followed by
// its data. A chunk tagged "MTXi" holds one packed bitmap (header and rows);
// chunks of other tags are skipped but still count in the tile index.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gw {

namespace tile_group_header {
constexpr size_t kSize = 1082;
constexpr size_t kMagic = 0;           // "QUILMTXf"
constexpr size_t kTimeWritten = 8;     // u32, seconds since 1970 UTC
constexpr size_t kOwner = 12;          // 262 bytes, zero-terminated
constexpr size_t kOrganization = 274;  // 262 bytes, zero-terminated
constexpr size_t kNameWidth = 262;
constexpr size_t kReserved536 = 536;   // 266 bytes, zero
constexpr size_t kVersionMajor = 802;  // u32, 16
constexpr size_t kVersionMinor = 806;  // u32, 0
constexpr size_t kVersionLetter = 810; // u32, 'a'
constexpr size_t kReserved814 = 814;   // u32, zero
constexpr size_t kChunkCount = 818;    // u32
constexpr size_t kWriteable = 822;     // u32, 1 editable, 0 read-only
constexpr size_t kReserved826 = 826;   // 256 bytes, zero
}  // namespace tile_group_header

namespace tile_chunk_header {
constexpr size_t kSize = 72;
constexpr size_t kTag = 0;       // 4 ASCII bytes
constexpr size_t kDataSize = 4;  // u32, bytes of data after this header
constexpr size_t kReserved = 8;  // 64 bytes, zero
}  // namespace tile_chunk_header

constexpr char kTileGroupMagic[8] = {'Q', 'U', 'I', 'L', 'M', 'T', 'X', 'f'};
constexpr char kTileChunkTag[4] = {'M', 'T', 'X', 'i'};
constexpr uint32_t kTileGroupVersionMajor = 16;
constexpr uint32_t kTileGroupVersionMinor = 0;
constexpr uint32_t kTileGroupVersionLetter = 0x61;

// Limits on untrusted files. A chunk larger than this (a 24-bit tile of
// about 4700 x 4700) or a count above kTileGroupMaxChunks makes the file
// malformed; besides, no chunk may claim more bytes than the file holds, so a
// forged size never drives an allocation.
constexpr uint32_t kTileMaxChunkBytes = 64u << 20;
constexpr uint32_t kTileGroupMaxChunks = 100000;

}  // namespace gw
