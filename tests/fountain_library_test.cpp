// The fountain library: byte layout, add, load and rewrite, what a failed
// write leaves behind, and damaged or hostile libraries.
#include <gtest/gtest.h>

#include "tests/fountain_test_files.h"
#include "tests/temp_folder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "platform/memory.h"

namespace gw {
namespace {

using namespace fountain_test;

class FountainLibraryFileTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("GLYPHWRIGHT_APPDATA", root_.c_str(), 1); }
  void TearDown() override { unsetenv("GLYPHWRIGHT_APPDATA"); }
  std::string file(const std::string& name) const { return folder_.file(name); }
  TempFolder folder_{"fountain"};
  std::string root_ = folder_.path();
};

// The part of a record a library entry keeps.
std::vector<uint8_t> ramp(const uint8_t* f) {
  return std::vector<uint8_t>(f + fountain::kMarkerCount, f + fountain::kEditorState);
}

TEST_F(FountainLibraryFileTest, LibraryPathIsInTheMakersFolder) {
  EXPECT_EQ(fountainLibraryPath(), root_ + "/Quillmere/Glyphwright 5/FountainLibrary.fll");
}

TEST_F(FountainLibraryFileTest, FirstAddMakesTheLibraryWithOneEntryAtOffset80) {
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 6, 6);
  const std::string path = file("FountainLibrary.fll");
  ASSERT_TRUE(fountainLibraryAdd(path, f));
  std::vector<uint8_t> bytes = readAll(path);
  ASSERT_EQ(bytes.size(), 80u + 340u);
  EXPECT_EQ(std::memcmp(bytes.data(), "QUILFLHH", 8), 0);
  EXPECT_NE(readU32(bytes.data() + 8), 0u);  // the creation time
  EXPECT_EQ(readU32(bytes.data() + 12), 1u);
  for (size_t i = 16; i < 80; ++i) ASSERT_EQ(bytes[i], 0) << i;
  const uint8_t* e = bytes.data() + 80;
  EXPECT_EQ(std::memcmp(e, "QUILFLHE", 8), 0);
  EXPECT_EQ(readU32(e + 8), 6u);
  EXPECT_EQ(readU32(e + 12), 0x102036u);
  EXPECT_EQ(readU32(e + 16), 0xA0B0C6u);
  EXPECT_EQ(readU32(e + 20), fountainMakeMarker(10, 6 * 77));
  EXPECT_EQ(readU32(e + 20 + 4 * 6), 0x00ABCDEFu);  // the unclean free slot, as it was
  for (size_t i = 276; i < 340; ++i) ASSERT_EQ(e[i], 0) << i;
}

TEST_F(FountainLibraryFileTest, AddAndLoadKeepRampsInOrderWithoutFlags) {
  const std::string path = file("lib.fll");
  uint8_t f[3][kFountainRecordSize];
  const int counts[3] = {0, 64, 7};
  for (int i = 0; i < 3; ++i) {
    sampleFountain(f[i], counts[i] == 64 ? 63 : counts[i], uint32_t(10 + i));
    if (counts[i] == 64) {  // every slot used
      writeU32(f[i] + fountain::kMarkers + 4 * 63, fountainMakeMarker(255, 0x123456));
      writeU32(f[i] + fountain::kMarkerCount, 64);
    }
    ASSERT_TRUE(fountainLibraryAdd(path, f[i]));
  }
  uint32_t created = readU32(readAll(path).data() + 8);

  FountainLibraryList list;
  ASSERT_EQ(fountainLibraryLoad(path, 40, 5, &list), FountainLibraryStatus::Ok);
  ASSERT_EQ(list.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const uint8_t* got = list[i].record;
    EXPECT_EQ(std::memcmp(got, "QUILFOUN", 8), 0);
    EXPECT_EQ(readU32(got + fountain::kFlags), 0u) << "flags are not kept";
    EXPECT_EQ(ramp(got), ramp(f[i])) << i;
    // The preview is the fountain renderer's picture of the ramp.
    MemBlock expected(fountainRender(got, 40, 5));
    MemLock a(list[i].preview.get()), b(expected.get());
    ASSERT_TRUE(a && b);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size()), 0) << i;
  }
  // Without a preview size there are no previews.
  ASSERT_EQ(fountainLibraryLoad(path, 0, 0, &list), FountainLibraryStatus::Ok);
  EXPECT_FALSE(list[0].preview);

  // A rewrite in a new order is what loads next, with the same ramps.
  std::swap(list[0], list[2]);
  ASSERT_TRUE(fountainLibraryRewrite(path, list));
  EXPECT_EQ(readAll(path).size(), 80u + 3 * 340u);
  EXPECT_GE(readU32(readAll(path).data() + 8), created);
  FountainLibraryList again;
  ASSERT_EQ(fountainLibraryLoad(path, 0, 0, &again), FountainLibraryStatus::Ok);
  ASSERT_EQ(again.size(), 3u);
  EXPECT_EQ(ramp(again[0].record), ramp(f[2]));
  EXPECT_EQ(ramp(again[2].record), ramp(f[0]));
}

