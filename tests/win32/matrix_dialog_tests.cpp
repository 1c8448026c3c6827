// The "Matrix" dialog opened from the background's material button in the
// real main dialog: a shipped tile picked there reaches the built frames, a
// picture the host hands over through its file request becomes a tile of a
// user's group and reaches them too, and Cancel leaves the material alone.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "materials/tile_group.h"
#include "platform/bitmap.h"
#include "platform/memory.h"
#include "platform/wire_pointer.h"
#include "protocol/host_protocol.h"
#include "tests/win32/harness.h"
#include "tests/win32/simple_page.h"
#include "tests/win32/test_build.h"

using harness::DialogScript;
using harness::Driver;
using harness::Plugin;
using harness::u32;
using namespace harness::simple_page;

namespace {

constexpr int kTiles = 102;
constexpr int kGroups = 108;
constexpr int kSizeText = 105;
constexpr int kAdd = 103;
constexpr int kTileKind = 3;
constexpr int kRedBricks = 8;  // of the shipped group; its tile 0 is "Blue Sky"
constexpr int kMaterialTileIndex = 1178;
constexpr int kMaterialTilePath = 917;

struct Run {
  harness::BuildCapture build;
  std::string picture;  // what the file request answers
  int fileRequests = 0;
  int loads = 0;
};

// A 40 x 30 picture whose every pixel differs from the others, written as
// a BMP file.
constexpr int kPictureW = 40, kPictureH = 30;
uint32_t pictureColour(int x, int y) { return uint32_t(x * 6) | uint32_t(y * 8) << 8 | 0xC8u << 16; }

bool writePicture(const std::string& path) {
  const uint32_t stride = (kPictureW * 3 + 3) & ~3u;
  std::vector<uint8_t> dib(40 + stride * kPictureH);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(dib.data() + at, &v, 4); };
  put32(0, 40);
  put32(4, kPictureW);
  put32(8, kPictureH);
  dib[12] = 1, dib[14] = 24;
  for (int y = 0; y < kPictureH; ++y)
    for (int x = 0; x < kPictureW; ++x) {
      uint8_t* p = dib.data() + 40 + size_t(kPictureH - 1 - y) * stride + size_t(x) * 3;
      const uint32_t c = pictureColour(x, y);
      p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c);
    }
  return harness::saveDib(dib, path);
}

// Code 8: the file read into a packed bitmap in a movable block, as a host does.
int32_t loadPicture(const char* path) {
  const std::string bytes = harness::readFile(path);
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return 0;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() - 14);
  void* to = block ? GlobalLock(block) : nullptr;
  if (!to) return 0;
  std::memcpy(to, bytes.data() + 14, bytes.size() - 14);
  GlobalUnlock(block);
  return int32_t(gw::wireFromPointer(block));
}

void playHost(Plugin& plugin, Run& run) {
  plugin.answer = [&run](void*, int32_t code, int32_t, void* p) -> int32_t {
    if (code == gw::kHostChooseImageFile) {
      ++run.fileRequests;
      std::strcpy(static_cast<char*>(p), run.picture.c_str());
      return 1;
    }
    if (code == gw::kHostLoadImage) {
      ++run.loads;
      return loadPicture(static_cast<const char*>(p));
    }
    return run.build.answer(code, p);
  };
}

// The share of sampled frame pixels that equal the picture repeated from the
// origin that fits best: near 1 where the picture fills the frame.
template <typename PictureAt>
double shareOf(const std::vector<uint8_t>& frame, int tw, int th, PictureAt pictureAt) {
  std::vector<uint8_t> bytes(frame);
  gw::BitmapView view = gw::BitmapView::over(bytes.data(), bytes.size());
  if (!view.valid() || view.bits() != 24 || tw <= 0 || th <= 0) return 0;
  int best = 0, samples = 0;
  for (int oy = 0; oy < th; ++oy)
    for (int ox = 0; ox < tw; ++ox) {
      int hits = 0;
      samples = 0;
      for (int y = 0; y < view.height(); y += 3)
        for (int x = 0; x < view.width(); x += 3, ++samples)
          hits += view.getPixel(x, y) == int64_t(pictureAt((x + ox) % tw, (y + oy) % th));
      best = std::max(best, hits);
    }
  return samples ? double(best) / samples : 0;
}

