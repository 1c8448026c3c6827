// The letter rasteriser: its request record, cell-height sizing, face
// substitution, intensity and antialiasing of the letter masks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "platform/rasteriser.h"

namespace gw {
namespace {

constexpr const char* kFace = "Liberation Sans";

struct MaskStats {
  int32_t width = 0, height = 0;
  int maxValue = 0;
  bool onlyZeroOr = true;  // every value is 0 or maxValue
};

MaskStats stats(MemHandle mask) {
  MaskStats s;
  MemLock lock(mask);
  BitmapView v = BitmapView::of(lock);
  s.width = v.width();
  s.height = v.height();
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) s.maxValue = std::max(s.maxValue, int(v.row(y)[x]));
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x)
      if (v.row(y)[x] != 0 && v.row(y)[x] != s.maxValue) s.onlyZeroOr = false;
  return s;
}

TEST(TextRasteriser, LetterRequestFieldsSitAtTheirOffsets) {
  using namespace letter_request;
  EXPECT_EQ(kSize, 1000u);
  EXPECT_EQ(kCommand, 24u);
  EXPECT_EQ(kMode, 28u);
  EXPECT_EQ(kLetter, 32u);
  EXPECT_EQ(kAdvance, 36u);
  EXPECT_EQ(kHeight, 40u);
  EXPECT_EQ(kWeight, 44u);
  EXPECT_EQ(kItalic, 48u);
  EXPECT_EQ(kAntialias, 52u);
  EXPECT_EQ(kIntensity, 56u);
  EXPECT_EQ(kDeviceContext, 60u);
  EXPECT_EQ(kFaceName, 64u);
  EXPECT_EQ(kFaceNameWidth, 32u);
  EXPECT_EQ(kMask, 96u);
  EXPECT_EQ(kMaskLeft, 100u);
  EXPECT_EQ(kMaskTop, 104u);
  EXPECT_EQ(kRasteriserLetter, 7u);
  EXPECT_EQ(kLetterRender, 2u);
}

TEST(TextRasteriser, ARecordNamingItsFontMeasuresAndRendersWithoutAnOpenFont) {
  uint8_t rec[letter_request::kSize] = {};
  writeU32(rec + letter_request::kCommand, kRasteriserLetter);
  writeU32(rec + letter_request::kMode, kLetterMeasure);
  writeU32(rec + letter_request::kLetter, 'W');
  writeI32(rec + letter_request::kHeight, 40);
  writeI32(rec + letter_request::kWeight, 400);
  writeFixedText(rec + letter_request::kFaceName, letter_request::kFaceNameWidth, kFace);
  ASSERT_EQ(rasteriserProc(rec, sizeof rec), 1);
  int32_t advance = readI32(rec + letter_request::kAdvance);
  EXPECT_GT(advance, 20);
  EXPECT_LT(advance, 60);

  writeU32(rec + letter_request::kMode, kLetterRender);
  writeU32(rec + letter_request::kAntialias, 1);
  writeU32(rec + letter_request::kIntensity, 0xFFFFFF);
  ASSERT_EQ(rasteriserProc(rec, sizeof rec), 1);
  MemBlock mask(readU32(rec + letter_request::kMask));
  ASSERT_TRUE(mask);
  EXPECT_EQ(stats(mask.get()).maxValue, 255);
}

TEST(TextRasteriser, RefusesRequestsItCannotCarryOut) {
  uint8_t rec[letter_request::kSize] = {};
  writeU32(rec + letter_request::kCommand, kRasteriserLetter);
  writeI32(rec + letter_request::kHeight, 20);
  writeFixedText(rec + letter_request::kFaceName, letter_request::kFaceNameWidth, kFace);
  writeU32(rec + letter_request::kMode, 1);  // neither measure nor render
  EXPECT_EQ(rasteriserProc(rec, sizeof rec), 0);
  writeU32(rec + letter_request::kMode, kLetterMeasure);
  writeU32(rec + letter_request::kLetter, 0x141);  // not a single byte
  EXPECT_EQ(rasteriserProc(rec, sizeof rec), 0);
  writeU32(rec + letter_request::kLetter, 'a');
  writeI32(rec + letter_request::kHeight, 0);  // no such font
  EXPECT_EQ(rasteriserProc(rec, sizeof rec), 0);
  writeI32(rec + letter_request::kHeight, 20);
  writeU32(rec + letter_request::kDeviceContext, 0x7FFFFFF0);  // not an open font
  EXPECT_EQ(rasteriserProc(rec, sizeof rec), 0);
  EXPECT_EQ(rasteriserProc(rec, 999), 0);  // short record
  EXPECT_EQ(rasteriserProc(nullptr, 1000), 0);
}