TEST_F(FountainLibraryFileTest, RewriteOfNothingRemovesTheLibrary) {
  const std::string path = file("lib.fll");
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 1, 1);
  ASSERT_TRUE(fountainLibraryAdd(path, f));
  EXPECT_TRUE(fountainLibraryRewrite(path, FountainLibraryList{}));
  EXPECT_FALSE(exists(path));
  EXPECT_TRUE(fountainLibraryRewrite(path, FountainLibraryList{}));  // nothing there is fine too
  FountainLibraryList list;
  EXPECT_EQ(fountainLibraryLoad(path, 0, 0, &list), FountainLibraryStatus::Missing);
}

TEST_F(FountainLibraryFileTest, FailedAddOrRewriteKeepsThePreviousLibrary) {
  const std::string path = file("lib.fll");
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 2, 2);
  ASSERT_TRUE(fountainLibraryAdd(path, f));
  ASSERT_TRUE(fountainLibraryAdd(path, f));
  const std::vector<uint8_t> before = readAll(path);
  FountainLibraryList list;
  ASSERT_EQ(fountainLibraryLoad(path, 0, 0, &list), FountainLibraryStatus::Ok);
  list.pop_back();

  mkdir((path + ".tmp").c_str(), 0755);
  EXPECT_FALSE(fountainLibraryAdd(path, f));
  EXPECT_FALSE(fountainLibraryRewrite(path, list));
  EXPECT_EQ(readAll(path), before);
  rmdir((path + ".tmp").c_str());

  // A foreign or damaged file is not added to (nor "repaired").
  std::vector<uint8_t> damaged = before;
  damaged.resize(before.size() - 1);
  writeAll(path, damaged.data(), damaged.size());
  EXPECT_FALSE(fountainLibraryAdd(path, f));
  EXPECT_EQ(readAll(path), damaged);
  std::vector<uint8_t> foreign = before;
  foreign[7] = 'h';
  writeAll(path, foreign.data(), foreign.size());
  EXPECT_FALSE(fountainLibraryAdd(path, f));
  EXPECT_EQ(readAll(path), foreign);
  EXPECT_FALSE(fountainLibraryAdd(file("no/such/folder/lib.fll"), f));
}

std::vector<uint8_t> goodLibrary(int entries) {
  std::vector<std::vector<uint8_t>> records(size_t(entries), std::vector<uint8_t>(size_t{kFountainRecordSize}));
  std::vector<const uint8_t*> pointers;
  for (int i = 0; i < entries; ++i) {
    sampleFountain(records[size_t(i)].data(), i * 5, uint32_t(i));
    pointers.push_back(records[size_t(i)].data());
  }
  return fountainLibraryBytes(pointers, 1234567);
}

