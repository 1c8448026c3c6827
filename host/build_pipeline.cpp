#include "host/build_pipeline.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "effects/effect_context.h"
#include "effects/effect_table.h"
#include "protocol/frame_store.h"
#include "protocol/host_protocol.h"
#include "platform/bitmap.h"
#include "imaging/nearest_colour.h"
#include "imaging/packed_frame.h"
#include "imaging/palette_order.h"
#include "imaging/palette_quantizer.h"
#include "imaging/remap.h"
#include "imaging/standard_palette.h"
#include "host/supercompression.h"
#include "platform/string_table.h"
#include "platform/wait_cursor.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/message_box.h"

namespace gw {

const char kTaskRefusedMessage[] = "Error creating new task.";
const char kImageRefusedMessage[] = "There has been an error adding an image to the current file object.";
const char kFrameBudgetMessage[] =
    "The frames are too large for a build (at most 512 MB of frames, 16 million pixels each). "
    "Choose fewer frames or a smaller text.";
const char kBuildCommentText[] =
    "Made with Glyphwright 5, the text animation plug-in by Quillmere. "
    "More at https://quillmere.example/glyphwright";

namespace {

struct BuildOptions {
  int effect = 0;
  bool maskBackground = false;
  bool trueColour = false;
  bool customPalette = false;
  bool dither = false;
  bool supercompress = false;
  bool transparent = false;
  bool alpha = false;
  bool comment = false;
  int paletteType = 0;
};

BuildOptions readOptions(const DialogFacade& d) {
  BuildOptions o;
  o.effect = clampEffectIndex(d.selection(IDC_EFFECT));
  o.maskBackground = d.checked(IDC_MASK_BACKGROUND);
  o.trueColour = d.checked(IDC_TRUE_COLOUR);
  o.customPalette = d.checked(IDC_CUSTOM_PALETTE);
  o.dither = d.checked(IDC_DITHER);
  o.supercompress = d.checked(IDC_SUPERCOMPRESS);
  o.transparent = d.checked(IDC_TRANSPARENT);
  o.alpha = d.checked(IDC_ALPHA_TRANSPARENCY);
  o.comment = d.checked(IDC_ADD_COMMENT);
  o.paletteType = d.selection(IDC_PALETTE);
  return o;
}

// A Test build is made as if Alpha transparency were off; the box is put
// back however the build ends.
class AlphaBoxGuard {
 public:
  AlphaBoxGuard(DialogFacade& d, bool clear) : dialog_(d), restore_(clear && d.checked(IDC_ALPHA_TRANSPARENCY)) {
    if (restore_) dialog_.setChecked(IDC_ALPHA_TRANSPARENCY, false);
  }
  ~AlphaBoxGuard() {
    if (restore_) dialog_.setChecked(IDC_ALPHA_TRANSPARENCY, true);
  }

 private:
  DialogFacade& dialog_;
  bool restore_;
};

// Frees the store (and every image in it) on every exit.
struct StoreOwner {
  FrameStore store;
  ~StoreOwner() { frameStoreFree(store); }
};

void setPaletteEntry(uint8_t* palette, int index, uint32_t colour) {
  palette[index * 3] = uint8_t(colour);
  palette[index * 3 + 1] = uint8_t(colour >> 8);
  palette[index * 3 + 2] = uint8_t(colour >> 16);
}

bool holdsColour(const uint8_t* palette, int count, uint32_t colour) {
  for (int i = 0; i < count; ++i)
    if ((uint32_t(palette[i * 3]) | uint32_t(palette[i * 3 + 1]) << 8 | uint32_t(palette[i * 3 + 2]) << 16) == colour)
      return true;
  return false;
}

class Build {
 public:
  Build(DialogFacade& d, const uint8_t* params, int test, const EffectRow* row)
      : dialog_(d), params_(params), test_(test != 0), row_(row) {}
  int run();

 private:
  int32_t call(int32_t code, int32_t a, void* p, void* task = nullptr) {
    return hostCall(params_, task, code, a, p);
  }
  void progress(uint32_t step, uint32_t total) {
    call(kHostProgress, int32_t(step), reinterpret_cast<void*>(uintptr_t(total)));
  }
  void stage(const char* text) { call(kHostStage, 0, const_cast<char*>(text)); }
  int fail(const std::string& message) {
    showMessage(dialog_.window(), message);
    return 0;
  }
  void packNewFrames();
  bool makePalette();
  bool supercompress();
  bool remap();
  bool storeRemapped(uint32_t i, FrameRecord& rec);
  int handOver();

