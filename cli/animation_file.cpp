#include "cli/animation_file.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/checked_math.h"
#include "cli/png_io.h"
#include "controls/animation_block.h"
#include "imaging/pixel_rows.h"
#include "platform/bitmap.h"

namespace gw::cli {
namespace {

uint32_t readU32BE(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

using Bytes = std::vector<uint8_t>;

bool readFile(const std::string& path, Bytes* out, std::string* error) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = "cannot open the animation " + path;
    return false;
  }
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (out->size() + n > kMaxAnimationBytes) {
      std::fclose(f);
      *error = "the animation " + path + " is too large";
      return false;
    }
    out->insert(out->end(), buffer, buffer + n);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) *error = "cannot read the animation " + path;
  return !failed;
}

// The block's bytes for one frame of the canvas: its chunk header and its
// bitmap. 0 when such a bitmap cannot exist.
size_t frameChunkBytes(int32_t width, int32_t height) {
  const size_t bitmap = bitmapBlockSize(width, height, 24);
  return bitmap == 0 ? 0 : animation_block::kFrameHeaderSize + bitmap;
}

// Collects frames straight into the block, with room for as many as the
// file declares. Every frame is paid for from the budget before a byte of it
// is decoded, so a short file that declares a huge canvas or thousands of
// frames is refused before it costs anything.
class FrameList {
 public:
  FrameList(int32_t width, int32_t height, size_t capacity)
      : writer_(width, height, 0, capacity), frameBytes_(frameChunkBytes(width, height)) {}

  // Takes `bytes` from the budget; false (with *error) when it is spent.
  bool reserve(size_t bytes, std::string* error) {
    if (bytes == 0 || !checkedAdd(spent_, bytes, &spent_) || spent_ > kMaxAnimationBytes) {
      *error = "the animation is too large (more than " + std::to_string(kMaxAnimationBytes >> 20) +
               " MiB of frames)";
      return false;
    }
    return true;
  }

  // A 24-bit frame of the canvas size from RGB rows (red, green, blue, top
  // row first); false when the frames would grow past the budget.
  bool add(const uint8_t* rgb, size_t rgbStride, int32_t delay, std::string* error) {
    if (!reserve(frameBytes_, error)) return false;
    if (!writer_.ok()) {
      *error = "out of memory";
      return false;
    }
    if (!writer_.addRgbFrame(rgb, rgbStride, delay)) {
      *error = "the animation holds more frames than it declares";
      return false;
    }
    return true;
  }

  bool empty() const { return writer_.frames() == 0; }
  bool full() const { return writer_.full(); }

  MemHandle block(std::string* error) {
    if (empty()) {
      *error = "the animation has no frames";
      return 0;
    }
    MemHandle b = writer_.finish();
    if (!b) *error = "out of memory";
    return b;
  }

 private:
  AnimationBlockWriter writer_;
  size_t frameBytes_;
  size_t spent_ = 0;
};

// The canvas must make a bitmap, and `workBytes` (what the decoder needs
// beside the frames) plus one frame must fit the budget.
bool canvasSizeOk(long width, long height, size_t workBytes, std::string* error) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
      frameChunkBytes(int32_t(width), int32_t(height)) == 0) {
    *error = "the animation's canvas size is not usable";
    return false;
  }
  size_t total = 0;
  if (!checkedAdd(workBytes, frameChunkBytes(int32_t(width), int32_t(height)), &total) ||
      total > kMaxAnimationBytes) {
    *error = "the animation's canvas (" + std::to_string(width) + " x " + std::to_string(height) +
             ") is too large";
    return false;
  }
  return true;
}

struct GifReader {
  const Bytes* bytes;
  size_t at = 0;
  static int read(GifFileType* gif, GifByteType* out, int n) {
    auto* r = static_cast<GifReader*>(gif->UserData);
    const size_t left = r->bytes->size() - r->at;
    const size_t take = n < 0 ? 0 : std::min(left, size_t(n));
    std::memcpy(out, r->bytes->data() + r->at, take);
    r->at += take;
    return int(take);
  }
};

// The rows of an interlaced frame arrive in four passes; the k-th row read
// goes to this row of the frame.
long interlacedRow(long k, long height) {
  static const long kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const long rows = kStart[pass] < height ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (k < rows) return kStart[pass] + k * kStep[pass];
    k -= rows;
  }
  return -1;
}

// The composited screen of a GIF as frames are drawn on it.
struct GifScreen {
  long width, height;
  uint8_t background[3];
  Bytes canvas, saved;
  size_t stride() const { return size_t(width) * 3; }
};

