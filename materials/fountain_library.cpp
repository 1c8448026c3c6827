#include "materials/fountain_library.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/checked_math.h"
#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "platform/system_state.h"
#include "settings/settings_file.h"

namespace gw {
namespace fl = fountain_library;
namespace {

constexpr char kHeaderMagic[] = "QUILFLHH";
constexpr char kEntryMagicText[] = "QUILFLHE";
constexpr size_t kRampBytes = fl::kEntryReserved - fl::kEntryMarkerCount;  // count, colours, markers

static_assert(sizeof(FountainLibraryItem::record) == kFountainRecordSize, "an item holds one fountain record");
static_assert(fl::kEntryMarkers + 4 * kFountainMaxMarkers == fl::kEntryReserved, "entry layout");
static_assert(fountain::kMarkers + 4 * kFountainMaxMarkers == fountain::kEditorState, "record layout");

// The bytes a header's count says the file holds, or false when that is more
// than any file could.
bool libraryExtent(uint32_t count, size_t* bytes) {
  size_t entries = 0;
  return checkedMul(size_t(count), fl::kEntrySize, &entries) && checkedAdd(fl::kHeaderSize, entries, bytes);
}

void writeHeader(uint8_t* header, uint32_t creationTime, uint32_t count) {
  std::memset(header, 0, fl::kHeaderSize);
  std::memcpy(header + fl::kMagic, kHeaderMagic, 8);
  writeU32(header + fl::kCreationTime, creationTime);
  writeU32(header + fl::kEntryCount, count);
}

uint32_t now() { return uint32_t(wallClockSeconds()); }

// The header and counted entries of the file at `path`, unparsed. The count
// is weighed against the file's length before the entries are read.
FountainLibraryStatus readLibraryBytes(const std::string& path, std::vector<uint8_t>* out) {
  out->clear();
  if (path.empty()) return FountainLibraryStatus::Missing;
  errno = 0;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT || errno == ENOTDIR ? FountainLibraryStatus::Missing : FountainLibraryStatus::ReadError;
  FountainLibraryStatus status = FountainLibraryStatus::Ok;
  uint8_t header[fl::kHeaderSize];
  size_t needed = 0;
  long length = -1;
  if (std::fread(header, 1, sizeof header, f) != sizeof header ||
      std::memcmp(header + fl::kMagic, kHeaderMagic, 8) != 0) {
    status = std::ferror(f) ? FountainLibraryStatus::ReadError : FountainLibraryStatus::Corrupt;
  } else if (!libraryExtent(readU32(header + fl::kEntryCount), &needed)) {
    status = FountainLibraryStatus::Corrupt;
  } else if (std::fseek(f, 0, SEEK_END) != 0 || (length = std::ftell(f)) < 0) {
    status = FountainLibraryStatus::ReadError;
  } else if (size_t(length) < needed) {
    status = FountainLibraryStatus::Corrupt;
  } else {
    try {
      out->resize(needed);
    } catch (const std::bad_alloc&) {
      status = FountainLibraryStatus::NoMemory;
    }
    if (status == FountainLibraryStatus::Ok &&
        (std::fseek(f, 0, SEEK_SET) != 0 || std::fread(out->data(), 1, needed, f) != needed))
      status = FountainLibraryStatus::ReadError;
  }
  std::fclose(f);
  if (status != FountainLibraryStatus::Ok) out->clear();
  return status;
}

}  // namespace

std::string fountainLibraryPath() {
  char name[64];
  std::snprintf(name, sizeof name, "Glyphwright 5%cFountainLibrary.fll", pathSeparator());
  return makerFolderPath(name);
}

void fountainLibraryEntryFromRecord(const uint8_t* f, uint8_t* entry) {
  std::memset(entry, 0, fl::kEntrySize);
  std::memcpy(entry + fl::kEntryMagic, kEntryMagicText, 8);
  // Count, start, end and markers lie in the same order in both layouts, and
  // unused marker slots travel as they are.
  std::memcpy(entry + fl::kEntryMarkerCount, f + fountain::kMarkerCount, kRampBytes);
}

void fountainRecordFromLibraryEntry(const uint8_t* entry, uint8_t* f) {
  fountainRecordDefaults(f, FountainPreset::Empty);
  std::memcpy(f + fountain::kMarkerCount, entry + fl::kEntryMarkerCount, kRampBytes);
}

std::vector<uint8_t> fountainLibraryBytes(const std::vector<const uint8_t*>& records, uint32_t creationTime) {
  std::vector<uint8_t> bytes;
  size_t total = 0;
  if (records.size() > UINT32_MAX || !libraryExtent(uint32_t(records.size()), &total)) return bytes;
  try {
    bytes.resize(total);
  } catch (const std::bad_alloc&) {
    return bytes;
  }
  writeHeader(bytes.data(), creationTime, uint32_t(records.size()));
  for (size_t i = 0; i < records.size(); ++i)
    fountainLibraryEntryFromRecord(records[i], bytes.data() + fl::kHeaderSize + i * fl::kEntrySize);
  return bytes;
}

FountainLibraryStatus fountainLibraryParse(const uint8_t* data, size_t size, int32_t previewWidth,
                                           int32_t previewHeight, FountainLibraryList* out) {
  out->clear();
  if (!data || size < fl::kHeaderSize || std::memcmp(data + fl::kMagic, kHeaderMagic, 8) != 0)
    return FountainLibraryStatus::Corrupt;
  const uint32_t count = readU32(data + fl::kEntryCount);
  size_t needed = 0;
  if (!libraryExtent(count, &needed) || needed > size) return FountainLibraryStatus::Corrupt;
  FountainLibraryList list;
  try {
    list.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* entry = data + fl::kHeaderSize + size_t(i) * fl::kEntrySize;
      if (std::memcmp(entry + fl::kEntryMagic, kEntryMagicText, 8) != 0) return FountainLibraryStatus::Corrupt;
      list.emplace_back();
      FountainLibraryItem& item = list.back();
      fountainRecordFromLibraryEntry(entry, item.record);
      if (previewWidth > 0 && previewHeight > 0) {
        item.preview.reset(fountainRender(item.record, previewWidth, previewHeight));
        if (!item.preview) return FountainLibraryStatus::NoMemory;
      }
    }
  } catch (const std::bad_alloc&) {
    return FountainLibraryStatus::NoMemory;
  }
  *out = std::move(list);
  return FountainLibraryStatus::Ok;
}

