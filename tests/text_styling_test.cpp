// The frame renderer: padding, canvas size, shadow placement, the blend and
// outline rules, the alpha mask, and clean failure.
#include <gtest/gtest.h>

#include "tests/allocation_failures.h"

#include <cstdint>
#include <vector>

#include "base/le_bytes.h"
#include "effects/text_layout.h"
#include "effects/text_styling.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

constexpr const char* kFace = "Liberation Sans";

void plain(MaterialBytes* record, uint32_t colour) {
  materialRecordDefaults(record->data(), false);
  writeU32(record->data() + material::kColour, colour);
}

TextStyle baseStyle() {
  TextStyle s;
  s.text = "Hi!";
  s.fontFace = kFace;
  s.fontSize = 40;
  s.bold = true;
  s.characterSpace = 100;
  plain(&s.fillMaterial, 0x0000FF);
  plain(&s.shadowMaterial, 0x00FF00);
  plain(&s.backgroundMaterial, 0xFFFFFF);
  return s;
}

struct Image {
  int32_t width = 0, height = 0;
  int bits = 0;
  std::vector<uint32_t> pixels;  // with alpha for 32-bit images
  uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y * width + x)]; }
};

Image read(MemHandle h) {
  Image img;
  MemLock lock(h);
  BitmapView v = BitmapView::of(lock);
  img.width = v.width();
  img.height = v.height();
  img.bits = v.bits();
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) img.pixels.push_back(uint32_t(v.getPixel(x, y)));
  return img;
}

Image render(const TextStyle& s, Motion m = {}) {
  MemBlock frame(renderTextFrame(s, m));
  EXPECT_TRUE(frame);
  return frame ? read(frame.get()) : Image();
}

// W and H of the style's text.
void measure(const TextStyle& s, int32_t* w, int32_t* h) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({s.fontFace, s.fontSize, s.bold, s.italic}));
  TextLayout layout;
  ASSERT_TRUE(layoutText(font, s.text, s.characterSpace, s.accentCompensation, &layout));
  *w = layout.width;
  *h = layout.height;
}

std::vector<uint8_t> glyphMask(const TextStyle& s, int32_t w, int32_t h, int32_t x, int32_t y, uint8_t intensity) {
  RasteriserFont font;
  EXPECT_TRUE(font.open({s.fontFace, s.fontSize, s.bold, s.italic}));
  TextLayout layout;
  EXPECT_TRUE(layoutText(font, s.text, s.characterSpace, s.accentCompensation, &layout));
  MemBlock mask(renderGlyphMask(font, layout, w, h, x, y, intensity, s.antialias));
  std::vector<uint8_t> out;
  MemLock lock(mask.get());
  BitmapView v = BitmapView::of(lock);
  for (int32_t yy = 0; yy < v.height(); ++yy) out.insert(out.end(), v.row(yy), v.row(yy) + v.width());
  return out;
}

TEST(TextStyling, PaddingGrowsWithSoftnessAndOutlineNeedsOne) {
  EXPECT_EQ(effectivePadding(0, 0, false), 0);
  EXPECT_EQ(effectivePadding(0, 9, false), 1);
  EXPECT_EQ(effectivePadding(0, 10, false), 2);
  EXPECT_EQ(effectivePadding(0, 20, false), 3);
  EXPECT_EQ(effectivePadding(5, 40, false), 10);
  EXPECT_EQ(effectivePadding(0, 0, true), 1);
  EXPECT_EQ(effectivePadding(1, 0, true), 1);
  EXPECT_EQ(effectivePadding(2, 0, true), 2);
  EXPECT_EQ(effectivePadding(0, 9, true), 1);
  EXPECT_EQ(effectivePadding(0, 10, true), 2);
}

TEST(TextStyling, ShadowDirectionTable) {
  const int expected[8][4] = {{1, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 0},
                              {1, 0, 0, 0}, {1, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 1, 1}};
  for (int d = 0; d < 8; ++d) {
    Offset text, shadow;
    shadowShifts(d, 6, &text, &shadow);
    EXPECT_EQ(text.x, expected[d][0] * 6) << d;
    EXPECT_EQ(text.y, expected[d][1] * 6) << d;
    EXPECT_EQ(shadow.x, expected[d][2] * 6) << d;
    EXPECT_EQ(shadow.y, expected[d][3] * 6) << d;
  }
  for (int d : {-1, 8, 255, 1 << 30}) {
    Offset text{9, 9}, shadow{9, 9};
    shadowShifts(d, 6, &text, &shadow);
    EXPECT_EQ(text.x | text.y | shadow.x | shadow.y, 0) << d;
  }
}

