// The whole material editing chain through the real main dialog, as a user
// goes through it: the face becomes a gradient in the "Gradient" editor (a
// marker added, dragged and recoloured on the fountain button, the ramp added
// to the library, a library entry picked), the shadow a plain colour from the
// host's picker, the background the default tile. A build carries all three
// into the frames; closing writes the buttons' files; the next opening builds
// the same frames again; Shift at opening starts from the defaults.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"
#include "materials/group_folder.h"
#include "materials/material_record.h"
#include "materials/tile_fill.h"
#include "materials/tile_group.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "platform/folders.h"
#include "platform/module.h"
#include "protocol/host_protocol.h"
#include "tests/win32/harness.h"
#include "tests/win32/simple_page.h"
#include "tests/win32/test_build.h"
#include "ui/fountain_button.h"

using harness::DialogScript;
using harness::DibPixels;
using harness::Driver;
using harness::Plugin;

namespace {

using namespace harness::simple_page;
constexpr int kGradientKind = 1, kTileKind = 3;  // items of the kind menu
constexpr int kMultiColour = 119;
constexpr int kFountainButton = 120;
constexpr int kLibraryList = 101;

// The library entry the user picks: bands of red, green and blue from the
// top, each wide enough to reach the letters unmixed (colours as the host's
// COLORREF).
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
const uint32_t kBandMarkers[] = {gw::fountainMakeMarker(80, kRed), gw::fountainMakeMarker(100, kGreen),
                                 gw::fountainMakeMarker(150, kGreen), gw::fountainMakeMarker(170, kBlue)};
// What the host's colour picker answers, in the order the script asks.
constexpr uint32_t kNewMarker = 0x123456, kRecoloured = 0x00A5FF, kShadowColour = 0xFF00FF;

void bands(uint8_t* f) {
  gw::fountainRecordDefaults(f, gw::FountainPreset::Empty);
  gw::writeU32(f + gw::fountain::kStartColour, kRed);
  gw::writeU32(f + gw::fountain::kEndColour, kBlue);
  for (size_t i = 0; i < 4; ++i) gw::writeU32(f + gw::fountain::kMarkers + 4 * i, kBandMarkers[i]);
  gw::writeU32(f + gw::fountain::kMarkerCount, 4);
}

struct Run {
  harness::BuildCapture build;
  std::deque<uint32_t> colours;  // the picker's answers still to give
  int colourRequests = 0;
  bool built = false, gradientEditor = false, library = false, menus = true;
  int libraryRows = -1;
  COLORREF face = CLR_INVALID, shadow = CLR_INVALID, background = CLR_INVALID;
};

void playHost(Plugin& plugin, Run& run) {
  plugin.answer = [&run](void*, int32_t code, int32_t, void* p) -> int32_t {
    if (code == gw::kHostPickColour) {
      ++run.colourRequests;
      if (run.colours.empty()) return 0;  // an unexpected request is cancelled
      gw::writeU32(static_cast<uint8_t*>(p) + gw::colour_pick_record::kColour, run.colours.front());
      run.colours.pop_front();
      return 1;
    }
    return run.build.answer(code, p);
  };
}

// Client column of a 0..255 position on the fountain button.
int columnOf(HWND button, int position) {
  RECT r;
  GetClientRect(button, &r);
  const auto g = gw::fountainButtonGeometry(r.right, r.bottom);
  return g.markerX(int(float(position) * (1.0f / 255.0f) * float(g.ramp.width())));
}

void click(HWND window, UINT down, UINT up, int x, int y) {
  PostMessageA(window, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, y));
  PostMessageA(window, up, 0, MAKELPARAM(x, y));
}