double tileShare(const std::vector<uint8_t>& frame, gw::MemHandle tile) {
  gw::MemLock lock(tile);
  const gw::BitmapView t = gw::BitmapView::of(lock);
  if (!t.valid()) return 0;
  return shareOf(frame, t.width(), t.height(), [&t](int x, int y) { return uint32_t(t.getPixel(x, y)); });
}

std::string materialBytes() { return harness::readFile(harness::materialFile(kBackground)); }

// The main dialog with the "Simple" page in true colour, its background a Tile.
HWND openSimpleInTrueColour(Driver& d) {
  HWND dlg = d.waitFor("Glyphwright #5");
  if (!dlg) return nullptr;
  showInTrueColour(dlg);
  return dlg;
}

void pickTile(HWND matrix, int index) {
  HWND list = GetDlgItem(matrix, kTiles);
  SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
  SendMessageA(matrix, WM_COMMAND, MAKEWPARAM(kTiles, LBN_SELCHANGE), LPARAM(list));
}

}  // namespace

GW_TEST(MatrixDialogPicksAShippedTileForTheFramesAndCancelKeepsIt) {
  DeleteFileA(harness::materialFile(kBackground).c_str());
  Run run;
  bool menuShown = false;
  HWND matrix = nullptr;
  bool cancelled = false;
  int tilesListed = 0;
  std::string sizeShown;
  {
    Plugin plugin;
    playHost(plugin, run);
    DialogScript script([&](Driver& d) {
      HWND dlg = openSimpleInTrueColour(d);
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND background = GetDlgItem(dlg, kBackground);
      menuShown = harness::chooseMaterialKind(background, kTileKind);
      harness::clickMainZone(background);
      matrix = d.waitFor("Matrix");
      if (!matrix) return;
      tilesListed = int(SendDlgItemMessageA(matrix, kTiles, LB_GETCOUNT, 0, 0));
      pickTile(matrix, kRedBricks);
      sizeShown = d.text(matrix, kSizeText);
      Sleep(300);
      d.screenshot(matrix, harness::tempPath("gw_matrix_dialog.bmp"));
      d.press(matrix, 1);
      d.waitGone(matrix);
      Sleep(300);
      CHECK(harness::pressTestAndWait(d, dlg, run.build));

      // Another tile picked, then Cancel: the material stays the bricks.
      harness::clickMainZone(background);
      if (HWND again = d.waitFor("Matrix")) {
        pickTile(again, 1);
        d.press(again, 2);
        cancelled = d.waitGone(again);
      }
      d.press(dlg, 2);
      d.waitGone(dlg);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK(menuShown);
  CHECK(matrix != nullptr);
  CHECK(cancelled);
  CHECK(tilesListed >= 16);
  CHECK_EQ(sizeShown, std::string("64 x 64"));
  CHECK(!run.build.frames.empty());
  gw::MemBlock bricks(gw::tileGroupLoadTile(harness::pluginFile("glwplug5.mtx"), kRedBricks));
  gw::MemBlock sky(gw::tileGroupLoadTile(harness::pluginFile("glwplug5.mtx"), 0));
  CHECK(bricks.get() != 0);
  if (!run.build.frames.empty() && bricks) {
    const std::vector<uint8_t>& frame = run.build.frames[run.build.frames.size() / 2];
    harness::saveDib(frame, harness::tempPath("gw_matrix_frame.bmp"));
    const double brickShare = tileShare(frame, bricks.get());
    const double skyShare = tileShare(frame, sky.get());
    std::printf("  bricks fill %.2f of the frame, the default tile %.2f\n", brickShare, skyShare);
    CHECK(brickShare > 0.4);
    CHECK(skyShare < 0.05);
  }
  // Closing wrote the material: a Tile of the shipped group at the bricks.
  const std::string rec = materialBytes();
  CHECK_EQ(rec.size(), size_t(1270));
  if (rec.size() == 1270) {
    const auto* b = reinterpret_cast<const uint8_t*>(rec.data());
    CHECK_EQ(u32(b + 16), uint32_t(kTileKind));
    CHECK_EQ(u32(b + kMaterialTileIndex), uint32_t(kRedBricks));
    const std::string path(reinterpret_cast<const char*>(b + kMaterialTilePath));
    CHECK(path.size() > 12 && lstrcmpiA(path.c_str() + path.size() - 12, "glwplug5.mtx") == 0);
  }
}

GW_TEST(MatrixDialogTakesAPictureFromTheHostAsATile) {
  // A group of the user's own, empty and editable; the background is a Tile
  // since the test before.
  const std::string group = harness::pluginFile("Mine.MTX");
  CHECK(gw::tileGroupWrite(group, {}, false));
  Run run;
  run.picture = harness::tempPath("gw_matrix_picture.bmp");
  CHECK(writePicture(run.picture));
  bool sawMatrix = false;
  std::string sizeShown;
  {
    Plugin plugin;
    playHost(plugin, run);
    DialogScript script([&](Driver& d) {
      HWND dlg = openSimpleInTrueColour(d);
      if (!dlg) return;
      HWND background = GetDlgItem(dlg, kBackground);
      harness::chooseMaterialKind(background, kTileKind);
      harness::clickMainZone(background);
      HWND matrix = d.waitFor("Matrix");
      sawMatrix = matrix != nullptr;
      if (!matrix) return;
      HWND groups = GetDlgItem(matrix, kGroups);
      const LRESULT mine = SendMessageA(groups, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Mine"));
      SendMessageA(groups, CB_SETCURSEL, WPARAM(mine), 0);
      SendMessageA(matrix, WM_COMMAND, MAKEWPARAM(kGroups, CBN_CLOSEUP), LPARAM(groups));
      SendMessageA(matrix, WM_COMMAND, MAKEWPARAM(kAdd, BN_CLICKED), LPARAM(GetDlgItem(matrix, kAdd)));
      sizeShown = d.text(matrix, kSizeText);
      d.press(matrix, 1);
      d.waitGone(matrix);
      Sleep(300);
      CHECK(harness::pressTestAndWait(d, dlg, run.build));
      d.press(dlg, 2);
      d.waitGone(dlg);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK(sawMatrix);
  CHECK_EQ(run.fileRequests, 1);
  CHECK_EQ(run.loads, 1);
  CHECK_EQ(sizeShown, std::string("40 x 30"));
  gw::TileGroup back;
  CHECK(gw::tileGroupRead(group, &back));
  CHECK_EQ(back.tiles.size(), size_t(1));
  CHECK(!run.build.frames.empty());
  if (!run.build.frames.empty()) {
    harness::saveDib(run.build.frames[run.build.frames.size() / 2], harness::tempPath("gw_matrix_picture_frame.bmp"));
    const double share = shareOf(run.build.frames[run.build.frames.size() / 2], kPictureW, kPictureH, pictureColour);
    std::printf("  the picture fills %.2f of the frame\n", share);
    CHECK(share > 0.4);
  }
  const std::string rec = materialBytes();
  if (rec.size() == 1270) {
    const auto* b = reinterpret_cast<const uint8_t*>(rec.data());
    CHECK_EQ(u32(b + kMaterialTileIndex), 0u);
    const std::string path(reinterpret_cast<const char*>(b + kMaterialTilePath));
    CHECK(path.size() > 8 && lstrcmpiA(path.c_str() + path.size() - 8, "Mine.MTX") == 0);
  }
  DeleteFileA(group.c_str());
  DeleteFileA(harness::materialFile(kBackground).c_str());
  DeleteFileA(run.picture.c_str());
}