  DialogFacade& dialog_;
  const uint8_t* params_;
  bool test_;
  const EffectRow* row_;
  BuildOptions o_;
  StoreOwner frames_;
  uint32_t background_ = 0;
  bool hasBackground_ = true;
  uint8_t palette_[768] = {};
  int colourCount_ = 0;
  int bits_ = 8;
  int backgroundIndex_ = -1;
  int superIndex_ = -1;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint32_t packed_ = 0;  // frames before this one have been offered for packing
  std::vector<uint8_t> packScratch_;
};

// Frames that will be remapped are kept packed until then: the true-colour
// frames of a build are most of its memory, and frames of text pack to a
// small part of their size. Effects only ever append to the store (and give
// up the image with it), so a frame may be packed as soon as it is there. A
// frame that cannot be packed (out of memory, not 24-bit) is kept as it is;
// every later step takes either form.
void Build::packNewFrames() {
  if (o_.trueColour) return;
  for (; packed_ < frames_.store.count; ++packed_) {
    FrameRecord rec;
    if (!frameStoreGet(frames_.store, packed_, &rec)) return;
    MemBlock packed(packFrame(rec.image, &packScratch_));
    if (!packed) continue;
    const MemHandle frame = rec.image;
    rec.image = packed.get();
    if (!frameStorePut(frames_.store, packed_, rec)) return;
    packed.release();
    memFree(frame);
  }
}

// A frame as a bitmap: its own image, or a new one unpacked into `owner`.
MemHandle frameBitmap(MemHandle image, MemBlock* owner) {
  bool packed = false;
  {
    MemLock lock(image);
    if (!lock) return 0;
    packed = isPackedFrame(lock.data(), lock.size());
  }
  if (!packed) return image;
  owner->reset(unpackFrame(image));
  return owner->get();
}

int Build::run() {
  call(kHostBeforeBuild, 0, nullptr);

  // 1. Options, in the order their rules apply.
  AlphaBoxGuard alphaBox(dialog_, test_);
  o_ = readOptions(dialog_);
  if (o_.alpha) {
    o_.trueColour = true;
    o_.transparent = false;
  }
  WaitCursor wait;
  const EffectRow& row = row_ ? *row_ : effectRow(o_.effect);

  // An effect whose frames have no uniform background (-1) cannot have it
  // shown transparent. (Read as "any colour turns it off", every effect with
  // a real background colour would lose the option, and black would keep it.)
  if (row.queryBackground && row.queryBackground(dialog_, 1) < 0) o_.transparent = false;
  if (o_.trueColour) o_.supercompress = false;
  if (o_.supercompress) {
    o_.maskBackground = false;
    o_.transparent = false;
  }
  int32_t background = row.queryBackground ? row.queryBackground(dialog_, 0) : 0;
  hasBackground_ = background != -1;
  if (!hasBackground_) {
    o_.maskBackground = false;
    o_.transparent = false;
  }
  background_ = hasBackground_ ? uint32_t(background) & 0xFFFFFF : 0;
  if (o_.transparent) o_.maskBackground = true;

  colourCount_ = standardPalette(o_.paletteType, palette_, &bits_);

  // The effect renders every frame.
  progress(0, 0);
  stage("Building");
  if (!row.build) {
    // Until the effect is written it makes no frames: the host sees the calls
    // of a build that made none. A build without frames would say "Memory
    // error", which would send the user looking for a memory problem; this
    // says what is the matter.
    progress(0, 0);
    return fail(kEffectNotAvailableMessage);
  }
  stage("Building");
  EffectContext ctx;
  ctx.window = &dialog_;
  ctx.frameStore = &frames_.store;
  ProgressSink sink;
  sink.user = this;
  sink.report = [](void* self, int32_t index, int32_t count) {
    // Effects report after each frame they append: the place to pack it.
    static_cast<Build*>(self)->packNewFrames();
    static_cast<Build*>(self)->progress(uint32_t(index), uint32_t(count));
  };
  ctx.progress = &sink;
  if (!effectBuild(row, ctx)) {
    memFree(ctx.image);
    return fail(frames_.store.overBudget ? kFrameBudgetMessage : loadString(kStrMemoryError));
  }
  memFree(ctx.image);
  packNewFrames();
  progress(0, 0);
  progress(0, 0);

  if (frames_.store.count == 0) return fail(loadString(kStrMemoryError));
  if (frames_.store.count == 1) o_.supercompress = false;

  if (!makePalette()) return fail(loadString(kStrMemoryError));
  progress(0, 0);
  if (o_.supercompress && !supercompress()) return fail(loadString(kStrMemoryError));
  if (!remap()) return fail(loadString(kStrMemoryError));
  return handOver();
}

bool Build::makePalette() {
  // True-colour frames need no palette: the task reports the bits of the
  // standard palette chosen, which is what hosts have always been given.
  if (o_.trueColour) return true;
  if (!o_.customPalette) {
    // A standard palette has no free slot for a reserved index: supercompression
    // needs one and is left out, and no entry is the background's (marking the
    // nearest one transparent would make every text pixel of that colour
    // vanish), so the background index stays -1.
    colourCount_ = 256;
    o_.supercompress = false;
    return true;
  }
  const bool reserve = o_.supercompress || o_.maskBackground;
  const int limit = reserve ? 255 : 256;
  stage("Quantizing");
  int n = 0;
  QuantizeStats stats;
  if (!quantizeFrames(frames_.store, limit, palette_, &n, &stats)) return false;
  // The computed colours are put in order before the background joins them,
  // so that a background added to a small palette is always its last entry.
  orderPalette(palette_, n);
  // An effect with no single background has no colour to add ("no colour"
  // is -1, which is not a colour to spend a palette entry on). The background
  // joins the palette in a free entry; it never takes the place of a colour
  // the frames hold exactly, so frames with no more colours than the palette
  // allows keep every one of them. Only a palette the quantizer had to reduce
  // gives its entry nearest the background up to it.
  if (!o_.maskBackground && hasBackground_ && !holdsColour(palette_, n, background_)) {
    if (n < limit) {
      setPaletteEntry(palette_, n, background_);
      ++n;
    } else if (!stats.exact) {
      setPaletteEntry(palette_, nearestColour(palette_, n, background_), background_);
    }
  }
  bits_ = bitsForColourCount(n + (reserve ? 1 : 0));
  colourCount_ = n;
  if (o_.maskBackground) {
    setPaletteEntry(palette_, n, background_);
    backgroundIndex_ = n;
  }
  if (o_.supercompress) {
    setPaletteEntry(palette_, n, background_);
    superIndex_ = n;
  }
  return true;
}

bool Build::supercompress() {
  stage("Supercompressing");
  const uint32_t count = frames_.store.count;
  MemBlock screen;
  for (uint32_t i = 0; i < count; ++i) {
    progress(i, count);
    FrameRecord rec;
    if (!frameStoreGet(frames_.store, i, &rec)) return false;
    MemBlock unpacked;
    const MemHandle image = frameBitmap(rec.image, &unpacked);
    if (!image) return false;
    if (i == 0 && unpacked) {
      screen.reset(unpacked.release());
      continue;
    }
    MemLock frameLock(image);
    BitmapView frame = BitmapView::of(frameLock);
    if (!frame.valid()) return false;
    if (i == 0) {
      screen.reset(memAlloc(frameLock.size()));
      MemLock screenLock(screen.get());
      if (!screenLock) return false;
      std::memcpy(screenLock.data(), frameLock.data(), frameLock.size());
      continue;
    }
    MemLock screenLock(screen.get());
    MemBlock mask(unchangedMask(frame, BitmapView::of(screenLock)));
    if (!mask) return false;
    const MemHandle previous = rec.unchangedMask;
    rec.unchangedMask = mask.get();
    rec.transparentIndex = superIndex_;
    if (!frameStorePut(frames_.store, i, rec)) return false;
    mask.release();
    memFree(previous);
  }
  progress(0, 0);
  return true;
}

bool Build::remap() {
  stage("Remapping");
  const uint32_t count = frames_.store.count;
  // One search serves every frame: its cells and cache carry over.
  ColourSearch search;
  if (!o_.trueColour && !search.init(palette_, std::min(colourCount_, 256))) return false;
  for (uint32_t i = 0; i < count; ++i) {
    progress(i, count);
    FrameRecord rec;
    if (!frameStoreGet(frames_.store, i, &rec)) return false;
    if (!o_.trueColour) {
      RemapOptions options;
      options.dither = o_.dither;
      options.ditherBrightness = settings().DitherBrightness;
      options.ditherContrast = settings().DitherContrast;
      options.fastRemap = settings().FastRemap != 0;
      // Frame 0 of a supercompressed build shows the background through the
      // reserved entry; with Mask background every background pixel takes it.
      int substitute = -1;
      if (o_.supercompress && i == 0) substitute = superIndex_;
      if (o_.maskBackground && backgroundIndex_ >= 0) substitute = backgroundIndex_;
      if (substitute >= 0) {
        options.backgroundColour = int32_t(background_);
        options.backgroundIndex = substitute;
      }
      // Without dither a packed frame is remapped run by run as it is.
      MemBlock mapped(options.dither ? 0 : remapPackedToPalette(rec.image, palette_, search, options));
      if (!mapped) {
        MemBlock unpacked;
        const MemHandle image = frameBitmap(rec.image, &unpacked);
        if (!image) return false;
        mapped.reset(remapToPalette(image, palette_, search, options));
      }
      if (!mapped) return false;
      if (o_.supercompress && rec.unchangedMask) {
        MemLock mappedLock(mapped.get());
        MemLock maskLock(rec.unchangedMask);
        BitmapView out = BitmapView::of(mappedLock);
        BitmapView mask = BitmapView::of(maskLock);
        if (!out.valid() || !mask.valid()) return false;
        for (int32_t y = 0; y < out.height(); ++y)
          for (int32_t x = 0; x < out.width(); ++x)
            if (mask.getPixel(x, y) > 0) out.setPixel(x, y, uint32_t(superIndex_));
        uint8_t* entry = out.colourTable() + superIndex_ * 4;
        entry[0] = uint8_t(background_ >> 16);
        entry[1] = uint8_t(background_ >> 8);
        entry[2] = uint8_t(background_);
        rec.transparentIndex = superIndex_;
      }
      // The store keeps the true-colour image until it holds the remapped
      // one: on every failure below it frees exactly what it holds, once.
      const MemHandle trueColour = rec.image;
      rec.image = mapped.get();
      if (!storeRemapped(i, rec)) return false;
      mapped.release();
      memFree(trueColour);
      continue;
    }
    if (!storeRemapped(i, rec)) return false;
  }
  return true;
}

bool Build::storeRemapped(uint32_t i, FrameRecord& rec) {
  int32_t w = 0, h = 0;
  if (!bitmapQuery(rec.image, &w, &h, nullptr, nullptr)) return false;
  if (o_.transparent) rec.transparentIndex = backgroundIndex_;
  if (!frameStorePut(frames_.store, i, rec)) return false;
  width_ = std::max(width_, w);
  height_ = std::max(height_, h);
  return true;
}

int Build::handOver() {
  progress(0, 0);
  const uint32_t count = frames_.store.count;
  TaskFields fields;
  fields.window = dialog_.window();
  fields.colourBits = uint32_t(bits_);
  fields.width = width_;
  fields.height = height_;
  std::memcpy(fields.palette, palette_, 768);
  fields.frameCount = count;
  fields.hasTransparentIndex = o_.transparent;
  fields.transparentIndex = backgroundIndex_;
  uint8_t task[task_record::kSize];
  taskRecordEncode(fields, task);
  if (!call(test_ ? kHostNewTestTask : kHostNewTask, 0, task)) return fail(kTaskRefusedMessage);

  const bool asIndex = (hostParamsRead(params_).hostFlags & host_params::kFlagBackgroundAsIndex) != 0;
  if (asIndex) {
    int index = backgroundIndex_ >= 0 ? backgroundIndex_ : nearestColour(palette_, std::min(colourCount_, 256), background_);
    call(kHostBackground, kBackgroundAsIndex, reinterpret_cast<void*>(intptr_t(index)), task);
  } else {
    const int32_t colour = hasBackground_ ? int32_t(background_) : -1;  // -1: no single background
    call(kHostBackground, kBackgroundAsColour, reinterpret_cast<void*>(intptr_t(colour)), task);
  }

  for (uint32_t i = 0; i < count; ++i) {
    FrameRecord rec;
    frameStoreGet(frames_.store, i, &rec);
    ImageFields image;
    image.image = rec.image;
    image.transparent = o_.transparent || o_.alpha;
    image.delay = rec.delay;
    image.index = int32_t(i);
    image.transparentIndex = (!asIndex && o_.alpha) ? 0 : rec.transparentIndex;
    uint8_t record[image_record::kSize];
    imageRecordEncode(image, record);
    if (!call(kHostAddImage, 0, record, task)) {
      showMessage(dialog_.window(), kImageRefusedMessage);
      call(kHostEndTask, 0, nullptr, task);
      return 0;
    }
  }
  if (o_.comment) call(kHostComment, 0, const_cast<char*>(kBuildCommentText), task);
  call(kHostEndTask, 1, nullptr, task);
  return 1;
}

}  // namespace

namespace {

// Whatever throws inside a build (a container out of memory) ends it as an
// allocation failure does: "Memory error", everything freed, 0. Nothing
// leaves the build as an exception, in the DLL or the command line.
int runGuarded(DialogFacade& dialog, const uint8_t* hostParams, int testFlag, const EffectRow* row) {
  try {
    Build build(dialog, hostParams, testFlag, row);
    return build.run();
  } catch (...) {
  }
  try {
    showMessage(dialog.window(), loadString(kStrMemoryError));
  } catch (...) {
  }
  return 0;
}

}  // namespace

int runBuild(DialogFacade& dialog, const uint8_t* hostParams, int testFlag) {
  return runGuarded(dialog, hostParams, testFlag, nullptr);
}

int runBuildWithEffect(DialogFacade& dialog, const uint8_t* hostParams, int testFlag, const EffectRow& row) {
  return runGuarded(dialog, hostParams, testFlag, &row);
}

}  // namespace gw
