#include "cli/gif_writer.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/gif_lzw.h"
#include "imaging/bitmap.h"

namespace gw::cli {
namespace {

struct GifCloser {
  GifFileType* gif = nullptr;
  ~GifCloser() {
    if (gif) EGifCloseFile(gif, nullptr);
  }
  bool close() {
    int err = 0;
    bool ok = EGifCloseFile(gif, &err) == GIF_OK;
    gif = nullptr;
    return ok;
  }
};

struct MapObject {
  ColorMapObject* map = nullptr;
  ~MapObject() {
    if (map) GifFreeMapObject(map);
  }
};

ColorMapObject* makeMap(const uint8_t* palette768, int bits) {
  int count = 1 << bits;
  ColorMapObject* map = GifMakeMapObject(count, nullptr);
  if (!map) return nullptr;
  for (int i = 0; i < count; ++i) {
    map->Colors[i].Red = palette768[i * 3];
    map->Colors[i].Green = palette768[i * 3 + 1];
    map->Colors[i].Blue = palette768[i * 3 + 2];
  }
  return map;
}

bool putLoopExtension(GifFileType* gif) {
  static const uint8_t app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const uint8_t loop[] = {1, 0, 0};  // 0 repetitions: forever
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof app, app) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
}

struct Rect {
  int32_t left, top, width, height;
};

// The part of a frame that draws anything. A frame left in place over the
// previous ones (a supercompressed frame) draws nothing where it holds its
// transparent index, so only the box around its other pixels is stored; a
// frame with nothing new keeps one transparent pixel, as a GIF image needs one.
Rect drawnRect(const BitmapView& view, const ReceivedFrame& f) {
  Rect whole{0, 0, view.width(), view.height()};
  if (f.transparent || f.transparentIndex < 0 || f.transparentIndex > 255) return whole;
  const uint8_t t = uint8_t(f.transparentIndex);
  int32_t left = view.width(), right = -1, top = view.height(), bottom = -1;
  for (int32_t y = 0; y < view.height(); ++y) {
    const uint8_t* row = view.row(y);
    for (int32_t x = 0; x < view.width(); ++x) {
      if (row[x] == t) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return Rect{0, 0, 1, 1};
  return Rect{left, top, right - left + 1, bottom - top + 1};
}

// Hands coded sub-blocks to giflib, which has written the code-size byte.
bool putCodedImage(GifFileType* gif, const std::vector<uint8_t>& blocks) {
  size_t pos = 0;
  bool first = true;
  while (pos < blocks.size() && blocks[pos] != 0) {
    const GifByteType* block = blocks.data() + pos;
    int rc = first ? EGifPutCode(gif, 0, block) : EGifPutCodeNext(gif, block);
    if (rc != GIF_OK) return false;
    first = false;
    pos += size_t(blocks[pos]) + 1;
  }
  return EGifPutCodeNext(gif, nullptr) == GIF_OK;
}

}  // namespace

bool writeGif(const ReceivedAnimation& a, const std::string& path, std::string* error) {
  int bits = int(a.colourBits);
  if (bits < 1 || bits > 8) {
    *error = "a GIF holds at most 256 colours; this build is true colour (write .webp or .png)";
    return false;
  }
  if (a.frames.empty() || a.width <= 0 || a.height <= 0 || a.width > 65535 || a.height > 65535) {
    *error = "the build produced no frames";
    return false;
  }
  std::string temp = path + ".tmp";
  int err = 0;
  GifCloser out;
  // Opened here rather than by giflib, which would create the file readable
  // by its owner alone.
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  out.gif = fd >= 0 ? EGifOpenFileHandle(fd, &err) : nullptr;
  if (!out.gif) {
    if (fd >= 0) close(fd);
    *error = path + ": cannot create the file (" + GifErrorString(err) + ")";
    return false;
  }
  auto failed = [&](const char* what) {
    out.close();
    std::remove(temp.c_str());
    *error = path + ": " + what;
    return false;
  };
  EGifSetGifVersion(out.gif, true);
  MapObject global;
  global.map = makeMap(a.palette, bits);
  if (!global.map) return failed("out of memory");
  int backgroundIndex = a.backgroundKind == 101 ? int(a.background) & 0xFF : 0;
  if (EGifPutScreenDesc(out.gif, a.width, a.height, bits, backgroundIndex, global.map) != GIF_OK)
    return failed("error writing the screen descriptor");
  if (a.frames.size() > 1 && !putLoopExtension(out.gif)) return failed("error writing the loop block");

  std::vector<uint8_t> frameBytes;
  // What a viewer shows so far, as indices of the global table; -1 where no
  // frame has drawn yet or where a frame's own table differs.
  std::vector<int16_t> screen(size_t(a.width) * size_t(a.height), -1);
  for (const ReceivedFrame& f : a.frames) {
    frameBytes = f.dib;
    BitmapView view = BitmapView::over(frameBytes.data(), frameBytes.size());
    if (!view.valid() || view.bits() != 8) return failed("a frame is not an 8-bit image");
    GraphicsControlBlock gcb;
    gcb.DisposalMode = f.transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = f.delay < 0 ? 0 : f.delay > 65535 ? 65535 : f.delay;
    gcb.TransparentColor = (f.transparentIndex >= 0 && f.transparentIndex < 256) ? f.transparentIndex : NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    size_t n = EGifGCBToExtension(&gcb, ext);
    if (EGifPutExtension(out.gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext) != GIF_OK)
      return failed("error writing a frame's control block");

    // A frame whose colour table differs from the global one (a supercompressed
    // frame's reserved entry) carries its own.
    uint8_t framePalette[768] = {};
    for (int i = 0; i < view.colourTableEntries(); ++i) {
      const uint8_t* e = view.colourTable() + i * 4;
      framePalette[i * 3] = e[2];
      framePalette[i * 3 + 1] = e[1];
      framePalette[i * 3 + 2] = e[0];
    }
    MapObject local;
    if (std::memcmp(framePalette, a.palette, size_t(3) << bits) != 0) {
      local.map = makeMap(framePalette, bits);
      if (!local.map) return failed("out of memory");
    }
    Rect r = drawnRect(view, f);
    if (EGifPutImageDesc(out.gif, r.left, r.top, r.width, r.height, false, local.map) != GIF_OK)
      return failed("error writing an image descriptor");
    const GifPixelType mask = GifPixelType((1u << bits) - 1);
    const bool sharesTable = local.map == nullptr;
    const bool leftInPlace = !f.transparent && f.transparentIndex >= 0 && f.transparentIndex <= 255;
    // The box's pixels, and for a frame left in place the choice between the
    // transparent index and the colour already shown for unchanged pixels.
    std::vector<uint8_t> values(size_t(r.width) * size_t(r.height));
    std::vector<int16_t> beneath(values.size(), -1);
    for (int32_t y = 0; y < r.height; ++y) {
      const uint8_t* row = view.row(r.top + y);
      const int16_t* shown = screen.data() + size_t(r.top + y) * size_t(a.width) + size_t(r.left);
      for (int32_t x = 0; x < r.width; ++x) {
        values[size_t(y) * size_t(r.width) + size_t(x)] = row[r.left + x] & mask;
        beneath[size_t(y) * size_t(r.width) + size_t(x)] = shown[x];
      }
    }
    LzwImage coded = lzwEncodeBest(values, beneath, leftInPlace ? f.transparentIndex : -1, bits < 2 ? 2 : bits);
    if (!putCodedImage(out.gif, coded.blocks)) return failed("error writing pixels");
    for (int32_t y = 0; y < r.height; ++y) {
      int16_t* shown = screen.data() + size_t(r.top + y) * size_t(a.width) + size_t(r.left);
      const uint8_t* drawn = values.data() + size_t(y) * size_t(r.width);
      for (int32_t x = 0; x < r.width; ++x)
        if (!leftInPlace || drawn[x] != f.transparentIndex) shown[x] = sharesTable ? int16_t(drawn[x]) : int16_t(-1);
    }
    // Outside the stored box a frame that is not left in place still replaces the screen.
    if (!leftInPlace && (r.width != view.width() || r.height != view.height()))
      std::fill(screen.begin(), screen.end(), int16_t(-1));
  }
  if (a.hasComment && !a.comment.empty() && EGifPutComment(out.gif, a.comment.c_str()) != GIF_OK)
    return failed("error writing the comment");
  if (!out.close()) {
    std::remove(temp.c_str());
    *error = path + ": error writing the file";
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    *error = path + ": cannot replace the file";
    return false;
  }
  return true;
}

}  // namespace gw::cli