// In the "Gradient" editor: multi-colour, a marker added at 16, dragged to
// about 112 and recoloured, the ramp added to the library, and the library's
// first entry picked.
void editGradient(Driver& d, HWND editor, Run& run) {
  SendMessageA(editor, WM_COMMAND, MAKEWPARAM(kMultiColour, BN_CLICKED), LPARAM(GetDlgItem(editor, kMultiColour)));
  HWND button = GetDlgItem(editor, kFountainButton);
  const int top = 6;  // the marker strip
  SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(columnOf(button, 16) + 1, top));
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(columnOf(button, 16) + 1, top));
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(columnOf(button, 64), top));
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(columnOf(button, 112), top));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(columnOf(button, 112), top));
  SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(columnOf(button, 112), top));
  // The ramp's menu: "Add to library", then "Manage library".
  RECT r;
  GetClientRect(button, &r);
  const LPARAM onRamp = MAKELPARAM(r.right / 2, r.bottom - 10);
  run.menus = harness::pickFromMenu(button, WM_RBUTTONDOWN, MK_RBUTTON, onRamp, 0) && run.menus;
  PostMessageA(button, WM_RBUTTONUP, 0, onRamp);
  Sleep(300);
  run.menus = harness::pickFromMenu(button, WM_RBUTTONDOWN, MK_RBUTTON, onRamp, 1) && run.menus;
  PostMessageA(button, WM_RBUTTONUP, 0, onRamp);
  HWND library = d.waitFor("Gradient Library");
  run.library = library != nullptr;
  if (library) {
    HWND list = GetDlgItem(library, kLibraryList);
    run.libraryRows = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    const int row = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    click(list, WM_LBUTTONDOWN, WM_LBUTTONUP, 40, row / 2);
    Sleep(300);
    d.press(library, IDOK);
    d.waitGone(library);
  }
  Sleep(300);
  d.screenshot(editor, harness::tempPath("gw_chain_gradient_editor.bmp"));
  d.press(editor, IDOK);
  d.waitGone(editor);
}

void close(Driver& d, HWND dlg) {
  d.press(dlg, IDCANCEL);
  d.waitGone(dlg);
}

struct FrameFindings {
  int red = 0, green = 0, blue = 0;  // the gradient's colours on the letters
  int shadow = 0;                     // the shadow's colour
  int tile = 0, pixels = 0;           // pixels that are the tiling's own
};

// What a frame shows of the three materials. The tile is compared with the
// primary group's first tile repeated from the frame's corner.
FrameFindings inspect(const std::vector<uint8_t>& dib) {
  FrameFindings found;
  DibPixels frame(dib);
  if (!frame.valid()) return found;
  uint8_t selection[gw::kTileSelectionSize] = {};
  gw::tileSelectionSetPath(selection, gw::pluginFolderFile(gw::kPrimaryTileGroup));
  const bool loaded = gw::tileSelectionLoad(selection);
  gw::MemBlock tiled(loaded ? gw::tileFill(selection, frame.width(), frame.height()) : 0);
  gw::tileSelectionFreeImage(selection);
  gw::MemLock lock(tiled.get());
  std::vector<uint8_t> tileBytes;
  if (lock) tileBytes.assign(lock.data(), lock.data() + lock.size());
  DibPixels tile(tileBytes);
  found.pixels = frame.width() * frame.height();
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x) {
      const uint32_t c = frame.at(x, y);
      found.red += c == kRed;
      found.green += c == kGreen;
      found.blue += c == kBlue;
      found.shadow += c == kShadowColour;
      found.tile += tile.valid() && c == tile.at(x, y);
    }
  return found;
}

// A preview a few pixels tall blends its bands over a row or two.
bool reddish(COLORREF c) { return c != CLR_INVALID && GetRValue(c) >= 200 && GetGValue(c) <= 64 && GetBValue(c) <= 64; }

void forgetMaterials() {
  for (int id : {kFace, kShadow, kBackground}) DeleteFileA(harness::materialFile(id).c_str());
}

}  // namespace