// Paints the part of the screen from (x0, y0) up to (x1, y1), clipped to it,
// with the background colour: one row pixel by pixel, the others copied from
// it, since a screen may be millions of pixels.
void paintBackground(GifScreen* screen, long x0, long y0, long x1, long y1) {
  x0 = std::max(0L, x0), y0 = std::max(0L, y0);
  x1 = std::min(screen->width, x1), y1 = std::min(screen->height, y1);
  if (x0 >= x1 || y0 >= y1) return;
  const size_t span = size_t(x1 - x0) * 3;
  uint8_t* first = &screen->canvas[size_t(y0) * screen->stride() + size_t(x0) * 3];
  for (size_t i = 0; i < span; i += 3) std::memcpy(first + i, screen->background, 3);
  for (long y = y0 + 1; y < y1; ++y)
    std::memcpy(&screen->canvas[size_t(y) * screen->stride() + size_t(x0) * 3], first, span);
}

// Reads the image whose descriptor giflib has just read and draws it on the
// screen; false (with *why) when it has no colours or its data is damaged.
bool drawGifImage(GifFileType* gif, const GraphicsControlBlock& gcb, GifScreen* screen, Bytes* row,
                  std::string* why) {
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  const long left = desc.Left, top = desc.Top, w = desc.Width, h = desc.Height;
  if (!map) {
    *why = "a GIF frame has no colour table";
    return false;
  }
  if (w <= 0 || h <= 0) {
    *why = "a GIF frame has no pixels";
    return false;
  }
  row->resize(size_t(w));
  const long x0 = std::max(0L, left), x1 = std::min(screen->width, left + w);
  for (long k = 0; k < h; ++k) {
    if (DGifGetLine(gif, row->data(), int(w)) != GIF_OK) {
      *why = std::string("not a readable GIF: ") + GifErrorString(gif->Error);
      return false;
    }
    const long y = top + (desc.Interlace ? interlacedRow(k, h) : k);
    if (y < 0 || y >= screen->height) continue;
    uint8_t* dst = &screen->canvas[size_t(y) * screen->stride()];
    for (long x = x0; x < x1; ++x) {
      const int index = (*row)[size_t(x - left)];
      if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
      const GifColorType& c = map->Colors[index];
      uint8_t* p = dst + size_t(x) * 3;
      p[0] = c.Red;
      p[1] = c.Green;
      p[2] = c.Blue;
    }
  }
  return true;
}

// How many images a GIF holds (up to any damage) and their total area, read
// without decoding a pixel: the file's size on the screen is known, and
// refused, before any of it is made.
struct GifCensus {
  size_t images = 0;
  size_t area = 0;  // saturates
};

GifCensus gifCensus(const Bytes& file) {
  GifCensus census;
  GifReader reader{&file};
  int err = 0;
  GifFileType* gif = DGifOpen(&reader, &GifReader::read, &err);
  if (!gif) return census;
  for (bool more = true; more;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) != GIF_OK || type == TERMINATE_RECORD_TYPE) break;
    GifByteType* block = nullptr;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      if (DGifGetExtension(gif, &code, &block) != GIF_OK) break;
      while (block && more) more = DGifGetExtensionNext(gif, &block) == GIF_OK;
    } else if (type == IMAGE_DESC_RECORD_TYPE && DGifGetImageDesc(gif) == GIF_OK) {
      ++census.images;
      size_t area = 0;
      if (!checkedMul(size_t(std::max(0, gif->Image.Width)), size_t(std::max(0, gif->Image.Height)), &area) ||
          !checkedAdd(census.area, area, &census.area))
        census.area = SIZE_MAX;
      int codeSize = 0;
      if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) break;
      while (block && more) more = DGifGetCodeNext(gif, &block) == GIF_OK;
    } else {
      break;
    }
  }
  DGifCloseFile(gif, &err);
  return census;
}

