// Tile group files: layout, round trips, tile indices across foreign chunks,
// the backup switch, and malformed files that must fail without side effects.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/tile_group.h"
#include "materials/tile_group_format.h"

namespace gw {
namespace {

namespace hdr = tile_group_header;
namespace chk = tile_chunk_header;

// A w x h tile whose pixel (x, y) is a colour made from seed, x and y.
MemHandle makeTile(int32_t w, int32_t h, uint32_t seed) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) v.setPixel(x, y, (seed * 0x10101u + uint32_t(x * 7 + y * 131)) & 0xFFFFFF);
  return bmp;
}

std::vector<uint8_t> blockBytes(MemHandle h) {
  MemLock lock(h);
  return std::vector<uint8_t>(lock.data(), lock.data() + lock.size());
}

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::vector<uint8_t> out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  int c;
  while ((c = std::fgetc(f)) != EOF) out.push_back(uint8_t(c));
  std::fclose(f);
  return out;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void appendChunk(std::vector<uint8_t>* file, const char* tag, const std::vector<uint8_t>& data) {
  uint8_t ch[chk::kSize] = {};
  std::memcpy(ch, tag, 4);
  writeU32(ch + chk::kDataSize, uint32_t(data.size()));
  file->insert(file->end(), ch, ch + sizeof ch);
  file->insert(file->end(), data.begin(), data.end());
}

TEST(TileGroupFormat, HeaderAndChunkLayoutArePinned) {
  EXPECT_EQ(hdr::kSize, 1082u);
  EXPECT_EQ(hdr::kTimeWritten, 8u);
  EXPECT_EQ(hdr::kOwner, 12u);
  EXPECT_EQ(hdr::kOrganization, 274u);
  EXPECT_EQ(hdr::kReserved536, 536u);
  EXPECT_EQ(hdr::kVersionMajor, 802u);
  EXPECT_EQ(hdr::kVersionMinor, 806u);
  EXPECT_EQ(hdr::kVersionLetter, 810u);
  EXPECT_EQ(hdr::kChunkCount, 818u);
  EXPECT_EQ(hdr::kWriteable, 822u);
  EXPECT_EQ(hdr::kReserved826 + 256, hdr::kSize);
  EXPECT_EQ(chk::kSize, 72u);
  EXPECT_EQ(chk::kDataSize, 4u);
  EXPECT_EQ(chk::kReserved + 64, chk::kSize);
}

TEST(TileGroup, WrittenBytesFollowTheLayout) {
  TempFolder dir;
  setenv("GLYPHWRIGHT_OWNER", "Ada Owner", 1);
  setenv("GLYPHWRIGHT_ORGANIZATION", "Tiles Ltd", 1);
  MemBlock a(makeTile(3, 2, 1)), b(makeTile(5, 4, 2));
  std::string path = dir.file("g.mtx");
  ASSERT_TRUE(tileGroupWrite(path, {a.get(), b.get()}, false));
  std::vector<uint8_t> f = fileBytes(path);
  std::vector<uint8_t> ta = blockBytes(a.get()), tb = blockBytes(b.get());
  ASSERT_EQ(f.size(), hdr::kSize + 2 * chk::kSize + ta.size() + tb.size());
  EXPECT_EQ(std::memcmp(f.data(), "QUILMTXf", 8), 0);
  EXPECT_NEAR(double(readU32(&f[8])), double(time(nullptr)), 5.0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[12]), "Ada Owner");
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[274]), "Tiles Ltd");
  EXPECT_EQ(readU32(&f[802]), 16u);
  EXPECT_EQ(readU32(&f[806]), 0u);
  EXPECT_EQ(readU32(&f[810]), 0x61u);
  EXPECT_EQ(readU32(&f[818]), 2u);
  EXPECT_EQ(readU32(&f[822]), 1u);
  for (size_t i = 826; i < 1082; ++i) ASSERT_EQ(f[i], 0) << i;
  EXPECT_EQ(std::memcmp(&f[1082], "MTXi", 4), 0);
  EXPECT_EQ(readU32(&f[1086]), ta.size());
  EXPECT_EQ(std::memcmp(&f[1082 + 72], ta.data(), ta.size()), 0);
  size_t second = 1082 + 72 + ta.size();
  EXPECT_EQ(readU32(&f[second + 4]), tb.size());
  EXPECT_EQ(std::memcmp(&f[second + 72], tb.data(), tb.size()), 0);
  unsetenv("GLYPHWRIGHT_OWNER");
  unsetenv("GLYPHWRIGHT_ORGANIZATION");
}

