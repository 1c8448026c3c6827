// The settings table: every configuration key in file order, bound to its
// variable in the settings record. The configuration file is read and written
// through it alone, and every count of keys is derived from it.
//
//   for (size_t i = 0; i < gw::settingsTableSize(); ++i) {
//     const gw::SettingEntry& e = gw::settingsTable()[i];
//     ...
//   }
//   int32_t* frames = gw::settingNumber(gw::settings(), "Style000Frames");
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/settings_record.h"

namespace gw {

enum class SettingKind : uint8_t { kNumber, kText };

struct SettingEntry {
  const char* key;  // case-sensitive, as written in the file
  SettingKind kind;
  int32_t SettingsRecord::*number;  // kNumber
  char (SettingsRecord::*text)[kSettingTextSize];  // kText
  bool neverRead;  // written, but a line carrying it is never applied
};

const SettingEntry* settingsTable();
size_t settingsTableSize();

// The first entry with exactly this key, or null.
const SettingEntry* findSetting(const char* key);

// The variable a key is bound to in `record`; null when the key is unknown or
// of the other kind.
int32_t* settingNumber(SettingsRecord& record, const char* key);
char* settingText(SettingsRecord& record, const char* key);

// Copies `value` into a setting's text buffer: at most `limit` characters
// (never more than 260), the rest of the buffer cleared.
void setSettingText(char* buffer, const char* value, size_t limit = kSettingTextSize - 1);

}  // namespace gw
