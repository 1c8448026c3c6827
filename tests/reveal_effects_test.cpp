// The effects that assemble, light or mirror the line, table-driven over the
// effects: frame counts and delays, the still build, same settings same
// bytes, every key of the page changing the frames, spin ranges at their
// ends, alpha output, the background query, and a looked-at contact sheet.
//
// Contact sheets are tests/golden/effects/<name>.png; to make them again on
// purpose run with GW_UPDATE_GOLDEN=1, look at the pictures, and put the
// printed hashes into the table.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/png_io.h"
#include "controls/bound_control.h"
#include "controls/control_kind.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "effects/page_tables.h"
#include "effects/reveal_effects.h"
#include "host/main_dialog.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"
#include "tests/sanitizer_build.h"
#include "tests/effect_test_fixture.h"

namespace gw {
namespace {

// These frames' hashes take the bits per pixel too.
uint64_t fnv1a(MemHandle bitmap) {
  return effect_test::bitmapHash(bitmap, effect_test::kFnvBasis, effect_test::Depth::kHashed);
}

enum { kRestLast, kRestFirst, kRestMiddle };

struct RevealCase {
  const char* name;
  uint16_t page;
  // The frame count the default keys give the small test line, or 0 when
  // it depends on the line (checked by the effect's own test).
  uint32_t defaultFrames;
  int rest;                // where the rest frame is: kRestLast, kRestFirst, kRestMiddle (n / 2)
  uint32_t backgroundId;   // the page's background button
  bool uniformBackground;  // answers the flag-1 query with a colour
  uint64_t sheetHash;
};

const RevealCase kCases[] = {
    {"Zipper", 7414, 20, kRestLast, 612, true, 0x13D5CBAF669358B8ull},
    {"Tram Lines", 7420, 0, kRestLast, 862, true, 0xBED86986FAC368ABull},
    {"Tracks", 7415, 20, kRestLast, 642, true, 0xFABC939A50897E8Full},
    {"Waterside", 7408, 40, kRestFirst, 412, true, 0x672E7CD518B81805ull},
    {"Diagonal Fuse", 7412, 64, kRestLast, 552, false, 0x106D5C034262F561ull},
    {"Unplugged TV", 7419, 48, kRestMiddle, 822, false, 0x763DD7389998657Full},
};

// Test names and failures show the effect, not the case's bytes.
void PrintTo(const RevealCase& c, std::ostream* os) { *os << c.name; }

std::string caseName(const ::testing::TestParamInfo<RevealCase>& info) {
  std::string n;
  for (const char* p = info.param.name; *p; ++p)
    if (std::isalnum(static_cast<unsigned char>(*p))) n += *p;
  return n;
}

class RevealEffect : public effect_test::MainDialogTest<::testing::TestWithParam<RevealCase>> {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    if (HasFatalFailure()) return;
    index = findEffect(GetParam().name);
    ASSERT_GE(index, 0);
    smallLine("Go", 14);
    animate(4, 50);
  }

  const EffectRow& row() const { return effectRow(index); }

  bool build() {
    frameStoreFree(store);
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    bool ok = effectBuild(row(), ctx) != 0;
    EXPECT_NE(ctx.flags & kEffectFlagBuild, 0u);
    EXPECT_EQ(ctx.motion, nullptr);
    return ok;
  }

  MemBlock preview() {
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.sample = 1;
    ctx.sampleWidth = 300;
    ctx.sampleHeight = 100;
    EXPECT_EQ(effectPreview(row(), ctx), 1);
    EXPECT_NE(ctx.flags & kEffectFlagPreview, 0u);
    return MemBlock(ctx.image);
  }

  // Every frame's hash, in order: what "the frames" are.
  std::vector<uint64_t> hashes() const {
    std::vector<uint64_t> out;
    for (uint32_t i = 0; i < store.count; ++i) out.push_back(fnv1a(frame(i)));
    return out;
  }

