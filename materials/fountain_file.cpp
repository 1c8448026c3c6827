#include "materials/fountain_file.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "settings/settings_file.h"

namespace gw {

std::string fountainFilePath(int32_t controlId) {
  char name[64];
  std::snprintf(name, sizeof name, "Glyphwright 5%cFountain%.5d.mtrl", pathSeparator(), int(controlId));
  return makerFolderPath(name);
}

MemHandle fountainFileRead(const std::string& path, bool wanted) {
  if (!wanted || path.empty()) return 0;
  uint8_t stored[kFountainRecordSize];
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  size_t got = std::fread(stored, 1, sizeof stored, f);
  std::fclose(f);
  if (got != sizeof stored || std::memcmp(stored + fountain::kMagic, "QUILFOUN", 8) != 0) return 0;
  writeU32(stored + fountain::kPreviewImage, 0);
  // A drag cannot outlive the window it started in; the selection may.
  std::memset(stored + fountain::kEditorState + 4, 0, kFountainRecordSize - fountain::kEditorState - 4);

  MemBlock block(memAlloc(kFountainRecordSize));
  MemLock lock(block.get());
  if (!lock || lock.size() < kFountainRecordSize) return 0;
  std::memcpy(lock.data(), stored, kFountainRecordSize);
  return block.release();
}

bool fountainFileWrite(const std::string& path, const uint8_t* f) {
  if (!f) return false;
  if ((readU32(f + fountain::kFlags) & fountain::kFlagWriteBack) == 0) return true;
  return writeFileReplacing(path, f, kFountainRecordSize);
}

}  // namespace gw
