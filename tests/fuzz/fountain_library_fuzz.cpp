// Fountain libraries: any bytes parse whole or are refused without
// allocating for a count the bytes cannot hold; what was parsed, written
// again and parsed again gives the same ramps; a file on disk loads exactly
// as the same bytes in memory do, and adding to it keeps every entry.
#include <cstring>
#include <string>
#include <vector>

#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(fountain_library) {
  using namespace gw;
  FountainLibraryList list;
  // Small previews keep the renderer in the loop at little cost.
  FountainLibraryStatus status = fountainLibraryParse(data, size, 7, 1, &list);
  const std::string path = fuzz::scratchFile("lib.fll", data, size);
  FountainLibraryList fromFile;
  FountainLibraryStatus fileStatus = fountainLibraryLoad(path, 0, 0, &fromFile);
  GW_FUZZ_CHECK((status == FountainLibraryStatus::Ok) == (fileStatus == FountainLibraryStatus::Ok));
  if (status != FountainLibraryStatus::Ok) {
    GW_FUZZ_CHECK(list.empty());
    return;
  }
  GW_FUZZ_CHECK(fromFile.size() == list.size());
  for (const FountainLibraryItem& item : list) GW_FUZZ_CHECK(item.preview);

  std::vector<const uint8_t*> records;
  for (const FountainLibraryItem& item : list) records.push_back(item.record);
  std::vector<uint8_t> bytes = fountainLibraryBytes(records, 1);
  FountainLibraryList again;
  GW_FUZZ_CHECK(fountainLibraryParse(bytes.data(), bytes.size(), 0, 0, &again) == FountainLibraryStatus::Ok);
  GW_FUZZ_CHECK(again.size() == list.size());
  for (size_t i = 0; i < list.size(); ++i)
    GW_FUZZ_CHECK(std::memcmp(again[i].record, list[i].record, kFountainRecordSize) == 0);

  if (list.size() < 64) {
    uint8_t added[kFountainRecordSize];
    fountainRecordDefaults(added, FountainPreset::Grey);
    GW_FUZZ_CHECK(fountainLibraryAdd(path, added));
    FountainLibraryList grown;
    GW_FUZZ_CHECK(fountainLibraryLoad(path, 0, 0, &grown) == FountainLibraryStatus::Ok);
    GW_FUZZ_CHECK(grown.size() == list.size() + 1);
    for (size_t i = 0; i < list.size(); ++i)
      GW_FUZZ_CHECK(std::memcmp(grown[i].record, list[i].record, kFountainRecordSize) == 0);
    GW_FUZZ_CHECK(std::memcmp(grown.back().record + fountain::kMarkerCount, added + fountain::kMarkerCount,
                              fountain::kEditorState - fountain::kMarkerCount) == 0);
  }
}