TEST(FountainLibraryParseTest, EveryPrefixOfAGoodLibraryLoadsOrFailsCleanly) {
  const std::vector<uint8_t> bytes = goodLibrary(3);
  ASSERT_EQ(bytes.size(), 80u + 3 * 340u);
  EXPECT_EQ(readU32(bytes.data() + 8), 1234567u);
  FountainLibraryList list;
  long blocks = testing::liveBlockCount();
  for (size_t n = 0; n < bytes.size(); ++n) {
    ASSERT_EQ(fountainLibraryParse(bytes.data(), n, 8, 2, &list), FountainLibraryStatus::Corrupt) << n;
    ASSERT_TRUE(list.empty());
  }
  EXPECT_EQ(testing::liveBlockCount(), blocks);
  // Bytes after the counted entries are not the library's concern.
  std::vector<uint8_t> longer = bytes;
  longer.insert(longer.end(), 17, 0xEE);
  ASSERT_EQ(fountainLibraryParse(longer.data(), longer.size(), 8, 2, &list), FountainLibraryStatus::Ok);
  EXPECT_EQ(list.size(), 3u);
  list.clear();
  EXPECT_EQ(testing::liveBlockCount(), blocks);
}

TEST(FountainLibraryParseTest, HostileHeadersAndEntriesFail) {
  const std::vector<uint8_t> good = goodLibrary(2);
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
  } cases[] = {
      {"count one more than the file holds", 12, 3},
      {"count beyond any file", 12, 0xFFFFFFFFu},
      {"count whose size overflows 32 bits", 12, 0x0C0C0C0Du},
      {"header magic", 4, 0x48484C47},  // "GLHH"
      {"second entry's magic", 80 + 340, 0x4C495551 ^ 1},
  };
  FountainLibraryList list;
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    writeU32(bytes.data() + c.offset, c.value);
    EXPECT_EQ(fountainLibraryParse(bytes.data(), bytes.size(), 4, 1, &list), FountainLibraryStatus::Corrupt) << c.what;
    EXPECT_TRUE(list.empty()) << c.what;
  }
  // A damaged marker count or markers still load: the renderer clamps.
  std::vector<uint8_t> bytes = good;
  writeU32(bytes.data() + 80 + 8, 0x7FFFFFFF);
  ASSERT_EQ(fountainLibraryParse(bytes.data(), bytes.size(), 4, 1, &list), FountainLibraryStatus::Ok);
  EXPECT_TRUE(list[0].preview);
}

TEST_F(FountainLibraryFileTest, HostileCountOnDiskFailsWithoutReadingFurther) {
  std::vector<uint8_t> bytes = goodLibrary(1);
  writeU32(bytes.data() + 12, 0x7FFFFFFF);
  const std::string path = file("hostile.fll");
  writeAll(path, bytes.data(), bytes.size());
  FountainLibraryList list;
  EXPECT_EQ(fountainLibraryLoad(path, 10, 10, &list), FountainLibraryStatus::Corrupt);
  writeAll(path, bytes.data(), 40);
  EXPECT_EQ(fountainLibraryLoad(path, 10, 10, &list), FountainLibraryStatus::Corrupt);
  EXPECT_EQ(fountainLibraryLoad(file("none.fll"), 10, 10, &list), FountainLibraryStatus::Missing);
  mkdir(file("folder.fll").c_str(), 0755);
  EXPECT_NE(fountainLibraryLoad(file("folder.fll"), 10, 10, &list), FountainLibraryStatus::Ok);
}

TEST(FountainLibraryParseTest, PreviewAllocationFailuresLeaveNothing) {
  const std::vector<uint8_t> bytes = goodLibrary(3);
  int failures = 0;
  for (int n = 0; n < 40; ++n) {
    long before = testing::liveBlockCount();
    FountainLibraryList list;
    testing::failAllocationsAfter(n);
    FountainLibraryStatus status = fountainLibraryParse(bytes.data(), bytes.size(), 30, 3, &list);
    testing::failAllocationsAfter(-1);
    if (status == FountainLibraryStatus::Ok) {
      EXPECT_EQ(list.size(), 3u);
      break;
    }
    ++failures;
    EXPECT_EQ(status, FountainLibraryStatus::NoMemory);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(testing::liveBlockCount(), before) << n;
  }
  EXPECT_GE(failures, 3);
}

}  // namespace
}  // namespace gw
