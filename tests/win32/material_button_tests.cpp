// The material buttons in the real dialog: the kind menu opened and picked
// from the keyboard, the face edited through the host's colour picker, a
// build that carries both into the frames, the files written at close, the
// next opening restoring them and Shift at opening giving the defaults.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/wire_pointer.h"
#include "tests/win32/harness.h"
#include "tests/win32/simple_page.h"
#include "tests/win32/test_build.h"

using harness::DialogScript;
using harness::Driver;
using harness::Plugin;

namespace {

using namespace harness::simple_page;
using harness::u32;

// The colour on screen a few pixels into the button's face.
COLORREF faceColour(HWND button) { return harness::screenColour(button, 6, 4); }

struct Run {
  harness::BuildCapture build;
  bool menuShown = false;
  bool pickAsked = false;
  COLORREF face = CLR_INVALID;
};

// The host: answers the colour picker (11) with pure green and keeps every frame.
void playHost(Plugin& plugin, Run& run) {
  plugin.answer = [&run](void*, int32_t code, int32_t, void* p) -> int32_t {
    if (code == 11) {
      run.pickAsked = true;
      auto* record = static_cast<uint8_t*>(p);
      record[20] = 0x00, record[21] = 0xFF, record[22] = 0x00, record[23] = 0;
      return 1;
    }
    return run.build.answer(code, p);
  };
}

// Pixels of a true-colour frame (bottom-up rows) as colours 0x00BBGGRR.
std::set<uint32_t> coloursOf(const std::vector<uint8_t>& dib, int* green) {
  std::set<uint32_t> colours;
  *green = 0;
  if (dib.size() < 40) return colours;
  const int32_t w = int32_t(u32(dib.data() + 4)), h = int32_t(u32(dib.data() + 8));
  const int bits = dib[14] | (dib[15] << 8);
  if (bits != 24 || w <= 0 || h <= 0) return colours;
  const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
  const size_t offset = u32(dib.data());
  if (dib.size() < offset + stride * size_t(h)) return colours;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t* p = dib.data() + offset + size_t(y) * stride + size_t(x) * 3;
      const uint32_t c = p[2] | (p[1] << 8) | (uint32_t(p[0]) << 16);
      *green += c == 0x00FF00;
      colours.insert(c);
    }
  return colours;
}

}  // namespace

GW_TEST(MaterialButtonsReachTheFramesAndComeBackNextTime) {
  DeleteFileA(harness::materialFile(kFace).c_str());
  DeleteFileA(harness::materialFile(kBackground).c_str());
  Run first;
  {
    Plugin plugin;
    playHost(plugin, first);
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      showInTrueColour(dlg);
      first.menuShown = harness::chooseMaterialKind(GetDlgItem(dlg, kBackground), 2);  // Texture
      // A click on the face's main zone edits the Simple colour.
      HWND face = GetDlgItem(dlg, kFace);
      harness::clickMainZone(face);
      Sleep(800);
      first.face = faceColour(face);
      d.screenshot(dlg, harness::tempPath("gw_material_page.bmp"));
      CHECK(harness::pressTestAndWait(d, dlg, first.build));
      d.press(dlg, 2);
      d.waitGone(dlg);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK(first.menuShown);
  CHECK(first.pickAsked);
  CHECK_EQ(uint32_t(first.face), uint32_t(RGB(0, 255, 0)));
  CHECK(!first.build.frames.empty());
  if (!first.build.frames.empty()) {
    int green = 0;
    // The line scrolls in: the middle frame shows it whole.
    std::set<uint32_t> colours = coloursOf(first.build.frames[first.build.frames.size() / 2], &green);
    CHECK(green > 20);               // the face's new colour
    CHECK(colours.size() > 40u);     // the textured background
  }
  // Closing wrote both files: the face's green, the background's texture.
  std::string face = harness::readFile(harness::materialFile(kFace));
  std::string background = harness::readFile(harness::materialFile(kBackground));
  CHECK_EQ(face.size(), size_t(1270));
  CHECK_EQ(background.size(), size_t(1270));
  if (face.size() == 1270 && background.size() == 1270) {
    CHECK_EQ(u32(reinterpret_cast<const uint8_t*>(face.data()) + 20), uint32_t(0x00FF00));
    CHECK_EQ(u32(reinterpret_cast<const uint8_t*>(background.data()) + 16), uint32_t(2));
  }

  // Opened again, the face is green at once.
  Run second;
  {
    Plugin plugin;
    playHost(plugin, second);
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      harness::selectEffect(dlg, kEffectIndex);
      second.face = faceColour(GetDlgItem(dlg, kFace));
      d.press(dlg, 2);
      d.waitGone(dlg);
    });
    plugin.doBuild(0x1000);
  }
  CHECK_EQ(uint32_t(second.face), uint32_t(RGB(0, 255, 0)));

  // With Shift held as the dialog opens: the defaults.
  Run third;
  {
    Plugin plugin;
    playHost(plugin, third);
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      harness::selectEffect(dlg, kEffectIndex);
      third.face = faceColour(GetDlgItem(dlg, kFace));
      d.press(dlg, 2);
      d.waitGone(dlg);
    });
    harness::setShift(true);
    plugin.doBuild(0x1000);
    harness::setShift(false);
  }
  CHECK_EQ(uint32_t(third.face), uint32_t(RGB(0x40, 0x7E, 0xBD)));
  DeleteFileA(harness::materialFile(kFace).c_str());
  DeleteFileA(harness::materialFile(kBackground).c_str());
}
