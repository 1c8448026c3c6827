// Animation files given to --animation (GIF, WebP, PNG): any bytes are
// decoded or refused with a one-line error, leaving nothing behind. A decoded
// file is a valid block within the budget, of the canvas the file declares,
// with no more frames than the file holds, every pixel of a GIF frame one of
// the file's own colours, and the same block every time it is decoded.
#include <gif_lib.h>
#include <webp/demux.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "cli/animation_file.h"
#include "controls/animation_block.h"
#include "platform/bitmap.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

// What a GIF holds, read without decoding its pixels: the screen, how many
// images it has before any damage, and every colour its tables give.
struct GifFacts {
  bool opened = false;
  int width = 0, height = 0, images = 0;
  std::set<uint32_t> colours;  // 0xRRGGBB
};

struct BytesReader {
  const uint8_t* data;
  size_t size, at = 0;
  static int read(GifFileType* gif, GifByteType* out, int n) {
    auto* r = static_cast<BytesReader*>(gif->UserData);
    const size_t take = n < 0 ? 0 : std::min(r->size - r->at, size_t(n));
    std::memcpy(out, r->data + r->at, take);
    r->at += take;
    return int(take);
  }
};

void addColours(const ColorMapObject* map, std::set<uint32_t>* out) {
  if (!map) return;
  for (int i = 0; i < map->ColorCount; ++i)
    out->insert(uint32_t(map->Colors[i].Red) << 16 | uint32_t(map->Colors[i].Green) << 8 | map->Colors[i].Blue);
}

GifFacts gifFacts(const uint8_t* data, size_t size) {
  GifFacts facts;
  BytesReader reader{data, size};
  int err = 0;
  GifFileType* gif = DGifOpen(&reader, &BytesReader::read, &err);
  if (!gif) return facts;
  facts.opened = true;
  facts.width = gif->SWidth;
  facts.height = gif->SHeight;
  facts.colours.insert(0);  // a screen without a global table shows black
  addColours(gif->SColorMap, &facts.colours);
  for (bool more = true; more;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) != GIF_OK || type == TERMINATE_RECORD_TYPE) break;
    GifByteType* block = nullptr;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      if (DGifGetExtension(gif, &code, &block) != GIF_OK) break;
      while (block && more) more = DGifGetExtensionNext(gif, &block) == GIF_OK;
    } else if (type == IMAGE_DESC_RECORD_TYPE && DGifGetImageDesc(gif) == GIF_OK) {
      addColours(gif->Image.ColorMap, &facts.colours);
      ++facts.images;
      int codeSize = 0;
      if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) break;
      while (block && more) more = DGifGetCodeNext(gif, &block) == GIF_OK;
    } else {
      break;
    }
  }
  DGifCloseFile(gif, &err);
  return facts;
}

// What the scratch folder holds; other harnesses may have left their own
// files there, so the decoder is judged by what it adds.
std::set<std::string> scratchEntries() {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(gw::fuzz::scratchFolder(), ec))
    names.insert(entry.path().filename().string());
  return names;
}

// Neighbours mostly share a colour: each run is looked up once.
bool holdsOnlyColours(const gw::BitmapView& view, const std::set<uint32_t>& colours) {
  uint32_t known = *colours.begin();
  for (int32_t y = 0; y < view.height(); ++y) {
    const uint8_t* row = view.row(y);
    for (int32_t x = 0; x < view.width(); ++x) {
      const uint32_t rgb = uint32_t(row[x * 3 + 2]) << 16 | uint32_t(row[x * 3 + 1]) << 8 | row[x * 3];
      if (rgb == known) continue;
      if (colours.count(rgb) == 0) return false;
      known = rgb;
    }
  }
  return true;
}

bool sameBlocks(gw::MemHandle a, gw::MemHandle b) {
  gw::MemLock la(a), lb(b);
  return la.size() == lb.size() && std::memcmp(la.data(), lb.data(), la.size()) == 0;
}

}  // namespace

GW_FUZZ_TARGET(animation_file) {
  using namespace gw;
  const std::set<std::string> before = scratchEntries();
  const std::string path = gw::fuzz::scratchFile("animation", data, size);
  std::string error;
  MemBlock block(cli::decodeAnimationFile(path, &error));
  std::filesystem::remove(path);
  if (!block) {
    GW_FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos);
    GW_FUZZ_CHECK(error.find(path) != std::string::npos);
    GW_FUZZ_CHECK(scratchEntries() == before);
    return;
  }
  GW_FUZZ_CHECK(scratchEntries() == before);
  GW_FUZZ_CHECK(memSize(block.get()) <= cli::kMaxAnimationBytes);
  AnimationInfo info;
  GW_FUZZ_CHECK(animationValidate(block.get(), &info));
  GW_FUZZ_CHECK(info.frames >= 1 && info.width >= 1 && info.height >= 1);

  const bool isGif = size >= 4 && std::memcmp(data, "GIF8", 4) == 0;
  const bool isPng = size >= 4 && std::memcmp(data, "\x89PNG", 4) == 0;
  GifFacts gif;
  if (isGif) {
    gif = gifFacts(data, size);
    GW_FUZZ_CHECK(gif.opened && info.width == gif.width && info.height == gif.height);
    GW_FUZZ_CHECK(info.frames <= gif.images);
  } else if (isPng) {
    GW_FUZZ_CHECK(info.frames == 1);
  } else {
    WebPData webp = {data, size};
    WebPDemuxer* demux = WebPDemux(&webp);
    GW_FUZZ_CHECK(demux);
    GW_FUZZ_CHECK(uint32_t(info.width) == WebPDemuxGetI(demux, WEBP_FF_CANVAS_WIDTH));
    GW_FUZZ_CHECK(uint32_t(info.height) == WebPDemuxGetI(demux, WEBP_FF_CANVAS_HEIGHT));
    GW_FUZZ_CHECK(uint32_t(info.frames) == WebPDemuxGetI(demux, WEBP_FF_FRAME_COUNT));
    WebPDemuxDelete(demux);
  }

  // Every frame is whole: the canvas's size and, for a GIF, nothing but the
  // file's colours (a pixel left unwritten or read from the wrong table
  // shows up as a colour the file does not have).
  for (int32_t k = 0; k < info.frames; ++k) {
    MemBlock frame(animationFrame(block.get(), k, true, nullptr));
    if (!frame) return;  // out of memory
    MemLock lock(frame.get());
    BitmapView view = BitmapView::of(lock);
    GW_FUZZ_CHECK(view.width() == info.width && view.height() == info.height);
    if (isGif) GW_FUZZ_CHECK(holdsOnlyColours(view, gif.colours));
  }

  // Decoding the same bytes again gives the same block. A block of hundreds
  // of MiB is left out: a second decode would double its cost, and whether a
  // decode repeats itself shows as well on small animations.
  if (memSize(block.get()) > (size_t(32) << 20)) return;
  const std::string again = gw::fuzz::scratchFile("animation", data, size);
  MemBlock second(cli::decodeAnimationFile(again, &error));
  std::filesystem::remove(again);
  if (second) GW_FUZZ_CHECK(sameBlocks(block.get(), second.get()));
}
