// GIF coding speed on real frames: the README's example animations, decoded
// from docs/examples. Each frame is coded as drawn (every pixel fixed), and
// as a frame left in place over the one before, whose unchanged pixels are
// free (the transparent index or the colour shown) -- coded both ways, and
// one way as the writer codes most such frames. Items are pixels, so items
// per second reads as pixels per second on one core.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <string>
#include <vector>

#include "cli/gif_lzw.h"

namespace {

struct Frame {
  std::vector<uint8_t> values;
  std::vector<int16_t> beneath;  // for the frame left in place
  std::vector<uint8_t> changes;  // its values there: the transparent index where unchanged
};

constexpr int kTransparent = 255;

// The frames of an example that cover the whole screen, as stored.
std::vector<Frame> loadFrames(const std::string& name) {
  std::vector<Frame> frames;
  const std::string path = std::string(GW_SOURCE_DIR) + "/docs/examples/" + name + ".gif";
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  if (!gif) return frames;
  if (DGifSlurp(gif) == GIF_OK) {
    const size_t size = size_t(gif->SWidth) * size_t(gif->SHeight);
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& image = gif->SavedImages[i];
      if (size_t(image.ImageDesc.Width) * size_t(image.ImageDesc.Height) != size) continue;
      Frame f;
      f.values.assign(image.RasterBits, image.RasterBits + size);
      if (!frames.empty()) {
        const std::vector<uint8_t>& shown = frames.back().values;
        f.beneath.assign(shown.begin(), shown.end());
        f.changes = f.values;
        for (size_t k = 0; k < size; ++k)
          if (f.values[k] == shown[k] && shown[k] != kTransparent) f.changes[k] = kTransparent;
      }
      frames.push_back(std::move(f));
    }
  }
  DGifCloseFile(gif, &err);
  return frames;
}

// mode 0: every pixel fixed; 1: free pixels, both ways; 2: free pixels, one way.
void codeFrames(benchmark::State& state, const std::string& name, int mode) {
  const std::vector<Frame> frames = loadFrames(name);
  if (frames.size() < 2) {
    state.SkipWithError("no frames (docs/examples missing?)");
    return;
  }
  gw::cli::LzwWorkspace workspace;
  size_t pixels = 0, bytes = 0;
  for (auto _ : state) {
    for (size_t i = 1; i < frames.size(); ++i) {
      const Frame& f = frames[i];
      gw::cli::LzwImage coded =
          mode == 0 ? gw::cli::lzwEncodeBest(f.values, {}, -1, 8, workspace)
          : mode == 1
              ? gw::cli::lzwEncodeBest(f.changes, f.beneath, kTransparent, 8, workspace)
              : gw::cli::lzwEncodeWay(f.changes, f.beneath, kTransparent, 8, gw::cli::LzwWay::kTransparentLean,
                                      workspace);
      pixels += f.values.size();
      bytes += coded.blocks.size();
      benchmark::DoNotOptimize(coded.blocks.data());
    }
  }
  state.SetItemsProcessed(int64_t(pixels));
  state.counters["bytes/frame"] = double(bytes) / double(state.iterations()) / double(frames.size() - 1);
}

void registerAll() {
  const char* modes[] = {"fixed", "free_both_ways", "free_one_way"};
  for (const char* name : {"default", "stars", "snow", "texture"})
    for (int mode = 0; mode < 3; ++mode)
      benchmark::RegisterBenchmark((std::string("GifLzw/") + name + "/" + modes[mode]).c_str(),
                                   [name = std::string(name), mode](benchmark::State& s) { codeFrames(s, name, mode); })
          ->Unit(benchmark::kMillisecond);
}

const bool registered = (registerAll(), true);

}  // namespace
