// Text layout and masks: the advance table with character space and accent
// folding, the glyph mask as the maximum of letter coverages, the outline ring.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/text_layout.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

constexpr const char* kFace = "Liberation Sans";

std::vector<uint8_t> pixels(MemHandle mask, int32_t* w = nullptr, int32_t* h = nullptr) {
  MemLock lock(mask);
  BitmapView v = BitmapView::of(lock);
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < v.height(); ++y) out.insert(out.end(), v.row(y), v.row(y) + v.width());
  if (w) *w = v.width();
  if (h) *h = v.height();
  return out;
}

MemHandle maskFrom(int32_t w, int32_t h, const std::vector<uint8_t>& values) {
  MemHandle m = createGreyMask(w, h);
  MemLock lock(m);
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) v.row(y)[x] = values[size_t(y * w + x)];
  return m;
}

TEST(TextLayout, AccentFoldingTable) {
  EXPECT_EQ(foldAccent(0xC0), 'A');  // À
  EXPECT_EQ(foldAccent(0xC7), 'C');  // Ç
  EXPECT_EQ(foldAccent(0xD1), 'N');  // Ñ
  EXPECT_EQ(foldAccent(0xD8), 'O');  // Ø
  EXPECT_EQ(foldAccent(0xDD), 'Y');  // Ý
  EXPECT_EQ(foldAccent(0xDF), 'B');  // ß
  EXPECT_EQ(foldAccent(0xE5), 'a');  // å
  EXPECT_EQ(foldAccent(0xF0), 'o');  // ð
  EXPECT_EQ(foldAccent(0xFD), 'y');  // ý
  EXPECT_EQ(foldAccent(0xFF), 'y');  // ÿ
  // Not in the table: unchanged.
  for (int c : {int('A'), int('z'), int(' '), 0xC6, 0xD0, 0xD7, 0xDE, 0xE6, 0xF7, 0xFE}) EXPECT_EQ(foldAccent(uint8_t(c)), c);
  int folded = 0;
  for (int c = 0; c < 256; ++c) folded += foldAccent(uint8_t(c)) != c;
  EXPECT_EQ(folded, 57);
}

TEST(TextLayout, AdvancesCarryCharacterSpaceAndTheTrailingBlank) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 50, true, false}));
  for (int32_t space : {50, 90, 100, 150}) {
    TextLayout layout;
    ASSERT_TRUE(layoutText(font, "Wave", space, true, &layout));
    ASSERT_EQ(layout.letters, "Wave ");
    ASSERT_EQ(layout.advances.size(), 5u);
    EXPECT_EQ(layout.height, 50);
    int32_t sum = 0;
    for (size_t i = 0; i < layout.letters.size(); ++i) {
      int32_t raw = 0;
      ASSERT_TRUE(rasteriserMeasureLetter(font, uint8_t(layout.letters[i]), &raw));
      EXPECT_EQ(layout.advances[i], raw * space / 100);
      sum += layout.advances[i];
    }
    EXPECT_EQ(layout.width, sum);
  }
  TextLayout empty;
  ASSERT_TRUE(layoutText(font, "", 100, true, &empty));
  EXPECT_EQ(empty.letters, " ");
  EXPECT_GT(empty.width, 0);
}

TEST(TextLayout, AccentCompensationMeasuresPlainButRendersAccented) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 60, false, false}));
  int32_t b = 0, sz = 0;
  ASSERT_TRUE(rasteriserMeasureLetter(font, 'B', &b));
  ASSERT_TRUE(rasteriserMeasureLetter(font, 0xDF, &sz));  // ß
  ASSERT_NE(b, sz) << "the test needs letters of different widths";
  TextLayout on, off;
  ASSERT_TRUE(layoutText(font, "\xDF", 100, true, &on));
  ASSERT_TRUE(layoutText(font, "\xDF", 100, false, &off));
  EXPECT_EQ(on.advances[0], b);
  EXPECT_EQ(off.advances[0], sz);

  // The rendered letter keeps its accent: É against E.
  TextLayout accented, plain;
  ASSERT_TRUE(layoutText(font, "\xC9", 100, true, &accented));
  ASSERT_TRUE(layoutText(font, "E", 100, true, &plain));
  EXPECT_EQ(accented.width, plain.width);
  MemBlock a(renderGlyphMask(font, accented, 80, 60, 0, 0, 255, true));
  MemBlock p(renderGlyphMask(font, plain, 80, 60, 0, 0, 255, true));
  ASSERT_TRUE(a && p);
  EXPECT_NE(pixels(a.get()), pixels(p.get()));
}

