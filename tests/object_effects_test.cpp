// The effects with objects around the text, one table of cases over all of
// them: frames and delays, determinism, the seed, every key of the page,
// seamless loops, the spin ranges' ends, alpha output, the background query,
// and a looked-at contact sheet per effect.
//
// The contact sheets are tests/golden/effects/<name>.png; to make them again
// on purpose run with GW_UPDATE_GOLDEN=1, look at the pictures, and put the
// printed hashes into the table.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/png_io.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "effects/object_effects.h"
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

using FrameFn = MemHandle (*)(const DialogFacade&, int64_t, bool);

struct EffectCase {
  const char* name;
  uint16_t page;
  uint32_t framesId;
  uint32_t seedId;
  uint32_t densityId;  // set so that every colour finds an object on the small test line
  const char* density;
  FrameFn frame;
  uint64_t sheetHash;
};

const EffectCase kCases[] = {
    {"Snow", 7402, 186, 180, 164, "250", &snowFrame, 0x2B46AD89A4E6C308ull},
    {"Stars", 7403, 233, 228, 214, "250", &starsFrame, 0xB4FD2FB9A62AA7FEull},
    {"Confetti", 7416, 703, 698, 684, "250", &confettiFrame, 0xE7D39310C57D3864ull},
    {"Candy", 7417, 757, 752, 734, "250", &candyFrame, 0x813FA096062811EAull},
    {"Arrows", 7407, 386, 382, 364, "250", &arrowsFrame, 0x9E84705212FECDBCull},
    {"Neural Network", 7406, 337, 333, 317, "30", &neuralNetworkFrame, 0x951F7B8BB72307EEull},
};

std::string caseName(const ::testing::TestParamInfo<EffectCase>& info) {
  std::string n = info.param.name;
  n.erase(std::remove(n.begin(), n.end(), ' '), n.end());
  return n;
}

std::vector<uint8_t> bytesOf(MemHandle h) {
  MemLock lock(h);
  return lock.data() ? std::vector<uint8_t>(lock.data(), lock.data() + lock.size()) : std::vector<uint8_t>();
}

// Mean absolute difference of two frames' pixel bytes.
double difference(MemHandle a, MemHandle b) {
  MemLock la(a), lb(b);
  BitmapView va = BitmapView::of(la), vb = BitmapView::of(lb);
  if (va.width() != vb.width() || va.height() != vb.height()) return 1e9;
  double sum = 0;
  const size_t row = size_t(va.width()) * size_t(va.bits() / 8);
  for (int32_t y = 0; y < va.height(); ++y)
    for (size_t i = 0; i < row; ++i) sum += std::abs(int(va.row(y)[i]) - int(vb.row(y)[i]));
  return sum / double(row * size_t(va.height()));
}

// The value to set a control to that differs from what it holds.
std::string otherValue(const PageControl& c, const std::string& now) {
  const long v = std::strtol(now.c_str(), nullptr, 10);
  switch (c.kind) {
    case ControlKind::kColourButton: return std::to_string(v == 0x2080F0 ? 0x10C020 : 0x2080F0);
    case ControlKind::kShadowPad: return std::to_string(v == 3 ? 5 : 3);
    case ControlKind::kScroll4Pad: return std::to_string((v + 1) % 4);
    case ControlKind::kSpinField: {
      int lo = 0, hi = 0, def = 0;
      std::sscanf(c.range, "%d,%d,%d", &lo, &hi, &def);
      long other = v + std::max(1, (hi - lo) / 8);
      if (other > hi) other = lo;
      return std::to_string(other);
    }
    default: return now;
  }
}

