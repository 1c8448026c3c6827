// The compiled-resource reader and what is read from resources: a .res file,
// a dialog template, a string-table block.
#include <cstring>

#include "platform/dialog_template.h"
#include "platform/res_file.h"
#include "platform/resources.h"
#include "platform/string_table.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(res_file) {
  auto entries = gw::parseResFile(data, size);
  if (!entries) return;
  for (const gw::ResEntry& e : *entries)
    GW_FUZZ_CHECK(e.bytes.data >= data && e.bytes.data + e.bytes.size <= data + size);
}

GW_FUZZ_TARGET(dialog_template) {
  gw::ResourceBytes bytes{data, size};
  gw::parseDialogTemplate(bytes);
}

GW_FUZZ_TARGET(string_table) {
  gw::ResourceBytes bytes{data, size};
  for (int id = 0; id < 16; ++id) gw::stringFromBlock(bytes, id);
}
