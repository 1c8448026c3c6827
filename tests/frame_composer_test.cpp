// The per-build line and the frame composer every effect paints through:
// coverage planes (clipping, opacity rounding, outline ring), a prepared line
// that gives the very frames the one-call renderer gives, grown canvases, and
// the layers effects draw behind and in front of the letters.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/le_bytes.h"
#include "effects/frame_composer.h"
#include "effects/mask_plane.h"
#include "effects/styled_line.h"
#include "effects/text_styling.h"
#include "platform/bitmap.h"
#include "tests/allocation_failures.h"

namespace gw {
namespace {

void plain(MaterialBytes* record, uint32_t colour) {
  materialRecordDefaults(record->data(), false);
  writeU32(record->data() + material::kColour, colour);
}

TextStyle style() {
  TextStyle s;
  s.text = "Ag";
  s.fontFace = "Liberation Sans";
  s.fontSize = 36;
  s.bold = true;
  plain(&s.fillMaterial, 0x0000FF);
  plain(&s.shadowMaterial, 0x00FF00);
  plain(&s.backgroundMaterial, 0xFFFFFF);
  s.shadowEnable = true;
  s.softness = 6;
  s.outlineEnable = true;
  return s;
}

std::vector<uint8_t> bytesOf(MemHandle h) {
  MemLock lock(h);
  return std::vector<uint8_t>(lock.data(), lock.data() + lock.size());
}

TEST(MaskPlane, MaxIntoClipsAtEveryEdgeAndKeepsTheLarger) {
  MaskPlane dst, src;
  ASSERT_TRUE(dst.allocate(4, 3));
  ASSERT_TRUE(src.allocate(2, 2));
  src.pixels = {10, 20, 30, 40};
  dst.row(1)[1] = 25;
  maxInto(dst, src, 1, 1);
  EXPECT_EQ(dst.at(1, 1), 25);  // the larger stays
  EXPECT_EQ(dst.at(2, 1), 20);
  EXPECT_EQ(dst.at(2, 2), 40);
  for (int64_t at : {int64_t(-2), int64_t(4), -(int64_t(1) << 40), int64_t(1) << 40}) {
    MaskPlane copy = dst;
    maxInto(dst, src, at, 0);
    maxInto(dst, src, 0, at);
    EXPECT_EQ(dst.pixels, copy.pixels) << at;
  }
  maxInto(dst, src, -1, -1);  // only src's bottom-right lands, at (0, 0)
  EXPECT_EQ(dst.at(0, 0), 40);
  EXPECT_EQ(dst.at(-1, 0), 0);
}

TEST(MaskPlane, RefusesSizesItCannotHold) {
  MaskPlane p;
  EXPECT_FALSE(p.allocate(0, 5));
  EXPECT_FALSE(p.allocate(-3, 5));
  EXPECT_FALSE(p.allocate(1 << 20, 1 << 20));
  EXPECT_TRUE(p.empty());
}

TEST(MaskPlane, ScalingMatchesCoverageDrawnAtThatIntensity) {
  // A letter drawn at intensity I has (c * I + 127) / 255 where c is its full
  // coverage: scaling the full mask must give the same, or the shadow and
  // opacity of every effect would drift from "Simple"'s.
  MaskPlane p;
  ASSERT_TRUE(p.allocate(256, 1));
  for (int v = 0; v < 256; ++v) p.pixels[size_t(v)] = uint8_t(v);
  for (int intensity : {0, 1, 77, 128, 254, 255}) {
    MaskPlane q = p;
    scaleCoverage(q, uint8_t(intensity));
    for (int v = 0; v < 256; ++v) ASSERT_EQ(q.pixels[size_t(v)], (v * intensity + 127) / 255) << v;
  }
}

TEST(MaskPlane, OutlineIsTheRingOutsideAndTheInverseInside) {
  MaskPlane g, o;
  ASSERT_TRUE(g.allocate(5, 5));
  g.row(2)[2] = 200;
  ASSERT_TRUE(outlineOf(g, &o));
  EXPECT_EQ(o.at(2, 2), 55);
  for (int y = 1; y <= 3; ++y)
    for (int x = 1; x <= 3; ++x)
      if (x != 2 || y != 2) { EXPECT_EQ(o.at(x, y), 255) << x << "," << y; }
  EXPECT_EQ(o.at(0, 0), 0);
  EXPECT_EQ(o.at(4, 2), 0);
}

TEST(FrameComposer, PreparedLineGivesTheOneCallRenderersFrames) {
  for (bool alpha : {false, true}) {
    TextStyle s = style();
    s.alphaMask = alpha;
    s.fillOpacity = 180;
    s.shadowOpacity = 90;
    StyledLine line;
    ASSERT_TRUE(prepareStyledLine(s, &line));
    FrameComposer composer;
    ASSERT_TRUE(composer.prepare(line, line.restWidth, line.restHeight));
    for (Motion m : {Motion{0, 0}, Motion{-30, 0}, Motion{0, 17}, Motion{500, 0}}) {
      MemBlock a(composeLineAt(composer, line, m));
      MemBlock b(renderTextFrame(s, m));
      ASSERT_TRUE(a && b);
      EXPECT_EQ(bytesOf(a.get()), bytesOf(b.get())) << m.x << "," << m.y << " alpha " << alpha;
    }
  }
}

TEST(FrameComposer, AMarginMovesTheRestFrameOntoAGrownCanvas) {
  // Sharp shadow: a soft one is renormalised at the canvas edge, so a grown
  // canvas rightly softens it differently there.
  TextStyle s = style();
  s.softness = 0;
  StyledLine line;
  ASSERT_TRUE(prepareStyledLine(s, &line));
  FrameComposer rest, grown;
  ASSERT_TRUE(rest.prepare(line, line.restWidth, line.restHeight));
  ASSERT_TRUE(grown.prepare(line, line.restWidth + 30, line.restHeight + 20, {10, 5}));
  MemBlock a(composeLineAt(rest, line, {}));
  MemBlock b(composeLineAt(grown, line, {}));
  MemLock la(a.get()), lb(b.get());
  BitmapView va = BitmapView::of(la), vb = BitmapView::of(lb);
  ASSERT_EQ(vb.width(), va.width() + 30);
  for (int32_t y = 0; y < va.height(); ++y)
    for (int32_t x = 0; x < va.width(); ++x) ASSERT_EQ(va.getPixel(x, y), vb.getPixel(x + 10, y + 5));
  EXPECT_EQ(vb.getPixel(0, 0), 0xFFFFFF);
}

TEST(FrameComposer, ObjectsGoBehindTheLettersOrInFrontAndRaiseTheAlpha) {
  TextStyle s = style();
  s.shadowEnable = false;
  s.outlineEnable = false;
  s.alphaMask = true;
  StyledLine line;
  ASSERT_TRUE(prepareStyledLine(s, &line));
  FrameComposer composer;
  ASSERT_TRUE(composer.prepare(line, line.restWidth, line.restHeight));
  // A point inside the "A"'s ink and one in the empty corner.
  MaskPlane probe;
  ASSERT_TRUE(probe.allocate(line.restWidth, line.restHeight));
  stampLine(line, probe, composer.textOrigin().x, composer.textOrigin().y);
  int32_t inkX = -1, inkY = -1;
  for (int32_t y = 0; y < probe.height && inkX < 0; ++y)
    for (int32_t x = 0; x < probe.width; ++x)
      if (probe.at(x, y) == 255) { inkX = x; inkY = y; break; }
  ASSERT_GE(inkX, 0);
  auto dot = [](uint32_t colour) {
    return [colour](FrameLayer& layer) {
      for (int32_t y = 0; y < layer.canvas.height(); ++y)
        for (int32_t x = 0; x < layer.canvas.width(); ++x) layer.canvas.setPixel(x, y, colour);
      if (layer.alpha) layer.alpha->row(0)[0] = 255;
      return true;
    };
  };
  auto paint = [&](MaskPlane& m, Offset o) { stampLine(line, m, o.x, o.y); return true; };
  FrameHooks behind, front;
  behind.behind = dot(0x00FF00);
  front.front = dot(0x00FF00);
  MemBlock a(composer.compose(paint, behind)), b(composer.compose(paint, front));
  MemLock la(a.get()), lb(b.get());
  BitmapView va = BitmapView::of(la), vb = BitmapView::of(lb);
  EXPECT_EQ(va.getPixelWithAlpha(inkX, inkY), 0xFF0000FF);  // the letter covers what is behind
  EXPECT_EQ(vb.getPixelWithAlpha(inkX, inkY), 0xFF00FF00);  // what is in front covers the letter
  EXPECT_EQ(uint32_t(va.getPixelWithAlpha(0, 0)) >> 24, 255u);
}

TEST(FrameComposer, AShadowOfItsOwnAndARecolouredFill) {
  TextStyle s = style();
  s.softness = 0;
  s.outlineEnable = false;
  StyledLine line;
  ASSERT_TRUE(prepareStyledLine(s, &line));
  FrameComposer composer;
  ASSERT_TRUE(composer.prepare(line, line.restWidth, line.restHeight));
  auto paint = [&](MaskPlane& m, Offset o) { stampLine(line, m, o.x, o.y); return true; };
  int shadowCalls = 0;
  FrameHooks hooks;
  hooks.shadow = [&](MaskPlane& m, Offset o) {
    ++shadowCalls;
    EXPECT_EQ(o.x, composer.shadowOrigin().x);
    m.row(0)[0] = 255;  // a shadow only in the corner
    return true;
  };
  hooks.fill = [](const BitmapView& fill) {
    for (int32_t y = 0; y < fill.height(); ++y)
      for (int32_t x = 0; x < fill.width(); ++x) fill.setPixel(x, y, 0xFF0000);
    return true;
  };
  MemBlock plainFrame(composer.compose(paint)), hooked(composer.compose(paint, hooks));
  EXPECT_EQ(shadowCalls, 1);
  MemLock lp(plainFrame.get()), lh(hooked.get());
  BitmapView vp = BitmapView::of(lp), vh = BitmapView::of(lh);
  EXPECT_EQ(vh.getPixel(0, 0), 0x00FF00u);  // the shadow's colour where the hook put it
  size_t recoloured = 0, plainFill = 0, green = 0;
  for (int32_t y = 0; y < vh.height(); ++y)
    for (int32_t x = 0; x < vh.width(); ++x) {
      recoloured += vh.getPixel(x, y) == 0xFF0000u;
      plainFill += vp.getPixel(x, y) == 0x0000FFu;
      green += vh.getPixel(x, y) == 0x00FF00u;
    }
  EXPECT_GT(plainFill, 100u);
  EXPECT_EQ(recoloured, plainFill);  // the letters took the recoloured fill
  EXPECT_EQ(green, 1u);   // and the letters' own shape cast no shadow
  // The prepared fill itself is untouched.
  MemBlock again(composer.compose(paint));
  EXPECT_EQ(bytesOf(again.get()), bytesOf(plainFrame.get()));
}

TEST(FrameComposer, TheGroundLiesUnderTheLettersShadow) {
  TextStyle s = style();
  s.outlineEnable = false;
  s.softness = 0;
  StyledLine line;
  ASSERT_TRUE(prepareStyledLine(s, &line));
  FrameComposer composer;
  ASSERT_TRUE(composer.prepare(line, line.restWidth, line.restHeight));
  MaskPlane shadow, letters;
  ASSERT_TRUE(shadow.allocate(line.restWidth, line.restHeight));
  ASSERT_TRUE(letters.allocate(line.restWidth, line.restHeight));
  stampLine(line, shadow, composer.shadowOrigin().x, composer.shadowOrigin().y);
  stampLine(line, letters, composer.textOrigin().x, composer.textOrigin().y);
  int32_t sx = -1, sy = -1;  // fully in the shadow, clear of the letters
  for (int32_t y = 0; y < shadow.height && sx < 0; ++y)
    for (int32_t x = 0; x < shadow.width; ++x)
      if (shadow.at(x, y) == 255 && letters.at(x, y) == 0) { sx = x; sy = y; break; }
  ASSERT_GE(sx, 0);
  FrameHooks hooks;
  hooks.ground = [](FrameLayer& layer) {
    for (int32_t y = 0; y < layer.canvas.height(); ++y)
      for (int32_t x = 0; x < layer.canvas.width(); ++x) layer.canvas.setPixel(x, y, 0xFF0000);
    return true;
  };
  auto paint = [&](MaskPlane& m, Offset o) { stampLine(line, m, o.x, o.y); return true; };
  MemBlock frame(composer.compose(paint, hooks));
  MemLock lock(frame.get());
  BitmapView v = BitmapView::of(lock);
  EXPECT_EQ(uint32_t(v.getPixel(sx, sy)), 0x00FF00u);  // the shadow falls on the ground
  EXPECT_EQ(uint32_t(v.getPixel(0, 0)), 0xFF0000u);    // the ground covers the background
}

TEST(FrameComposer, HeldLettersGiveTheSameFrames) {
  for (bool alpha : {false, true}) {
    TextStyle s = style();
    s.alphaMask = alpha;
    s.fillOpacity = 200;
    StyledLine line;
    ASSERT_TRUE(prepareStyledLine(s, &line));
    FrameComposer composer;
    ASSERT_TRUE(composer.prepare(line, line.restWidth + 6, line.restHeight + 4, {3, 2}));
    auto paint = [&](MaskPlane& m, Offset o) { stampLine(line, m, o.x, o.y); return true; };
    FrameHooks hooks;
    hooks.behind = [](FrameLayer& layer) { layer.canvas.setPixel(1, 1, 0x123456); return true; };
    EXPECT_EQ(composer.compose(nullptr, hooks), 0u);  // nothing held yet
    MemBlock painted(composer.compose(paint, hooks));
    ASSERT_TRUE(composer.holdLetters(paint));
    MemBlock held(composer.compose(nullptr, hooks));
    ASSERT_TRUE(painted && held);
    EXPECT_EQ(bytesOf(painted.get()), bytesOf(held.get())) << alpha;
  }
}

// A line held for moving gives, at every step of a scroll across each edge
// and along each axis, the frame it gives softened whole; a motion along an
// axis it was not held for is softened whole. Alpha masks and opacities too.
TEST(FrameComposer, MovingShadowGivesTheSameFrames) {
  struct Case {
    bool alongX, alongY, alpha;
    int softness, shadowOpacity;
  };
  const Case cases[] = {{true, false, false, 6, 255}, {false, true, true, 40, 180}, {true, true, false, 17, 90}};
  for (const Case& c : cases) {
    TextStyle s = style();
    s.alphaMask = c.alpha;
    s.softness = c.softness;
    s.shadowOpacity = c.shadowOpacity;
    StyledLine line;
    ASSERT_TRUE(prepareStyledLine(s, &line));
    FrameComposer whole, moving;
    ASSERT_TRUE(whole.prepare(line, line.restWidth, line.restHeight));
    ASSERT_TRUE(moving.prepare(line, line.restWidth, line.restHeight));
    ASSERT_TRUE(moving.holdMovingShadow(c.alongX, c.alongY));
    const int32_t w = line.restWidth, h = line.restHeight;
    for (int32_t step = -w - 3; step <= w + 3; step += 7) {
      const int32_t rise = step * h / w;
      const Motion motions[] = {{c.alongX ? step : 0, c.alongY ? rise : 0}, {step % 5, rise % 3}};
      for (const Motion& m : motions) {
        auto painted = [&](MaskPlane& mask, Offset o) {
          stampLine(line, mask, int64_t(o.x) + m.x, int64_t(o.y) + m.y);
          return true;
        };
        MemBlock expected(whole.compose(painted)), got(composeLineAt(moving, line, m));
        ASSERT_TRUE(expected && got);
        ASSERT_EQ(bytesOf(expected.get()), bytesOf(got.get())) << m.x << "," << m.y << " softness " << c.softness;
      }
    }
  }
}

TEST(FrameComposer, FailsCleanlyWhenMemoryRunsOut) {
  TextStyle s = style();
  s.alphaMask = true;
  int failed = expectNoLeaksWhenAllocationsFail(40, [&]() -> MemHandle {
    StyledLine line;
    if (!prepareStyledLine(s, &line)) return 0;
    FrameComposer composer;
    if (!composer.prepare(line, line.restWidth, line.restHeight)) return 0;
    composer.holdMovingShadow(true, false);  // may fail; the frame must not
    return composeLineAt(composer, line, {3, 0});
  });
  EXPECT_GT(failed, 5);
}

}  // namespace
}  // namespace gw
