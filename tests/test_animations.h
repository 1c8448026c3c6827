// Small animation files for the tests, written with giflib: every frame a
// rectangle of palette indices with its own delay, disposal, transparency
// and, when given, a local colour table.
#pragma once

#include <gif_lib.h>

#include <memory>
#include <string>
#include <vector>

struct TestGifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<GifByteType> pixels;          // width * height indices, rows from the top
  int delay = 0;                            // hundredths
  int disposal = DISPOSE_DO_NOT;
  int transparent = NO_TRANSPARENT_COLOR;
  std::vector<GifColorType> localColours;   // empty: the global table
  bool interlaced = false;                  // rows stored in the four interlace passes
};

// Writes an animated GIF; `colours` is the global table (a power of two long).
inline bool writeTestGif(const std::string& path, int width, int height, const std::vector<GifColorType>& colours,
                         int backgroundIndex, const std::vector<TestGifFrame>& frames) {
  int err = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &err);
  if (!gif) return false;
  bool ok = true;
  auto bitsFor = [](size_t n) {
    int bits = 1;
    while ((size_t(1) << bits) < n) ++bits;
    return bits;
  };
  using MapPtr = std::unique_ptr<ColorMapObject, decltype(&GifFreeMapObject)>;
  const MapPtr global(GifMakeMapObject(int(colours.size()), colours.data()), &GifFreeMapObject);
  EGifSetGifVersion(gif, true);
  ok = ok && EGifPutScreenDesc(gif, width, height, bitsFor(colours.size()), backgroundIndex, global.get()) == GIF_OK;
  for (const TestGifFrame& f : frames) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = f.disposal;
    gcb.DelayTime = f.delay;
    gcb.TransparentColor = f.transparent;
    GifByteType ext[4];
    size_t n = EGifGCBToExtension(&gcb, ext);
    ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext) == GIF_OK;
    const MapPtr local(
        f.localColours.empty() ? nullptr : GifMakeMapObject(int(f.localColours.size()), f.localColours.data()),
        &GifFreeMapObject);
    // giflib keeps a copy of a frame's own table and drops it, unfreed, when
    // the next frame has none: free it here first.
    if (!local && gif->Image.ColorMap) {
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
    ok = ok && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local.get()) == GIF_OK;
    // giflib writes rows in the order given; an interlaced image stores rows
    // 0, 8, 16..., then 4, 12..., then 2, 6..., then the odd ones.
    std::vector<int> order;
    if (f.interlaced) {
      static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < f.height; y += kStep[pass]) order.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) order.push_back(y);
    }
    for (size_t r = 0; ok && r < order.size(); ++r)
      ok = EGifPutLine(gif, const_cast<GifByteType*>(f.pixels.data()) + size_t(order[r]) * size_t(f.width), f.width) ==
           GIF_OK;
  }
  ok = EGifCloseFile(gif, &err) == GIF_OK && ok;
  return ok;
}

// A solid-colour animation: frame k is the whole w x h screen in colour
// index k (of `colours`), with delay `delays[k]`.
inline bool writeSolidGif(const std::string& path, int w, int h, const std::vector<GifColorType>& colours,
                          const std::vector<int>& delays) {
  std::vector<TestGifFrame> frames;
  for (size_t k = 0; k < delays.size(); ++k) {
    TestGifFrame f;
    f.width = w;
    f.height = h;
    f.pixels.assign(size_t(w) * size_t(h), GifByteType(k));
    f.delay = delays[k];
    frames.push_back(f);
  }
  return writeTestGif(path, w, h, colours, 0, frames);
}