class ObjectEffects : public effect_test::MainDialogTest<::testing::TestWithParam<EffectCase>> {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    if (HasFatalFailure()) return;
    // A small, quick line; big enough that every colour finds an object.
    smallLine("Go on, go", 36);
    dialog->setChecked(IDC_BOLD, true);
    dialog->setText(GetParam().framesId, "8");
    dialog->setText(GetParam().densityId, GetParam().density);
    row = &effectRow(findEffect(GetParam().name));
  }

  MemBlock frame(int64_t k, bool alpha = false) {
    MemBlock f(GetParam().frame(*dialog, k, alpha));
    EXPECT_TRUE(f) << GetParam().name << " frame " << k;
    return f;
  }

  bool build() {
    EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    return effectBuild(*row, ctx) != 0;
  }

  const EffectRow* row = nullptr;
};

TEST_P(ObjectEffects, FramesAndDelays) {
  dialog->setText(IDC_DELAY, "7");
  dialog->setText(IDC_PAUSE, "30");
  ASSERT_TRUE(build());
  EXPECT_EQ(delays(), (std::vector<int32_t>{37, 7, 7, 7, 7, 7, 7, 37}));
  // The build's frames are the frames rendered alone.
  FrameRecord r;
  ASSERT_TRUE(frameStoreGet(store, 3, &r));
  MemBlock alone = frame(3);
  EXPECT_EQ(bytesOf(r.image), bytesOf(alone.get()));
  frameStoreFree(store);
  store = FrameStore();
  dialog->setChecked(IDC_ANIMATED, false);
  ASSERT_TRUE(build());
  EXPECT_EQ(delays(), (std::vector<int32_t>{7}));
}

TEST_P(ObjectEffects, PreviewIsTheRestFrame) {
  EffectContext ctx;
  ctx.window = dialog.get();
  ctx.sample = 1;
  ASSERT_EQ(effectPreview(*row, ctx), 1);
  MemBlock image(ctx.image);
  EXPECT_NE(ctx.flags & kEffectFlagPreview, 0u);
  MemBlock first = frame(0);
  EXPECT_EQ(bytesOf(image.get()), bytesOf(first.get()));
}

TEST_P(ObjectEffects, SameSettingsSameBytesAndTheSeedMatters) {
  MemBlock a = frame(2), b = frame(2);
  EXPECT_EQ(bytesOf(a.get()), bytesOf(b.get()));
  if (!GetParam().seedId) return;
  dialog->setText(GetParam().seedId, "4321");
  MemBlock c = frame(2);
  EXPECT_GT(difference(a.get(), c.get()), 0.5);
}

TEST_P(ObjectEffects, LoopsWithoutASeam) {
  for (const char* frames : {"8", "13"}) {
    dialog->setText(GetParam().framesId, frames);
    const int64_t n = std::atoi(frames);
    MemBlock first = frame(0), second = frame(1), last = frame(n - 1), past = frame(n);
    EXPECT_EQ(bytesOf(past.get()), bytesOf(first.get())) << frames;
    // The step over the seam is like any other step.
    const double seam = difference(last.get(), first.get()), step = difference(first.get(), second.get());
    EXPECT_GT(step, 0.0);
    EXPECT_LT(seam, 3.0 * step + 0.5) << frames;
    EXPECT_GT(seam, step / 3.0) << frames;
  }
}

TEST_P(ObjectEffects, EveryKeyOnThePageChangesTheFrames) {
  const std::string prefix = effectKeyPrefix(*row);
  MemBlock base = frame(1);
  int keys = 0;
  for (const PageControl* c = pageControls(GetParam().page); c && c->id; ++c) {
    if (!c->key) continue;
    ++keys;
    const std::string before = dialog->text(c->id);
    const bool wasChecked = dialog->checked(c->id);
    if (c->kind == ControlKind::kCheckBox) dialog->setChecked(c->id, !wasChecked);
    else dialog->setText(c->id, otherValue(*c, before));
    MemBlock changed = frame(1);
    EXPECT_NE(bytesOf(changed.get()), bytesOf(base.get())) << c->key;
    if (c->kind == ControlKind::kCheckBox) dialog->setChecked(c->id, wasChecked);
    else dialog->setText(c->id, before);
  }
  EXPECT_GT(keys, 5);
}

