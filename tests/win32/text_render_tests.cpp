// Letters through GDI: the cell height a font is asked for, antialiased and
// one-bit letter masks, the default "Simple" frame rendered in-process, and
// the main dialog's sample window showing that still (its picture is saved
// for a person to look at).
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/le_bytes.h"
#include "effects/text_styling.h"
#include "harness.h"
#include "platform/bitmap.h"
#include "materials/material_record.h"
#include "platform/memory.h"
#include "platform/rasteriser.h"

using harness::DialogScript;
using harness::Driver;
using harness::Plugin;

namespace {

constexpr int kEffectList = 58;
constexpr int kSampleSize = 17;

int maxValue(gw::MemHandle mask, bool* twoValues) {
  gw::MemLock lock(mask);
  gw::BitmapView v = gw::BitmapView::of(lock);
  int top = 0;
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) top = v.row(y)[x] > top ? v.row(y)[x] : top;
  *twoValues = true;
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x)
      if (v.row(y)[x] != 0 && v.row(y)[x] != top) *twoValues = false;
  return top;
}

void plain(gw::MaterialBytes* record, uint32_t colour) {
  gw::materialRecordDefaults(record->data(), false);
  gw::writeU32(record->data() + gw::material::kColour, colour);
}

// A 24-bit Bitmap as a .bmp file: the file header, then the block as it is.
bool saveBitmap(gw::MemHandle bitmap, const std::string& path) {
  gw::MemLock lock(bitmap);
  if (!lock) return false;
  uint8_t header[14] = {'B', 'M'};
  gw::writeU32(header + 2, uint32_t(14 + lock.size()));
  gw::writeU32(header + 10, 14 + 40);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(header, 1, 14, f) == 14 && std::fwrite(lock.data(), 1, lock.size(), f) == lock.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

GW_TEST(GdiFontHeightIsTheCellHeight) {
  for (int32_t height : {12, 40, 92}) {
    gw::RasteriserFont font;
    CHECK(font.open({"Arial", height, true, false}));
    // GDI rounds ascent and descent each on its own: the cell may be one off.
    CHECK(font.metrics().height >= height - 1 && font.metrics().height <= height + 1);
    CHECK_EQ(font.metrics().ascent + font.metrics().descent, font.metrics().height);
  }
}

GW_TEST(GdiLetterMasksScaleGreyLevelsAndKeepOneBitLettersTwoValued) {
  gw::RasteriserFont font;
  CHECK(font.open({"Arial", 60, false, false}));
  int32_t advance = 0;
  CHECK(gw::rasteriserMeasureLetter(font, 'O', &advance));
  CHECK(advance > 20 && advance < 80);
  gw::LetterMask grey, mono, blank;
  CHECK(gw::rasteriserRenderLetter(font, 'O', advance, true, 255, &grey));
  CHECK(gw::rasteriserRenderLetter(font, 'O', advance, false, 200, &mono));
  CHECK(gw::rasteriserRenderLetter(font, ' ', 0, true, 255, &blank));
  gw::MemBlock g(grey.mask), m(mono.mask);
  CHECK(g && m);
  bool twoValues = false;
  CHECK_EQ(maxValue(grey.mask, &twoValues), 255);
  CHECK(!twoValues);
  CHECK_EQ(maxValue(mono.mask, &twoValues), 200);
  CHECK(twoValues);
  CHECK_EQ(blank.mask, 0u);
  CHECK(grey.top >= 0);
}

GW_TEST(DefaultSimpleFrameRendersThroughGdi) {
  gw::TextStyle s;
  s.text = "This space for rent...";
  s.fontFace = "Impact";
  s.fontSize = 92;
  s.bold = true;
  s.characterSpace = 90;
  plain(&s.fillMaterial, 0xBD7E40);
  s.shadowEnable = true;
  plain(&s.shadowMaterial, 0x7F7F7F);
  s.softness = 20;
  s.outlineEnable = true;
  plain(&s.backgroundMaterial, 0xFFFFFF);
  gw::MemBlock frame(gw::renderTextFrame(s, {0, 0}));
  CHECK(frame);
  int32_t w = 0, h = 0;
  CHECK(gw::bitmapQuery(frame.get(), &w, &h, nullptr, nullptr));
  gw::RasteriserFont font;
  CHECK(font.open({"Impact", 92, true, false}));
  CHECK(w > 300);
  CHECK_EQ(h, 2 * 3 + font.metrics().height + 4);
  CHECK(saveBitmap(frame.get(), harness::tempPath("gw_simple_frame.bmp")));
}

GW_TEST(TheSampleWindowShowsTheSimpleStill) {
  Plugin plugin;
  std::string caption;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND list = GetDlgItem(dlg, kEffectList);
      SendMessageA(list, CB_SETCURSEL, 12, 0);
      SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kEffectList, CBN_CLOSEUP), LPARAM(list));
      PostMessageA(dlg, 1327, 0, 0);  // repaint the sample now
      Sleep(1200);
      caption = d.text(dlg, kSampleSize);
      d.screenshot(dlg, harness::tempPath("gw_simple_sample_dialog.bmp"));
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  int w = 0, h = 0;
  CHECK_EQ(std::sscanf(caption.c_str(), "%d x %d pixels", &w, &h), 2);
  gw::RasteriserFont font;
  CHECK(font.open({"Impact", 92, true, false}));
  CHECK(w > 300);
  CHECK_EQ(h, 2 * 3 + font.metrics().height + 4);
}