// Frames are read one at a time, straight onto the screen: only the screen,
// one saved copy and one row are held besides the frames themselves, and the
// budget is checked before each frame's pixels are decoded.
MemHandle decodeGif(const Bytes& file, std::string* error) {
  GifReader reader{&file};
  int err = 0;
  GifFileType* gif = DGifOpen(&reader, &GifReader::read, &err);
  if (!gif) {
    *error = std::string("not a readable GIF: ") + GifErrorString(err);
    return 0;
  }
  struct Closer {
    GifFileType* g;
    ~Closer() {
      int e = 0;
      DGifCloseFile(g, &e);
    }
  } closer{gif};
  GifScreen screen{gif->SWidth, gif->SHeight, {0, 0, 0}, {}, {}};
  // The screen and its saved copy (for frames disposed to the previous one).
  const size_t work = size_t(std::max(0L, screen.width)) * size_t(std::max(0L, screen.height)) * 6;
  if (!canvasSizeOk(screen.width, screen.height, work, error)) return 0;
  const GifCensus census = gifCensus(file);
  {
    size_t all = 0;
    if (!checkedMul(frameChunkBytes(int32_t(screen.width), int32_t(screen.height)), census.images, &all) ||
        !checkedAdd(all, census.area, &all) || !checkedAdd(all, work, &all) || all > kMaxAnimationBytes) {
      *error = "the animation is too large: " + std::to_string(census.images) + " frames of " +
               std::to_string(screen.width) + " x " + std::to_string(screen.height) + " from images of " +
               (census.area == SIZE_MAX ? std::string("too many") : std::to_string(census.area)) +
               " pixels; up to " + std::to_string(kMaxAnimationBytes >> 20) + " MiB is decoded";
      return 0;
    }
  }
  FrameList frames{int32_t(screen.width), int32_t(screen.height), census.images};
  if (!frames.reserve(work, error)) return 0;

  // Pixels no frame has painted, and areas disposed to the background, show
  // the screen's background colour.
  if (gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount) {
    const GifColorType& c = gif->SColorMap->Colors[gif->SBackGroundColor];
    screen.background[0] = c.Red;
    screen.background[1] = c.Green;
    screen.background[2] = c.Blue;
  }

  // A GIF cut short or damaged after some frames still shows the frames
  // before the damage, as editors do; no frame at all is an error.
  Bytes row;
  std::string damage;
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  for (bool more = true; more;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) != GIF_OK) break;
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif, &code, &ext) != GIF_OK) break;
      // A malformed control block leaves the frame's defaults, as it always has.
      if (code == GRAPHICS_EXT_FUNC_CODE && ext) DGifExtensionToGCB(ext[0], ext + 1, &gcb);
      while (ext) {
        if (DGifGetExtensionNext(gif, &ext) != GIF_OK) {
          more = false;
          break;
        }
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) break;
    // The census read the file the same way; an image past its count lies
    // beyond damage it met, and ends the animation there as damage does.
    if (frames.full()) break;
    // The screen is laid out at its first image: a file that declares a
    // large screen and holds no image is refused without painting it.
    if (screen.canvas.empty()) {
      screen.canvas.resize(screen.stride() * size_t(screen.height));
      paintBackground(&screen, 0, 0, screen.width, screen.height);
    }
    // Decoding the frame's own rectangle costs a byte of work a pixel, even
    // where it lies outside the screen.
    size_t area = 0;
    if (!checkedMul(size_t(std::max(0, gif->Image.Width)), size_t(std::max(0, gif->Image.Height)), &area) ||
        !frames.reserve(area, error))
      return 0;
    if (gcb.DisposalMode == DISPOSE_PREVIOUS) screen.saved = screen.canvas;
    if (!drawGifImage(gif, gcb, &screen, &row, &damage)) break;
    if (!frames.add(screen.canvas.data(), screen.stride(), gcb.DelayTime, error)) return 0;
    if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
      const long left = gif->Image.Left, top = gif->Image.Top;
      paintBackground(&screen, left, top, left + gif->Image.Width, top + gif->Image.Height);
    } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
      screen.canvas.swap(screen.saved);
    }
    gcb = GraphicsControlBlock{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  }
  if (frames.empty()) {
    *error = !damage.empty() ? damage
                             : std::string("not a readable GIF: ") +
                                   (gif->Error ? GifErrorString(gif->Error) : "it has no frame");
    return 0;
  }
  return frames.block(error);
}

