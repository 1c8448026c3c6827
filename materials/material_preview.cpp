#include "materials/material_preview.h"

#include "base/le_bytes.h"
#include "materials/material_fill.h"
#include "materials/material_record.h"

namespace gw {

uint32_t materialPreviewAverage(uint8_t* rec) {
  uint32_t average = readU32(rec + material::kPreviewAverage) & 0xFFFFFF;
  if (readI32(rec + material::kKind) == kMaterialSimple) {
    average = readU32(rec + material::kColour) & 0xFFFFFF;
  } else {
    MemBlock preview(materialFill(rec, kMaterialPreviewWidth, kMaterialPreviewHeight));
    if (!preview) return average;
    average = bitmapAverageColour(preview.get());
  }
  writeU32(rec + material::kPreviewAverage, average);
  return average;
}

}  // namespace gw
