// The fountain library: one file, "FountainLibrary.fll" in the plug-in's
// folder, holding the ramps the user chose to keep. An 80-byte header is
// followed by fixed 340-byte entries; an entry keeps only the ramp (marker
// count, start and end colours, the 64 marker dwords), never a fountain's
// flags.
//
//   gw::FountainLibraryList list;
//   if (gw::fountainLibraryLoad(gw::fountainLibraryPath(), 150, 26, &list) != gw::FountainLibraryStatus::Ok) ...
//   std::swap(list[0], list[2]);
//   gw::fountainLibraryRewrite(gw::fountainLibraryPath(), list);
//
// Every change reaches the disk as a whole new file renamed into place, so a
// failure at any point leaves the previous library as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory.h"

namespace gw {

namespace fountain_library {
constexpr size_t kHeaderSize = 80;
constexpr size_t kMagic = 0;          // 8 bytes "QUILFLHH"
constexpr size_t kCreationTime = 8;   // seconds since 1970 UTC, when first made
constexpr size_t kEntryCount = 12;
constexpr size_t kHeaderReserved = 16;  // 64 bytes, zero

constexpr size_t kEntrySize = 340;
constexpr size_t kEntryMagic = 0;     // 8 bytes "QUILFLHE"
constexpr size_t kEntryMarkerCount = 8;
constexpr size_t kEntryStartColour = 12;
constexpr size_t kEntryEndColour = 16;
constexpr size_t kEntryMarkers = 20;  // 64 dwords
constexpr size_t kEntryReserved = 276;  // 64 bytes, zero
}  // namespace fountain_library

// One library entry in memory: a full fountain record (empty preset, then
// the entry's ramp) and, when asked for, its rendered preview Bitmap.
struct FountainLibraryItem {
  uint8_t record[581] = {};
  MemBlock preview;
};
using FountainLibraryList = std::vector<FountainLibraryItem>;

enum class FountainLibraryStatus {
  Ok,
  Missing,    // no file there (or no folder for it)
  Corrupt,    // bad magic, or fewer bytes than the header's count needs
  ReadError,  // the file is there but could not be read
  NoMemory,   // a record, preview or the list could not be allocated
};

// "Glyphwright 5" and "FountainLibrary.fll" under the maker's folder; empty
// when the application-data folder is unknown.
std::string fountainLibraryPath();

// The 340-byte entry for a fountain record, and the record for an entry
// (the empty preset with the entry's ramp; flags zero).
void fountainLibraryEntryFromRecord(const uint8_t* fountain581, uint8_t* entry340);
void fountainRecordFromLibraryEntry(const uint8_t* entry340, uint8_t* fountain581);

// The bytes of a whole library holding `records` in order, stamped with
// `creationTime`; empty only when memory fails.
std::vector<uint8_t> fountainLibraryBytes(const std::vector<const uint8_t*>& records, uint32_t creationTime);

// Parses a library held in memory into `out` (replaced; empty on failure).
// The header's count is checked against `size` before anything is allocated
// for it. With a preview size of at least 1 x 1 each item gets its preview.
FountainLibraryStatus fountainLibraryParse(const uint8_t* data, size_t size, int32_t previewWidth,
                                           int32_t previewHeight, FountainLibraryList* out);

// Reads the library at `path` (see fountainLibraryParse). Bytes after the
// last counted entry are ignored.
FountainLibraryStatus fountainLibraryLoad(const std::string& path, int32_t previewWidth, int32_t previewHeight,
                                          FountainLibraryList* out);

// Appends the record's ramp as a new last entry, making the library (dated
// now) when there is none. False when the file is foreign or damaged or
// cannot be written; the file is then as it was.
bool fountainLibraryAdd(const std::string& path, const uint8_t* fountain581);

// Replaces the library with the items in list order, under a new creation
// time. An empty list removes the file. False (old file kept) on failure.
bool fountainLibraryRewrite(const std::string& path, const FountainLibraryList& items);

// Words a status for a message: "no such file", "not a fountain library or
// damaged", ...
const char* fountainLibraryStatusText(FountainLibraryStatus status);

}  // namespace gw
