// The letter rasteriser the plug-in calls through one entry point, given a
// 1000-byte request record. This system carries its own implementation (GDI
// on Windows, FreeType natively); the record layout of requests stays the
// entry point's contract.
//
// Maintenance: command word 1 when a run starts, 2 when it ends. Nothing the
// plug-in does depends on their result.
//
// Letters: command word 7 measures one letter's advance (mode 0) or renders
// the letter alone into a small 8-bit coverage mask (mode 2). A font height is
// the cell height in pixels (ascent + descent), as a positive height asks of
// Windows' CreateFontA; letters are code page 1252 bytes.
//
//   gw::RasteriserFont font;
//   if (!font.open({"Impact", 92, true, false})) return 0;
//   int32_t advance;
//   if (gw::rasteriserMeasureLetter(font, 'A', &advance)) ...
//   gw::LetterMask m;
//   if (gw::rasteriserRenderLetter(font, 'A', advance, true, 255, &m)) ...
//   gw::memFree(m.mask);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory.h"

namespace gw {

constexpr size_t kMaintenanceRecordSize = 1000;
constexpr size_t kMaintenanceCommandOffset = 24;
constexpr uint32_t kRasteriserRunStarts = 1;
constexpr uint32_t kRasteriserRunEnds = 2;
constexpr uint32_t kRasteriserLetter = 7;

constexpr uint32_t kLetterMeasure = 0;
constexpr uint32_t kLetterRender = 2;

// The letter request (command 7): a 1000-byte record like the maintenance one.
namespace letter_request {
constexpr size_t kSize = kMaintenanceRecordSize;
constexpr size_t kCommand = kMaintenanceCommandOffset;  // 7
constexpr size_t kMode = 28;            // kLetterMeasure or kLetterRender
constexpr size_t kLetter = 32;          // the Latin-1 byte in a 32-bit word
constexpr size_t kAdvance = 36;         // out of a measure; into a render, the letter's advance
constexpr size_t kHeight = 40;          // cell height in pixels
constexpr size_t kWeight = 44;          // 400 regular, 700 bold
constexpr size_t kItalic = 48;          // 0 or 1
constexpr size_t kAntialias = 52;       // 0 or 1 (render only)
constexpr size_t kIntensity = 56;       // grey colour intensity * 0x010101 (render only)
constexpr size_t kDeviceContext = 60;   // an open RasteriserFont's handle, or 0
constexpr size_t kFaceName = 64;        // zero-terminated family name
constexpr size_t kFaceNameWidth = 32;
constexpr size_t kMask = 96;            // out of a render: 8-bit grey Bitmap, or 0 when blank
constexpr size_t kMaskLeft = 100;       // out: mask column 0 relative to the pen, signed
constexpr size_t kMaskTop = 104;        // out: mask row 0 relative to the cell top, signed
}  // namespace letter_request

// The entry point: takes a request record; returns 1 when it was understood
// and carried out.
int rasteriserProc(uint8_t* record, size_t size);

// Sends a maintenance record with this command word.
void rasteriserMaintenance(uint32_t command);

// The maintenance commands received so far in this process, in order. When
// $GLYPHWRIGHT_RASTERISER_LOG names a file, each is also appended to it as a
// line "maintenance N", so a test host outside the process can check them.
std::vector<uint32_t> rasteriserMaintenanceLog();

struct FontRequest {
  std::string face;    // family name; a missing family is substituted
  int32_t height = 0;  // cell height in pixels, 1 and above
  bool bold = false;
  bool italic = false;
};

struct FontMetrics {
  int32_t height = 0;   // ascent + descent: the line height
  int32_t ascent = 0;   // cell top to baseline
  int32_t descent = 0;  // baseline to cell bottom
};

// A font made for one purpose (a frame, a measurement) and selected into a
// screen-compatible device context; closed on destruction.
class RasteriserFont {
 public:
  RasteriserFont() = default;
  ~RasteriserFont() { close(); }
  RasteriserFont(const RasteriserFont&) = delete;
  RasteriserFont& operator=(const RasteriserFont&) = delete;

  // false when no face can be found or the height is outside 1..4096.
  bool open(const FontRequest& request);
  void close();

  bool isOpen() const { return handle_ != 0; }
  uint32_t handle() const { return handle_; }
  const FontRequest& request() const { return request_; }
  const FontMetrics& metrics() const { return metrics_; }

 private:
  uint32_t handle_ = 0;
  FontRequest request_;
  FontMetrics metrics_;
};

// One rendered letter: `mask` is a new 8-bit grey Bitmap the caller owns (0
// when the letter leaves no ink, as a blank), placed with its top-left pixel
// at (pen x + left, cell top + top).
struct LetterMask {
  MemHandle mask = 0;
  int32_t left = 0;
  int32_t top = 0;
};

// Request op 7 through a record, as callers of the entry point make it.
bool rasteriserMeasureLetter(const RasteriserFont& font, uint8_t letter, int32_t* advance);
bool rasteriserRenderLetter(const RasteriserFont& font, uint8_t letter, int32_t advance,
                            bool antialias, uint8_t intensity, LetterMask* out);

// The font families the rasteriser can use, sorted, each once.
std::vector<std::string> rasteriserFontFamilies();

// The family a font request for `face` is drawn with: the face when it is
// installed, else what the system substitutes for it; empty when none.
std::string rasteriserSubstituteFamily(const std::string& face);

}  // namespace gw
