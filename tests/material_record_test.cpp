// The material record: layout, defaults, duplication, and the fill of every
// kind, with the worked numbers for textures and tiles.
#include <gtest/gtest.h>

#include "tests/allocation_failures.h"

#include <cstring>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"
#include "materials/material_fill.h"
#include "materials/material_record.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"
#include "materials/tile_fill.h"
#include "materials/tile_selection.h"
#include "platform/memory.h"

namespace gw {
namespace {

struct Picture {
  MemBlock block;
  MemLock lock;
  BitmapView view;
  explicit Picture(MemHandle h) : block(h), lock(block.get()), view(BitmapView::of(lock)) {}
  uint32_t at(int32_t x, int32_t y) const { return uint32_t(view.getPixel(x, y)); }
};

bool sameRow(const BitmapView& a, int32_t ay, const BitmapView& b, int32_t by, int32_t ax0, int32_t bx0, int32_t w) {
  return std::memcmp(a.row(ay) + size_t(ax0) * 3, b.row(by) + size_t(bx0) * 3, size_t(w) * 3) == 0;
}

TEST(MaterialRecordTest, Layout) {
  EXPECT_EQ(kMaterialRecordSize, 1270u);
  EXPECT_EQ(material::kRecordSize, 8u);
  EXPECT_EQ(material::kVersion, 12u);
  EXPECT_EQ(material::kKind, 16u);
  EXPECT_EQ(material::kColour, 20u);
  EXPECT_EQ(material::kButtonState, 24u);
  EXPECT_EQ(material::kGradient, 28u);
  EXPECT_EQ(material::kTexture, 649u);
  EXPECT_EQ(material::kTilePath, 917u);
  EXPECT_EQ(material::kTileIndex, 1178u);
  EXPECT_EQ(material::kTileImage, 1182u);
  EXPECT_EQ(material::kTileTarget, 1186u);
  EXPECT_EQ(material::kTileReserved, 1202u);
  EXPECT_EQ(material::kPreviewImage, 1234u);
  EXPECT_EQ(material::kPreviewAverage, 1238u);
  EXPECT_EQ(material::kReserved + 28, kMaterialRecordSize);
  EXPECT_EQ(material::kTileSelection + kTileSelectionSize, material::kPreviewImage);
  EXPECT_EQ(kTileSelectionSize, tile_selection::kSize);
}

TEST(MaterialRecordTest, Defaults) {
  uint8_t rec[kMaterialRecordSize];
  std::memset(rec, 0x5A, sizeof rec);
  materialRecordDefaults(rec, false);
  EXPECT_EQ(std::memcmp(rec, "QUILCMAT", 8), 0);
  EXPECT_EQ(readU32(rec + material::kRecordSize), 1270u);
  EXPECT_EQ(readU32(rec + material::kVersion), 0x00040000u);
  EXPECT_EQ(readI32(rec + material::kKind), 0);
  EXPECT_EQ(readU32(rec + material::kColour), 0x808080u);
  EXPECT_EQ(readU32(rec + material::kButtonState), 0u);
  uint8_t g[kGradientSettingsSize], t[texture_settings::kSize];
  gradientSettingsDefaults(g);
  textureSettingsDefaults(t);
  EXPECT_EQ(std::memcmp(rec + material::kGradient, g, sizeof g), 0);
  EXPECT_EQ(std::memcmp(rec + material::kTexture, t, sizeof t), 0);
  for (size_t i = material::kTileSelection; i < kMaterialRecordSize; ++i) ASSERT_EQ(rec[i], 0) << i;
  EXPECT_STREQ(materialKindName(0), "Simple");
  EXPECT_STREQ(materialKindName(3), "Tile");
  EXPECT_EQ(materialKindName(4), nullptr);
}

TEST(MaterialRecordTest, DefaultTileIsACopyOfTheBuiltInTile) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, true);
  MemHandle tile = readU32(rec + material::kTileImage);
  ASSERT_NE(tile, 0u);
  EXPECT_EQ(rec[material::kTilePath], 0);
  int32_t w = 0, h = 0;
  int bits = 0;
  ASSERT_TRUE(bitmapQuery(tile, &w, &h, &bits, nullptr));
  EXPECT_EQ(w, 90);
  EXPECT_EQ(h, 90);
  EXPECT_EQ(bits, 24);
  memFree(tile);
}

TEST(MaterialRecordTest, DuplicateOwnsItsTileAndHasNoPreview) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, true);
  writeU32(rec + material::kPreviewImage, 12345);
  MemBlock copy(materialRecordDuplicate(rec));
  ASSERT_TRUE(copy);
  MemLock lock(copy.get());
  ASSERT_EQ(lock.size(), kMaterialRecordSize);
  EXPECT_EQ(readU32(lock.data() + material::kPreviewImage), 0u);
  MemHandle theirs = readU32(lock.data() + material::kTileImage);
  EXPECT_NE(theirs, 0u);
  EXPECT_NE(theirs, readU32(rec + material::kTileImage));
  EXPECT_EQ(std::memcmp(lock.data(), rec, material::kTileImage), 0);
  memFree(theirs);
  memFree(readU32(rec + material::kTileImage));
}