FountainLibraryStatus fountainLibraryLoad(const std::string& path, int32_t previewWidth, int32_t previewHeight,
                                          FountainLibraryList* out) {
  out->clear();
  std::vector<uint8_t> bytes;
  FountainLibraryStatus status = readLibraryBytes(path, &bytes);
  if (status != FountainLibraryStatus::Ok) return status;
  return fountainLibraryParse(bytes.data(), bytes.size(), previewWidth, previewHeight, out);
}

bool fountainLibraryAdd(const std::string& path, const uint8_t* fountain581) {
  if (!fountain581) return false;
  std::vector<uint8_t> bytes;
  FountainLibraryStatus status = readLibraryBytes(path, &bytes);
  if (status == FountainLibraryStatus::Missing) {
    if (path.empty()) return false;
    std::vector<const uint8_t*> one{fountain581};
    bytes = fountainLibraryBytes(one, now());
    return !bytes.empty() && writeFileReplacing(path, bytes.data(), bytes.size());
  }
  if (status != FountainLibraryStatus::Ok) return false;
  // The existing entries are carried over as bytes: adding never depends on
  // (or repairs) what earlier entries hold.
  const uint32_t count = readU32(bytes.data() + fl::kEntryCount);
  size_t grown = 0;
  if (count == UINT32_MAX || !libraryExtent(count + 1, &grown)) return false;
  try {
    bytes.resize(grown);
  } catch (const std::bad_alloc&) {
    return false;
  }
  fountainLibraryEntryFromRecord(fountain581, bytes.data() + grown - fl::kEntrySize);
  writeU32(bytes.data() + fl::kEntryCount, count + 1);
  return writeFileReplacing(path, bytes.data(), bytes.size());
}

bool fountainLibraryRewrite(const std::string& path, const FountainLibraryList& items) {
  if (path.empty()) return false;
  if (items.empty()) {
    errno = 0;
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
  }
  std::vector<const uint8_t*> records;
  try {
    records.reserve(items.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (const FountainLibraryItem& item : items) records.push_back(item.record);
  std::vector<uint8_t> bytes = fountainLibraryBytes(records, now());
  return !bytes.empty() && writeFileReplacing(path, bytes.data(), bytes.size());
}

const char* fountainLibraryStatusText(FountainLibraryStatus status) {
  switch (status) {
    case FountainLibraryStatus::Ok: return "ok";
    case FountainLibraryStatus::Missing: return "no such file";
    case FountainLibraryStatus::Corrupt: return "not a fountain library, or damaged";
    case FountainLibraryStatus::ReadError: return "the file could not be read";
    case FountainLibraryStatus::NoMemory: return "out of memory";
  }
  return "unknown error";
}

}  // namespace gw
