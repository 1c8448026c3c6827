// Material files and the MATLBT document line: round trips, the rules for
// foreign, short and malformed input, and what a load does to handles.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "base/le_bytes.h"
#include "materials/gradient_settings.h"
#include "materials/material_document.h"
#include "materials/material_file.h"
#include "materials/material_record.h"
#include "materials/tile_fill.h"
#include "platform/memory.h"

namespace gw {
namespace {

class MaterialFileTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("GLYPHWRIGHT_APPDATA", root_.c_str(), 1); }
  void TearDown() override { unsetenv("GLYPHWRIGHT_APPDATA"); }
  TempFolder folder_{"material"};
  std::string root_ = folder_.path();
};

// A record that differs from the defaults everywhere it can.
void sampleRecord(uint8_t* rec) {
  materialRecordDefaults(rec, false);
  writeI32(rec + material::kKind, kMaterialGradient);
  writeU32(rec + material::kColour, 0x123456);
  writeI32(rec + material::kGradient + gradient::kShape, kGradientAngular);
  writeI32(rec + material::kGradient + gradient::kRotation, -77);
  writeI32(rec + material::kTileIndex, 3);
  writeU32(rec + material::kPreviewAverage, 0xABCDEF);
}

void writeRaw(const std::string& path, const uint8_t* data, size_t n) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(data, 1, n, f);
  std::fclose(f);
}

TEST_F(MaterialFileTest, PathIsKeyedByControlId) {
  std::string path = materialFilePath(1234);
  EXPECT_EQ(path, root_ + "/Quillmere/Glyphwright 5/Material01234.mtrl");
  EXPECT_NE(materialFilePath(7).find("Material00007.mtrl"), std::string::npos);
}

TEST_F(MaterialFileTest, RoundTripClearsRuntimeFields) {
  uint8_t rec[kMaterialRecordSize];
  sampleRecord(rec);
  writeU32(rec + material::kButtonState, 3);
  writeU32(rec + material::kTileImage, 777);
  writeU32(rec + material::kPreviewImage, 888);
  const std::string path = root_ + "/m.mtrl";
  ASSERT_TRUE(materialFileWrite(path, rec));
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 1270);
  EXPECT_NE(stat((path + ".tmp").c_str(), &st), 0);

  MemBlock back(materialFileRead(path, 0x0000FF, true));
  MemLock lock(back.get());
  ASSERT_EQ(lock.size(), kMaterialRecordSize);
  const uint8_t* got = lock.data();
  EXPECT_EQ(readU32(got + material::kButtonState), 0u);
  EXPECT_EQ(readU32(got + material::kTileImage), 0u);
  EXPECT_EQ(readU32(got + material::kPreviewImage), 0u);
  EXPECT_EQ(readU32(got + material::kColour), 0x123456u);  // the file's, not the caller's
  writeU32(rec + material::kButtonState, 0);
  writeU32(rec + material::kTileImage, 0);
  writeU32(rec + material::kPreviewImage, 0);
  EXPECT_EQ(std::memcmp(got, rec, kMaterialRecordSize), 0);
}

TEST_F(MaterialFileTest, MissingShortOrForeignFilesGiveDefaults) {
  uint8_t expected[kMaterialRecordSize];
  materialRecordDefaults(expected, false);
  writeU32(expected + material::kColour, 0x00FF00);

  uint8_t rec[kMaterialRecordSize];
  sampleRecord(rec);
  const std::string shortFile = root_ + "/short.mtrl", foreign = root_ + "/foreign.mtrl";
  writeRaw(shortFile, rec, 1269);
  rec[0] = 'X';
  writeRaw(foreign, rec, kMaterialRecordSize);
  for (const std::string& path : {root_ + "/missing.mtrl", shortFile, foreign}) {
    MemBlock got(materialFileRead(path, 0x00FF00, true));
    MemLock lock(got.get());
    ASSERT_EQ(lock.size(), kMaterialRecordSize);
    EXPECT_EQ(std::memcmp(lock.data(), expected, kMaterialRecordSize), 0) << path;
  }
  // Not reading (Shift held) ignores even a good file.
  sampleRecord(rec);
  ASSERT_TRUE(materialFileWrite(shortFile, rec));
  MemBlock ignored(materialFileRead(shortFile, 0x00FF00, false));
  MemLock lock(ignored.get());
  EXPECT_EQ(std::memcmp(lock.data(), expected, kMaterialRecordSize), 0);
}

