// GIMP gradients: reading (and refusing) .ggr text, GIMP's blends and colour
// models, and the fountain fitted to them, checked on the rendered ramp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/le_bytes.h"
#include "materials/fountain_fit.h"
#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "materials/gimp_gradient.h"
#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw {
namespace {

std::string segment(double l, double m, double r, const char* from, const char* to, int blend, int colour) {
  char line[256];
  std::snprintf(line, sizeof line, "%g %g %g %s 1 %s 1 %d %d\n", l, m, r, from, to, blend, colour);
  return line;
}

GimpGradient parse(const std::string& text) {
  GimpGradient g;
  std::string error;
  EXPECT_TRUE(parseGimpGradient(text, &g, &error)) << error << "\n" << text;
  return g;
}

// The fountain drawn 256 wide, as 0x00BBGGRR per column.
std::vector<uint32_t> rendered(const uint8_t* f) {
  std::vector<uint32_t> out;
  MemBlock bmp(fountainRender(f, 256, 1));
  MemLock lock(bmp.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) return out;
  const uint8_t* row = view.pixelData();  // one row: blue, green, red per pixel
  for (int x = 0; x < 256; ++x) out.push_back(uint32_t(row[3 * x + 2]) | (uint32_t(row[3 * x + 1]) << 8) | (uint32_t(row[3 * x]) << 16));
  return out;
}

int channelDifference(uint32_t a, const double rgb[3]) {
  int worst = 0;
  for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int((a >> (8 * c)) & 0xFF) - int(rgb[c] * 255 + 0.5)));
  return worst;
}

TEST(GimpGradientTest, ReadsOldAndNewSegmentLines) {
  GimpGradient g = parse("GIMP Gradient\r\nName: Sunrise glow\r\n2\r\n" +
                         segment(0, 0.25, 0.5, "0 0 0", "1 0 0", 0, 0) +
                         "0.5 0.75 1 1 0 0 1 1 1 0 0.5 2 1 0 1\n");
  EXPECT_EQ(g.name, "Sunrise glow");
  ASSERT_EQ(g.segments.size(), 2u);
  EXPECT_DOUBLE_EQ(g.segments[0].middle, 0.25);
  EXPECT_EQ(g.segments[1].blending, 2);
  EXPECT_EQ(g.segments[1].colouring, 1);
  EXPECT_DOUBLE_EQ(g.segments[1].rightColour[1], 1.0);
  EXPECT_EQ(parse("GIMP Gradient\n1\n" + segment(0, 0.5, 1, "0 0 0", "1 1 1", 0, 0)).name, "");
}