TEST(TextStyling, BlendRule) {
  EXPECT_EQ(blendColour(0xFFFFFF, 0x000000, 0), 0xFFFFFFu);
  EXPECT_EQ(blendColour(0xFFFFFF, 0x000000, 255), 0x000000u);
  // (255 * 127 + 0 * 128) / 255 = 127 per channel; (10 * 155 + 200 * 100) / 255 = 84.
  EXPECT_EQ(blendColour(0xFFFFFF, 0x000000, 128), 0x7F7F7Fu);
  EXPECT_EQ(blendColour(0x00000A, 0x0000C8, 100), 0x000054u);
}

TEST(TextStyling, CanvasIsTwicePaddingAroundTheTextPlusTheShadowOffset) {
  TextStyle s = baseStyle();
  int32_t w = 0, h = 0;
  measure(s, &w, &h);
  s.padding = 3;
  s.softness = 0;
  Image off = render(s);
  EXPECT_EQ(off.width, 2 * 3 + w);
  EXPECT_EQ(off.height, 2 * 3 + h);
  EXPECT_EQ(off.bits, 24);
  s.shadowEnable = true;
  s.shadowOffset = 7;
  s.softness = 10;  // adds 2
  Image on = render(s);
  EXPECT_EQ(on.width, 2 * 5 + w + 7);
  EXPECT_EQ(on.height, 2 * 5 + h + 7);
  // Softness without a shadow still pads.
  s.shadowEnable = false;
  s.softness = 9;
  Image soft = render(s);
  EXPECT_EQ(soft.width, 2 * 4 + w);
}

TEST(TextStyling, LettersBlendTheFillOverTheBackgroundByTheirMask) {
  TextStyle s = baseStyle();
  s.padding = 2;
  s.fillOpacity = 180;
  Image img = render(s);
  std::vector<uint8_t> mask = glyphMask(s, img.width, img.height, 2, 2, 180);
  for (int32_t y = 0; y < img.height; ++y)
    for (int32_t x = 0; x < img.width; ++x)
      ASSERT_EQ(img.at(x, y), blendColour(0xFFFFFF, 0x0000FF, mask[size_t(y * img.width + x)])) << x << "," << y;
}

TEST(TextStyling, SoftnessZeroLeavesTheShadowSharp) {
  TextStyle s = baseStyle();
  s.fillOpacity = 0;  // the shadow alone shows
  s.shadowEnable = true;
  s.shadowDirection = 7;
  s.shadowOffset = 4;
  s.softness = 0;
  Image sharp = render(s);
  std::vector<uint8_t> mask = glyphMask(s, sharp.width, sharp.height, 4, 4, 255);
  for (int32_t y = 0; y < sharp.height; ++y)
    for (int32_t x = 0; x < sharp.width; ++x)
      ASSERT_EQ(sharp.at(x, y), blendColour(0xFFFFFF, 0x00FF00, mask[size_t(y * sharp.width + x)]));

  s.softness = 20;
  Image soft = render(s);
  const int32_t p = 3;
  mask = glyphMask(s, soft.width, soft.height, p + 4, p + 4, 255);
  int differing = 0;
  for (int32_t y = 0; y < soft.height; ++y)
    for (int32_t x = 0; x < soft.width; ++x)
      differing += soft.at(x, y) != blendColour(0xFFFFFF, 0x00FF00, mask[size_t(y * soft.width + x)]);
  EXPECT_GT(differing, 100);
}