TEST(TileGroup, RoundTripKeepsEveryByteOfOddSizedTiles) {
  TempFolder dir;
  std::vector<MemBlock> tiles;
  std::vector<MemHandle> handles;
  const int32_t sizes[][2] = {{1, 1}, {7, 1}, {1, 7}, {90, 90}, {33, 17}, {600, 3}};
  for (uint32_t i = 0; i < 6; ++i) {
    tiles.emplace_back(makeTile(sizes[i][0], sizes[i][1], i));
    handles.push_back(tiles.back().get());
  }
  std::string path = dir.file("round.mtx");
  ASSERT_TRUE(tileGroupWrite(path, handles, false));
  TileGroup group;
  group.writeable = false;
  ASSERT_TRUE(tileGroupRead(path, &group));
  EXPECT_TRUE(group.writeable);
  ASSERT_EQ(group.tiles.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(blockBytes(group.tiles[i].get()), blockBytes(handles[i])) << i;
    MemBlock loaded(tileGroupLoadTile(path, int32_t(i)));
    EXPECT_EQ(blockBytes(loaded.get()), blockBytes(handles[i])) << i;
  }
  EXPECT_EQ(tileGroupLoadTile(path, 6), 0u);
  EXPECT_EQ(tileGroupLoadTile(path, -1), 0u);
}

TEST(TileGroup, ForeignChunksKeepTheirPlaceInTheIndex) {
  TempFolder dir;
  MemBlock a(makeTile(4, 4, 1)), b(makeTile(6, 2, 2));
  std::string path = dir.file("mixed.mtx");
  ASSERT_TRUE(tileGroupWrite(path, {a.get()}, false));
  std::vector<uint8_t> f = fileBytes(path);
  appendChunk(&f, "NOTE", std::vector<uint8_t>(13, 0xEE));
  appendChunk(&f, "MTXi", blockBytes(b.get()));
  // An oversized block: readers take it whole.
  std::vector<uint8_t> padded = blockBytes(a.get());
  padded.resize(padded.size() + 9, 0x77);
  appendChunk(&f, "MTXi", padded);
  writeU32(&f[hdr::kChunkCount], 4);
  writeU32(&f[hdr::kWriteable], 0);
  writeBytes(path, f);

  EXPECT_EQ(blockBytes(MemBlock(tileGroupLoadTile(path, 0)).get()), blockBytes(a.get()));
  EXPECT_EQ(tileGroupLoadTile(path, 1), 0u);  // the foreign chunk is no tile
  EXPECT_EQ(blockBytes(MemBlock(tileGroupLoadTile(path, 2)).get()), blockBytes(b.get()));
  EXPECT_EQ(blockBytes(MemBlock(tileGroupLoadTile(path, 3)).get()), padded);

  TileGroup group;
  ASSERT_TRUE(tileGroupRead(path, &group));
  EXPECT_FALSE(group.writeable);
  ASSERT_EQ(group.tiles.size(), 3u);
  EXPECT_EQ(memSize(group.tiles[2].get()), padded.size());

  TileGroupHeaderInfo header;
  std::vector<TileChunkInfo> chunks;
  ASSERT_TRUE(tileGroupList(path, &header, &chunks));
  ASSERT_EQ(chunks.size(), 4u);
  EXPECT_STREQ(chunks[1].tag, "NOTE");
  EXPECT_EQ(chunks[1].width, 0);
  EXPECT_EQ(chunks[2].width, 6);
  EXPECT_EQ(chunks[2].height, 2);
  EXPECT_EQ(chunks[2].bits, 24);
}

TEST(TileGroup, MissingFileIsAnEmptyGroupAndKeepsTheFlag) {
  TempFolder dir;
  TileGroup group;
  group.writeable = false;
  group.tiles.emplace_back(makeTile(2, 2, 0));
  ASSERT_TRUE(tileGroupRead(dir.file("absent.mtx"), &group));
  EXPECT_TRUE(group.tiles.empty());
  EXPECT_FALSE(group.writeable);
  EXPECT_EQ(tileGroupLoadTile(dir.file("absent.mtx"), 0), 0u);
  // A folder in the group's place exists but is no group.
  group.tiles.emplace_back(makeTile(2, 2, 0));
  EXPECT_FALSE(tileGroupRead("/tmp", &group));
  EXPECT_EQ(group.tiles.size(), 1u);
}