TEST(GimpGradientTest, RefusesMalformedFilesNamingTheLine) {
  const std::string good = segment(0, 0.5, 1, "0 0 0", "1 1 1", 0, 0);
  struct Case {
    std::string text;
    const char* says;
  } cases[] = {
      {"", "line 1"},
      {"GIMP Palette\n1\n" + good, "line 1"},
      {"GIMP Gradient\nName: x\n", "line 3"},
      {"GIMP Gradient\n0\n", "bad segment count"},
      {"GIMP Gradient\n-2\n" + good, "bad segment count"},
      {"GIMP Gradient\n1.5\n" + good, "bad segment count"},
      {"GIMP Gradient\n4000000000\n" + good, "more than 4096"},
      {"GIMP Gradient\n3\n" + good + good, "ends before"},
      {"GIMP Gradient\n1\n0 0.5 1 0 0 0 1 1 1 1\n", "13 or 15"},
      {"GIMP Gradient\n1\n0 0.5 1 0 0 0 1 1 1 1 1 0 0 9 9 9\n", "13 or 15"},
      {"GIMP Gradient\n1\n0 0.5 1 0 0 x 1 1 1 1 1 0 0\n", "13 or 15"},
      {"GIMP Gradient\n1\n0 0.5 1 nan 0 0 1 1 1 1 1 0 0\n", "13 or 15"},
      {"GIMP Gradient\n1\n" + segment(0.6, 0.5, 1, "0 0 0", "1 1 1", 0, 0), "positions"},
      {"GIMP Gradient\n1\n" + segment(0, 0.5, 1.5, "0 0 0", "1 1 1", 0, 0), "positions"},
      {"GIMP Gradient\n2\n" + segment(0.5, 0.7, 1, "0 0 0", "1 1 1", 0, 0) + good, "in order"},
      {"GIMP Gradient\n1\n" + segment(0, 0.5, 1, "0 0 0", "1 1 1", 6, 0), "blending"},
      {"GIMP Gradient\n1\n" + segment(0, 0.5, 1, "0 0 0", "1 1 1", 0, 3), "colour model"},
  };
  for (const Case& c : cases) {
    GimpGradient g;
    g.name = "untouched";
    std::string error;
    EXPECT_FALSE(parseGimpGradient(c.text, &g, &error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.says << " / " << error;
    EXPECT_EQ(g.name, "untouched");
  }
}

TEST(GimpGradientTest, BlendsAndColourModelsFollowGimp) {
  struct Case {
    int blend, colour;
    double t;
    double rgb[3];
  } cases[] = {
      {0, 0, 0.5, {0.5, 0.5, 0.5}},                  // linear, centred
      {1, 0, 0.5, {0.5, 0.5, 0.5}},                  // curved with a centred middle is linear
      {2, 0, 0.25, {0.1464466, 0.1464466, 0.1464466}},  // sine: (sin(-pi/2 + pi/4) + 1) / 2
      {3, 0, 0.5, {0.8660254, 0.8660254, 0.8660254}},  // sphere increasing: sqrt(1 - 0.25)
      {4, 0, 0.5, {0.1339746, 0.1339746, 0.1339746}},  // sphere decreasing
      {5, 0, 0.49, {0, 0, 0}},                        // step, before the middle
      {5, 0, 0.5, {1, 1, 1}},
  };
  for (const Case& c : cases) {
    GimpGradient g = parse("GIMP Gradient\n1\n" + segment(0, 0.5, 1, "0 0 0", "1 1 1", c.blend, c.colour));
    double rgb[3];
    gimpGradientColourAt(g, c.t, rgb);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(rgb[k], c.rgb[k], 1e-6) << c.blend << " at " << c.t;
  }
  // Red to blue: counter-clockwise through green, clockwise through magenta.
  double rgb[3];
  gimpGradientColourAt(parse("GIMP Gradient\n1\n" + segment(0, 0.5, 1, "1 0 0", "0 0 1", 0, 1)), 0.5, rgb);
  EXPECT_NEAR(rgb[0], 0, 1e-9);
  EXPECT_NEAR(rgb[1], 1, 1e-9);
  gimpGradientColourAt(parse("GIMP Gradient\n1\n" + segment(0, 0.5, 1, "1 0 0", "0 0 1", 0, 2)), 0.5, rgb);
  EXPECT_NEAR(rgb[0], 1, 1e-9);
  EXPECT_NEAR(rgb[1], 0, 1e-9);
  EXPECT_NEAR(rgb[2], 1, 1e-9);
  // An off-centre middle: half way at the middle.
  gimpGradientColourAt(parse("GIMP Gradient\n1\n" + segment(0, 0.2, 1, "0 0 0", "1 1 1", 0, 0)), 0.2, rgb);
  EXPECT_NEAR(rgb[0], 0.5, 1e-9);
}

TEST(GimpGradientTest, FittedFountainFollowsEveryBlendWithinAFewLevels) {
  const std::string two = "GIMP Gradient\n2\n";
  struct Case {
    const char* what;
    std::string text;
    int maxMarkers;
  } cases[] = {
      {"plain linear", "GIMP Gradient\n1\n" + segment(0, 0.5, 1, "0 0 0", "1 1 1", 0, 0), 0},
      {"linear, off-centre middle", "GIMP Gradient\n1\n" + segment(0, 0.2, 1, "0 0 1", "1 1 0", 0, 0), 1},
      {"sine", "GIMP Gradient\n1\n" + segment(0, 0.5, 1, "0 0.2 0", "1 0.9 0.4", 2, 0), 64},
      {"sphere and curved", two + segment(0, 0.2, 0.4, "1 0 0", "0 1 0", 3, 0) + segment(0.4, 0.5, 1, "0 1 0", "0 0 1", 1, 0), 64},
      {"HSV, red to yellow", "GIMP Gradient\n1\n" + segment(0, 0.5, 1, "1 0 0", "1 1 0", 0, 1), 64},
  };
  for (const Case& c : cases) {
    GimpGradient g = parse(c.text);
    uint8_t f[kFountainRecordSize];
    FountainFit fit = fountainFromGimpGradient(g, f);
    EXPECT_LE(fit.markers, c.maxMarkers) << c.what;
    EXPECT_EQ(fit.markers, fountainMarkerCount(f)) << c.what;
    EXPECT_LE(fit.largestError, 1) << c.what;
    std::vector<uint32_t> ramp = rendered(f);
    ASSERT_EQ(ramp.size(), 256u);
    int worst = 0, total = 0;
    for (int x = 0; x < 256; ++x) {
      double rgb[3];
      gimpGradientColourAt(g, x / 256.0, rgb);
      int d = channelDifference(ramp[x], rgb);
      worst = std::max(worst, d);
      total += d;
    }
    // Each piece is drawn as a linear gradient whose ends lie two pixels
    // beyond it, so short steep pieces miss their ends by some levels; on
    // average the picture stays within a level or two.
    EXPECT_LE(worst, 24) << c.what << " " << fit.markers;
    EXPECT_LE(total, 2 * 256) << c.what << " " << fit.markers;
  }
}

TEST(GimpGradientTest, FullHueCircleFitsWithinOneLevelOnItsOwnScale) {
  GimpGradient g = parse("GIMP Gradient\n1\n" + segment(0, 0.5, 1, "1 0 0", "1 0 0.01", 0, 1));
  uint8_t f[kFountainRecordSize];
  FountainFit fit = fountainFromGimpGradient(g, f);
  EXPECT_LE(fit.largestError, 1);
  EXPECT_GE(fit.markers, 6);  // at least the six corners of the hue circle
  EXPECT_LE(fit.markers, 64);
}

TEST(GimpGradientTest, HardEdgeBecomesTwoMarkersAtOnePlace) {
  GimpGradient g = parse("GIMP Gradient\n2\n" + segment(0, 0.25, 0.5, "0 0 0", "0 0 0", 0, 0) +
                         segment(0.5, 0.75, 1, "1 1 1", "1 1 1", 0, 0));
  uint8_t f[kFountainRecordSize];
  FountainFit fit = fountainFromGimpGradient(g, f);
  EXPECT_TRUE(fit.edgesKept);
  ASSERT_EQ(fit.markers, 2);
  EXPECT_EQ(fountainMarker(f, 0), fountainMakeMarker(128, 0x000000));
  EXPECT_EQ(fountainMarker(f, 1), fountainMakeMarker(128, 0xFFFFFF));
  std::vector<uint32_t> ramp = rendered(f);
  EXPECT_EQ(ramp[127], 0u);
  EXPECT_EQ(ramp[128], 0xFFFFFFu);
  // A sort, as any later edit of the markers does, keeps the edge's order.
  fountainSortMarkers(f);
  EXPECT_EQ(fountainMarker(f, 1), fountainMakeMarker(128, 0xFFFFFF));
}

TEST(GimpGradientTest, MoreEdgesThanMarkersUsesAllSixtyFourWhereTheyMatter) {
  std::string text = "GIMP Gradient\n100\n";
  for (int i = 0; i < 100; ++i)
    text += segment(i / 100.0, (i + 0.5) / 100.0, (i + 1) / 100.0, i % 2 ? "1 1 1" : "0 0 0", i % 2 ? "1 1 1" : "0 0 0", 0, 0);
  uint8_t f[kFountainRecordSize];
  FountainFit fit = fountainFromGimpGradient(parse(text), f);
  EXPECT_FALSE(fit.edgesKept);
  EXPECT_EQ(fit.markers, 64);
  EXPECT_EQ(fountainMarkerCount(f), 64);
  for (int i = 1; i < 64; ++i)
    EXPECT_LE(fountainMarkerPosition(fountainMarker(f, i - 1)), fountainMarkerPosition(fountainMarker(f, i)));
}

TEST(FountainFitTest, EdgesAtTheEndsStayInsideTheMarkerRange) {
  uint32_t samples[256];
  for (int k = 0; k < 256; ++k) samples[k] = k < 128 ? 0x0000FF : 0x00FF00;
  uint8_t f[kFountainRecordSize];
  FountainFit fit = fountainFitSamples(samples, {{0, 0x0000FF, 0x0000FF}, {128, 0x0000FF, 0x00FF00}, {255, 1, 2}}, f);
  EXPECT_TRUE(fit.edgesKept);
  for (int i = 0; i < fit.markers; ++i) {
    int p = fountainMarkerPosition(fountainMarker(f, i));
    EXPECT_GE(p, 1);
    EXPECT_LE(p, 254);
  }
  EXPECT_EQ(readU32(f + fountain::kStartColour), 0x0000FFu);
  EXPECT_EQ(readU32(f + fountain::kEndColour), 0x00FF00u);
}

}  // namespace
}  // namespace gw
