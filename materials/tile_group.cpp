#include "materials/tile_group.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/tile_group_format.h"
#include "platform/system_state.h"

namespace gw {
namespace {

namespace hdr = tile_group_header;
namespace chk = tile_chunk_header;

class File {
 public:
  File(const std::string& path, const char* mode) : f_(std::fopen(path.c_str(), mode)) {}
  ~File() {
    if (f_) std::fclose(f_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  std::FILE* get() const { return f_; }
  explicit operator bool() const { return f_ != nullptr; }
  // Closes now so the caller learns whether buffered bytes reached the disk.
  bool close() {
    std::FILE* f = f_;
    f_ = nullptr;
    return f && std::fclose(f) == 0;
  }

 private:
  std::FILE* f_;
};

bool readExact(std::FILE* f, uint8_t* p, size_t n) { return std::fread(p, 1, n, f) == n; }
bool writeExact(std::FILE* f, const uint8_t* p, size_t n) { return std::fwrite(p, 1, n, f) == n; }

// The file's length, so that no chunk may claim more than is there.
bool fileLength(std::FILE* f, uint64_t* length) {
  if (std::fseek(f, 0, SEEK_END) != 0) return false;
  long end = std::ftell(f);
  if (end < 0 || std::fseek(f, 0, SEEK_SET) != 0) return false;
  *length = uint64_t(end);
  return true;
}

// Walks the chunks of an open group one at a time, checking each header
// against the bytes that remain before anything is read or allocated.
class ChunkCursor {
 public:
  static std::optional<ChunkCursor> open(std::FILE* f) {
    uint64_t length;
    if (!fileLength(f, &length)) return std::nullopt;
    uint8_t header[hdr::kSize];
    if (length < hdr::kSize || !readExact(f, header, sizeof header)) return std::nullopt;
    auto info = tileGroupParseHeader(header);
    if (!info) return std::nullopt;
    return ChunkCursor(f, *info, length - hdr::kSize);
  }

  const TileGroupHeaderInfo& header() const { return info_; }

  // Reads the next chunk header; false on a short or oversized chunk.
  bool next(char tag[4], uint32_t* dataSize) {
    uint8_t ch[chk::kSize];
    if (remaining_ < chk::kSize || !readExact(f_, ch, sizeof ch)) return false;
    remaining_ -= chk::kSize;
    uint32_t size = readU32(ch + chk::kDataSize);
    if (size > remaining_ || size > kTileMaxChunkBytes) return false;
    std::memcpy(tag, ch + chk::kTag, 4);
    *dataSize = size;
    pending_ = size;
    return true;
  }
  bool skip() {
    if (pending_ && std::fseek(f_, long(pending_), SEEK_CUR) != 0) return false;
    remaining_ -= pending_;
    pending_ = 0;
    return true;
  }
  // The current chunk's data as a new block, required to be a bitmap.
  MemHandle readBitmap() {
    uint32_t size = pending_;
    if (size < kBitmapHeaderSize) return 0;
    MemBlock block(memAlloc(size));
    if (!block) return 0;
    {
      MemLock lock(block.get());
      if (!lock || !readExact(f_, lock.data(), size)) return 0;
      if (!BitmapView::over(lock.data(), size).valid()) return 0;
    }
    remaining_ -= size;
    pending_ = 0;
    return block.release();
  }

 private:
  ChunkCursor(std::FILE* f, const TileGroupHeaderInfo& info, uint64_t remaining)
      : f_(f), info_(info), remaining_(remaining) {}
  std::FILE* f_;
  TileGroupHeaderInfo info_;
  uint64_t remaining_;
  uint32_t pending_ = 0;
};

bool isTileTag(const char tag[4]) { return std::memcmp(tag, kTileChunkTag, 4) == 0; }

std::string fixedText(const uint8_t* p, size_t width) {
  return std::string(reinterpret_cast<const char*>(p), fixedTextLength(p, width));
}

bool copyFile(const std::string& from, const std::string& to) {
  File in(from, "rb");
  if (!in) return false;
  File out(to, "wb");
  if (!out) return false;
  uint8_t buffer[16384];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
    if (!writeExact(out.get(), buffer, n)) {
      out.close();
      std::remove(to.c_str());
      return false;
    }
  }
  if (std::ferror(in.get()) || !out.close()) {
    std::remove(to.c_str());
    return false;
  }
  return true;
}

// Replaces `path` by `temp`. POSIX rename replaces in one step; the C
// runtime on Windows refuses an existing target, so there the old file is
// removed first and the rename retried.
bool replaceFile(const std::string& temp, const std::string& path) {
  if (std::rename(temp.c_str(), path.c_str()) == 0) return true;
  std::remove(path.c_str());
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

void buildHeader(uint8_t* h, uint32_t count, const TileGroupStamp& stamp) {
  std::memset(h, 0, hdr::kSize);
  std::memcpy(h + hdr::kMagic, kTileGroupMagic, sizeof kTileGroupMagic);
  writeU32(h + hdr::kTimeWritten, stamp.timeWritten);
  writeFixedText(h + hdr::kOwner, hdr::kNameWidth, stamp.owner.c_str());
  writeFixedText(h + hdr::kOrganization, hdr::kNameWidth, stamp.organization.c_str());
  writeU32(h + hdr::kVersionMajor, kTileGroupVersionMajor);
  writeU32(h + hdr::kVersionMinor, kTileGroupVersionMinor);
  writeU32(h + hdr::kVersionLetter, kTileGroupVersionLetter);
  writeU32(h + hdr::kChunkCount, count);
  writeU32(h + hdr::kWriteable, stamp.writeable ? 1 : 0);
}

bool writeChunks(std::FILE* f, const std::vector<MemHandle>& tiles, const TileGroupStamp& stamp) {
  uint8_t header[hdr::kSize];
  buildHeader(header, uint32_t(tiles.size()), stamp);
  if (!writeExact(f, header, sizeof header)) return false;
  for (MemHandle tile : tiles) {
    MemLock lock(tile);
    if (!lock || lock.size() > kTileMaxChunkBytes) return false;
    uint8_t ch[chk::kSize] = {};
    std::memcpy(ch + chk::kTag, kTileChunkTag, 4);
    writeU32(ch + chk::kDataSize, uint32_t(lock.size()));
    if (!writeExact(f, ch, sizeof ch) || !writeExact(f, lock.data(), lock.size())) return false;
  }
  return true;
}

}  // namespace

std::optional<TileGroupHeaderInfo> tileGroupParseHeader(const uint8_t* h) {
  if (std::memcmp(h + hdr::kMagic, kTileGroupMagic, sizeof kTileGroupMagic) != 0) return std::nullopt;
  TileGroupHeaderInfo info;
  info.timeWritten = readU32(h + hdr::kTimeWritten);
  info.owner = fixedText(h + hdr::kOwner, hdr::kNameWidth);
  info.organization = fixedText(h + hdr::kOrganization, hdr::kNameWidth);
  info.versionMajor = readU32(h + hdr::kVersionMajor);
  info.versionMinor = readU32(h + hdr::kVersionMinor);
  info.versionLetter = readU32(h + hdr::kVersionLetter);
  info.chunkCount = readU32(h + hdr::kChunkCount);
  info.writeable = readU32(h + hdr::kWriteable) != 0;
  if (info.chunkCount > kTileGroupMaxChunks) return std::nullopt;
  return info;
}

MemHandle tileGroupLoadTile(const std::string& path, int32_t index) {
  if (index < 0) return 0;
  File file(path, "rb");
  if (!file) return 0;
  auto cursor = ChunkCursor::open(file.get());
  if (!cursor || uint32_t(index) >= cursor->header().chunkCount) return 0;
  for (uint32_t i = 0; i < cursor->header().chunkCount; ++i) {
    char tag[4];
    uint32_t size;
    if (!cursor->next(tag, &size)) return 0;
    if (i == uint32_t(index)) return isTileTag(tag) ? cursor->readBitmap() : 0;
    if (!cursor->skip()) return 0;
  }
  return 0;
}

bool tileGroupRead(const std::string& path, TileGroup* group) {
  errno = 0;
  File file(path, "rb");
  if (!file) {
    // A group that does not exist yet is simply empty; one that exists but
    // cannot be opened is an error, lest the dialog write over it.
    if (errno != ENOENT) return false;
    group->tiles.clear();
    return true;
  }
  auto cursor = ChunkCursor::open(file.get());
  if (!cursor) return false;
  std::vector<MemBlock> tiles;
  for (uint32_t i = 0; i < cursor->header().chunkCount; ++i) {
    char tag[4];
    uint32_t size;
    if (!cursor->next(tag, &size)) return false;
    if (!isTileTag(tag)) {
      if (!cursor->skip()) return false;
      continue;
    }
    MemBlock tile(cursor->readBitmap());
    if (!tile) return false;
    tiles.push_back(std::move(tile));
  }
  group->writeable = cursor->header().writeable;
  group->tiles = std::move(tiles);
  return true;
}

bool tileGroupList(const std::string& path, TileGroupHeaderInfo* header,
                   std::vector<TileChunkInfo>* chunks) {
  File file(path, "rb");
  if (!file) return false;
  auto cursor = ChunkCursor::open(file.get());
  if (!cursor) return false;
  std::vector<TileChunkInfo> list;
  for (uint32_t i = 0; i < cursor->header().chunkCount; ++i) {
    TileChunkInfo info;
    if (!cursor->next(info.tag, &info.dataSize)) return false;
    if (isTileTag(info.tag)) {
      MemBlock tile(cursor->readBitmap());
      if (!tile || !bitmapQuery(tile.get(), &info.width, &info.height, &info.bits, nullptr)) return false;
    } else if (!cursor->skip()) {
      return false;
    }
    list.push_back(info);
  }
  *header = cursor->header();
  *chunks = std::move(list);
  return true;
}

bool tileGroupWrite(const std::string& path, const std::vector<MemHandle>& tiles, bool backup) {
  TileGroupStamp stamp;
  stamp.timeWritten = uint32_t(wallClockSeconds());
  stamp.owner = registeredOwner();
  stamp.organization = registeredOrganization();
  return tileGroupWriteStamped(path, tiles, backup, stamp);
}

bool tileGroupWriteStamped(const std::string& path, const std::vector<MemHandle>& tiles, bool backup,
                           const TileGroupStamp& stamp) {
  if (path.empty() || tiles.size() > kTileGroupMaxChunks) return false;
  if (backup) {
    std::string bak = path + ".bak";
    std::remove(bak.c_str());
    // Nothing to keep when the group is new.
    File existing(path, "rb");
    if (existing) {
      existing.close();
      if (!copyFile(path, bak)) return false;
    }
  }
  std::string temp = path + ".tmp";
  File out(temp, "wb");
  if (!out) return false;
  bool written = writeChunks(out.get(), tiles, stamp);
  if (!out.close() || !written || !replaceFile(temp, path)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace gw
