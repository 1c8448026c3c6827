// Effect "Omni": the line at rest over each frame of the page's animation.
// Frame count and delays, placement, same bytes, every key, key ranges,
// alpha output and the background query.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/png_io.h"
#include "cli/render_host.h"
#include "controls/animation_selector.h"
#include "documents/document_lines.h"
#include "documents/document_text.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "effects/omni_effect.h"
#include "host/main_dialog.h"
#include "materials/material_record.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"
#include "tests/effect_test_fixture.h"
#include "tests/temp_folder.h"
#include "tests/test_animations.h"

namespace gw {
namespace {

// FNV-1a of the contact sheet's size and pixel rows; tests/golden/omni_sheet.png
// is the sheet, made again on purpose with GW_UPDATE_GOLDEN=1 (look at it,
// then put the printed hash here).
constexpr uint64_t kSheetHash = 0x0CE4C9E64613A196ull;

const std::vector<GifColorType> kColours = {{20, 40, 160}, {200, 60, 30}, {30, 160, 60}, {240, 220, 40}};

class OmniEffect : public effect_test::MainDialogTest<> {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    if (HasFatalFailure()) return;
    smallLine("Om", 14);
    animate(10, 20);
  }
  std::string appDataFolder() const override { return dir.path(); }
  const uint8_t* hostParams() override { return host.params(); }

  // Writes a solid animation and hands it to the selector as a document would.
  std::string useAnimation(const std::string& name, int w, int h, const std::vector<int>& delays) {
    const std::string path = dir.file(name);
    EXPECT_TRUE(writeSolidGif(path, w, h, kColours, delays));
    const std::string line = "ANMCTL524=" + path;
    EXPECT_EQ(dialog->sendMessage(kOmniAnimationControl, kMsgReadDocument, 0, intptr_t(line.c_str())), 1);
    return path;
  }

  bool build() {
    frameStoreFree(store);
    store = FrameStore();
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    return omniBuild(ctx) != 0;
  }

  // Every frame's bytes, one after another.
  std::vector<uint8_t> frameBytes() const {
    std::vector<uint8_t> out;
    for (uint32_t i = 0; i < store.count; ++i) {
      FrameRecord r;
      EXPECT_TRUE(frameStoreGet(store, i, &r));
      MemLock lock(r.image);
      out.insert(out.end(), lock.data(), lock.data() + lock.size());
    }
    return out;
  }

  TempFolder dir{"omni"};
  cli::RenderHost host;
};

TEST_F(OmniEffect, OneFramePerAnimationFrameWithItsDelay) {
  useAnimation("a.gif", 60, 30, {5, 0, 7});
  ASSERT_TRUE(build());
  // Delay 0 takes the main delay; the last frame adds the pause.
  EXPECT_EQ(delays(), (std::vector<int32_t>{5, 10, 27}));
  dialog->setChecked(IDC_ANIMATED, false);
  ASSERT_TRUE(build());
  EXPECT_EQ(delays(), std::vector<int32_t>{10});
}

TEST_F(OmniEffect, ThePlaceholderGivesThirtySixFrames) {
  ASSERT_TRUE(build());
  EXPECT_EQ(store.count, 36u);
  EXPECT_EQ(delays().front(), 60);  // the command-line host counts hundredths
}

TEST_F(OmniEffect, TheFrameHoldsBothTheLineAndTheAnimationCentred) {
  useAnimation("small.gif", 4, 4, {5, 5});
  EffectContext ctx;
  ctx.window = dialog.get();
  ctx.sample = 1;
  ASSERT_EQ(omniPreview(ctx), 1);
  MemBlock still(ctx.image);
  int32_t restW = 0, restH = 0;
  ASSERT_TRUE(bitmapQuery(still.get(), &restW, &restH, nullptr, nullptr));
  ASSERT_GT(restW, 4);

  useAnimation("big.gif", restW + 41, restH + 30, {5, 5});
  ASSERT_TRUE(build());
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(frame(0), &w, &h, nullptr, nullptr));
  EXPECT_EQ(w, restW + 41);
  EXPECT_EQ(h, restH + 30);
  MemLock lock(frame(1));
  BitmapView v = BitmapView::of(lock);
  // Far from the line the animation's own colour shows (frame 1: index 1).
  const uint32_t c = kColours[1].Red | kColours[1].Green << 8 | kColours[1].Blue << 16;
  EXPECT_EQ(uint32_t(v.getPixel(0, 0)), c);
  EXPECT_EQ(uint32_t(v.getPixel(w - 1, h - 1)), c);
}