TEST(MaterialRecordTest, SimpleFillAndUnknownKind) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  writeU32(rec + material::kColour, 0xFF102030);  // only the low 24 bits are colour
  Picture simple(materialFill(rec, 7, 3));
  ASSERT_TRUE(simple.view.valid());
  EXPECT_EQ(simple.view.width(), 7);
  EXPECT_EQ(simple.view.height(), 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(simple.at(x, y), 0x102030u);

  writeI32(rec + material::kKind, 9);
  Picture black(materialFill(rec, 5, 5));
  ASSERT_TRUE(black.view.valid());
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(black.at(x, y), 0u);
  writeI32(rec + material::kKind, -1);
  Picture negative(materialFill(rec, 5, 5));
  EXPECT_EQ(negative.at(2, 2), 0u);

  EXPECT_EQ(materialFill(rec, 0, 5), 0u);
  EXPECT_EQ(materialFill(rec, 30000, 20000), 0u);  // 1.8 GB of bitmap: refused
  EXPECT_EQ(materialFill(nullptr, 5, 5), 0u);
}

TEST(MaterialRecordTest, GradientFillIsTheGradient) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  writeI32(rec + material::kKind, kMaterialGradient);
  writeI32(rec + material::kGradient + gradient::kShape, kGradientElliptical);
  Picture fill(materialFill(rec, 90, 40));
  Picture direct(gradientRender(rec + material::kGradient, 90, 40));
  ASSERT_TRUE(fill.view.valid());
  ASSERT_TRUE(direct.view.valid());
  for (int32_t y = 0; y < 40; ++y) EXPECT_TRUE(sameRow(fill.view, y, direct.view, y, 0, 0, 90)) << y;
}

// 300 x 100 generates a 300 x 300 texture and keeps rows 100 to 199.
TEST(MaterialRecordTest, TextureFillKeepsTheCentredWindow) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  writeI32(rec + material::kKind, kMaterialTexture);
  Picture wide(materialFill(rec, 300, 100));
  ASSERT_TRUE(wide.view.valid());
  EXPECT_EQ(readI32(rec + material::kTexture + 12), 300);  // the rectangle was set to 0, 0, 300, 300
  EXPECT_EQ(readI32(rec + material::kTexture + 16), 300);
  uint8_t settings[texture_settings::kSize];
  std::memcpy(settings, rec + material::kTexture, sizeof settings);
  textureSetOutputRect(settings, 0, 0, 300, 300);
  Picture square(textureGenerate(settings));
  ASSERT_TRUE(square.view.valid());
  for (int32_t y = 0; y < 100; ++y) ASSERT_TRUE(sameRow(wide.view, y, square.view, y + 100, 0, 0, 300)) << y;

  Picture tall(materialFill(rec, 100, 300));  // columns 100 to 199
  ASSERT_TRUE(tall.view.valid());
  for (int32_t y = 0; y < 300; y += 37) ASSERT_TRUE(sameRow(tall.view, y, square.view, y, 0, 100, 100)) << y;
}

TEST(MaterialRecordTest, TileFillSmallerThanTheTile) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  writeI32(rec + material::kKind, kMaterialTile);
  Picture small(materialFill(rec, 40, 30));
  Picture tile(tileBuiltInImage());
  ASSERT_TRUE(small.view.valid());
  ASSERT_TRUE(tile.view.valid());
  for (int32_t y = 0; y < 30; ++y) EXPECT_TRUE(sameRow(small.view, y, tile.view, y, 0, 0, 40)) << y;
  EXPECT_EQ(readI32(rec + material::kTileTarget + 8), 40);
  EXPECT_EQ(readI32(rec + material::kTileTarget + 12), 30);

  // 200 x 100: tile origins at x = 0, 90, 180 and y = 0, 90.
  Picture big(materialFill(rec, 200, 100));
  ASSERT_TRUE(big.view.valid());
  EXPECT_TRUE(sameRow(big.view, 95, tile.view, 5, 180, 0, 20));
  EXPECT_TRUE(sameRow(big.view, 0, tile.view, 0, 90, 0, 90));
}

TEST(MaterialRecordTest, FailedAllocationsLeakNothing) {
  for (int32_t kind = 0; kind < 4; ++kind) {
    uint8_t rec[kMaterialRecordSize];
    materialRecordDefaults(rec, false);
    writeI32(rec + material::kKind, kind);
    expectNoLeaksWhenAllocationsFail(30, [&] { return materialFill(rec, 48, 24); }, "kind " + std::to_string(kind));
  }
}

TEST(MaterialRecordTest, AverageColourAndCaption) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  writeI32(rec + material::kKind, kMaterialGradient);
  writeU32(rec + material::kGradient + gradient::kStartColour, 0x000000);
  writeU32(rec + material::kGradient + gradient::kEndColour, 0x000000);
  MemBlock black(materialFill(rec, 10, 10));
  EXPECT_EQ(bitmapAverageColour(black.get()), 0u);

  // Half red, half blue columns: the mean is taken per channel and truncated.
  MemBlock bmp(bitmapCreateTrueColour(3, 1, 24));
  {
    MemLock lock(bmp.get());
    BitmapView v = BitmapView::of(lock);
    v.setPixel(0, 0, 0x0000FF);
    v.setPixel(1, 0, 0xFF0000);
    v.setPixel(2, 0, 0x000001);
  }
  EXPECT_EQ(bitmapAverageColour(bmp.get()), 0x550055u);
  EXPECT_EQ(bitmapAverageColour(0), 0u);

  EXPECT_TRUE(captionIsWhite(0x000000));
  EXPECT_FALSE(captionIsWhite(0xFFFFFF));
  EXPECT_TRUE(captionIsWhite(0x808080));    // 75 + 38 + 14 = 127
  EXPECT_FALSE(captionIsWhite(0x838383));   // 77 + 39 + 14 = 130
  EXPECT_FALSE(captionIsWhite(0x00DC00));   // green alone: 129
  EXPECT_TRUE(captionIsWhite(0x00DB00));    // 128
}

}  // namespace
}  // namespace gw
