#include "platform/rasteriser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/checked_math.h"
#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "platform/rasteriser_backend.h"

namespace gw {
namespace {

constexpr int32_t kMaxFontHeight = 4096;

std::vector<uint32_t>& maintenanceLog() {
  static std::vector<uint32_t> log;  // process-wide, like the library it stands for
  return log;
}

int maintenance(uint32_t command) {
  maintenanceLog().push_back(command);
  if (const char* path = std::getenv("GLYPHWRIGHT_RASTERISER_LOG")) {
    if (FILE* f = std::fopen(path, "ab")) {
      std::fprintf(f, "maintenance %u\n", unsigned(command));
      std::fclose(f);
    }
  }
  if (command == kRasteriserRunEnds) rasteriser_backend::runEnds();
  return 1;
}

FontRequest requestFromRecord(const uint8_t* record) {
  using namespace letter_request;
  FontRequest request;
  request.face.assign(reinterpret_cast<const char*>(record + kFaceName),
                   fixedTextLength(record + kFaceName, kFaceNameWidth));
  request.height = readI32(record + kHeight);
  request.bold = readI32(record + kWeight) >= 600;
  request.italic = readU32(record + kItalic) != 0;
  return request;
}

// The grey mask of a coverage at an intensity, as the letter drawn in grey
// intensity * 0x010101 on black would leave it.
MemHandle maskFromCoverage(const rasteriser_backend::Coverage& c, uint8_t intensity) {
  static const uint8_t* greys = [] {
    static uint8_t p[768];
    for (int i = 0; i < 256; ++i) p[i * 3] = p[i * 3 + 1] = p[i * 3 + 2] = uint8_t(i);
    return p;
  }();
  size_t count = 0;
  if (c.width <= 0 || c.height <= 0 || !checkedMul(size_t(c.width), size_t(c.height), &count) ||
      c.pixels.size() < count)
    return 0;
  MemBlock mask(bitmapCreateWithPalette(c.width, c.height, greys, 8));
  if (!mask) return 0;
  {
    MemLock lock(mask.get());
    BitmapView view = BitmapView::of(lock);
    if (!view.valid()) return 0;
    for (int32_t y = 0; y < c.height; ++y) {
      const uint8_t* src = c.pixels.data() + size_t(y) * size_t(c.width);
      uint8_t* dst = view.row(y);
      for (int32_t x = 0; x < c.width; ++x) dst[x] = uint8_t((src[x] * intensity + 127) / 255);
    }
  }
  return mask.release();
}

int letterRequest(uint8_t* record) {
  using namespace letter_request;
  uint32_t mode = readU32(record + kMode);
  if (mode != kLetterMeasure && mode != kLetterRender) return 0;
  uint32_t letterWord = readU32(record + kLetter);
  if (letterWord > 0xFF) return 0;
  auto letter = uint8_t(letterWord);

  // Without an open font the request names one, and it lives for this call.
  RasteriserFont temporary;
  uint32_t font = readU32(record + kDeviceContext);
  if (font == 0) {
    if (!temporary.open(requestFromRecord(record))) return 0;
    font = temporary.handle();
  }

  if (mode == kLetterMeasure) {
    int32_t advance = 0;
    if (!rasteriser_backend::measure(font, letter, &advance)) return 0;
    writeI32(record + kAdvance, advance);
    return 1;
  }

  // The advance the caller passes is not needed here: the mask is sized by
  // the letter's ink, which may overhang its advance (italics, bold).
  writeU32(record + kMask, 0);
  writeI32(record + kMaskLeft, 0);
  writeI32(record + kMaskTop, 0);
  rasteriser_backend::Coverage coverage;
  if (!rasteriser_backend::render(font, letter, readU32(record + kAntialias) != 0, &coverage))
    return 0;
  if (coverage.width <= 0 || coverage.height <= 0) return 1;  // a blank: no ink, no mask
  // The grey colour's low byte is the intensity; its other two bytes repeat it.
  MemHandle mask = maskFromCoverage(coverage, uint8_t(readU32(record + kIntensity) & 0xFF));
  if (!mask) return 0;
  writeU32(record + kMask, mask);
  writeI32(record + kMaskLeft, coverage.left);
  writeI32(record + kMaskTop, coverage.top);
  return 1;
}

void fillLetterRecord(const RasteriserFont& font, uint8_t letter, uint32_t mode, uint8_t* record) {
  using namespace letter_request;
  const FontRequest& request = font.request();
  writeU32(record + kCommand, kRasteriserLetter);
  writeU32(record + kMode, mode);
  writeU32(record + kLetter, letter);
  writeI32(record + kHeight, request.height);
  writeI32(record + kWeight, request.bold ? 700 : 400);
  writeU32(record + kItalic, request.italic ? 1 : 0);
  writeU32(record + kDeviceContext, font.handle());
  writeFixedText(record + kFaceName, kFaceNameWidth, request.face.c_str());
}

}  // namespace

int rasteriserProc(uint8_t* record, size_t size) {
  if (!record || size < kMaintenanceRecordSize) return 0;
  uint32_t command = readU32(record + kMaintenanceCommandOffset);
  if (command == kRasteriserRunStarts || command == kRasteriserRunEnds) return maintenance(command);
  if (command == kRasteriserLetter) return letterRequest(record);
  return 0;
}

void rasteriserMaintenance(uint32_t command) {
  uint8_t record[kMaintenanceRecordSize] = {};
  writeU32(record + kMaintenanceCommandOffset, command);
  rasteriserProc(record, sizeof record);
}

std::vector<uint32_t> rasteriserMaintenanceLog() { return maintenanceLog(); }

bool RasteriserFont::open(const FontRequest& request) {
  close();
  if (request.height < 1 || request.height > kMaxFontHeight) return false;
  FontMetrics metrics;
  uint32_t handle = rasteriser_backend::openFont(request, &metrics);
  if (!handle) return false;
  handle_ = handle;
  request_ = request;
  metrics_ = metrics;
  return true;
}

void RasteriserFont::close() {
  if (handle_) rasteriser_backend::closeFont(handle_);
  handle_ = 0;
  metrics_ = FontMetrics();
}

bool rasteriserMeasureLetter(const RasteriserFont& font, uint8_t letter, int32_t* advance) {
  if (!font.isOpen() || !advance) return false;
  uint8_t record[letter_request::kSize] = {};
  fillLetterRecord(font, letter, kLetterMeasure, record);
  if (rasteriserProc(record, sizeof record) != 1) return false;
  *advance = readI32(record + letter_request::kAdvance);
  return true;
}

bool rasteriserRenderLetter(const RasteriserFont& font, uint8_t letter, int32_t advance,
                            bool antialias, uint8_t intensity, LetterMask* out) {
  if (!font.isOpen() || !out) return false;
  uint8_t record[letter_request::kSize] = {};
  fillLetterRecord(font, letter, kLetterRender, record);
  writeI32(record + letter_request::kAdvance, advance);
  writeU32(record + letter_request::kAntialias, antialias ? 1 : 0);
  writeU32(record + letter_request::kIntensity, uint32_t(intensity) * 0x010101u);
  if (rasteriserProc(record, sizeof record) != 1) return false;
  out->mask = readU32(record + letter_request::kMask);
  out->left = readI32(record + letter_request::kMaskLeft);
  out->top = readI32(record + letter_request::kMaskTop);
  return true;
}

std::vector<std::string> rasteriserFontFamilies() { return rasteriser_backend::families(); }

std::string rasteriserSubstituteFamily(const std::string& face) { return rasteriser_backend::substituteFamily(face); }

}  // namespace gw
