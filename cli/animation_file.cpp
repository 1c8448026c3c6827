#include "cli/animation_file.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/checked_math.h"
#include "cli/png_io.h"
#include "controls/animation_block.h"
#include "platform/bitmap.h"

namespace gw::cli {
namespace {

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

// Collects frames (owned) and their delays, checking the total against the cap.
class FrameList {
 public:
  FrameList(int32_t width, int32_t height) : width_(width), height_(height) {}

  // A new 24-bit frame of the canvas size from RGB rows (red, green, blue,
  // top row first); false when the frames would grow past the cap.
  bool add(const uint8_t* rgb, size_t rgbStride, int32_t delay, std::string* error) {
    const size_t bytes = bitmapBlockSize(width_, height_, 24);
    if (bytes == 0 || !checkedAdd(total_, bytes, &total_) || total_ > kMaxAnimationBytes) {
      *error = "the animation is too large";
      return false;
    }
    MemBlock frame(bitmapCreateTrueColour(width_, height_, 24));
    if (!frame) {
      *error = "out of memory";
      return false;
    }
    {
      MemLock lock(frame.get());
      BitmapView view = BitmapView::of(lock);
      for (int32_t y = 0; y < view.height(); ++y) {
        const uint8_t* src = rgb + rgbStride * size_t(y);
        uint8_t* dst = view.row(y);
        for (int32_t x = 0; x < view.width(); ++x) {
          dst[x * 3 + 0] = src[x * 3 + 2];
          dst[x * 3 + 1] = src[x * 3 + 1];
          dst[x * 3 + 2] = src[x * 3 + 0];
        }
      }
    }
    sources_.push_back({frame.get(), delay});
    frames_.push_back(std::move(frame));
    return true;
  }

  MemHandle block(std::string* error) const {
    if (sources_.empty()) {
      *error = "the animation has no frames";
      return 0;
    }
    MemHandle b = animationBlockBuild(width_, height_, 0, sources_.data(), sources_.size());
    if (!b) *error = "out of memory";
    return b;
  }

 private:
  int32_t width_, height_;
  size_t total_ = 0;
  std::vector<MemBlock> frames_;
  std::vector<AnimationFrameSource> sources_;
};

bool canvasSizeOk(long width, long height, std::string* error) {
  if (width <= 0 || height <= 0 || bitmapBlockSize(int32_t(width), int32_t(height), 24) == 0 ||
      width > 65535 || height > 65535) {
    *error = "the animation's canvas size is not usable";
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
  // A GIF whose last frame is cut short still shows the frames before it,
  // as editors do; nothing at all is an error.
  const bool whole = DGifSlurp(gif) == GIF_OK;
  const int count = whole ? gif->ImageCount : gif->ImageCount - 1;  // the last one is incomplete
  if (count <= 0) {
    *error = std::string("not a readable GIF: ") + GifErrorString(gif->Error);
    return 0;
  }
  const long width = gif->SWidth, height = gif->SHeight;
  if (!canvasSizeOk(width, height, error)) return 0;

  // Pixels no frame has painted, and areas disposed to the background, show
  // the screen's background colour.
  uint8_t background[3] = {0, 0, 0};
  if (gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount) {
    const GifColorType& c = gif->SColorMap->Colors[gif->SBackGroundColor];
    background[0] = c.Red;
    background[1] = c.Green;
    background[2] = c.Blue;
  }
  const size_t stride = size_t(width) * 3;
  Bytes canvas(stride * size_t(height));
  for (size_t i = 0; i < canvas.size(); i += 3) std::memcpy(&canvas[i], background, 3);
  Bytes saved;

  FrameList frames{int32_t(width), int32_t(height)};
  for (int i = 0; i < count; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    if (!image.RasterBits) break;
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, i, &gcb);
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (!map) {
      *error = "a GIF frame has no colour table";
      return 0;
    }
    if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
    // The frame's rectangle, clipped to the screen.
    const long left = image.ImageDesc.Left, top = image.ImageDesc.Top;
    const long w = image.ImageDesc.Width, h = image.ImageDesc.Height;
    const long x0 = std::max(0L, left), y0 = std::max(0L, top);
    const long x1 = std::min(width, left + w), y1 = std::min(height, top + h);
    for (long y = y0; y < y1; ++y) {
      const GifByteType* src = image.RasterBits + size_t(y - top) * size_t(w);
      uint8_t* dst = &canvas[size_t(y) * stride];
      for (long x = x0; x < x1; ++x) {
        const int index = src[x - left];
        if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        uint8_t* p = dst + size_t(x) * 3;
        p[0] = c.Red;
        p[1] = c.Green;
        p[2] = c.Blue;
      }
    }
    if (!frames.add(canvas.data(), stride, gcb.DelayTime, error)) return 0;
    if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
      for (long y = y0; y < y1; ++y)
        for (long x = x0; x < x1; ++x) std::memcpy(&canvas[size_t(y) * stride + size_t(x) * 3], background, 3);
    } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
      canvas.swap(saved);
    }
  }
  return frames.block(error);
}

MemHandle decodeWebp(const Bytes& file, std::string* error) {
  WebPData data = {file.data(), file.size()};
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
  if (!canvasSizeOk(long(info.canvas_width), long(info.canvas_height), error)) return 0;
  const int32_t width = int32_t(info.canvas_width), height = int32_t(info.canvas_height);
  // The canvas colour holds blue in its low byte, then green, red and alpha.
  const uint8_t back[3] = {uint8_t(info.bgcolor >> 16), uint8_t(info.bgcolor >> 8), uint8_t(info.bgcolor)};
  const size_t stride = size_t(width) * 3;
  Bytes rgb(stride * size_t(height));
  FrameList frames(width, height);
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

MemHandle decodePng(const std::string& path, std::string* error) {
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
    block = decodePng(path, &why);
  } else {
    why = "not a GIF, WebP or PNG file";
  }
  if (!block) *error = "cannot decode the animation " + path + ": " + why;
  return block;
}

}  // namespace gw::cli
