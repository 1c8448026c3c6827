#include "materials/material_file.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/material_record.h"
#include "materials/tile_selection.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "settings/settings_file.h"

namespace gw {
namespace {

bool readWholeRecord(const std::string& path, uint8_t* out) {
  if (path.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  size_t got = std::fread(out, 1, kMaterialRecordSize, f);
  std::fclose(f);
  return got == kMaterialRecordSize;
}

}  // namespace

std::string materialFilePath(int32_t controlId) {
  char name[64];
  std::snprintf(name, sizeof name, "Glyphwright 5%cMaterial%.5d.mtrl", pathSeparator(), int(controlId));
  return makerFolderPath(name);
}

MemHandle materialFileRead(const std::string& path, uint32_t defaultColour, bool readFile) {
  MemBlock block(memAlloc(kMaterialRecordSize));
  if (!block) return 0;
  {
    MemLock lock(block.get());
    if (!lock || lock.size() < kMaterialRecordSize) return 0;
    uint8_t* rec = lock.data();
    materialRecordDefaults(rec, false);
    writeU32(rec + material::kColour, defaultColour);
    uint8_t stored[kMaterialRecordSize];
    if (readFile && readWholeRecord(path, stored) && materialRecordHasMagic(stored)) {
      std::memcpy(rec, stored, kMaterialRecordSize);
      // Handles in a file belong to the run that wrote it.
      materialRecordClearRuntime(rec);
      if (rec[material::kTilePath] != 0) tileSelectionLoad(rec + material::kTileSelection);
    }
    writeU32(rec + material::kButtonState, readU32(rec + material::kButtonState) & ~3u);
  }
  return block.release();
}

bool materialFileWrite(const std::string& path, const uint8_t* rec) {
  if (path.empty() || !rec) return false;
  // Replaced in one step: a failed write, or a crash between removing the
  // old file and renaming the new one, must not lose the user's material.
  return writeFileReplacing(path, rec, kMaterialRecordSize);
}

}  // namespace gw
