// Effect "Simple": the preview still (with its golden render), and the build's
// frame count, scrolling, rest pauses and progress reports.
//
// The golden still is tests/golden/simple_default.png; to make it again on
// purpose, run the tests with GW_UPDATE_GOLDEN=1, look at the picture, and
// put the printed hash into kDefaultStillHash.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/png_io.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "effects/simple_effect.h"
#include "protocol/frame_store.h"
#include "host/main_dialog.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "resource_ids.h"
#include "settings/settings_record.h"
#include "tests/effect_test_fixture.h"

namespace gw {
namespace {

// FNV-1a of the default still's size and pixel rows (DejaVu Sans Bold stands
// in for the missing "Impact" through fontconfig).
constexpr uint64_t kDefaultStillHash = 0x87BD81AD2EB6D18Aull;

struct Progress {
  static std::vector<std::pair<int32_t, int64_t>> calls;
  static void report(void*, int32_t index, int32_t count) { calls.emplace_back(index, count); }
};
std::vector<std::pair<int32_t, int64_t>> Progress::calls;

class SimpleEffect : public effect_test::MainDialogTest<> {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    if (HasFatalFailure()) return;
    sink.report = &Progress::report;
    Progress::calls.clear();
  }

  // A small, quick line for the build tests.
  void smallText(const char* text = "Go") { smallLine(text, 12); }

  bool build() {
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    ctx.progress = &sink;
    return simpleBuild(ctx) != 0;
  }

  MemBlock preview() {
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.sample = 1;
    ctx.sampleWidth = 300;
    ctx.sampleHeight = 100;
    EXPECT_EQ(simplePreview(ctx), 1);
    EXPECT_NE(ctx.flags & kEffectFlagPreview, 0u);
    EXPECT_EQ(ctx.motion, nullptr);
    return MemBlock(ctx.image);
  }

  void frameSize(uint32_t index, int32_t* w, int32_t* h) const {
    FrameRecord r;
    ASSERT_TRUE(frameStoreGet(store, index, &r));
    ASSERT_TRUE(bitmapQuery(r.image, w, h, nullptr, nullptr));
  }

  ProgressSink sink;
};

TEST_F(SimpleEffect, DefaultStillMatchesItsGoldenRender) {
  MemBlock image = preview();
  ASSERT_TRUE(image);
  int32_t w = 0, h = 0, bits = 0;
  ASSERT_TRUE(bitmapQuery(image.get(), &w, &h, &bits, nullptr));
  EXPECT_EQ(bits, 24);
  uint64_t hash = effect_test::bitmapHash(image.get());
  if (std::getenv("GW_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(cli::writeBitmapAsPng(image.get(), std::string(GW_SOURCE_DIR) + "/tests/golden/simple_default.png",
                                      &error))
        << error;
    std::printf("simple_default.png: %d x %d, hash 0x%016llX\n", int(w), int(h), (unsigned long long)hash);
  }
  EXPECT_EQ(hash, kDefaultStillHash);
}

TEST_F(SimpleEffect, TrackChangesNothing) {
  smallText();
  dialog->setChecked(124, true);
  MemBlock on = preview();
  dialog->setChecked(124, false);
  MemBlock off = preview();
  ASSERT_TRUE(on && off);
  EXPECT_EQ(effect_test::bitmapHash(on.get()), effect_test::bitmapHash(off.get()));
}

TEST_F(SimpleEffect, StillBuildIsOneFrameWithTheDelay) {
  smallText();
  dialog->setChecked(IDC_ANIMATED, false);
  dialog->setText(IDC_DELAY, "7");
  dialog->setText(IDC_PAUSE, "50");
  ASSERT_TRUE(build());
  EXPECT_EQ(delays(), std::vector<int32_t>({7}));
}

TEST_F(SimpleEffect, FramesAreCappedAtTwiceTheTravel) {
  smallText("i");
  dialog->setChecked(IDC_ANIMATED, true);
  dialog->setText(112, "32760");
  for (uint32_t direction : {0u, 1u, 2u, 3u}) {
    SCOPED_TRACE(direction);
    frameStoreFree(store);
    Progress::calls.clear();
    dialog->setText(118, std::to_string(direction));
    ASSERT_TRUE(build());
    int32_t w = 0, h = 0;
    frameSize(0, &w, &h);
    uint32_t length = uint32_t((direction == 0 || direction == 3) ? h : w);
    EXPECT_EQ(store.count, 2 * length);
    // One progress report per frame: (k, n).
    ASSERT_EQ(Progress::calls.size(), store.count);
    for (uint32_t k = 0; k < store.count; ++k) {
      EXPECT_EQ(Progress::calls[k].first, int32_t(k));
      EXPECT_EQ(Progress::calls[k].second, int64_t(store.count));
    }
  }
}