GW_TEST(ChainGradientColourAndTileReachTheFramesAndComeBack) {
  gw::setModuleInstance(GetModuleHandleA(nullptr));
  forgetMaterials();
  // A library of one entry, the ramp the user will pick.
  const std::string libraryPath = gw::fountainLibraryPath();
  CHECK(!libraryPath.empty());
  DeleteFileA(libraryPath.c_str());
  gw::makeFolderFor(libraryPath);
  uint8_t picked[gw::kFountainRecordSize];
  bands(picked);
  CHECK(gw::fountainLibraryAdd(libraryPath, picked));

  Run first;
  first.colours = {kNewMarker, kRecoloured, kShadowColour};
  {
    Plugin plugin;
    playHost(plugin, first);
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      showInTrueColour(dlg);
      SetDlgItemTextA(dlg, kSoftness, "0");  // a hard shadow shows its colour unmixed
      // The face: Gradient from its kind menu, then a click on it edits that.
      HWND face = GetDlgItem(dlg, kFace);
      first.menus = harness::pickFromMenu(face, kKindMenu, 0, 0, kGradientKind);
      click(face, WM_LBUTTONDOWN, WM_LBUTTONUP, 6, 6);
      HWND editor = d.waitFor("Gradient");
      first.gradientEditor = editor != nullptr;
      if (editor) editGradient(d, editor, first);
      // The shadow: a Simple colour through the host's picker.
      click(GetDlgItem(dlg, kShadow), WM_LBUTTONDOWN, WM_LBUTTONUP, 6, 6);
      Sleep(500);
      // The background: Tile, the default one.
      first.menus = harness::pickFromMenu(GetDlgItem(dlg, kBackground), kKindMenu, 0, 0, kTileKind) && first.menus;
      Sleep(500);
      first.face = harness::screenColour(face, 6, 4);
      d.screenshot(dlg, harness::tempPath("gw_chain_page.bmp"));
      first.built = harness::pressTestAndWait(d, dlg, first.build);
      close(d, dlg);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK(first.menus);
  CHECK(first.gradientEditor);
  CHECK(reddish(first.face));  // the face's preview: the red band at its top
  CHECK(first.library);
  CHECK_EQ(first.libraryRows, 2);  // the entry made beforehand and the one added
  CHECK_EQ(first.colourRequests, 3);
  CHECK(first.built);
  CHECK(!first.build.frames.empty());
  FrameFindings firstFound;
  if (!first.build.frames.empty()) {
    // The line scrolls in: the middle frame shows it whole.
    const std::vector<uint8_t>& middle = first.build.frames[first.build.frames.size() / 2];
    harness::saveDib(middle, harness::tempPath("gw_chain_frame.bmp"));
    firstFound = inspect(middle);
    std::printf("  red %d, green %d, blue %d, shadow %d, tile %d of %d\n", firstFound.red, firstFound.green,
                firstFound.blue, firstFound.shadow, firstFound.tile, firstFound.pixels);
    CHECK(firstFound.red > 200);
    CHECK(firstFound.green > 200);
    CHECK(firstFound.blue > 200);
    CHECK(firstFound.shadow > 30);
    CHECK(firstFound.tile > firstFound.pixels / 2);
  }

  // The library kept the user's own ramp as its second entry: the rainbow
  // with the marker added at 16, dragged to about 112 and recoloured.
  gw::FountainLibraryList library;
  CHECK(gw::fountainLibraryLoad(libraryPath, 0, 0, &library) == gw::FountainLibraryStatus::Ok);
  CHECK_EQ(library.size(), size_t(2));
  if (library.size() == 2) {
    const uint8_t* mine = library[1].record;
    CHECK_EQ(gw::fountainMarkerCount(mine), 8);
    int recoloured = -1;
    bool newColourLeft = false;
    for (int i = 0; i < gw::fountainMarkerCount(mine); ++i) {
      const uint32_t m = gw::fountainMarker(mine, i);
      if (gw::fountainMarkerColour(m) == kRecoloured) recoloured = gw::fountainMarkerPosition(m);
      newColourLeft = newColourLeft || gw::fountainMarkerColour(m) == kNewMarker;
    }
    CHECK(recoloured >= 108 && recoloured <= 115);
    CHECK(!newColourLeft);
  }
  // Closing wrote the three files: the picked ramp in multi-colour mode, the
  // shadow's colour, the tile.
  const std::string face = harness::readFile(harness::materialFile(kFace));
  const std::string shadow = harness::readFile(harness::materialFile(kShadow));
  const std::string background = harness::readFile(harness::materialFile(kBackground));
  CHECK_EQ(face.size(), gw::kMaterialRecordSize);
  CHECK_EQ(shadow.size(), gw::kMaterialRecordSize);
  CHECK_EQ(background.size(), gw::kMaterialRecordSize);
  if (face.size() == gw::kMaterialRecordSize && shadow.size() == gw::kMaterialRecordSize &&
      background.size() == gw::kMaterialRecordSize) {
    const auto* f = reinterpret_cast<const uint8_t*>(face.data());
    const uint8_t* ramp = f + gw::material::kGradient + gw::gradient::kFountain;
    CHECK_EQ(gw::readI32(f + gw::material::kKind), gw::kMaterialGradient);
    CHECK_EQ(gw::readI32(f + gw::material::kGradient + gw::gradient::kColourMode), 0);
    CHECK_EQ(gw::readU32(ramp + gw::fountain::kStartColour), kRed);
    CHECK_EQ(gw::readU32(ramp + gw::fountain::kEndColour), kBlue);
    CHECK_EQ(gw::fountainMarkerCount(ramp), 4);
    for (int i = 0; i < 4; ++i) CHECK_EQ(gw::fountainMarker(ramp, i), kBandMarkers[i]);
    const auto* s = reinterpret_cast<const uint8_t*>(shadow.data());
    CHECK_EQ(gw::readI32(s + gw::material::kKind), gw::kMaterialSimple);
    CHECK_EQ(gw::readU32(s + gw::material::kColour), kShadowColour);
    const auto* b = reinterpret_cast<const uint8_t*>(background.data());
    CHECK_EQ(gw::readI32(b + gw::material::kKind), gw::kMaterialTile);
  }
  // For the command line to read: the library this run wrote.
  CopyFileA(libraryPath.c_str(), harness::tempPath("gw_chain_library.fll").c_str(), FALSE);

  // Opened again: the same materials, so the same frames.
  Run second;
  {
    Plugin plugin;
    playHost(plugin, second);
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      showInTrueColour(dlg);
      second.face = harness::screenColour(GetDlgItem(dlg, kFace), 6, 4);
      second.built = harness::pressTestAndWait(d, dlg, second.build);
      close(d, dlg);
    });
    plugin.doBuild(0x1000);
  }
  CHECK(second.built);
  CHECK(reddish(second.face));
  CHECK_EQ(second.colourRequests, 0);
  CHECK_EQ(second.build.frames.size(), first.build.frames.size());
  CHECK(second.build.frames == first.build.frames);

  // With Shift held as the dialog opens: every button starts from its defaults.
  Run third;
  {
    Plugin plugin;
    playHost(plugin, third);
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      harness::selectEffect(dlg, kEffectIndex);
      third.face = harness::screenColour(GetDlgItem(dlg, kFace), 6, 4);
      third.shadow = harness::screenColour(GetDlgItem(dlg, kShadow), 6, 4);
      third.background = harness::screenColour(GetDlgItem(dlg, kBackground), 6, 4);
      SetDlgItemTextA(dlg, kSoftness, "10");
      close(d, dlg);
    });
    harness::setShift(true);
    plugin.doBuild(0x1000);
    harness::setShift(false);
  }
  CHECK_EQ(uint32_t(third.face), uint32_t(RGB(0x40, 0x7E, 0xBD)));
  CHECK_EQ(uint32_t(third.shadow), uint32_t(RGB(0x7F, 0x7F, 0x7F)));
  CHECK_EQ(uint32_t(third.background), uint32_t(RGB(0xFF, 0xFF, 0xFF)));
  forgetMaterials();
  DeleteFileA(libraryPath.c_str());
  gw::setModuleInstance(nullptr);
}
