#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/material_cli_options.h"
#include "cli/png_io.h"
#include "materials/material_document.h"
#include "materials/material_fill.h"
#include "platform/bitmap.h"
#include "imaging/bitmap_blit.h"
#include "imaging/shape_raster.h"
#include "materials/gradient_settings.h"
#include "materials/material_record.h"
#include "materials/texture_settings.h"
#include "materials/tile_selection.h"

namespace gw::cli {

using namespace material_cli;

namespace {

// The record's tile image belongs to this command while it runs.
struct RecordImages {
  uint8_t* rec;
  ~RecordImages() { tileSelectionFreeImage(rec + material::kTileSelection); }
};

bool readRecordFile(const std::string& path, uint8_t* rec, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!readBytes(path, kMaterialRecordSize, &bytes, error)) return false;
  if (bytes.size() != kMaterialRecordSize || !materialRecordHasMagic(bytes.data())) {
    *error = path + ": not a material record (1270 bytes starting QUILCMAT)";
    return false;
  }
  std::memcpy(rec, bytes.data(), kMaterialRecordSize);
  materialRecordClearRuntime(rec);
  return true;
}

// Largest effect document read for its material line. A document holds one
// line per control, the longest a material's 2,540 digits; a larger file (or
// a device such as /dev/zero) is refused after reading this much.
constexpr size_t kDocumentLimit = size_t(1) << 20;

// The first MATLBT line of an effect document.
bool readDocumentLine(const std::string& path, uint8_t* rec, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!readBytes(path, kDocumentLimit, &bytes, error)) return false;
  if (bytes.size() > kDocumentLimit) {
    *error = path + ": larger than " + std::to_string(kDocumentLimit / 1024) + " KiB; not an effect document";
    return false;
  }
  const std::string text(bytes.begin(), bytes.end());
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.size() >= 6 && strncasecmp(line.c_str(), "MATLBT", 6) == 0) {
      uint8_t decoded[kMaterialRecordSize];
      if (!materialDocumentDecode(line, decoded)) {
        *error = path + ": the material line is not hexadecimal";
        return false;
      }
      std::memcpy(rec, decoded, kMaterialRecordSize);
      materialRecordClearRuntime(rec);
      return true;
    }
  }
  *error = path + ": no material line (MATLBT) in the document";
  return false;
}

bool readTextureFile(const std::string& path, uint8_t* rec, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!readBytes(path, kMaterialRecordSize, &bytes, error)) return false;
  if (bytes.size() == texture_settings::kSize) {
    std::memcpy(rec + material::kTexture, bytes.data(), texture_settings::kSize);
    return true;
  }
  if (bytes.size() == kMaterialRecordSize && materialRecordHasMagic(bytes.data())) {
    std::memcpy(rec + material::kTexture, bytes.data() + material::kTexture, texture_settings::kSize);
    return true;
  }
  *error = path + ": not a texture settings (268 bytes) or material (1270) record";
  return false;
}

bool parseKind(const std::string& text, int32_t* kind) {
  for (int32_t k = 0; k < 4; ++k) {
    std::string name = materialKindName(k);
    if (strcasecmp(text.c_str(), name.c_str()) == 0) {
      *kind = k;
      return true;
    }
  }
  long long v;
  if (!parseNumber(text, INT32_MIN, INT32_MAX, &v)) return false;
  *kind = int32_t(v);
  return true;
}

// Every kind with its defaults on one picture, row by row: Simple, the four
// gradient shapes (two-colour), the four shapes again multi-colour, the six
// texture types, and the built-in tile.
MemHandle contactSheet() {
  constexpr int32_t kCellW = 160, kCellH = 120, kGap = 6, kColumns = 4, kCells = 16;
  constexpr int32_t kRows = (kCells + kColumns - 1) / kColumns;
  MemBlock sheet(bitmapCreateTrueColour(kColumns * (kCellW + kGap) + kGap, kRows * (kCellH + kGap) + kGap, 24));
  if (!sheet) return 0;
  MemLock lock(sheet.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) return 0;
  for (int32_t y = 0; y < view.height(); ++y) fillSpan(view, y, 0, view.width(), 0x303030);
  for (int cell = 0; cell < kCells; ++cell) {
    uint8_t rec[kMaterialRecordSize];
    materialRecordDefaults(rec, false);
    if (cell == 0) {
      writeI32(rec + material::kKind, kMaterialSimple);
    } else if (cell <= 8) {
      writeI32(rec + material::kKind, kMaterialGradient);
      writeI32(rec + material::kGradient + gradient::kShape, (cell - 1) % 4);
      if (cell > 4) writeU32(rec + material::kGradient + gradient::kColourMode, 0);
    } else if (cell <= 14) {
      writeI32(rec + material::kKind, kMaterialTexture);
      writeU32(rec + material::kTexture + texture_settings::kType, uint32_t(cell - 9));
    } else {
      writeI32(rec + material::kKind, kMaterialTile);
    }
    MemBlock fill(materialFill(rec, kCellW, kCellH));
    if (!fill) return 0;
    MemLock fillLock(fill.get());
    BitmapView part = BitmapView::of(fillLock);
    const int32_t x = kGap + (cell % kColumns) * (kCellW + kGap), y = kGap + (cell / kColumns) * (kCellH + kGap);
    blitTrueColour(view, part, 0, 0, x, y, kCellW, kCellH);
  }
  return sheet.release();
}

}  // namespace

