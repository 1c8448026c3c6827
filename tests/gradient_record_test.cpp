// The fountain and gradient settings records: sizes, offsets, presets,
// defaults, the marker rules, and the clamping of damaged stored numbers.
#include <gtest/gtest.h>

#include <cstring>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"

namespace gw {
namespace {

TEST(GradientRecordTest, FountainLayout) {
  EXPECT_EQ(kFountainRecordSize, 581u);
  EXPECT_EQ(fountain::kVersion, 8u);
  EXPECT_EQ(fountain::kRecordSize, 12u);
  EXPECT_EQ(fountain::kFlags, 16u);
  EXPECT_EQ(fountain::kReserved, 20u);
  EXPECT_EQ(fountain::kPreviewImage, 281u);
  EXPECT_EQ(fountain::kMarkerCount, 285u);
  EXPECT_EQ(fountain::kStartColour, 289u);
  EXPECT_EQ(fountain::kEndColour, 293u);
  EXPECT_EQ(fountain::kMarkers, 297u);
  EXPECT_EQ(fountain::kMarkers + 4 * kFountainMaxMarkers, fountain::kEditorState);
  EXPECT_EQ(fountain::kEditorState + 28, kFountainRecordSize);
}

TEST(GradientRecordTest, GradientSettingsLayout) {
  EXPECT_EQ(kGradientSettingsSize, 621u);
  const size_t offsets[] = {gradient::kShape,    gradient::kStartColour, gradient::kEndColour,
                            gradient::kEdgePad,  gradient::kCentreX,     gradient::kCentreY,
                            gradient::kMidpoint, gradient::kReserved,    gradient::kRotation,
                            gradient::kColourMode, gradient::kFountain};
  for (size_t i = 0; i < sizeof offsets / sizeof offsets[0]; ++i) EXPECT_EQ(offsets[i], 4 * i);
  EXPECT_EQ(gradient::kFountain + kFountainRecordSize, kGradientSettingsSize);
}

TEST(GradientRecordTest, FountainPresets) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Rainbow);
  EXPECT_EQ(std::memcmp(f, "QUILFOUN", 8), 0);
  EXPECT_EQ(readU32(f + fountain::kVersion), 0x04000001u);
  EXPECT_EQ(readU32(f + fountain::kRecordSize), 581u);
  EXPECT_EQ(readU32(f + fountain::kFlags), 0u);
  EXPECT_EQ(readU32(f + fountain::kStartColour), 0u);
  EXPECT_EQ(readU32(f + fountain::kEndColour), 0xFFFFFFFFu);
  ASSERT_EQ(fountainMarkerCount(f), 7);
  const uint32_t rainbow[7] = {0x20FF0000, 0x40FFFF00, 0x6000FF00, 0x8000FFFF,
                               0xA00000FF, 0xC0FF00FF, 0xE0CC0099};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(fountainMarker(f, i), rainbow[i]) << i;
  for (int i = 7; i < 64; ++i) EXPECT_EQ(fountainMarker(f, i), 0u);

  fountainRecordDefaults(f, FountainPreset::Grey);
  ASSERT_EQ(fountainMarkerCount(f), 1);
  EXPECT_EQ(fountainMarker(f, 0), 0x80808080u);
  fountainRecordDefaults(f, FountainPreset::Empty);
  EXPECT_EQ(fountainMarkerCount(f), 0);
  EXPECT_EQ(readU32(f + fountain::kEndColour), 0xFFFFFFFFu);
}

TEST(GradientRecordTest, GradientDefaultsZeroEverythingElse) {
  uint8_t g[kGradientSettingsSize];
  std::memset(g, 0xAB, sizeof g);
  gradientSettingsDefaults(g);
  EXPECT_EQ(readI32(g + gradient::kShape), 0);
  EXPECT_EQ(readU32(g + gradient::kStartColour), 0x404040u);
  EXPECT_EQ(readU32(g + gradient::kEndColour), 0xC0C0C0u);
  EXPECT_EQ(readI32(g + gradient::kEdgePad), 0);
  EXPECT_EQ(readI32(g + gradient::kCentreX), 0);
  EXPECT_EQ(readI32(g + gradient::kCentreY), 0);
  EXPECT_EQ(readI32(g + gradient::kMidpoint), 50);
  EXPECT_EQ(readU32(g + gradient::kReserved), 0u);
  EXPECT_EQ(readI32(g + gradient::kRotation), 0);
  EXPECT_EQ(readU32(g + gradient::kColourMode), 1u);
  uint8_t rainbow[kFountainRecordSize];
  fountainRecordDefaults(rainbow, FountainPreset::Rainbow);
  EXPECT_EQ(std::memcmp(g + gradient::kFountain, rainbow, kFountainRecordSize), 0);
}