TEST_F(SimpleEffect, TwoFramesBothPause) {
  smallText();
  dialog->setChecked(IDC_ANIMATED, true);
  dialog->setText(112, "2");
  dialog->setText(IDC_DELAY, "5");
  dialog->setText(IDC_PAUSE, "100");
  for (uint32_t direction : {0u, 1u, 2u, 3u}) {
    frameStoreFree(store);
    dialog->setText(118, std::to_string(direction));
    ASSERT_TRUE(build());
    EXPECT_EQ(delays(), std::vector<int32_t>({105, 105})) << direction;
  }
}

TEST_F(SimpleEffect, TheRestFrameAndTheLastPause) {
  smallText();
  dialog->setChecked(IDC_ANIMATED, true);
  dialog->setText(112, "10");
  dialog->setText(IDC_DELAY, "3");
  dialog->setText(IDC_PAUSE, "40");
  std::vector<int32_t> expected(10, 3);
  expected[4] = 43;  // P reaches 0 at the fifth of ten frames
  expected[9] = 43;
  for (uint32_t direction : {0u, 1u, 2u, 3u}) {
    frameStoreFree(store);
    dialog->setText(118, std::to_string(direction));
    ASSERT_TRUE(build());
    EXPECT_EQ(delays(), expected) << direction;
  }
}

TEST_F(SimpleEffect, ScrollingRightEntersFromTheLeftAndRestsAtTheStill) {
  smallText();
  dialog->setChecked(IDC_ANIMATED, true);
  dialog->setText(112, "4");
  dialog->setText(118, "1");
  // A sharp line without shadow, so nothing reaches past the letters' cells.
  dialog->setChecked(122, false);
  dialog->setText(114, "0");
  ASSERT_TRUE(build());
  ASSERT_EQ(store.count, 4u);
  MemBlock still = preview();
  FrameRecord rest, first;
  ASSERT_TRUE(frameStoreGet(store, 1, &rest));   // P = -L + 2 * (2L / 4) = 0
  ASSERT_TRUE(frameStoreGet(store, 0, &first));  // P = -L / 2: text half out to the left
  EXPECT_EQ(effect_test::bitmapHash(rest.image), effect_test::bitmapHash(still.get()));
  MemLock lock(first.image);
  BitmapView v = BitmapView::of(lock);
  // The right half of the first frame is plain background.
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = v.width() / 2 + 1; x < v.width(); ++x) ASSERT_EQ(v.getPixel(x, y), 0xFFFFFF) << x << "," << y;
}

TEST_F(SimpleEffect, AlphaBuildsCarryAnAlphaChannelButTheSampleNever) {
  smallText();
  dialog->setChecked(IDC_ANIMATED, false);
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  ASSERT_TRUE(build());
  FrameRecord r;
  ASSERT_TRUE(frameStoreGet(store, 0, &r));
  int bits = 0;
  ASSERT_TRUE(bitmapQuery(r.image, nullptr, nullptr, &bits, nullptr));
  EXPECT_EQ(bits, 32);
  MemBlock still = preview();
  ASSERT_TRUE(bitmapQuery(still.get(), nullptr, nullptr, &bits, nullptr));
  EXPECT_EQ(bits, 24);
}

TEST_F(SimpleEffect, AFailedRenderFailsTheBuild) {
  smallText();
  dialog->setChecked(IDC_ANIMATED, true);
  dialog->setText(112, "6");
  long before = gw::testing::liveBlockCount();
  for (int n = 0; n < 60; ++n) {
    gw::testing::failAllocationsAfter(n);
    bool ok = build();
    gw::testing::failAllocationsAfter(-1);
    if (!ok) { EXPECT_LE(store.count, 6u); }
    frameStoreFree(store);
  }
  EXPECT_EQ(gw::testing::liveBlockCount(), before);
  EffectContext noWindow;
  EXPECT_EQ(simpleBuild(noWindow), 0);
  EXPECT_EQ(simplePreview(noWindow), 0);
}

}  // namespace
}  // namespace gw
