#include "cli/gif_writer.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/gif_lzw.h"
#include "cli/output_file.h"
#include "platform/bitmap.h"
#include "platform/parallel.h"

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
  MapObject() = default;
  MapObject(const MapObject&) = delete;
  MapObject& operator=(const MapObject&) = delete;
  MapObject(MapObject&& other) noexcept : map(other.map) { other.map = nullptr; }
  MapObject& operator=(MapObject&& other) noexcept {
    std::swap(map, other.map);
    return *this;
  }
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
  std::vector<int16_t> beneath;  // empty when the frame has no transparent index
};

// The box around the pixels of a frame without a transparent index that
// change what is shown: elsewhere it repeats the screen. (0, 0, 0, 0) when
// it changes nothing.
Rect changedBox(const BitmapView& view, const std::vector<int16_t>& screen, const bool sameColour[256],
                uint8_t mask) {
  const int32_t w = view.width(), h = view.height();
  int32_t left = w, right = -1, top = h, bottom = -1;
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = view.row(y);
    const int16_t* shown = screen.data() + size_t(y) * size_t(w);
    // Rows mostly repeat the screen whole, so each is searched from both
    // ends and the middle, already inside the box, is skipped.
    int32_t first = 0;
    while (first < w && shown[first] == int16_t(row[first] & mask) && sameColour[row[first] & mask]) ++first;
    if (first == w) continue;
    int32_t last = w - 1;
    while (last > first && shown[last] == int16_t(row[last] & mask) && sameColour[row[last] & mask]) --last;
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  return right < 0 ? Rect{0, 0, 0, 0} : Rect{left, top, right - left + 1, bottom - top + 1};
}

