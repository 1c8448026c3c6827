// Material records from documents and files: a decoded line written back
// decodes to the same record; a material file of any bytes gives a record or
// nothing; any record fills a small canvas in bounded work.
#include <cstring>
#include <string>

#include "materials/material_document.h"
#include "materials/material_file.h"
#include "materials/material_fill.h"
#include "materials/material_record.h"
#include "platform/memory.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(material_line) {
  using namespace gw;
  const std::string line(reinterpret_cast<const char*>(data), size);
  uint8_t record[kMaterialRecordSize] = {};
  if (!materialDocumentDecode(line, record)) return;
  uint8_t again[kMaterialRecordSize] = {};
  GW_FUZZ_CHECK(materialDocumentDecode(materialDocumentLine(100, record), again));
  GW_FUZZ_CHECK(std::memcmp(record, again, sizeof record) == 0);
}

GW_FUZZ_TARGET(material_file) {
  using namespace gw;
  std::string path = fuzz::scratchFile("Material00100.mtrl", data, size);
  MemBlock record(materialFileRead(path, 0x123456, true));
  if (!record) return;
  GW_FUZZ_CHECK(memSize(record.get()) >= kMaterialRecordSize);
}

GW_FUZZ_TARGET(material_fill) {
  using namespace gw;
  uint8_t record[kMaterialRecordSize] = {};
  std::memcpy(record, data, size < sizeof record ? size : sizeof record);
  // The handles inside a record are never trusted from outside.
  materialRecordClearRuntime(record);
  MemBlock canvas(materialFill(record, 40, 24));
}