TEST_F(OmniEffect, TheSameSettingsGiveTheSameBytes) {
  useAnimation("a.gif", 50, 30, {5, 6});
  ASSERT_TRUE(build());
  std::vector<uint8_t> first = frameBytes();
  ASSERT_TRUE(build());
  EXPECT_EQ(frameBytes(), first);
  EXPECT_FALSE(first.empty());
}

TEST_F(OmniEffect, EveryKeyOnThePageChangesTheFrames) {
  useAnimation("a.gif", 50, 30, {5, 6});
  ASSERT_TRUE(build());
  const std::vector<uint8_t> base = frameBytes();
  auto material = [](uint32_t colour) {
    MemHandle h = memAlloc(kMaterialRecordSize);
    MemLock lock(h);
    materialRecordDefaults(lock.data(), false);
    writeU32(lock.data() + material::kColour, colour);
    return h;
  };
  struct Case {
    const char* key;
    std::function<void()> change;
  };
  // The button frees only the record it made; one bound to it from outside
  // is the binder's, freed here after every dialog that showed it is gone.
  std::vector<MemBlock> bound;
  auto rebind = [&](uint32_t id, uint32_t colour) {
    bound.emplace_back(material(colour));
    dialog->setBinding(id, uint8_t(ControlKind::kMaterialButton), reinterpret_cast<void*>(uintptr_t(bound.back().get())));
  };
  const Case cases[] = {
      {"Fill (520)", [&] { rebind(520, 0x00AA00); }},
      {"Background (522)", [&] {
         // The background shows where the animation does not reach: make the line wider.
         dialog->setText(IDC_TEXT, "Omni wide line");
         rebind(522, 0x0000AA);
       }},
      {"Style011AnimPath", [&] { useAnimation("b.gif", 52, 30, {5, 6}); }},
      {"Style011FillOpacity", [&] { dialog->setText(526, "90"); }},
      {"Style011OutlineEnable", [&] { dialog->setChecked(528, false); }},
      {"Style011OutlineColor", [&] { dialog->setText(529, std::to_string(0x00FF00)); }},
      {"Style011ShadowEnable", [&] { dialog->setChecked(531, false); }},
      {"Style011ShadowColor", [&] { dialog->setText(532, std::to_string(0xFF00FF)); }},
      {"Style011ShadowOffset", [&] { dialog->setText(534, "9"); }},
      {"Style011ShadowOpacity", [&] { dialog->setText(536, "60"); }},
      {"Style011Soft", [&] { dialog->setText(538, "0"); }},
      {"Style011ShadowDirection", [&] { dialog->setText(540, "1"); }},
  };
  for (const Case& c : cases) {
    SetUp();
    useAnimation("a.gif", 50, 30, {5, 6});
    if (std::string(c.key) == "Background (522)") {
      dialog->setText(IDC_TEXT, "Omni wide line");
      ASSERT_TRUE(build());
      const std::vector<uint8_t> wide = frameBytes();
      c.change();
      ASSERT_TRUE(build()) << c.key;
      EXPECT_NE(frameBytes(), wide) << c.key;
      continue;
    }
    c.change();
    ASSERT_TRUE(build()) << c.key;
    EXPECT_NE(frameBytes(), base) << c.key;
  }
}

TEST_F(OmniEffect, EveryKeyAtItsMinimumAndMaximumRenders) {
  useAnimation("a.gif", 30, 20, {5});
  struct Range {
    uint32_t id;
    int lo, hi;
  } ranges[] = {{526, 0, 255}, {534, 1, 255}, {536, 0, 255}, {538, 0, 40}, {540, 0, 7}};
  for (const Range& r : ranges)
    for (int v : {r.lo, r.hi}) {
      dialog->setText(r.id, std::to_string(v));
      EXPECT_TRUE(build()) << r.id << "=" << v;
      EXPECT_EQ(store.count, 1u);
      dialog->setText(r.id, std::to_string(r.lo));
    }
}

