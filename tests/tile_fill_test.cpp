// Tiling from (0, 0), the built-in tile, and the selection record.
#include <gtest/gtest.h>

#include "tests/allocation_failures.h"

#include "tests/temp_folder.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/tile_fill.h"
#include "materials/tile_group.h"
#include "materials/tile_selection.h"
#include "platform/resources.h"

namespace gw {
namespace {

namespace sel = tile_selection;

MemHandle patternTile(int32_t w, int32_t h) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) v.setPixel(x, y, uint32_t(x) | (uint32_t(y) << 8) | 0x550000u);
  return bmp;
}

TEST(TileSelection, LayoutIsPinned) {
  EXPECT_EQ(sel::kSize, 317u);
  EXPECT_EQ(sel::kPath, 0u);
  EXPECT_EQ(sel::kIndex, 261u);
  EXPECT_EQ(sel::kImage, 265u);
  EXPECT_EQ(sel::kTargetRect, 269u);
  EXPECT_EQ(sel::kReserved, 285u);
  EXPECT_EQ(sel::kReserved + 32, sel::kSize);
}

TEST(TileFill, OriginsAtMultiplesOfTheTileFromZero) {
  uint8_t s[sel::kSize] = {};
  writeU32(s + sel::kImage, patternTile(90, 90));
  MemBlock out(tileFill(s, 200, 100));
  ASSERT_TRUE(out);
  EXPECT_EQ(readI32(s + sel::kTargetRect + 0), 0);
  EXPECT_EQ(readI32(s + sel::kTargetRect + 4), 0);
  EXPECT_EQ(readI32(s + sel::kTargetRect + 8), 200);
  EXPECT_EQ(readI32(s + sel::kTargetRect + 12), 100);
  MemLock lock(out.get());
  BitmapView v = BitmapView::of(lock);
  ASSERT_EQ(v.width(), 200);
  ASSERT_EQ(v.height(), 100);
  ASSERT_EQ(v.bits(), 24);
  // Tile corners at x = 0, 90, 180 and y = 0, 90.
  for (int32_t x0 : {0, 90, 180})
    for (int32_t y0 : {0, 90}) EXPECT_EQ(v.getPixel(x0, y0), 0x550000) << x0 << "," << y0;
  EXPECT_EQ(v.getPixel(199, 99), 0x550000 | 19 | (9 << 8));
  EXPECT_EQ(v.getPixel(89, 89), 0x550000 | 89 | (89 << 8));
  for (int32_t y = 0; y < 100; ++y)
    for (int32_t x = 0; x < 200; ++x)
      ASSERT_EQ(v.getPixel(x, y), int64_t(0x550000u | uint32_t(x % 90) | (uint32_t(y % 90) << 8)));
  tileSelectionFreeImage(s);
}

TEST(TileFill, SmallTargetShowsTheTilesTopLeft) {
  uint8_t s[sel::kSize] = {};
  writeU32(s + sel::kImage, patternTile(40, 30));
  MemBlock out(tileFill(s, 7, 5));
  MemLock lock(out.get());
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(v.getPixel(x, y), int64_t(0x550000u | uint32_t(x) | (uint32_t(y) << 8)));
  tileSelectionFreeImage(s);
  EXPECT_EQ(readU32(s + sel::kImage), 0u);
}

TEST(TileFill, PaletteTilesAreTiledThroughTheirColours) {
  uint8_t palette[256 * 3] = {};
  palette[3 * 1 + 0] = 0x11;  // red
  palette[3 * 1 + 1] = 0x22;
  palette[3 * 1 + 2] = 0x33;
  uint8_t s[sel::kSize] = {};
  MemHandle tile = bitmapCreateWithPalette(2, 1, palette, 8);
  {
    MemLock lock(tile);
    BitmapView::of(lock).setPixel(1, 0, 1);
  }
  writeU32(s + sel::kImage, tile);
  MemBlock out(tileFill(s, 4, 1));
  MemLock lock(out.get());
  BitmapView v = BitmapView::of(lock);
  EXPECT_EQ(v.getPixel(0, 0), 0);
  EXPECT_EQ(v.getPixel(1, 0), 0x332211);
  EXPECT_EQ(v.getPixel(3, 0), 0x332211);
  tileSelectionFreeImage(s);
}