// A frame left in place over the previous ones draws nothing where it holds
// its transparent index (a supercompressed frame), nor where it repeats the
// colour already shown, so only the box around its other pixels is stored.
// With a transparent index, the pixels in the box that show no change may
// be coded as either the transparent index or the colour already there. A
// frame with nothing new keeps one pixel, as a GIF image needs one: the
// transparent index, or else the colour already shown there. A frame whose
// background is restored afterwards is stored whole.
//
// `sameColour[i]`: the frame's table shows global entry i's colour at i; a
// pixel may only repeat what is shown by an index that means the same here.
FrameImage frameImage(const BitmapView& view, const std::vector<int16_t>& screen, const bool sameColour[256],
                      int transparent, bool leftInPlace, uint8_t mask) {
  FrameImage out;
  const int32_t w = view.width(), h = view.height();  // the screen's size too
  out.box = Rect{0, 0, w, h};
  if (leftInPlace && transparent < 0) {
    out.box = changedBox(view, screen, sameColour, mask);
    if (out.box.width == 0) out.box = Rect{0, 0, 1, 1};
  }
  // Per pixel of the screen: the global index shown that this frame may
  // repeat (-1: none), and whether the pixel shows no change.
  std::vector<int16_t> beneath;
  std::vector<uint8_t> unchanged;
  if (transparent >= 0) {
    beneath.resize(size_t(w) * size_t(h));
    unchanged.resize(beneath.size());
    int32_t left = w, right = -1, top = h, bottom = -1;
    for (int32_t y = 0; y < h; ++y) {
      const uint8_t* row = view.row(y);
      const size_t base = size_t(y) * size_t(w);
      bool any = false;
      for (int32_t x = 0; x < w; ++x) {
        const int16_t s = screen[base + size_t(x)];
        const int16_t usable = s >= 0 && sameColour[s] ? s : int16_t(-1);
        const uint8_t v = row[x];
        const bool same = v == transparent || int(v) == usable;
        beneath[base + size_t(x)] = usable;
        unchanged[base + size_t(x)] = same;
        if (same) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        any = true;
      }
      if (any) {
        top = std::min(top, y);
        bottom = y;
      }
    }
    out.box = right < 0 ? Rect{0, 0, 1, 1} : Rect{left, top, right - left + 1, bottom - top + 1};
  }
  const Rect& r = out.box;
  out.values.resize(size_t(r.width) * size_t(r.height));
  if (transparent < 0) {
    // Every pixel of the box is drawn as it is, and nothing shown beneath
    // it matters.
    for (int32_t y = 0; y < r.height; ++y) {
      const uint8_t* row = view.row(r.top + y) + r.left;
      uint8_t* value = out.values.data() + size_t(y) * size_t(r.width);
      for (int32_t x = 0; x < r.width; ++x) value[x] = uint8_t(row[x] & mask);
    }
    return out;
  }
  out.beneath.resize(out.values.size());
  for (int32_t y = 0; y < r.height; ++y) {
    const uint8_t* row = view.row(r.top + y);
    const size_t base = size_t(r.top + y) * size_t(w) + size_t(r.left);
    for (int32_t x = 0; x < r.width; ++x) {
      const size_t k = size_t(y) * size_t(r.width) + size_t(x);
      const bool keep = unchanged[base + size_t(x)];
      out.values[k] = keep ? uint8_t(transparent) : uint8_t(row[r.left + x] & mask);
      out.beneath[k] = beneath[base + size_t(x)];
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


// One frame made ready for coding: its control block, its own colour table
// when it needs one, the box and values to code, and (once coded) the data.
struct PlannedFrame {
  GifByteType control[4] = {};
  size_t controlSize = 0;
  MapObject local;
  int transparent = -1;
  FrameImage image;
  LzwImage coded;
};

// Plans frame `f` over `screen` and leaves in `screen` what a viewer shows
// after it. A free pixel is stored as the transparent index or as the colour
// already there, so either way the screen keeps its value: what a frame
// leaves shown follows from its values alone, before any coding.
bool planFrame(const ReceivedAnimation& a, const ReceivedFrame& f, int bits, GifPixelType mask,
               std::vector<int16_t>* screen, PlannedFrame* p, std::string* error) {
  // A frame is a copy, or the plug-in's own image while its task lasts.
  MemLock lock(f.dib.empty() ? f.image : 0);
  BitmapView view = f.dib.empty() ? BitmapView::of(lock)
                                  : BitmapView::over(const_cast<uint8_t*>(f.dib.data()), f.dib.size());
  if (!view.valid() || view.bits() != 8) {
    *error = "a frame is not an 8-bit image";
    return false;
  }
  if (view.width() != a.width || view.height() != a.height) {
    *error = "a frame's size differs from the animation's";
    return false;
  }
  GraphicsControlBlock gcb;
  gcb.DisposalMode = f.transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
  gcb.UserInputFlag = false;
  gcb.DelayTime = f.delay < 0 ? 0 : f.delay > 65535 ? 65535 : f.delay;
  gcb.TransparentColor = (f.transparentIndex >= 0 && f.transparentIndex < 256) ? f.transparentIndex : NO_TRANSPARENT_COLOR;
  p->controlSize = EGifGCBToExtension(&gcb, p->control);

  // A frame whose colour table differs from the global one (a supercompressed
  // frame's reserved entry) carries its own.
  uint8_t framePalette[768] = {};
  for (int i = 0; i < view.colourTableEntries(); ++i) {
    const uint8_t* e = view.colourTable() + i * 4;
    framePalette[i * 3] = e[2];
    framePalette[i * 3 + 1] = e[1];
    framePalette[i * 3 + 2] = e[0];
  }
  if (std::memcmp(framePalette, a.palette, size_t(3) << bits) != 0) {
    p->local.map = makeMap(framePalette, bits);
    if (!p->local.map) {
      *error = "out of memory";
      return false;
    }
  }
  bool sameColour[256] = {};
  for (int i = 0; i < (1 << bits); ++i)
    sameColour[i] = p->local.map == nullptr || std::memcmp(framePalette + i * 3, a.palette + i * 3, 3) == 0;
  const bool leftInPlace = !f.transparent;
  p->transparent = leftInPlace && f.transparentIndex >= 0 && f.transparentIndex <= mask ? f.transparentIndex : -1;
  p->image = frameImage(view, *screen, sameColour, p->transparent, leftInPlace, mask);
  if (f.transparent) {
    // Disposed to the background afterwards: nothing of it stays shown.
    std::fill(screen->begin(), screen->end(), int16_t(-1));
    return true;
  }
  const Rect& r = p->image.box;
  const bool drawsAll = p->transparent < 0 && !p->local.map;  // the common frame: every pixel, global colours
  for (int32_t y = 0; y < r.height; ++y) {
    int16_t* shown = screen->data() + size_t(r.top + y) * size_t(a.width) + size_t(r.left);
    const uint8_t* drawn = p->image.values.data() + size_t(y) * size_t(r.width);
    if (drawsAll) {
      for (int32_t x = 0; x < r.width; ++x) shown[x] = int16_t(drawn[x]);
      continue;
    }
    for (int32_t x = 0; x < r.width; ++x)
      if (drawn[x] != p->transparent) shown[x] = sameColour[drawn[x]] ? int16_t(drawn[x]) : int16_t(-1);
  }
  return true;
}

// See writeGif: frames that share the choice their group's first frame makes.
constexpr size_t kWayGroup = 4;

// Codes a batch of whole groups (the last may be cut short by the end of the
// animation): first each group's first frame, each of its ways a task of its
// own, then the others the way their group's first frame chose. A group whose
// first frame has no free pixel (and so no choice) lets its others choose
// for themselves.
void codeBatch(std::vector<PlannedFrame>& planned, int codeSize, std::vector<LzwWorkspace>& workspaces) {
  const LzwWay ways[] = {LzwWay::kTransparentLean, LzwWay::kShownLean};
  struct Task {
    size_t frame;
    LzwWay way;
  };
  std::vector<Task> firsts;
  for (size_t i = 0; i < planned.size(); i += kWayGroup)
    for (LzwWay way : ways)
      if (way == ways[0] || planned[i].transparent >= 0) firsts.push_back(Task{i, way});
  std::vector<LzwImage> tried(firsts.size());
  parallelFor(firsts.size(), [&](size_t t) {
    const PlannedFrame& p = planned[firsts[t].frame];
    tried[t] = lzwEncodeWay(p.image.values, p.image.beneath, p.transparent, codeSize, firsts[t].way, workspaces[t]);
  });
  // The shorter wins, the first way on a tie.
  for (size_t t = 0; t < firsts.size(); ++t) {
    LzwImage& coded = planned[firsts[t].frame].coded;
    if (coded.blocks.empty() || tried[t].blocks.size() < coded.blocks.size()) coded = std::move(tried[t]);
  }
  std::vector<size_t> others;
  for (size_t i = 0; i < planned.size(); ++i)
    if (i % kWayGroup != 0) others.push_back(i);
  parallelFor(others.size(), [&](size_t t) {
    PlannedFrame& p = planned[others[t]];
    const PlannedFrame& first = planned[others[t] / kWayGroup * kWayGroup];
    p.coded = first.transparent >= 0
                  ? lzwEncodeWay(p.image.values, p.image.beneath, p.transparent, codeSize, first.coded.way, workspaces[t])
                  : lzwEncodeBest(p.image.values, p.image.beneath, p.transparent, codeSize, workspaces[t]);
  });
}

}  // namespace

bool writeGif(const ReceivedAnimation& a, const std::string& path, std::string* error) {
  int bits = int(a.colourBits);
  if (bits < 1 || bits > 8 || hasTrueColourFrames(a)) {
    *error = "a GIF holds at most 256 colours; this build is true colour (write .webp or .png)";
    return false;
  }
  if (a.frames.empty() || a.width <= 0 || a.height <= 0 || a.width > 65535 || a.height > 65535) {
    *error = "the build produced no frames";
    return false;
  }
  OutputFile output(path);
  const std::string& temp = output.temporary();
  int err = 0;
  GifCloser out;
  // Opened here rather than by giflib, which would create the file readable
  // by its owner alone.
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  out.gif = fd >= 0 ? EGifOpenFileHandle(fd, &err) : nullptr;
  if (!out.gif) {
    // giflib has no text for "no error" (its string is null): a file that
    // cannot be opened is the system's error.
    const char* why = fd < 0 ? std::strerror(errno) : GifErrorString(err);
    if (fd >= 0) {
      close(fd);
      std::remove(temp.c_str());
    }
    *error = path + ": cannot create the file (" + (why ? why : "unknown error") + ")";
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

  // What a viewer shows so far, as indices of the global table; -1 where no
  // frame has drawn yet or where a frame's own table differs.
  std::vector<int16_t> screen(size_t(a.width) * size_t(a.height), -1);
  const GifPixelType mask = GifPixelType((1u << bits) - 1);
  // Frames are planned in order (each depends on what the ones before left
  // shown), coded a batch at a time on every thread, and written in order.
  // The batch bounds the memory held for coding, whatever the frame count.
  // Which way codes a frame with free pixels shorter changes slowly along an
  // animation, so the first frame of each group is coded both ways and the
  // rest of the group the way that won there. A batch holds whole groups,
  // counted from the first frame, so the bytes do not depend on the threads.
  const size_t batch = (std::max(size_t(workerCount()) * 2, 2 * kWayGroup) + kWayGroup - 1) / kWayGroup * kWayGroup;
  std::vector<PlannedFrame> planned;
  std::vector<LzwWorkspace> workspaces(batch);
  for (size_t first = 0; first < a.frames.size(); first += batch) {
    const size_t count = std::min(batch, a.frames.size() - first);
    planned.clear();
    planned.resize(count);
    for (size_t i = 0; i < count; ++i) {
      std::string what;
      if (!planFrame(a, a.frames[first + i], bits, mask, &screen, &planned[i], &what)) return failed(what.c_str());
    }
    codeBatch(planned, bits < 2 ? 2 : bits, workspaces);
    for (PlannedFrame& p : planned) {
      if (EGifPutExtension(out.gif, GRAPHICS_EXT_FUNC_CODE, int(p.controlSize), p.control) != GIF_OK)
        return failed("error writing a frame's control block");
      // giflib drops, without freeing, the copy it kept of the previous frame's
      // own table when the next frame has none; free it first.
      if (!p.local.map && out.gif->Image.ColorMap) {
        GifFreeMapObject(out.gif->Image.ColorMap);
        out.gif->Image.ColorMap = nullptr;
      }
      const Rect& r = p.image.box;
      if (EGifPutImageDesc(out.gif, r.left, r.top, r.width, r.height, false, p.local.map) != GIF_OK)
        return failed("error writing an image descriptor");
      if (p.coded.blocks.empty() || !putCodedImage(out.gif, p.coded.blocks)) return failed("error writing pixels");
    }
  }
  if (a.hasComment && !a.comment.empty() && EGifPutComment(out.gif, a.comment.c_str()) != GIF_OK)
    return failed("error writing the comment");
  if (!out.close()) {
    std::remove(temp.c_str());
    *error = path + ": error writing the file";
    return false;
  }
  return output.commit(error);
}

}  // namespace gw::cli