TEST_F(OmniEffect, AlphaOutputCoversTheLetters) {
  useAnimation("big.gif", 160, 80, {5, 5});
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  ASSERT_TRUE(build());
  MemLock lock(frame(0));
  BitmapView v = BitmapView::of(lock);
  ASSERT_EQ(v.bits(), 32);
  // Opaque at the middle of the first letter's cell, clear in the far corner.
  int covered = 0;
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) covered += (uint64_t(v.getPixel(x, y)) >> 24) == 255;
  EXPECT_GT(covered, 20);
  EXPECT_EQ(uint64_t(v.getPixel(0, 0)) >> 24, 0u);
}

TEST_F(OmniEffect, ContactSheetMatchesItsGoldenRender) {
  // Frames 0, 4 and 8 of the README's animation under a line, side by side.
  const std::string line = std::string("ANMCTL524=") + GW_SOURCE_DIR + "/docs/examples/omni_waves.gif";
  ASSERT_EQ(dialog->sendMessage(kOmniAnimationControl, kMsgReadDocument, 0, intptr_t(line.c_str())), 1);
  dialog->setText(IDC_FONT_SIZE, "30");
  ASSERT_TRUE(build());
  ASSERT_EQ(store.count, 12u);
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(frame(0), &w, &h, nullptr, nullptr));
  MemBlock sheet(bitmapCreateTrueColour(3 * w, h, 24));
  {
    MemLock out(sheet.get());
    BitmapView dst = BitmapView::of(out);
    for (int i = 0; i < 3; ++i) {
      MemLock in(frame(uint32_t(4 * i)));
      BitmapView src = BitmapView::of(in);
      for (int32_t y = 0; y < h; ++y) std::memcpy(dst.row(y) + size_t(i * w) * 3, src.row(y), size_t(w) * 3);
    }
  }
  const uint64_t hash = effect_test::bitmapHash(sheet.get());
  if (std::getenv("GW_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(cli::writeBitmapAsPng(sheet.get(), std::string(GW_SOURCE_DIR) + "/tests/golden/omni_sheet.png", &error))
        << error;
    std::printf("omni_sheet.png: %d x %d, hash 0x%016llX\n", int(3 * w), int(h), (unsigned long long)hash);
  }
  EXPECT_EQ(hash, kSheetHash);
}

TEST_F(OmniEffect, ADocumentPathToAMissingFileIsKeptAndWrittenAgain) {
  const std::string missing = dir.file("gone.gif");
  ASSERT_TRUE(applyDocumentLine(*dialog, kOmniAnimationControl, "ANMCTL524=" + missing));
  EXPECT_NE(documentText(*dialog).find("\nANMCTL524=" + missing + "\r\n"), std::string::npos);
  EXPECT_EQ(std::string(settings().Style011AnimPath), missing);
  ASSERT_TRUE(build());
  EXPECT_EQ(store.count, 36u);  // the placeholder stands in
  // A file that exists is loaded and its path written as it was given.
  const std::string there = useAnimation("here.gif", 20, 10, {5, 5, 5});
  EXPECT_NE(documentText(*dialog).find("\nANMCTL524=" + there + "\r\n"), std::string::npos);
  ASSERT_TRUE(build());
  EXPECT_EQ(store.count, 3u);
}

TEST_F(OmniEffect, BackgroundQueryAnswers) {
  // The animation lies behind: no single colour for the build's flag-1 query.
  EXPECT_EQ(omniQueryBackground(*dialog, 1), -1);
  EXPECT_EQ(omniQueryBackground(*dialog, 0), 0xFFFFFF);  // the background material's colour
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  dialog->setChecked(IDC_ALPHA_BACKGROUND, true);
  EXPECT_EQ(omniQueryBackground(*dialog, 0), settings().AlphaGreyBack);
  EXPECT_EQ(omniQueryBackground(*dialog, 1), -1);
  EXPECT_TRUE(effectAvailable(effectRow(findEffect("Omni"))));
}

}  // namespace
}  // namespace gw
