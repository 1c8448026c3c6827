#include "settings/settings_record.h"

namespace gw {

SettingsRecord& settings() {
  static SettingsRecord record;
  return record;
}

void resetSettings() { settings() = SettingsRecord(); }

}  // namespace gw