TEST(TileFill, BuiltInTileServesWhenNoneIsLoaded) {
  auto byNumber = findResource(kResBitmap, ResourceName::number(9908));
  auto byName = findResource(kResBitmap, ResourceName::text("MATRIX_DEFAULT"));
  ASSERT_TRUE(byNumber && byName);
  ASSERT_EQ(byNumber->size, byName->size);
  EXPECT_EQ(std::memcmp(byNumber->data, byName->data, byNumber->size), 0);
  MemBlock builtIn(tileBuiltInImage());
  int32_t w = 0, h = 0;
  int bits = 0;
  ASSERT_TRUE(bitmapQuery(builtIn.get(), &w, &h, &bits, nullptr));
  EXPECT_EQ(w, 90);
  EXPECT_EQ(h, 90);
  EXPECT_EQ(bits, 24);

  uint8_t s[sel::kSize] = {};
  MemBlock out(tileFill(s, 100, 95));
  MemLock outLock(out.get());
  MemLock tileLock(builtIn.get());
  BitmapView v = BitmapView::of(outLock), t = BitmapView::of(tileLock);
  for (int32_t y = 0; y < 95; ++y)
    for (int32_t x = 0; x < 100; ++x) ASSERT_EQ(v.getPixel(x, y), t.getPixel(x % 90, y % 90));
  // The picture is not blank: the weave has light and dark.
  int64_t lo = 0xFFFFFF, hi = 0;
  for (int32_t x = 0; x < 90; ++x) {
    lo = std::min(lo, t.getPixel(x, 7) & 0xFF);
    hi = std::max(hi, t.getPixel(x, 7) & 0xFF);
  }
  EXPECT_GT(hi - lo, 100);
}

TEST(TileFill, RefusesBadSizesAndLeaksNothing) {
  uint8_t s[sel::kSize] = {};
  EXPECT_EQ(tileFill(s, 0, 10), 0u);
  EXPECT_EQ(tileFill(s, 10, -1), 0u);
  EXPECT_EQ(tileFill(s, 70000, 70000), 0u);
  expectNoLeaksWhenAllocationsFail(4, [&] { return tileFill(s, 30, 30); });
}

TEST(TileSelection, LoadsCopiesAndFallsBack) {
  TempFolder folder("tilesel");
  std::string path = folder.file("g.mtx");
  MemBlock a(patternTile(3, 3)), b(patternTile(4, 2));
  ASSERT_TRUE(tileGroupWrite(path, {a.get(), b.get()}, false));

  uint8_t s[sel::kSize] = {};
  tileSelectionSetPath(s, path);
  EXPECT_EQ(tileSelectionPath(s), path);
  writeI32(s + sel::kIndex, 1);
  ASSERT_TRUE(tileSelectionLoad(s));
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(readU32(s + sel::kImage), &w, &h, nullptr, nullptr));
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 2);

  uint8_t copy[sel::kSize];
  ASSERT_TRUE(tileSelectionCopy(s, copy));
  EXPECT_NE(readU32(copy + sel::kImage), readU32(s + sel::kImage));
  EXPECT_EQ(memSize(readU32(copy + sel::kImage)), memSize(readU32(s + sel::kImage)));
  EXPECT_EQ(std::memcmp(copy, s, sel::kImage), 0);
  tileSelectionFreeImage(copy);

  // An index past the last chunk leaves no image, so tiling uses the built-in tile.
  writeI32(s + sel::kIndex, 2);
  EXPECT_FALSE(tileSelectionLoad(s));
  EXPECT_EQ(readU32(s + sel::kImage), 0u);
  MemBlock out(tileFill(s, 90, 90)), builtIn(tileBuiltInImage());
  MemLock l1(out.get()), l2(builtIn.get());
  BitmapView v1 = BitmapView::of(l1), v2 = BitmapView::of(l2);
  EXPECT_EQ(std::memcmp(v1.pixelData(), v2.pixelData(), v1.pixelBytes()), 0);

  uint8_t unterminated[sel::kSize];
  std::memset(unterminated, 'a', sizeof unterminated);
  writeU32(unterminated + sel::kImage, 0);
  EXPECT_EQ(tileSelectionPath(unterminated).size(), sel::kPathWidth);
  EXPECT_FALSE(tileSelectionLoad(unterminated));
}

}  // namespace
}  // namespace gw
