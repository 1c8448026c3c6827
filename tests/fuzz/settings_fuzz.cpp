// The configuration file and its single lines: whatever is read, the record
// written back and read again gives the same file.
#include <string>

#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(settings_file) {
  using namespace gw;
  std::string path = fuzz::scratchFile("glwplug5.ini", data, size);
  SettingsRecord record;
  readSettingsFile(path, record);
  // The file's own reading is covered above; the text written back is read
  // by the same line parser, without a second file.
  const std::string first = settingsFileText(record, 0);
  SettingsRecord reread;
  applySettingsText(first, reread);
  GW_FUZZ_CHECK(settingsFileText(reread, 0) == first);
}

GW_FUZZ_TARGET(settings_line) {
  gw::SettingsRecord record;
  gw::applySettingsLine(std::string(reinterpret_cast<const char*>(data), size), record);
}
