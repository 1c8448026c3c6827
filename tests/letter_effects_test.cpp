// The effects that move the letters ("Rattle", "Quark", ...): frame counts and
// pauses, determinism, that every key of each page changes the frames, seamless
// loops, the spin ranges' ends, alpha output, the background query, and a
// golden contact sheet of each.
//
// The contact sheets are tests/golden/effects/<name>.png; to make them again
// on purpose, run with GW_UPDATE_GOLDEN=1, look at every picture, and put the
// printed hashes into the table below.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/png_io.h"
#include "controls/bound_control.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "effects/letter_effects.h"
#include "effects/page_tables.h"
#include "host/main_dialog.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"
#include "tests/effect_test_fixture.h"

namespace gw {
namespace {

struct LetterCase {
  const char* name;
  LetterAnimationFactory make;
  bool hasSeed;
  uint64_t sheetHash;  // FNV-1a of the contact sheet
  // Keys set for every test of the effect (with the text, when one is given):
  // enough room for the objects every colour key needs to show.
  std::vector<std::pair<const char*, const char*>> setup = {};
};

const LetterCase kCases[] = {
    {"Rattle", makeRattle, true, 0xFC8ADED77E85EB94ull},
    {"Quark", makeQuark, false, 0x3F4D5092A9A9ADA4ull},
    {"Quark Outline", makeQuarkOutline, false, 0x9BB789B218C253FDull},
    {"Ring", makeRing, false, 0xE0605360EE9B7EEAull},
    {"Machine", makeMachine, false, 0x06EE68D252F4CFC7ull},
    {"Heartbeat", makeHeartbeat, false, 0x4E02C61ED6809052ull},
    {"Wavelet", makeWavelet, true, 0x1EC8C2C42238C5ECull, {{"text", "Wavelets go!"}, {"Size", "1"}}},
};

std::string caseName(const ::testing::TestParamInfo<LetterCase>& info) {
  std::string s;
  for (const char* c = info.param.name; *c; ++c)
    if (std::isalnum(static_cast<unsigned char>(*c))) s += *c;
  return s;
}

class LetterEffects : public effect_test::MainDialogTest<::testing::TestWithParam<LetterCase>> {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    if (HasFatalFailure()) return;
    row = &effectRow(findEffect(GetParam().name));
    smallLine("Go!", 16);
    animate(4, 50);
    setKey("Frames", "12");
    for (const auto& kv : GetParam().setup) {
      if (std::string(kv.first) == "text") dialog->setText(IDC_TEXT, kv.second);
      else setKey(kv.first, kv.second);
    }
  }

  // The page control bound to Style<nnn><key>, or null.
  const PageControl* control(const std::string& key) const {
    const std::string full = effectKeyPrefix(*row) + key;
    for (const PageControl* c = row->controls; c && c->id; ++c)
      if (c->key && full == c->key) return c;
    return nullptr;
  }
  // Shows `value` in the key's control, as the user would set it.
  void setControl(const PageControl& c, const std::string& value) {
    switch (c.kind) {
      case ControlKind::kCheckBox: dialog->setChecked(c.id, value != "0"); break;
      case ControlKind::kDropDownList: dialog->setSelection(c.id, std::atoi(value.c_str())); break;
      default: dialog->setText(c.id, value); break;
    }
  }
  void setKey(const std::string& key, const std::string& value) {
    if (const PageControl* c = control(key)) setControl(*c, value);
  }

