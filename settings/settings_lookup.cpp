#include <cstring>
#include <string>
#include <unordered_map>

#include "settings/settings_table.h"

namespace gw {

const SettingEntry* findSetting(const char* key) {
  if (!key) return nullptr;
  // Every control of every page looks its key up as the dialog opens: the
  // table is indexed once rather than searched for each.
  static const std::unordered_map<std::string, const SettingEntry*> index = [] {
    std::unordered_map<std::string, const SettingEntry*> keys;
    const SettingEntry* table = settingsTable();
    for (size_t i = 0; i < settingsTableSize(); ++i) keys.emplace(table[i].key, &table[i]);  // the first one wins
    return keys;
  }();
  const auto found = index.find(key);
  return found == index.end() ? nullptr : found->second;
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