TEST(TextLayout, GlyphMaskKeepsTheLargestCoverageOfOverlappingLetters) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 48, true, false}));
  TextLayout both, first, second;
  // At half spacing "A" and "V" overlap.
  ASSERT_TRUE(layoutText(font, "AV", 50, true, &both));
  ASSERT_TRUE(layoutText(font, "A", 50, true, &first));
  ASSERT_TRUE(layoutText(font, "V", 50, true, &second));
  const int32_t w = 120, h = 60, x = 7, y = 3;
  MemBlock mb(renderGlyphMask(font, both, w, h, x, y, 200, true));
  MemBlock m1(renderGlyphMask(font, first, w, h, x, y, 200, true));
  MemBlock m2(renderGlyphMask(font, second, w, h, x + both.advances[0], y, 200, true));
  ASSERT_TRUE(mb && m1 && m2);
  std::vector<uint8_t> pb = pixels(mb.get()), p1 = pixels(m1.get()), p2 = pixels(m2.get());
  int overlap = 0;
  for (size_t i = 0; i < pb.size(); ++i) {
    ASSERT_EQ(pb[i], std::max(p1[i], p2[i])) << "pixel " << i;
    overlap += p1[i] && p2[i];
  }
  EXPECT_GT(overlap, 0);
  EXPECT_EQ(*std::max_element(pb.begin(), pb.end()), 200);
}

TEST(TextLayout, GlyphMaskDropsWhatFallsOutsideTheCanvas) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 40, false, false}));
  TextLayout layout;
  ASSERT_TRUE(layoutText(font, "Hello", 100, true, &layout));
  MemBlock inside(renderGlyphMask(font, layout, layout.width, layout.height, 0, 0, 255, true));
  MemBlock shifted(renderGlyphMask(font, layout, layout.width, layout.height, -30, -10, 255, true));
  MemBlock gone(renderGlyphMask(font, layout, layout.width, layout.height, 5000, 0, 255, true));
  MemBlock above(renderGlyphMask(font, layout, layout.width, layout.height, 0, -1000, 255, true));
  ASSERT_TRUE(inside && shifted && gone && above);
  std::vector<uint8_t> pi = pixels(inside.get()), ps = pixels(shifted.get());
  // The shifted mask is the original moved up-left by (30, 10).
  for (int32_t y = 0; y + 10 < layout.height; ++y)
    for (int32_t x = 0; x + 30 < layout.width; ++x)
      ASSERT_EQ(ps[size_t(y * layout.width + x)], pi[size_t((y + 10) * layout.width + x + 30)]);
  for (uint8_t v : pixels(gone.get())) ASSERT_EQ(v, 0);
  for (uint8_t v : pixels(above.get())) ASSERT_EQ(v, 0);
}

TEST(TextLayout, OutlineIsARingOutsideAndTheInverseCoverageInside) {
  // A 3 x 3 block of full cover with one partly covered pixel beside it.
  const int32_t w = 9, h = 7;
  std::vector<uint8_t> g(size_t(w * h), 0);
  for (int y = 2; y <= 4; ++y)
    for (int x = 3; x <= 5; ++x) g[size_t(y * w + x)] = 255;
  g[size_t(3 * w + 6)] = 100;
  MemBlock glyph(maskFrom(w, h, g));
  MemBlock outline(outlineFromGlyphMask(glyph.get()));
  ASSERT_TRUE(outline);
  std::vector<uint8_t> o = pixels(outline.get());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t gv = g[size_t(y * w + x)];
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int xx = x + dx, yy = y + dy;
          if (xx >= 0 && yy >= 0 && xx < w && yy < h && g[size_t(yy * w + xx)]) near = true;
        }
      uint8_t expected = gv ? uint8_t(255 - gv) : (near ? 255 : 0);
      EXPECT_EQ(o[size_t(y * w + x)], expected) << x << "," << y;
    }
  }
  EXPECT_EQ(o[size_t(3 * w + 6)], 155);
  EXPECT_EQ(o[size_t(3 * w + 7)], 255);
  EXPECT_EQ(o[size_t(3 * w + 4)], 0);
}

TEST(TextLayout, OutlineMaskIsFourColumnsWiderThanItsCanvas) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 30, true, false}));
  TextLayout layout;
  ASSERT_TRUE(layoutText(font, "Im", 100, true, &layout));
  int32_t w = 0, h = 0;
  MemBlock outline(renderOutlineMask(font, layout, layout.width, layout.height, 0, 0, true));
  ASSERT_TRUE(outline);
  std::vector<uint8_t> o = pixels(outline.get(), &w, &h);
  EXPECT_EQ(w, layout.width + 4);
  EXPECT_EQ(h, layout.height);
  EXPECT_NE(std::count(o.begin(), o.end(), uint8_t(255)), 0);
}

TEST(TextLayout, MaskFailuresLeakNothing) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 30, false, false}));
  TextLayout layout;
  ASSERT_TRUE(layoutText(font, "leak", 100, true, &layout));
  long before = testing::liveBlockCount();
  for (int n = 0; n < 12; ++n) {
    testing::failAllocationsAfter(n);
    MemBlock glyph(renderGlyphMask(font, layout, layout.width, layout.height, 0, 0, 255, true));
    MemBlock outline(renderOutlineMask(font, layout, layout.width, layout.height, 0, 0, true));
    testing::failAllocationsAfter(-1);
  }
  EXPECT_EQ(testing::liveBlockCount(), before);
}

}  // namespace
}  // namespace gw