TEST(TextRasteriser, HeightIsTheCellAndEveryLetterStaysInsideIt) {
  for (int32_t height : {12, 40, 92}) {
    RasteriserFont font;
    ASSERT_TRUE(font.open({kFace, height, true, false}));
    EXPECT_EQ(font.metrics().height, height);
    EXPECT_EQ(font.metrics().ascent + font.metrics().descent, height);
    EXPECT_GT(font.metrics().ascent, font.metrics().descent);
    // Capitals with accents reach highest, descenders lowest.
    for (uint8_t letter : {uint8_t(0xC9), uint8_t(0xC5), uint8_t('g'), uint8_t('j'), uint8_t('y')}) {
      LetterMask m;
      ASSERT_TRUE(rasteriserRenderLetter(font, letter, 0, true, 255, &m));
      MemBlock owned(m.mask);
      ASSERT_TRUE(owned);
      int32_t h = 0;
      bitmapQuery(m.mask, nullptr, &h, nullptr, nullptr);
      // Hinting may push a pixel of ink past the cell at small sizes.
      const int32_t slack = height < 20 ? 1 : 0;
      EXPECT_GE(m.top, -slack) << "letter " << int(letter) << " at " << height;
      EXPECT_LE(m.top + h, height + slack) << "letter " << int(letter) << " at " << height;
    }
  }
}

TEST(TextRasteriser, MissingFamiliesAreSubstituted) {
  for (const char* face : {"Impact", "Arial", "No Such Family At All", ""}) {
    RasteriserFont font;
    ASSERT_TRUE(font.open({face, 30, true, false})) << face;
    int32_t advance = 0;
    EXPECT_TRUE(rasteriserMeasureLetter(font, 'M', &advance)) << face;
    EXPECT_GT(advance, 0) << face;
  }
  RasteriserFont tooSmall, tooLarge;
  EXPECT_FALSE(tooSmall.open({kFace, 0, false, false}));
  EXPECT_FALSE(tooLarge.open({kFace, 5000, false, false}));
}

TEST(TextRasteriser, BoldAndItalicChangeTheLetters) {
  RasteriserFont regular, bold, italic;
  ASSERT_TRUE(regular.open({kFace, 40, false, false}));
  ASSERT_TRUE(bold.open({kFace, 40, true, false}));
  ASSERT_TRUE(italic.open({kFace, 40, false, true}));
  int32_t a = 0, b = 0;
  ASSERT_TRUE(rasteriserMeasureLetter(regular, 'm', &a));
  ASSERT_TRUE(rasteriserMeasureLetter(bold, 'm', &b));
  EXPECT_GT(b, a);
  LetterMask r, i;
  ASSERT_TRUE(rasteriserRenderLetter(regular, 'l', a, true, 255, &r));
  ASSERT_TRUE(rasteriserRenderLetter(italic, 'l', a, true, 255, &i));
  MemBlock ro(r.mask), io(i.mask);
  // A slanted stem is wider than an upright one.
  EXPECT_GT(stats(i.mask).width, stats(r.mask).width);
}

TEST(TextRasteriser, IntensityScalesCoverageAndAntialiasOffGivesTwoValues) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 60, false, false}));
  LetterMask full, half, mono;
  ASSERT_TRUE(rasteriserRenderLetter(font, 'O', 0, true, 255, &full));
  ASSERT_TRUE(rasteriserRenderLetter(font, 'O', 0, true, 128, &half));
  ASSERT_TRUE(rasteriserRenderLetter(font, 'O', 0, false, 200, &mono));
  MemBlock a(full.mask), b(half.mask), c(mono.mask);
  MaskStats sf = stats(full.mask), sh = stats(half.mask), sm = stats(mono.mask);
  EXPECT_EQ(sf.maxValue, 255);
  EXPECT_FALSE(sf.onlyZeroOr);  // antialiased edges
  EXPECT_EQ(sh.maxValue, 128);
  EXPECT_EQ(sh.width, sf.width);
  EXPECT_EQ(sm.maxValue, 200);
  EXPECT_TRUE(sm.onlyZeroOr);
  // Same placement whatever the intensity.
  EXPECT_EQ(full.left, half.left);
  EXPECT_EQ(full.top, half.top);
}

TEST(TextRasteriser, BlankLeavesNoMaskAndLatinOneLettersAreTheirOwn) {
  RasteriserFont font;
  ASSERT_TRUE(font.open({kFace, 40, false, false}));
  LetterMask blank;
  ASSERT_TRUE(rasteriserRenderLetter(font, ' ', 0, true, 255, &blank));
  EXPECT_EQ(blank.mask, 0u);
  int32_t space = 0;
  EXPECT_TRUE(rasteriserMeasureLetter(font, ' ', &space));
  EXPECT_GT(space, 0);

  LetterMask e, eAcute;
  ASSERT_TRUE(rasteriserRenderLetter(font, 'e', 0, true, 255, &e));
  ASSERT_TRUE(rasteriserRenderLetter(font, 0xE9, 0, true, 255, &eAcute));  // é
  MemBlock a(e.mask), b(eAcute.mask);
  EXPECT_LT(eAcute.top, e.top);  // the accent rises above the letter
}

TEST(TextRasteriser, FamiliesAreSortedAndUnique) {
  std::vector<std::string> families = rasteriserFontFamilies();
  ASSERT_FALSE(families.empty());
  EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
  EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
  EXPECT_NE(std::find(families.begin(), families.end(), std::string(kFace)), families.end());
}

}  // namespace
}  // namespace gw