  int index = -1;
};

TEST_P(RevealEffect, FrameCountAndDelays) {
  ASSERT_TRUE(build());
  const uint32_t n = store.count;
  ASSERT_GE(n, 2u);
  if (GetParam().defaultFrames) {
    EXPECT_EQ(n, GetParam().defaultFrames);
  }
  const uint32_t rest = GetParam().rest == kRestLast ? n - 1 : GetParam().rest == kRestFirst ? 0 : n / 2;
  std::vector<int32_t> d = delays();
  for (uint32_t k = 0; k < n; ++k) EXPECT_EQ(d[k], (k == n - 1 || k == rest) ? 54 : 4) << k;
  // The line at rest is the preview's still.
  MemBlock still = preview();
  EXPECT_EQ(fnv1a(frame(rest)), fnv1a(still.get()));
}

TEST_P(RevealEffect, AnimatedOffGivesTheRestFrameOnce) {
  dialog->setChecked(IDC_ANIMATED, false);
  ASSERT_TRUE(build());
  ASSERT_EQ(store.count, 1u);
  EXPECT_EQ(delays(), std::vector<int32_t>({4}));
  MemBlock still = preview();
  EXPECT_EQ(fnv1a(frame(0)), fnv1a(still.get()));
}

TEST_P(RevealEffect, SameSettingsGiveTheSameBytes) {
  ASSERT_TRUE(build());
  std::vector<uint64_t> first = hashes();
  ASSERT_TRUE(build());
  EXPECT_EQ(hashes(), first);
}

// A value of the control other than its current one, valid for its kind.
std::string otherValue(const DialogFacade& d, const PageControl& c) {
  std::string now = d.text(c.id);
  switch (c.kind) {
    case ControlKind::kSpinField: {
      int lo = 0, hi = 0, def = 0;
      std::sscanf(c.range, "%d,%d,%d", &lo, &hi, &def);
      int v = std::atoi(now.c_str());
      // Half way down to the minimum (counts only grow so far on a small
      // line), or up from the minimum.
      int other = v > lo ? lo + (v - lo) / 2 : std::min(hi, v + (hi - lo) / 4 + 1);
      if (std::string(c.key).find("Frames") != std::string::npos) other = v + 3;
      return std::to_string(other);
    }
    case ControlKind::kColourButton: return std::to_string((std::strtoul(now.c_str(), nullptr, 10) ^ 0x5A3C96u) & 0xFFFFFF);
    case ControlKind::kShadowPad: return std::to_string((std::atoi(now.c_str()) + 3) % 8);
    case ControlKind::kScroll4Pad: return std::to_string((std::atoi(now.c_str()) + 1) % 4);
    case ControlKind::kScroll2Pad:
    case ControlKind::kScrollHVPad: return std::to_string(1 - std::atoi(now.c_str()));
    default: return now;
  }
}

TEST_P(RevealEffect, EveryKeyOnThePageChangesTheFrames) {
  ASSERT_TRUE(build());
  const std::vector<uint64_t> base = hashes();
  for (const PageControl* c = pageControls(GetParam().page); c && c->id; ++c) {
    if (!c->key) continue;
    SCOPED_TRACE(c->key);
    if (c->kind == ControlKind::kCheckBox) {
      bool was = dialog->checked(c->id);
      dialog->setChecked(c->id, !was);
      ASSERT_TRUE(build());
      EXPECT_NE(hashes(), base);
      dialog->setChecked(c->id, was);
    } else if (c->kind == ControlKind::kDropDownList) {
      int was = dialog->selection(c->id);
      dialog->setSelection(c->id, (was + 1) % dialog->itemCount(c->id));
      ASSERT_TRUE(build());
      EXPECT_NE(hashes(), base);
      dialog->setSelection(c->id, was);
    } else {
      std::string was = dialog->text(c->id);
      dialog->setText(c->id, otherValue(*dialog, *c));
      ASSERT_TRUE(build());
      EXPECT_NE(hashes(), base) << was << " -> " << dialog->text(c->id);
      dialog->setText(c->id, was);
    }
  }
}

TEST_P(RevealEffect, SpinKeysAtTheirEndsRenderInBoundedTime) {
  dialog->setText(IDC_TEXT, "i");
  dialog->setText(IDC_FONT_SIZE, "8");
  for (const PageControl* c = pageControls(GetParam().page); c && c->id; ++c) {
    if (c->kind != ControlKind::kSpinField) continue;
    int lo = 0, hi = 0, def = 0;
    ASSERT_EQ(std::sscanf(c->range, "%d,%d,%d", &lo, &hi, &def), 3);
    std::string was = dialog->text(c->id);
    // Every frame of the largest frame count is built here; under a
    // sanitizer, a bounded count of them.
    const std::string key = c->key;
    const bool frameCount = key.size() > 6 && key.compare(key.size() - 6, 6, "Frames") == 0;
    const int top = frameCount ? gw::testing::framesUnderSanitizer(hi) : hi;
    for (int v : {lo, top}) {
      SCOPED_TRACE(key + "=" + std::to_string(v));
      dialog->setText(c->id, std::to_string(v));
      auto start = std::chrono::steady_clock::now();
      ASSERT_TRUE(build());
      EXPECT_GE(store.count, 1u);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
      MemBlock still = preview();
      EXPECT_TRUE(still);
    }
    dialog->setText(c->id, was);
  }
}

TEST_P(RevealEffect, AlphaOutputCoversTheLetters) {
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  ASSERT_TRUE(build());
  ASSERT_GE(store.count, 2u);
  const uint32_t n = store.count;
  const uint32_t rest = GetParam().rest == kRestLast ? n - 1 : GetParam().rest == kRestFirst ? 0 : n / 2;
  MemLock lock(frame(rest));
  BitmapView v = BitmapView::of(lock);
  ASSERT_EQ(v.bits(), 32);
  // Where the still shows anything but the background, the alpha covers it.
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, false);
  MemBlock still = preview();
  MemLock stillLock(still.get());
  BitmapView s = BitmapView::of(stillLock);
  const uint32_t background = uint32_t(s.getPixel(0, 0));
  long covered = 0, letterPixels = 0;
  for (int32_t y = 0; y < s.height(); ++y)
    for (int32_t x = 0; x < s.width(); ++x) {
      if (uint32_t(s.getPixel(x, y)) == background) continue;
      ++letterPixels;
      if ((uint64_t(v.getPixelWithAlpha(x, y)) >> 24) > 0) ++covered;
    }
  EXPECT_GT(letterPixels, 20);
  EXPECT_GE(covered, letterPixels * 95 / 100);
}

