#include <cstring>

#include "settings/settings_table.h"

namespace gw {

const SettingEntry* findSetting(const char* key) {
  if (!key) return nullptr;
  const SettingEntry* table = settingsTable();
  for (size_t i = 0; i < settingsTableSize(); ++i)
    if (std::strcmp(table[i].key, key) == 0) return &table[i];
  return nullptr;
}

int32_t* settingNumber(SettingsRecord& record, const char* key) {
  const SettingEntry* e = findSetting(key);
  return e && e->kind == SettingKind::kNumber ? &(record.*(e->number)) : nullptr;
}

char* settingText(SettingsRecord& record, const char* key) {
  const SettingEntry* e = findSetting(key);
  return e && e->kind == SettingKind::kText ? (record.*(e->text)) : nullptr;
}

void setSettingText(char* buffer, const char* value, size_t limit) {
  if (limit > kSettingTextSize - 1) limit = kSettingTextSize - 1;
  std::memset(buffer, 0, kSettingTextSize);
  size_t n = value ? strnlen(value, limit) : 0;
  if (n) std::memcpy(buffer, value, n);
}

}  // namespace gw
