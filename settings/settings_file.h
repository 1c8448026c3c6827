// The configuration file glwplug5.ini: read once when the main dialog opens,
// written once when it closes, always through the settings table.
//
//   gw::loadSettings();   // dialog start: the file's lines over the record
//   ...
//   gw::settings().IsFirst = 0;
//   gw::saveSettings();   // dialog end: every entry, in table order
//
// Nothing here reports an error to the user: a missing folder or file leaves
// the settings as they are, malformed lines are skipped or read as 0 / "".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_record.h"

namespace gw {

constexpr char kConfigurationFileName[] = "glwplug5.ini";

// Longest piece of a line handled at once; longer lines are read as several.
// It holds any line the writer makes (a key, " = " and a full text of 260
// characters), so a long path saved here reads back whole; a piece of 259,
// as first designed, cut such a value short on every load.
constexpr size_t kSettingsLinePiece = 511;

// The full path of `name` in the maker's folder ("Quillmere") under the
// per-user application-data folder; empty when that folder is unknown or the
// path would exceed 260 characters. The folder is never created here.
std::string makerFolderPath(const std::string& name);

// Applies one line of the file to `record` (the line as read: at most one
// piece, with or without its line end). Comments, unknown keys and the
// never-read keys change nothing.
void applySettingsLine(const std::string& line, SettingsRecord& record);

// Largest configuration file read. Every entry written with the longest
// texts comes to about 120 KB; a larger file (or a device such as /dev/zero)
// is refused after reading this much.
constexpr size_t kSettingsFileLimit = size_t(1) << 20;

// Applies every line of the file at `path`; false (record untouched, and the
// reason in *problem when given) when the file cannot be opened or read or
// exceeds kSettingsFileLimit.
bool readSettingsFile(const std::string& path, SettingsRecord& record, std::string* problem = nullptr);

// Applies every line of a configuration file's text, as readSettingsFile
// does once the file is read.
void applySettingsText(std::string_view text, SettingsRecord& record);

// The file's text: the header lines (the time as `ctime` gives it for `now`,
// seconds since 1970) and one "key = value" line per entry, "\n" line ends.
std::string settingsFileText(const SettingsRecord& record, int64_t now);

// Writes the text to a temporary beside `path` and renames it into place, so
// a failed write never costs the previous file. False when nothing was written.
bool writeSettingsFile(const std::string& path, const SettingsRecord& record, int64_t now);

// The dialog's two calls, on the process-wide record and the maker-folder
// path. loadSettings applies nothing while Shift is held.
void loadSettings();
void saveSettings();

// C `atol` on a 32-bit long: blanks, a sign, digits up to the first
// non-digit, wrapping modulo 2^32; 0 when there are no digits.
int32_t atolWrapping(const char* text);

}  // namespace gw