TEST_P(RevealEffect, BackgroundQueryAnswers) {
  const RevealCase& c = GetParam();
  const uint32_t colour = uint32_t(std::strtoul(dialog->text(c.backgroundId).c_str(), nullptr, 10)) & 0xFFFFFF;
  bool colourButton = boundKindOf(*dialog, c.backgroundId) == ControlKind::kColourButton;
  // A colour button answers its colour; a material button without a record yet, a new white material.
  EXPECT_EQ(effectQueryBackground(row(), *dialog, 0), colourButton ? int32_t(colour) : 0xFFFFFF);
  EXPECT_EQ(effectQueryBackground(row(), *dialog, 1), c.uniformBackground ? effectQueryBackground(row(), *dialog, 0) : -1);
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  dialog->setChecked(IDC_ALPHA_BACKGROUND, true);
  EXPECT_EQ(effectQueryBackground(row(), *dialog, 0), settings().AlphaGreyBack);
}

// A few frames side by side.
TEST_P(RevealEffect, ContactSheetMatchesItsGolden) {
  dialog->setText(IDC_TEXT, "Reveal");
  dialog->setText(IDC_FONT_SIZE, "20");
  ASSERT_TRUE(build());
  const uint32_t n = store.count;
  std::vector<uint32_t> picks;
  for (int i = 0; i < 6; ++i) picks.push_back(uint32_t((uint64_t(n - 1) * i) / 5));
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(frame(0), &w, &h, nullptr, nullptr));
  MemBlock sheet(bitmapCreateTrueColour(w * 3 + 8, h * 2 + 4, 24));
  {
    MemLock out(sheet.get());
    BitmapView o = BitmapView::of(out);
    for (int32_t y = 0; y < o.height(); ++y) std::memset(o.row(y), 0x80, size_t(o.width()) * 3);
    for (size_t i = 0; i < picks.size(); ++i) {
      MemLock in(frame(picks[i]));
      BitmapView f = BitmapView::of(in);
      const int32_t ox = int32_t(i % 3) * (w + 4), oy = int32_t(i / 3) * (h + 4);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) o.setPixel(ox + x, oy + y, uint32_t(f.getPixel(x, y)));
    }
  }
  const uint64_t hash = fnv1a(sheet.get());
  std::string lower;
  for (const char* p = GetParam().name; *p; ++p)
    lower += *p == ' ' ? '_' : char(std::tolower(static_cast<unsigned char>(*p)));
  if (std::getenv("GW_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(cli::writeBitmapAsPng(sheet.get(), std::string(GW_SOURCE_DIR) + "/tests/golden/effects/" + lower + ".png",
                                      &error))
        << error;
    std::printf("%s.png: hash 0x%016llX\n", lower.c_str(), (unsigned long long)hash);
  }
  EXPECT_EQ(hash, GetParam().sheetHash);
}

using WatersideLoop = RevealEffect;

TEST_P(WatersideLoop, OneFramePastTheEndIsFrameZero) {
  dialog->setText(414, "12");
  ASSERT_TRUE(build());
  ASSERT_EQ(store.count, 12u);
  for (int64_t k : {int64_t(0), int64_t(5), int64_t(12)}) {
    EffectContext ctx;
    ctx.window = dialog.get();
    ASSERT_EQ(watersideFrameAt(ctx, k), 1);
    MemBlock image(ctx.image);
    EXPECT_EQ(fnv1a(image.get()), fnv1a(frame(uint32_t(k % 12)))) << k;
  }
  // The ripple really moves from frame to frame.
  EXPECT_NE(fnv1a(frame(0)), fnv1a(frame(1)));
}

INSTANTIATE_TEST_SUITE_P(Waterside, WatersideLoop, ::testing::Values(kCases[3]), caseName);

INSTANTIATE_TEST_SUITE_P(Reveals, RevealEffect, ::testing::ValuesIn(kCases), caseName);

// Only a sanitizer build bounds a frame count; the normal one builds them all.
TEST(SanitizerFrameCap, BoundsOnlyUnderASanitizer) {
  EXPECT_EQ(gw::testing::framesUnderSanitizer(32760, false), 32760);
  EXPECT_EQ(gw::testing::framesUnderSanitizer(32760, true), gw::testing::kSanitizerFrameCap);
  EXPECT_EQ(gw::testing::framesUnderSanitizer(20, true), 20);
}

}  // namespace
}  // namespace gw
