#include "platform/rasteriser.h"

#include <cstdio>
#include <cstdlib>

#include "base/le_bytes.h"

namespace gw {
namespace {
std::vector<uint32_t>& maintenanceLog() {
  static std::vector<uint32_t> log;  // process-wide, like the library it stands for
  return log;
}
}  // namespace

int rasteriserProc(uint8_t* record, size_t size) {
  if (!record || size < kMaintenanceRecordSize) return 0;
  uint32_t command = readU32(record + kMaintenanceCommandOffset);
  if (command == kRasteriserRunStarts || command == kRasteriserRunEnds) {
    maintenanceLog().push_back(command);
    if (const char* path = std::getenv("GLYPHWRIGHT_RASTERISER_LOG")) {
      if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "maintenance %u\n", unsigned(command));
        std::fclose(f);
      }
    }
    return 1;
  }
  return 0;
}

void rasteriserMaintenance(uint32_t command) {
  uint8_t record[kMaintenanceRecordSize] = {};
  writeU32(record + kMaintenanceCommandOffset, command);
  rasteriserProc(record, sizeof record);
}

std::vector<uint32_t> rasteriserMaintenanceLog() { return maintenanceLog(); }

}  // namespace gw