// Renders a material to a PNG: defaults, then a record file or a document's
// material line, then options.
int runMaterial(const std::vector<std::string>& args) {
  const Command& self = *findCommand("material");
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  RecordImages images{rec};
  int32_t w = 256, h = 128;
  std::string output, recordOut, error;
  long long lineId = -1;
  bool info = false;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--record" && !readRecordFile(args[i + 1], rec, &error)) return fail(error);
    if (args[i] == "--document" && !readDocumentLine(args[i + 1], rec, &error)) return fail(error);
  }
  bool reloadTile = rec[material::kTilePath] != 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--info") {
      info = true;
      continue;
    }
    if (a == "--sheet") {
      if (i + 1 >= args.size()) return usageError(self, "--sheet needs an output file");
      MemBlock sheet(contactSheet());
      if (!sheet) return fail("the contact sheet could not be rendered");
      if (!writeBitmapAsPng(sheet.get(), args[i + 1], &error)) return fail(error);
      return kExitOk;
    }
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (i + 1 >= args.size()) return usageError(self, a + " needs a value");
      const std::string& value = args[++i];
      long long v;
      uint32_t colour;
      bool known = false;
      if (a == "--record" || a == "--document") continue;
      if (a == "--size") {
        if (!parseImageSize(value, &w, &h)) return usageError(self, "bad size " + value);
      } else if (a == "--kind") {
        int32_t kind;
        if (!parseKind(value, &kind)) return usageError(self, "bad kind " + value);
        writeI32(rec + material::kKind, kind);
      } else if (a == "--colour") {
        if (!parseColour(value, &colour)) return usageError(self, "bad colour " + value);
        writeU32(rec + material::kColour, colour);
      } else if (a == "--gradient") {
        if (!readGradientFile(value, rec + material::kGradient, &error)) return fail(error);
      } else if (a == "--texture") {
        if (!readTextureFile(value, rec, &error)) return fail(error);
      } else if (a == "--texture-type") {
        if (!parseNumber(value, 0, 5, &v)) return usageError(self, "bad texture type " + value);
        writeU32(rec + material::kTexture + texture_settings::kType, uint32_t(v));
      } else if (a == "--tile-group") {
        tileSelectionSetPath(rec + material::kTileSelection, value);
        reloadTile = true;
      } else if (a == "--tile-index") {
        if (!parseNumber(value, 0, INT32_MAX, &v)) return usageError(self, "bad tile index " + value);
        writeI32(rec + material::kTileIndex, int32_t(v));
        reloadTile = true;
      } else if (a == "--write-record") {
        recordOut = value;
      } else if (a == "--print-line") {
        if (!parseNumber(value, 0, 65535, &lineId)) return usageError(self, "bad control id " + value);
      } else if (!applyGradientOption(a, value, rec + material::kGradient, &known)) {
        return usageError(self, "bad value for " + a + ": " + value);
      } else if (!known) {
        return usageError(self, "unknown option " + a);
      }
    } else if (output.empty()) {
      output = a;
    } else {
      return usageError(self, "more than one output file");
    }
  }
  if (output.empty() && recordOut.empty() && lineId < 0) return usageError(self, "no output");
  if (reloadTile && rec[material::kTilePath] != 0 && !tileSelectionLoad(rec + material::kTileSelection))
    std::fprintf(stderr, "glyphwright: tile %d of %s not found; the built-in tile is used\n",
                 int(readI32(rec + material::kTileIndex)),
                 tileSelectionPath(rec + material::kTileSelection).c_str());
  if (!recordOut.empty()) {
    // Run-time handles mean nothing in a file.
    uint8_t stored[kMaterialRecordSize];
    std::memcpy(stored, rec, kMaterialRecordSize);
    materialRecordClearRuntime(stored);
    if (!writeBytes(recordOut, stored, kMaterialRecordSize, &error)) return fail(error);
  }
  if (lineId >= 0) {
    uint8_t stored[kMaterialRecordSize];
    std::memcpy(stored, rec, kMaterialRecordSize);
    materialRecordClearRuntime(stored);
    std::fputs(materialDocumentLine(int32_t(lineId), stored).c_str(), stdout);
  }
  if (output.empty() && !info) return kExitOk;
  MemBlock bitmap(materialFill(rec, w, h));
  if (!bitmap) return fail("the material could not be filled");
  if (info) {
    uint32_t average = bitmapAverageColour(bitmap.get());
    int32_t kind = readI32(rec + material::kKind);
    const char* name = materialKindName(kind);
    std::printf("kind:    %d (%s)\naverage: 0x%06X\ncaption: %s\n", int(kind), name ? name : "unknown",
                unsigned(average), captionIsWhite(average) ? "white" : "black");
  }
  if (!output.empty() && !writeBitmapAsPng(bitmap.get(), output, &error)) return fail(error);
  return kExitOk;
}

}  // namespace gw::cli