MemHandle decodeWebp(const Bytes& file, std::string* error) {
  WebPData data = {file.data(), file.size()};
  // The canvas and the frame count come first, from the container alone:
  // a short file may declare a 16384-square canvas and many frames, and the
  // decoder would take its canvas before a frame is read.
  size_t count = 0;
  {
    WebPDemuxer* demux = WebPDemux(&data);
    if (!demux) {
      *error = "not a readable WebP";
      return 0;
    }
    const long width = long(WebPDemuxGetI(demux, WEBP_FF_CANVAS_WIDTH));
    const long height = long(WebPDemuxGetI(demux, WEBP_FF_CANVAS_HEIGHT));
    count = WebPDemuxGetI(demux, WEBP_FF_FRAME_COUNT);
    WebPDemuxDelete(demux);
    // The decoder keeps two RGBA canvases; this side one RGB row set.
    const size_t work = size_t(std::max(0L, width)) * size_t(std::max(0L, height)) * 11;
    if (!canvasSizeOk(width, height, work, error)) return 0;
    size_t all = 0;
    if (!checkedMul(frameChunkBytes(int32_t(width), int32_t(height)), count, &all) ||
        !checkedAdd(all, work, &all) || all > kMaxAnimationBytes) {
      *error = "the animation is too large: " + std::to_string(count) + " frames of " + std::to_string(width) +
               " x " + std::to_string(height) + "; up to " + std::to_string(kMaxAnimationBytes >> 20) +
               " MiB is decoded";
      return 0;
    }
  }
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) {
    *error = "the WebP decoder cannot start";
    return 0;
  }
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  if (!decoder) {
    *error = "not a readable WebP";
    return 0;
  }
  struct Closer {
    WebPAnimDecoder* d;
    ~Closer() { WebPAnimDecoderDelete(d); }
  } closer{decoder};
  WebPAnimInfo info;
  if (!WebPAnimDecoderGetInfo(decoder, &info)) {
    *error = "not a readable WebP";
    return 0;
  }
  const int32_t width = int32_t(info.canvas_width), height = int32_t(info.canvas_height);
  // The canvas colour holds blue in its low byte, then green, red and alpha.
  const uint8_t back[3] = {uint8_t(info.bgcolor >> 16), uint8_t(info.bgcolor >> 8), uint8_t(info.bgcolor)};
  const size_t stride = size_t(width) * 3;
  Bytes rgb(stride * size_t(height));
  FrameList frames(width, height, count);
  int previous = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    uint8_t* rgba = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder, &rgba, &timestamp)) {
      *error = "a WebP frame cannot be decoded";
      return 0;
    }
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i) {
      const uint32_t a = rgba[i * 4 + 3];
      for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = uint8_t((a * rgba[i * 4 + c] + (255 - a) * back[c]) / 255);
    }
    // Milliseconds to hundredths, rounded.
    const int32_t delay = (timestamp - previous + 5) / 10;
    previous = timestamp;
    if (!frames.add(rgb.data(), stride, delay, error)) return 0;
  }
  return frames.block(error);
}

MemHandle decodePng(const Bytes& file, const std::string& path, std::string* error) {
  // The reader holds the image twice while it makes the frame, and the
  // block is a third copy: the size the header declares is held to the
  // budget before libpng is asked for anything.
  if (file.size() >= 24 && std::memcmp(file.data() + 12, "IHDR", 4) == 0) {
    const long width = long(readU32BE(file.data() + 16) & 0x7FFFFFFF);
    const long height = long(readU32BE(file.data() + 20) & 0x7FFFFFFF);
    size_t twice = 0;
    if (width > 0 && height > 0 &&
        (!checkedMul(frameChunkBytes(int32_t(std::min(width, 65536L)), int32_t(std::min(height, 65536L))), 2,
                     &twice) ||
         twice > kMaxAnimationBytes)) {
      *error = "the picture (" + std::to_string(width) + " x " + std::to_string(height) + ") is too large";
      return 0;
    }
  }
  MemBlock frame(readPngAsBitmap(path, error));
  if (!frame) return 0;
  int32_t w = 0, h = 0;
  if (!bitmapQuery(frame.get(), &w, &h, nullptr, nullptr)) {
    *error = "not a readable PNG";
    return 0;
  }
  AnimationFrameSource source{frame.get(), 0};
  MemHandle b = animationBlockBuild(w, h, 0, &source, 1);
  if (!b) *error = "out of memory";
  return b;
}

}  // namespace

MemHandle decodeAnimationFile(const std::string& path, std::string* error) {
  Bytes file;
  if (!readFile(path, &file, error)) return 0;
  std::string why;
  MemHandle block = 0;
  if (file.size() >= 6 && std::memcmp(file.data(), "GIF8", 4) == 0) {
    block = decodeGif(file, &why);
  } else if (file.size() >= 12 && std::memcmp(file.data(), "RIFF", 4) == 0 &&
             std::memcmp(file.data() + 8, "WEBP", 4) == 0) {
    block = decodeWebp(file, &why);
  } else if (file.size() >= 8 && std::memcmp(file.data(), "\x89PNG", 4) == 0) {
    block = decodePng(file, path, &why);
  } else {
    why = "not a GIF, WebP or PNG file";
  }
  if (!block) *error = "cannot decode the animation " + path + ": " + why;
  return block;
}

}  // namespace gw::cli