TEST(GradientRecordTest, SortPutsFreeSlotsLast) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Empty);
  const uint32_t markers[5] = {fountainMakeMarker(200, 1), 0x00000002, fountainMakeMarker(10, 3),
                               fountainMakeMarker(255, 4), fountainMakeMarker(100, 5)};
  for (int i = 0; i < 5; ++i) writeU32(f + fountain::kMarkers + 4 * i, markers[i]);
  writeU32(f + fountain::kMarkers + 4 * 5, fountainMakeMarker(1, 6));  // beyond the count: untouched
  writeU32(f + fountain::kMarkerCount, 5);
  fountainSortMarkers(f);
  EXPECT_EQ(fountainMarkerColour(fountainMarker(f, 0)), 3u);
  EXPECT_EQ(fountainMarkerColour(fountainMarker(f, 1)), 5u);
  EXPECT_EQ(fountainMarkerColour(fountainMarker(f, 2)), 1u);
  EXPECT_EQ(fountainMarkerColour(fountainMarker(f, 3)), 4u);
  EXPECT_EQ(fountainMarker(f, 4), 2u);  // position 0 after every used one
  EXPECT_EQ(fountainMarkerColour(fountainMarker(f, 5)), 6u);
}

TEST(GradientRecordTest, DeleteFreesSortsAndCounts) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Rainbow);
  EXPECT_TRUE(fountainDeleteMarker(f, 2));
  ASSERT_EQ(fountainMarkerCount(f), 6);
  EXPECT_EQ(fountainMarker(f, 1), 0x40FFFF00u);
  EXPECT_EQ(fountainMarker(f, 2), 0x8000FFFFu);
  EXPECT_EQ(fountainMarker(f, 6), 0u);  // the freed slot went to the end
  EXPECT_FALSE(fountainDeleteMarker(f, 6));
  EXPECT_FALSE(fountainDeleteMarker(f, -1));
  EXPECT_EQ(fountainMarkerCount(f), 6);
}

TEST(GradientRecordTest, MarkerColumns) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Rainbow);
  int32_t columns[64];
  ASSERT_EQ(fountainMarkerColumns(f, 255, columns), 7);
  EXPECT_EQ(columns[0], 32);
  EXPECT_EQ(columns[6], 224);
  ASSERT_EQ(fountainMarkerColumns(f, 100, columns), 7);
  EXPECT_EQ(columns[0], 12);   // 32 / 255 * 100 = 12.55
  EXPECT_EQ(columns[3], 50);   // 128 / 255 * 100 = 50.2
}

TEST(GradientRecordTest, DamagedNumbersAreBounded) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Rainbow);
  writeI32(f + fountain::kMarkerCount, 100000);
  EXPECT_EQ(fountainMarkerCount(f), 64);
  writeI32(f + fountain::kMarkerCount, -3);
  EXPECT_EQ(fountainMarkerCount(f), 0);

  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeI32(g + gradient::kEdgePad, 90);
  writeI32(g + gradient::kCentreX, -5000);
  writeI32(g + gradient::kCentreY, 5000);
  writeI32(g + gradient::kMidpoint, 0);
  writeI32(g + gradient::kRotation, 100000);
  writeU32(g + gradient::kStartColour, 0xFF123456);
  GradientParams p = gradientParams(g);
  EXPECT_EQ(p.edgePad, 45);
  EXPECT_EQ(p.centreX, -100);
  EXPECT_EQ(p.centreY, 100);
  EXPECT_EQ(p.midpoint, 1);
  EXPECT_EQ(p.rotation, 360);
  EXPECT_EQ(p.startColour, 0x123456u);
}

}  // namespace
}  // namespace gw