TEST_P(ObjectEffects, SpinRangeEndsRenderInBoundedTime) {
  for (const PageControl* c = pageControls(GetParam().page); c && c->id; ++c) {
    if (c->kind != ControlKind::kSpinField || !c->range || c->id == GetParam().framesId) continue;
    int lo = 0, hi = 0, def = 0;
    ASSERT_EQ(std::sscanf(c->range, "%d,%d,%d", &lo, &hi, &def), 3);
    const std::string before = dialog->text(c->id);
    for (int v : {lo, hi}) {
      dialog->setText(c->id, std::to_string(v));
      const auto start = std::chrono::steady_clock::now();
      MemBlock f = frame(3);
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      EXPECT_LT(seconds, 5.0) << (c->key ? c->key : "") << "=" << v;
    }
    dialog->setText(c->id, before);
  }
}

TEST_P(ObjectEffects, AlphaCoversLettersAndObjects) {
  const auto bg = uint32_t(effectQueryBackground(*row, *dialog, 0));
  MemBlock f = frame(2, true);
  MemLock lock(f.get());
  BitmapView v = BitmapView::of(lock);
  ASSERT_EQ(v.bits(), 32);
  // Wherever the picture is not the plain background, the alpha holds it.
  int64_t drawn = 0, uncovered = 0;
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) {
      const uint8_t* p = v.row(y) + size_t(x) * 4;
      if (p[0] == (bg >> 16 & 0xFF) && p[1] == (bg >> 8 & 0xFF) && p[2] == (bg & 0xFF)) continue;
      ++drawn;
      if (p[3] == 0) ++uncovered;
    }
  EXPECT_GT(drawn, 100);
  EXPECT_EQ(uncovered, 0);
}

TEST_P(ObjectEffects, BackgroundQuery) {
  EXPECT_EQ(effectQueryBackground(*row, *dialog, 1), -1);
  if (GetParam().page != 7406) { EXPECT_EQ(effectQueryBackground(*row, *dialog, 0), 0xFFFFFF); }
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  dialog->setChecked(IDC_ALPHA_BACKGROUND, true);
  EXPECT_EQ(effectQueryBackground(*row, *dialog, 0), settings().AlphaGreyBack);
}

TEST_P(ObjectEffects, ContactSheet) {
  // Frames 0, 3 and 6 of 9 one above the other.
  dialog->setText(GetParam().framesId, "9");
  MemBlock frames[3] = {frame(0), frame(3), frame(6)};
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(frames[0].get(), &w, &h, nullptr, nullptr));
  MemBlock sheet(bitmapCreateTrueColour(w, 3 * h, 24));
  {
    MemLock out(sheet.get());
    BitmapView s = BitmapView::of(out);
    for (int i = 0; i < 3; ++i) {
      MemLock in(frames[i].get());
      BitmapView f = BitmapView::of(in);
      for (int32_t y = 0; y < h; ++y) std::memcpy(s.row(i * h + y), f.row(y), size_t(w) * 3);
    }
  }
  std::string file = GetParam().name;
  for (char& ch : file) ch = ch == ' ' ? '_' : char(std::tolower(ch));
  if (std::getenv("GW_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(cli::writeBitmapAsPng(sheet.get(), std::string(GW_SOURCE_DIR) + "/tests/golden/effects/" + file + ".png",
                                      &error));
    std::printf("%s sheet hash 0x%016llXull\n", GetParam().name, (unsigned long long)effect_test::bitmapHash(sheet.get()));
    return;
  }
  EXPECT_EQ(effect_test::bitmapHash(sheet.get()), GetParam().sheetHash) << "look at tests/golden/effects/" << file << ".png";
}

INSTANTIATE_TEST_SUITE_P(All, ObjectEffects, ::testing::ValuesIn(kCases), caseName);

}  // namespace
}  // namespace gw
