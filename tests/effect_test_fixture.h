// What the effect tests share: the main dialog opened in memory as the
// plug-in opens it with Shift held (the defaults, no configuration or
// material files), a small quick line to build, the frames a build stored,
// and a hash of a bitmap's size and pixel rows for golden renders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "effects/effect_pages.h"
#include "host/main_dialog.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"

namespace gw::effect_test {

constexpr uint64_t kFnvBasis = 1469598103934665603ull;

enum class Depth { kLeftOut, kHashed };

// FNV-1a of the bitmap's width and height (and bits per pixel, where a hash
// was taken with them), then its pixel rows without their padding. `h`
// chains several bitmaps into one number.
inline uint64_t bitmapHash(MemHandle bitmap, uint64_t h = kFnvBasis, Depth depth = Depth::kLeftOut) {
  MemLock lock(bitmap);
  BitmapView v = BitmapView::of(lock);
  auto add = [&](uint8_t b) { h = (h ^ b) * 1099511628211ull; };
  for (int shift = 0; shift < 32; shift += 8) add(uint8_t(v.width() >> shift));
  for (int shift = 0; shift < 32; shift += 8) add(uint8_t(v.height() >> shift));
  if (depth == Depth::kHashed) add(uint8_t(v.bits()));
  const size_t rowBytes = size_t(v.width()) * size_t(v.bits() / 8);
  for (int32_t y = 0; y < v.height(); ++y)
    for (size_t i = 0; i < rowBytes; ++i) add(v.row(y)[i]);
  return h;
}

// Frame `i` of a build; a missing frame is a failure and gives 0.
inline MemHandle storedFrame(const FrameStore& store, uint32_t i) {
  FrameRecord r;
  EXPECT_TRUE(frameStoreGet(store, i, &r)) << "frame " << i;
  return r.image;
}

inline std::vector<int32_t> storedDelays(const FrameStore& store) {
  std::vector<int32_t> out;
  for (uint32_t i = 0; i < store.count; ++i) {
    FrameRecord r;
    EXPECT_TRUE(frameStoreGet(store, i, &r)) << "frame " << i;
    out.push_back(r.delay);
  }
  return out;
}

// The main dialog with its default settings, for a test of one effect.
// `Base` is ::testing::Test or a ::testing::TestWithParam<...>. A test's own
// SetUp calls this one first and stops when it failed:
//   MainDialogTest::SetUp();
//   if (HasFatalFailure()) return;
template <class Base = ::testing::Test>
class MainDialogTest : public Base {
 protected:
  void SetUp() override {
    ::setenv("GLYPHWRIGHT_APPDATA", appDataFolder().c_str(), 1);
    settings() = SettingsRecord();
    // A test that starts afresh part-way frees the dialog it had.
    if (dialog) releaseEffectPages(*dialog);
    dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
    ASSERT_TRUE(dialog);
    gw::testing::setShiftKeyDown(true);
    const bool ready = mainDialogInit(*dialog, hostParams(), 1024, 768);
    gw::testing::setShiftKeyDown(false);
    ASSERT_TRUE(ready);
  }
  void TearDown() override {
    frameStoreFree(store);
    store = FrameStore();
    // The pages' material buttons own their records, as in the plug-in.
    if (dialog) releaseEffectPages(*dialog);
    dialog.reset();
    settings() = SettingsRecord();
  }

  // Where the plug-in's own files would go; nothing is read from there.
  virtual std::string appDataFolder() const { return ::testing::TempDir(); }
  // The host's parameter block the dialog is opened with, or none.
  virtual const uint8_t* hostParams() { return nullptr; }

  // A small line in a font every machine has, quick to build.
  void smallLine(const char* text, int size) {
    dialog->setText(IDC_TEXT, text);
    dialog->setText(IDC_FONT, "Liberation Sans");
    dialog->setText(IDC_FONT_SIZE, std::to_string(size));
  }
  // Animated, with the main delay and the pause at rest.
  void animate(int delay, int pause) {
    dialog->setChecked(IDC_ANIMATED, true);
    dialog->setText(IDC_DELAY, std::to_string(delay));
    dialog->setText(IDC_PAUSE, std::to_string(pause));
  }

  MemHandle frame(uint32_t i) const { return storedFrame(store, i); }
  std::vector<int32_t> delays() const { return storedDelays(store); }

  std::unique_ptr<InMemoryDialog> dialog;
  FrameStore store;
};

}  // namespace gw::effect_test