TEST_F(MaterialFileTest, FailedWriteKeepsThePreviousFile) {
  uint8_t rec[kMaterialRecordSize];
  sampleRecord(rec);
  const std::string path = root_ + "/keep.mtrl";
  ASSERT_TRUE(materialFileWrite(path, rec));
  mkdir((path + ".tmp").c_str(), 0755);  // the temporary cannot be created
  writeI32(rec + material::kKind, kMaterialTile);
  EXPECT_FALSE(materialFileWrite(path, rec));
  MemBlock back(materialFileRead(path, 0, true));
  MemLock lock(back.get());
  EXPECT_EQ(readI32(lock.data() + material::kKind), kMaterialGradient);
  EXPECT_FALSE(materialFileWrite(root_ + "/no/such/folder/x.mtrl", rec));
  EXPECT_FALSE(materialFileWrite("", rec));
}

TEST(MaterialDocumentTest, LineRoundTrip) {
  uint8_t rec[kMaterialRecordSize];
  sampleRecord(rec);
  std::string line = materialDocumentLine(4107, rec);
  ASSERT_EQ(line.size(), std::string("MATLBT4107=").size() + 2540 + 1);
  EXPECT_EQ(line.compare(0, 19, "MATLBT4107=5155494C"), 0);  // "QUIL"
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find_first_of("abcdef"), std::string::npos);
  uint8_t back[kMaterialRecordSize];
  ASSERT_TRUE(materialDocumentDecode(line, back));
  EXPECT_EQ(std::memcmp(back, rec, kMaterialRecordSize), 0);
}

TEST(MaterialDocumentTest, DecodingRules) {
  uint8_t rec[kMaterialRecordSize];
  sampleRecord(rec);
  std::string hex = materialDocumentLine(1, rec).substr(std::string("MATLBT1=").size());
  hex.pop_back();
  uint8_t out[kMaterialRecordSize];

  // Tag in any case; further "=" and blanks after the first "=" are skipped;
  // lower-case digits read as well.
  std::string lower = hex;
  for (char& c : lower) c = char(std::tolower(c));
  ASSERT_TRUE(materialDocumentDecode("matlbt12= = \t=" + lower, out));
  EXPECT_EQ(std::memcmp(out, rec, kMaterialRecordSize), 0);

  // A line that ends early leaves the rest zero.
  ASSERT_TRUE(materialDocumentDecode("MATLBT1=" + hex.substr(0, 40) + "\r\n", out));
  EXPECT_EQ(std::memcmp(out, rec, 20), 0);
  for (size_t i = 20; i < kMaterialRecordSize; ++i) ASSERT_EQ(out[i], 0) << i;

  // Anything malformed changes nothing.
  std::memset(out, 0x77, sizeof out);
  std::string bad = hex;
  bad[101] = 'G';
  EXPECT_FALSE(materialDocumentDecode("MATLBT1=" + bad, out));
  EXPECT_FALSE(materialDocumentDecode("MATLBT1=" + hex.substr(0, 41), out));  // half a pair
  EXPECT_FALSE(materialDocumentDecode("FOUNTB1=" + hex, out));
  EXPECT_FALSE(materialDocumentDecode("MATLB", out));
  EXPECT_FALSE(materialDocumentDecode("MATLBT1 " + hex, out));
  for (uint8_t b : out) ASSERT_EQ(b, 0x77);
}

TEST(MaterialDocumentTest, ApplyReplacesHandlesAndFreesTheOldTile) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, true);  // owns a copy of the built-in tile
  ASSERT_NE(readU32(rec + material::kTileImage), 0u);
  long before = testing::liveBlockCount();

  uint8_t stored[kMaterialRecordSize];
  sampleRecord(stored);
  writeI32(stored + material::kKind, kMaterialTile);  // a tile with no group: nothing to load
  writeU32(stored + material::kTileImage, 4242);      // stale numbers from another run
  writeU32(stored + material::kPreviewImage, 4343);
  writeU32(stored + material::kButtonState, 2);
  ASSERT_TRUE(materialDocumentApply(materialDocumentLine(5, stored), rec));
  EXPECT_EQ(testing::liveBlockCount(), before - 1);
  EXPECT_EQ(readU32(rec + material::kTileImage), 0u);
  EXPECT_EQ(readU32(rec + material::kPreviewImage), 0u);
  EXPECT_EQ(readU32(rec + material::kButtonState), 0u);
  EXPECT_EQ(readU32(rec + material::kColour), 0x123456u);

  uint8_t copy[kMaterialRecordSize];
  std::memcpy(copy, rec, sizeof copy);
  EXPECT_FALSE(materialDocumentApply("MATLBT5=ZZ", rec));
  EXPECT_EQ(std::memcmp(copy, rec, sizeof copy), 0);
}

}  // namespace
}  // namespace gw