TEST(TileGroup, BackupSwitchKeepsThePreviousFile) {
  TempFolder dir;
  MemBlock a(makeTile(2, 2, 1)), b(makeTile(3, 3, 2));
  std::string path = dir.file("b.mtx");
  // Without an earlier file there is nothing to back up.
  ASSERT_TRUE(tileGroupWrite(path, {a.get()}, true));
  EXPECT_TRUE(fileBytes(path + ".bak").empty());
  std::vector<uint8_t> first = fileBytes(path);
  ASSERT_TRUE(tileGroupWrite(path, {a.get(), b.get()}, true));
  EXPECT_EQ(fileBytes(path + ".bak"), first);
  std::vector<uint8_t> second = fileBytes(path);
  ASSERT_TRUE(tileGroupWrite(path, {b.get()}, false));
  EXPECT_EQ(fileBytes(path + ".bak"), first);
  EXPECT_NE(fileBytes(path), second);
  EXPECT_TRUE(fileBytes(path + ".tmp").empty());
}

TEST(TileGroup, EmptyListWritesAHeaderOnlyGroup) {
  TempFolder dir;
  std::string path = dir.file("e.mtx");
  ASSERT_TRUE(tileGroupWrite(path, {}, false));
  EXPECT_EQ(fileBytes(path).size(), hdr::kSize);
  TileGroup group;
  group.tiles.emplace_back(makeTile(2, 2, 0));
  ASSERT_TRUE(tileGroupRead(path, &group));
  EXPECT_TRUE(group.tiles.empty());
}

TEST(TileGroup, FailedWriteLeavesTheOldGroup) {
  TempFolder dir;
  MemBlock a(makeTile(2, 2, 1));
  std::string path = dir.file("keep.mtx");
  ASSERT_TRUE(tileGroupWrite(path, {a.get()}, false));
  std::vector<uint8_t> before = fileBytes(path);
  // A handle that is not a live block cannot be written.
  EXPECT_FALSE(tileGroupWrite(path, {a.get(), 0xDEAD}, false));
  EXPECT_EQ(fileBytes(path), before);
  EXPECT_TRUE(fileBytes(path + ".tmp").empty());
  EXPECT_FALSE(tileGroupWrite(dir.file("no/such/folder.mtx"), {a.get()}, false));
}

TEST(TileGroup, EveryPrefixOfAGoodFileFailsCleanly) {
  TempFolder dir;
  MemBlock a(makeTile(5, 3, 1)), b(makeTile(2, 9, 2));
  std::string good = dir.file("good.mtx");
  ASSERT_TRUE(tileGroupWrite(good, {a.get(), b.get()}, false));
  std::vector<uint8_t> f = fileBytes(good);
  std::string cut = dir.file("cut.mtx");
  for (size_t n = 0; n < f.size(); n += (n < 1100 ? 97 : 1)) {
    writeBytes(cut, std::vector<uint8_t>(f.begin(), f.begin() + long(n)));
    TileGroup group;
    group.writeable = false;
    group.tiles.emplace_back(makeTile(1, 1, 0));
    long live = testing::liveBlockCount();
    ASSERT_FALSE(tileGroupRead(cut, &group)) << n;
    EXPECT_EQ(group.tiles.size(), 1u);
    EXPECT_FALSE(group.writeable);
    EXPECT_EQ(testing::liveBlockCount(), live) << n;
  }
}

// tests/data/mtx_malformed holds files built by make_malformed.py beside
// them; no reader may accept them, crash on them or allocate what they claim.
TEST(TileGroup, MalformedFilesFailCleanly) {
  std::string folder = std::string(GW_SOURCE_DIR) + "/tests/data/mtx_malformed";
  DIR* d = opendir(folder.c_str());
  ASSERT_TRUE(d);
  int files = 0;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.size() < 4 || name.substr(name.size() - 4) != ".mtx") continue;
    ++files;
    std::string path = folder + "/" + name;
    TileGroup group;
    group.writeable = false;
    group.tiles.emplace_back(makeTile(1, 1, 0));
    long live = testing::liveBlockCount();
    EXPECT_FALSE(tileGroupRead(path, &group)) << name;
    EXPECT_EQ(group.tiles.size(), 1u) << name;
    EXPECT_FALSE(group.writeable) << name;
    TileGroupHeaderInfo header;
    std::vector<TileChunkInfo> chunks;
    EXPECT_FALSE(tileGroupList(path, &header, &chunks)) << name;
    // A tile before the damage may still load; whatever loads is a bitmap.
    for (int32_t i = 0; i < 3; ++i) {
      MemBlock tile(tileGroupLoadTile(path, i));
      if (tile) {
        MemLock lock(tile.get());
        EXPECT_TRUE(BitmapView::of(lock).valid()) << name;
      }
    }
    EXPECT_EQ(testing::liveBlockCount(), live) << name;
  }
  closedir(d);
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace gw
