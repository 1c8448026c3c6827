#include "settings/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "platform/folders.h"
#include "platform/system_state.h"
#include "settings/settings_table.h"

namespace gw {
namespace {

constexpr char kMakerFolder[] = "Quillmere";

bool isBlank(unsigned char c) { return c == ' '; }

// The entry a key names, skipping the write-only ones. A file names every
// key once, so the table is indexed once rather than searched per line.
const SettingEntry* readableEntry(std::string_view key) {
  static const std::unordered_map<std::string_view, const SettingEntry*> index = [] {
    std::unordered_map<std::string_view, const SettingEntry*> keys;
    const SettingEntry* table = settingsTable();
    for (size_t i = 0; i < settingsTableSize(); ++i)
      if (!table[i].neverRead) keys.emplace(table[i].key, &table[i]);  // the first one wins
    return keys;
  }();
  const auto found = index.find(key);
  return found == index.end() ? nullptr : found->second;
}

// applySettingsLine on a piece of a larger text, copying only the value.
void applyLine(std::string_view line, SettingsRecord& record) {
  if (line.empty() || line[0] == ';') return;
  // Everything from the first control character on (line end, tab) is dropped.
  size_t end = 0;
  while (end < line.size() && static_cast<unsigned char>(line[end]) >= 0x20) ++end;
  const std::string_view text = line.substr(0, end);

  size_t keyEnd = 0;
  while (keyEnd < text.size() && static_cast<unsigned char>(text[keyEnd]) > 0x20 && text[keyEnd] != '=')
    ++keyEnd;
  const SettingEntry* entry = readableEntry(text.substr(0, keyEnd));
  if (!entry) return;

  size_t v = keyEnd;
  while (v < text.size() && isBlank(text[v])) ++v;
  while (v < text.size() && text[v] == '=') ++v;
  while (v < text.size() && isBlank(text[v])) ++v;
  const std::string value(text.substr(v));

  if (entry->kind == SettingKind::kNumber)
    record.*(entry->number) = atolWrapping(value.c_str());
  else
    setSettingText(record.*(entry->text), value.c_str());
}

// Puts the finished temporary in place of `path`. Where rename cannot replace
// an existing file (the C runtime on Windows) the old file is removed first:
// the complete temporary stays behind if anything fails in between.
bool replaceWith(const std::string& temp, const std::string& path) {
  if (std::rename(temp.c_str(), path.c_str()) == 0) return true;
  std::remove(path.c_str());
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

std::string makerFolderPath(const std::string& name) {
  std::string appData = appDataFolder();
  if (appData.empty()) return {};
  std::string folder = joinPath(appData, kMakerFolder);
  if (folder.empty()) return {};
  return joinPath(folder, name);
}

int32_t atolWrapping(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  uint32_t value = 0;  // unsigned, so the wrap is defined
  while (*p >= '0' && *p <= '9') value = value * 10u + uint32_t(*p++ - '0');
  if (negative) value = 0u - value;
  return int32_t(value);
}

void applySettingsLine(const std::string& line, SettingsRecord& record) { applyLine(line, record); }

bool readSettingsFile(const std::string& path, SettingsRecord& record, std::string* problem) {
  auto refuse = [&](const std::string& why) {
    if (problem) *problem = why;
    return false;
  };
  if (path.empty()) return refuse("no file name");
  FILE* f = std::fopen(path.c_str(), "rt");
  if (!f) return refuse("cannot open the file");
  // Read whole, at most one byte past the limit, so that a device or a
  // runaway file is refused after a bounded read rather than applied line by
  // line forever. The buffer grows with what is read: a usual file of a few
  // KB never pays for the limit.
  std::string text;
  char chunk[16384];
  size_t n = 0;
  while (text.size() <= kSettingsFileLimit &&
         (n = std::fread(chunk, 1, std::min(sizeof chunk, kSettingsFileLimit + 1 - text.size()), f)) > 0)
    text.append(chunk, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return refuse("cannot read the file");
  if (text.size() > kSettingsFileLimit)
    return refuse("larger than " + std::to_string(kSettingsFileLimit / 1024) + " KiB; not a configuration file");
  applySettingsText(text, record);
  return true;
}

void applySettingsText(std::string_view text, SettingsRecord& record) {
  // Pieces of at most 259 characters, each ending after a line end, handled
  // as lines of their own (as fgets hands them out; a zero byte ends one).
  for (size_t at = 0; at < text.size();) {
    const char* piece = text.data() + at;
    const size_t most = std::min(text.size() - at, kSettingsLinePiece);
    const void* lineEnd = std::memchr(piece, '\n', most);
    // A piece keeps its line end; one cut at the length limit has none.
    const size_t length = lineEnd ? size_t(static_cast<const char*>(lineEnd) - piece) + 1 : most;
    applyLine(std::string_view(piece, strnlen(piece, length)), record);
    at += length;
  }
}

std::string settingsFileText(const SettingsRecord& record, int64_t now) {
  std::string text;
  text.reserve(32 * settingsTableSize());  // a key, a number and a line end, mostly
  text += ";Quillmere animtion plugin configuration file\n";
  text += ";Edit this at your own risk\n";
  text += ";Last updated " + ctimeText(now).substr(0, 24) + "\n";
  text += ";\n";
  text += "[PlugIn]\n";
  const SettingEntry* table = settingsTable();
  for (size_t i = 0; i < settingsTableSize(); ++i) {
    const SettingEntry& e = table[i];
    text += e.key;
    text += " = ";
    if (e.kind == SettingKind::kNumber) {
      text += std::to_string(uint32_t(record.*(e.number)));
    } else {
      const char* s = record.*(e.text);
      text.append(s, strnlen(s, kSettingTextSize - 1));
    }
    text += "\n";
  }
  return text;
}

bool writeSettingsFile(const std::string& path, const SettingsRecord& record, int64_t now) {
  if (path.empty()) return false;
  const std::string temp = path + ".tmp";
  const std::string text = settingsFileText(record, now);
  FILE* f = std::fopen(temp.c_str(), "wt");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || !replaceWith(temp, path)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

void loadSettings() {
  if (shiftKeyDown()) return;  // the defaults (or what memory holds) win
  readSettingsFile(makerFolderPath(kConfigurationFileName), settings());
}

void saveSettings() {
  writeSettingsFile(makerFolderPath(kConfigurationFileName), settings(), wallClockSeconds());
}

}  // namespace gw
