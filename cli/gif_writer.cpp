#include "cli/gif_writer.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/gif_lzw.h"
#include "platform/bitmap.h"

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

// A frame as it will be coded: the box it draws in, and per pixel of the box
// its value and the global-table index already shown there (-1: none usable).
struct FrameImage {
  Rect box{0, 0, 0, 0};
  std::vector<uint8_t> values;
  std::vector<int16_t> beneath;
};

// A frame left in place over the previous ones (a supercompressed frame)
// draws nothing where it holds its transparent index, nor where it repeats
// the colour already shown, so only the box around its other pixels is
// stored, and the pixels in the box that show no change may be coded as
// either the transparent index or the colour already there. A frame with
// nothing new keeps one transparent pixel, as a GIF image needs one.
//
// `sameColour[i]`: the frame's table shows global entry i's colour at i; a
// pixel may only repeat what is shown by an index that means the same here.
FrameImage frameImage(const BitmapView& view, const std::vector<int16_t>& screen, const bool sameColour[256],
                      int transparent, uint8_t mask) {
  FrameImage out;
  const int32_t w = view.width(), h = view.height();  // the screen's size too
  auto usableBeneath = [&](int32_t x, int32_t y) -> int16_t {
    int16_t s = screen[size_t(y) * size_t(w) + size_t(x)];
    return s >= 0 && sameColour[s] ? s : int16_t(-1);
  };
  auto unchanged = [&](int32_t x, int32_t y) {
    const uint8_t v = view.row(y)[x];
    return v == transparent || int(v) == usableBeneath(x, y);
  };
  out.box = Rect{0, 0, w, h};
  if (transparent >= 0) {
    int32_t left = w, right = -1, top = h, bottom = -1;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        if (unchanged(x, y)) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    out.box = right < 0 ? Rect{0, 0, 1, 1} : Rect{left, top, right - left + 1, bottom - top + 1};
  }
  const Rect& r = out.box;
  out.values.resize(size_t(r.width) * size_t(r.height));
  out.beneath.resize(out.values.size());
  for (int32_t y = 0; y < r.height; ++y) {
    const uint8_t* row = view.row(r.top + y);
    for (int32_t x = 0; x < r.width; ++x) {
      const size_t k = size_t(y) * size_t(r.width) + size_t(x);
      const bool keep = transparent >= 0 && unchanged(r.left + x, r.top + y);
      out.values[k] = keep ? uint8_t(transparent) : uint8_t(row[r.left + x] & mask);
      out.beneath[k] = transparent >= 0 ? usableBeneath(r.left + x, r.top + y) : int16_t(-1);
    }
  }
  return out;
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
    if (view.width() != a.width || view.height() != a.height) return failed("a frame's size differs from the animation's");
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
    bool sameColour[256] = {};
    for (int i = 0; i < (1 << bits); ++i)
      sameColour[i] = local.map == nullptr || std::memcmp(framePalette + i * 3, a.palette + i * 3, 3) == 0;
    const GifPixelType mask = GifPixelType((1u << bits) - 1);
    const bool leftInPlace = !f.transparent && f.transparentIndex >= 0 && f.transparentIndex <= mask;
    const int transparent = leftInPlace ? f.transparentIndex : -1;
    FrameImage image = frameImage(view, screen, sameColour, transparent, mask);
    const Rect& r = image.box;
    // giflib drops, without freeing, the copy it kept of the previous frame's
    // own table when the next frame has none; free it first.
    if (!local.map && out.gif->Image.ColorMap) {
      GifFreeMapObject(out.gif->Image.ColorMap);
      out.gif->Image.ColorMap = nullptr;
    }
    if (EGifPutImageDesc(out.gif, r.left, r.top, r.width, r.height, false, local.map) != GIF_OK)
      return failed("error writing an image descriptor");
    LzwImage coded = lzwEncodeBest(image.values, image.beneath, transparent, bits < 2 ? 2 : bits);
    if (!putCodedImage(out.gif, coded.blocks)) return failed("error writing pixels");
    if (f.transparent) {
      // Disposed to the background afterwards: nothing of it stays shown.
      std::fill(screen.begin(), screen.end(), int16_t(-1));
      continue;
    }
    for (int32_t y = 0; y < r.height; ++y) {
      int16_t* shown = screen.data() + size_t(r.top + y) * size_t(a.width) + size_t(r.left);
      const uint8_t* drawn = coded.stored.data() + size_t(y) * size_t(r.width);
      for (int32_t x = 0; x < r.width; ++x)
        if (drawn[x] != transparent) shown[x] = sameColour[drawn[x]] ? int16_t(drawn[x]) : int16_t(-1);
    }
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
