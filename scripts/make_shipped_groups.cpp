// Writes the primary groups the plug-in ships, from the recipes in
// materials/shipped_textures.h, and with --pictures the pictures the contact
// sheet is made from:
//   gw_make_groups OUT_DIR [--pictures PICTURE_DIR]
//   gw_make_groups --names     (kind, number and name of every picture)
// scripts/make_shipped_groups.sh runs it into resources/ and docs/.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/png_io.h"
#include "materials/shipped_textures.h"
#include "materials/texture_generate.h"
#include "materials/texture_group.h"
#include "materials/tile_group.h"
#include "platform/bitmap.h"

namespace {

bool fail(const std::string& what) {
  std::fprintf(stderr, "gw_make_groups: %s\n", what.c_str());
  return false;
}

bool writePng(gw::MemHandle bitmap, const std::string& path) {
  std::string error;
  return gw::cli::writeBitmapAsPng(bitmap, path, &error) || fail(error);
}

// A tile repeated 2 x 2, so a seam would show across the middle.
gw::MemHandle twoByTwo(gw::MemHandle tile) {
  int32_t w = 0, h = 0;
  if (!gw::bitmapQuery(tile, &w, &h, nullptr, nullptr)) return 0;
  gw::MemBlock out(gw::bitmapCreateTrueColour(2 * w, 2 * h, 24));
  gw::MemLock from(tile), to(out.get());
  if (!from || !to) return 0;
  gw::BitmapView src = gw::BitmapView::of(from), dst = gw::BitmapView::of(to);
  for (int32_t y = 0; y < 2 * h; ++y)
    for (int32_t x = 0; x < 2 * w; ++x) dst.setPixel(x, y, uint32_t(src.getPixel(x % w, y % h)));
  return out.release();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--names") {
    const std::vector<gw::TextureItem> textures = gw::shippedTextures();
    for (size_t i = 0; i < textures.size(); ++i) std::printf("texture\t%02zu\t%s\n", i, textures[i].name.c_str());
    const std::vector<const char*> tiles = gw::shippedTileNames();
    for (size_t i = 0; i < tiles.size(); ++i) std::printf("tile\t%02zu\t%s\n", i, tiles[i]);
    return 0;
  }
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--pictures")) {
    std::fprintf(stderr, "usage: gw_make_groups OUT_DIR [--pictures PICTURE_DIR]\n");
    return 2;
  }
  const std::string out = argv[1];
  const std::string pictures = argc == 4 ? argv[3] : "";
  if (!gw::writeFileAtomically(out + "/glwplug5.fft", gw::shippedTextureGroupText()))
    return fail(out + "/glwplug5.fft: cannot write"), 1;

  std::vector<gw::MemBlock> tiles;
  std::vector<gw::MemHandle> handles;
  const std::vector<const char*> tileNames = gw::shippedTileNames();
  for (size_t i = 0; i < tileNames.size(); ++i) {
    gw::MemBlock tile(gw::makeShippedTile(i));
    if (!tile) return fail(std::string("tile ") + tileNames[i] + " could not be made"), 1;
    handles.push_back(tile.get());
    tiles.push_back(std::move(tile));
  }
  gw::TileGroupStamp stamp;
  stamp.timeWritten = gw::kShippedGroupTime;
  stamp.writeable = false;
  if (!gw::tileGroupWriteStamped(out + "/glwplug5.mtx", handles, false, stamp))
    return fail(out + "/glwplug5.mtx: cannot write"), 1;

  if (pictures.empty()) return 0;
  char name[64];
  std::vector<gw::TextureItem> textures = gw::shippedTextures();
  for (size_t i = 0; i < textures.size(); ++i) {
    gw::textureSetOutputRect(textures[i].settings.data(), 0, 0, 128, 128);
    gw::MemBlock bitmap(gw::textureGenerate(textures[i].settings.data()));
    std::snprintf(name, sizeof name, "/texture%02zu.png", i);
    if (!bitmap || !writePng(bitmap.get(), pictures + name)) return 1;
  }
  for (size_t i = 0; i < tiles.size(); ++i) {
    gw::MemBlock doubled(twoByTwo(tiles[i].get()));
    std::snprintf(name, sizeof name, "/tile%02zu.png", i);
    if (!doubled || !writePng(doubled.get(), pictures + name)) return 1;
  }
  return 0;
}