TEST(TextStyling, ADirectionOutsideTheTablePutsTextAndShadowOnOneSpot) {
  TextStyle shadowOnly = baseStyle();
  shadowOnly.fillOpacity = 0;
  shadowOnly.shadowEnable = true;
  shadowOnly.shadowDirection = 8;
  shadowOnly.shadowOffset = 5;
  plain(&shadowOnly.shadowMaterial, 0x0000FF);
  Image a = render(shadowOnly);

  TextStyle lettersOnly = baseStyle();  // fill 0x0000FF at full opacity
  Image b = render(lettersOnly);
  ASSERT_EQ(a.width, b.width + 5);
  for (int32_t y = 0; y < b.height; ++y)
    for (int32_t x = 0; x < b.width; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
  // The canvas still grows by the offset, and the growth stays background.
  for (int32_t y = 0; y < a.height; ++y) EXPECT_EQ(a.at(a.width - 1, y), 0xFFFFFFu);
}

TEST(TextStyling, OutlinePaintsOneColumnLeftOfItsMask) {
  TextStyle s = baseStyle();
  s.fillOpacity = 0;
  s.outlineEnable = true;
  s.outlineColour = 0x102030;
  s.padding = 4;
  Image img = render(s);
  RasteriserFont font;
  ASSERT_TRUE(font.open({s.fontFace, s.fontSize, s.bold, s.italic}));
  TextLayout layout;
  ASSERT_TRUE(layoutText(font, s.text, s.characterSpace, true, &layout));
  MemBlock outline(renderOutlineMask(font, layout, img.width, img.height, 4, 4, true));
  MemLock lock(outline.get());
  BitmapView o = BitmapView::of(lock);
  for (int32_t y = 0; y < img.height; ++y)
    for (int32_t x = 0; x < img.width; ++x)
      ASSERT_EQ(img.at(x, y), blendColour(0xFFFFFF, 0x102030, o.row(y)[x + 1])) << x << "," << y;
}

TEST(TextStyling, AlphaOutputRaisesTheMaskAndNeverPaintsTheShadow) {
  TextStyle s = baseStyle();
  s.fillOpacity = 0;
  s.shadowEnable = true;
  s.softness = 12;
  s.alphaMask = true;
  Image img = render(s);
  ASSERT_EQ(img.bits, 32);
  int withAlpha = 0;
  for (uint32_t v : img.pixels) {
    ASSERT_EQ(v & 0xFFFFFF, 0xFFFFFFu);  // background colour everywhere
    withAlpha += (v >> 24) != 0;
  }
  EXPECT_GT(withAlpha, 100);

  // Letters at full opacity: alpha 255 where they fully cover.
  s.fillOpacity = 255;
  s.shadowEnable = false;
  Image letters = render(s);
  int32_t p = effectivePadding(0, 12, false);
  std::vector<uint8_t> mask = glyphMask(s, letters.width, letters.height, p, p, 255);
  for (int32_t y = 0; y < letters.height; ++y)
    for (int32_t x = 0; x < letters.width; ++x) {
      uint8_t m = mask[size_t(y * letters.width + x)];
      ASSERT_EQ(letters.at(x, y) >> 24, m);
      ASSERT_EQ(letters.at(x, y) & 0xFFFFFF, blendColour(0xFFFFFF, 0x0000FF, m));
    }
}

TEST(TextStyling, AlphaBackgroundIsThePlainGrey) {
  TextStyle s = baseStyle();
  s.alphaBackground = true;
  s.alphaGreyBack = 0x7F7F7F;
  Image img = render(s);
  EXPECT_EQ(img.at(0, 0), 0x7F7F7Fu);
  EXPECT_EQ(img.at(img.width - 1, img.height - 1), 0x7F7F7Fu);
}

TEST(TextStyling, MotionMovesTheLettersAndNotTheCanvas) {
  TextStyle s = baseStyle();
  Image rest = render(s);
  Image moved = render(s, {5, -3});
  ASSERT_EQ(rest.width, moved.width);
  ASSERT_EQ(rest.height, moved.height);
  for (int32_t y = 3; y < rest.height; ++y)
    for (int32_t x = 0; x + 5 < rest.width; ++x) ASSERT_EQ(moved.at(x + 5, y - 3), rest.at(x, y));
  Image away = render(s, {100000, 0});
  for (uint32_t v : away.pixels) ASSERT_EQ(v, 0xFFFFFFu);
}

TEST(TextStyling, FailuresReturnNoFrameAndLeakNothing) {
  TextStyle s = baseStyle();
  s.shadowEnable = true;
  s.softness = 20;
  s.outlineEnable = true;
  s.alphaMask = true;
  { MemBlock warm(renderTextFrame(s, {})); }  // font and letter caches filled
  int failed = expectNoLeaksWhenAllocationsFail(40, [&] { return renderTextFrame(s, {}); });
  EXPECT_GT(failed, 5);

  TextStyle noFont = baseStyle();
  noFont.fontSize = 0;
  EXPECT_EQ(renderTextFrame(noFont, {}), 0u);
}

}  // namespace
}  // namespace gw