  bool build() {
    frameStoreFree(store);
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    return row->build(ctx) != 0;
  }
  MemBlock preview() {
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.sample = 1;
    EXPECT_EQ(row->preview(ctx), 1);
    return MemBlock(ctx.image);
  }
  // The frames' count, delays and pixels in one number.
  uint64_t buildHash() {
    if (!build()) return 0;
    uint64_t h = store.count;
    for (uint32_t i = 0; i < store.count; ++i) {
      FrameRecord r;
      if (!frameStoreGet(store, i, &r)) return 0;
      h = effect_test::bitmapHash(r.image, h ^ uint64_t(r.delay));
    }
    return h;
  }
  const EffectRow* row = nullptr;
};

TEST_P(LetterEffects, TheRowHasItsOperations) {
  EXPECT_TRUE(effectAvailable(*row));
  EXPECT_NE(row->queryBackground, nullptr);
}

TEST_P(LetterEffects, RestAndLastFramesPauseAndStillBuildsAreOneFrame) {
  ASSERT_TRUE(build());
  std::vector<int32_t> d = delays();
  ASSERT_GE(d.size(), 2u);
  std::unique_ptr<LetterAnimation> a = GetParam().make(*dialog, false);
  ASSERT_TRUE(a);
  ASSERT_EQ(int32_t(d.size()), a->frameCount());
  for (size_t k = 0; k < d.size(); ++k) {
    const bool pauses = k + 1 == d.size() || a->isRest(int32_t(k));
    EXPECT_EQ(d[k], pauses ? 54 : 4) << k;
  }
  EXPECT_TRUE(a->isRest(0) || a->frameCount() > 1);
  // Animated off: the still, with the plain delay.
  dialog->setChecked(IDC_ANIMATED, false);
  ASSERT_TRUE(build());
  EXPECT_EQ(delays(), std::vector<int32_t>({4}));
  FrameRecord r;
  ASSERT_TRUE(frameStoreGet(store, 0, &r));
  MemBlock still = preview();
  EXPECT_EQ(effect_test::bitmapHash(r.image), effect_test::bitmapHash(still.get()));
}

TEST_P(LetterEffects, SameSettingsSameBytesAndTheSeedMatters) {
  const uint64_t first = buildHash();
  ASSERT_NE(first, 0u);
  EXPECT_EQ(buildHash(), first);
  if (!GetParam().hasSeed) return;
  setKey("Seed", "4242");
  EXPECT_NE(buildHash(), first);
}

// A build on several threads makes the frames one thread makes, and each is
// the frame the animation gives for its index, whatever order they come in.
TEST_P(LetterEffects, ThreadsChangeNoFrame) {
  ::setenv("GLYPHWRIGHT_THREADS", "1", 1);
  const uint64_t alone = buildHash();
  ::setenv("GLYPHWRIGHT_THREADS", "3", 1);
  const uint64_t shared = buildHash();
  ::unsetenv("GLYPHWRIGHT_THREADS");
  ASSERT_NE(alone, 0u);
  EXPECT_EQ(shared, alone);
  std::unique_ptr<LetterAnimation> a = GetParam().make(*dialog, false);
  ASSERT_TRUE(a);
  ASSERT_TRUE(build());
  ASSERT_EQ(int64_t(store.count), int64_t(a->frameCount()));
  for (int64_t k : {int64_t(a->frameCount()) - 1, int64_t(1), int64_t(0)}) {
    FrameRecord r;
    ASSERT_TRUE(frameStoreGet(store, uint32_t(k), &r));
    MemBlock made(a->frame(k));
    EXPECT_EQ(effect_test::bitmapHash(made.get()), effect_test::bitmapHash(r.image)) << k;
  }
}

// Every key of the page, set to another value through its control, changes the frames.
TEST_P(LetterEffects, EveryKeyChangesTheFrames) {
  const uint64_t base = buildHash();
  ASSERT_NE(base, 0u);
  for (const PageControl* c = row->controls; c && c->id; ++c) {
    if (!c->key) continue;
    SCOPED_TRACE(c->key);
    const std::string before = c->kind == ControlKind::kCheckBox ? (dialog->checked(c->id) ? "1" : "0")
                               : c->kind == ControlKind::kDropDownList ? std::to_string(dialog->selection(c->id))
                                                                       : dialog->text(c->id);
    std::string other;
    switch (c->kind) {
      case ControlKind::kCheckBox: other = before == "1" ? "0" : "1"; break;
      case ControlKind::kDropDownList: other = before == "0" ? "1" : "0"; break;
      case ControlKind::kColourButton: other = std::to_string(before == "1193046" ? 0x654321 : 0x123456); break;
      case ControlKind::kShadowPad: other = before == "3" ? "5" : "3"; break;
      case ControlKind::kScroll2Pad: other = before == "0" ? "1" : "0"; break;
      case ControlKind::kSpinField: {
        int lo = 0, hi = 0, def = 0;
        ASSERT_EQ(std::sscanf(c->range, "%d,%d,%d", &lo, &hi, &def), 3);
        const int now = std::atoi(before.c_str());
        // A third of the way along, or the low end: far enough to show.
        int v = lo + (hi - lo) / 3;
        if (v == now || hi - lo > 1000) v = now == lo ? lo + 1 : lo;
        if (v == now) v = now + 1;
        other = std::to_string(v);
        break;
      }
      default: FAIL() << "a key of an unexpected kind"; break;
    }
    setControl(*c, other);
    EXPECT_NE(buildHash(), base) << c->key << " = " << other;
    setControl(*c, before);
  }
  EXPECT_EQ(buildHash(), base);
}

TEST_P(LetterEffects, OneFramePastTheEndIsFrameZero) {
  std::unique_ptr<LetterAnimation> a = GetParam().make(*dialog, false);
  ASSERT_TRUE(a);
  MemBlock zero(a->frame(0)), past(a->frame(a->frameCount()));
  ASSERT_TRUE(zero && past);
  EXPECT_EQ(effect_test::bitmapHash(zero.get()), effect_test::bitmapHash(past.get()));
  // Every frame has the size of the still.
  MemBlock last(a->frame(a->frameCount() - 1)), still(a->restFrame());
  int32_t w0 = 0, h0 = 0, w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  ASSERT_TRUE(bitmapQuery(zero.get(), &w0, &h0, nullptr, nullptr));
  ASSERT_TRUE(bitmapQuery(last.get(), &w1, &h1, nullptr, nullptr));
  ASSERT_TRUE(bitmapQuery(still.get(), &w2, &h2, nullptr, nullptr));
  EXPECT_EQ(w0, w1);
  EXPECT_EQ(h0, h1);
  EXPECT_EQ(w0, w2);
  EXPECT_EQ(h0, h2);
}

// Each spin key at either end of its range: the still, frame 1 and the last
// frame render, in bounded time.
TEST_P(LetterEffects, SpinRangeEndsRender) {
  for (const PageControl* c = row->controls; c && c->id; ++c) {
    if (!c->key || c->kind != ControlKind::kSpinField) continue;
    int lo = 0, hi = 0, def = 0;
    ASSERT_EQ(std::sscanf(c->range, "%d,%d,%d", &lo, &hi, &def), 3);
    const std::string before = dialog->text(c->id);
    for (int v : {lo, hi}) {
      SCOPED_TRACE(std::string(c->key) + " = " + std::to_string(v));
      dialog->setText(c->id, std::to_string(v));
      const auto start = std::chrono::steady_clock::now();
      std::unique_ptr<LetterAnimation> a = GetParam().make(*dialog, false);
      ASSERT_TRUE(a);
      const int32_t n = a->frameCount();
      ASSERT_GE(n, 1);
      MemBlock still(a->restFrame()), one(a->frame(1 % n)), last(a->frame(n - 1));
      EXPECT_TRUE(still && one && last);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
    dialog->setText(c->id, before);
  }
}

TEST_P(LetterEffects, AlphaOutputCoversTheLetters) {
  dialog->setChecked(IDC_ANIMATED, false);
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  ASSERT_TRUE(build());
  FrameRecord r;
  ASSERT_TRUE(frameStoreGet(store, 0, &r));
  MemLock lock(r.image);
  BitmapView v = BitmapView::of(lock);
  ASSERT_EQ(v.bits(), 32);
  size_t opaque = 0, clear = 0;
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) {
      const uint8_t a = v.row(y)[x * 4 + 3];
      opaque += a == 255;
      clear += a == 0;
    }
  EXPECT_GT(opaque, 20u);
  EXPECT_GT(clear, 20u);
  // The sample never has an alpha channel.
  MemBlock still = preview();
  int bits = 0;
  ASSERT_TRUE(bitmapQuery(still.get(), nullptr, nullptr, &bits, nullptr));
  EXPECT_EQ(bits, 24);
}

TEST_P(LetterEffects, BackgroundQuery) {
  EXPECT_EQ(row->queryBackground(*dialog, 0), 0xFFFFFF);
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  dialog->setChecked(IDC_ALPHA_BACKGROUND, true);
  EXPECT_EQ(row->queryBackground(*dialog, 0), settings().AlphaGreyBack);
}

// Frames 0, n/4, n/2 and 3n/4 stacked, at a size where the motion shows.
TEST_P(LetterEffects, ContactSheetMatchesItsGolden) {
  dialog->setText(IDC_TEXT, "Glyph");
  dialog->setText(IDC_FONT_SIZE, "40");
  // The page's own defaults for the keys the other tests shrink.
  for (const auto& kv : GetParam().setup) {
    const PageControl* c = control(kv.first);
    int lo = 0, hi = 0, def = 0;
    if (c && c->range && std::sscanf(c->range, "%d,%d,%d", &lo, &hi, &def) == 3) setControl(*c, std::to_string(def));
  }
  std::unique_ptr<LetterAnimation> a = GetParam().make(*dialog, false);
  ASSERT_TRUE(a);
  const int32_t n = a->frameCount();
  std::vector<MemBlock> frames;
  int32_t w = 0, h = 0;
  for (int32_t q = 0; q < 4; ++q) {
    frames.emplace_back(a->frame(int64_t(n) * q / 4));
    ASSERT_TRUE(frames.back());
    ASSERT_TRUE(bitmapQuery(frames.back().get(), &w, &h, nullptr, nullptr));
  }
  MemBlock sheet(bitmapCreateTrueColour(w, 4 * h, 24));
  ASSERT_TRUE(sheet);
  {
    MemLock to(sheet.get());
    BitmapView out = BitmapView::of(to);
    for (int32_t q = 0; q < 4; ++q) {
      MemLock from(frames[size_t(q)].get());
      BitmapView in = BitmapView::of(from);
      for (int32_t y = 0; y < h; ++y) std::memcpy(out.row(q * h + y), in.row(y), size_t(w) * 3);
    }
  }
  const uint64_t hash = effect_test::bitmapHash(sheet.get());
  std::string file = caseName({GetParam(), 0});
  for (char& c : file) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (std::getenv("GW_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(cli::writeBitmapAsPng(
        sheet.get(), std::string(GW_SOURCE_DIR) + "/tests/golden/effects/" + file + ".png", &error))
        << error;
    std::printf("%s: hash 0x%016llXull\n", file.c_str(), (unsigned long long)hash);
  }
  EXPECT_EQ(hash, GetParam().sheetHash);
}

INSTANTIATE_TEST_SUITE_P(Effects, LetterEffects, ::testing::ValuesIn(kCases), caseName);

}  // namespace
}  // namespace gw
