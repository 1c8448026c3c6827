// Fountain files: the path rule, round trips, which files give no record, and
// what a failed write leaves behind.
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
#include "materials/fountain_file.h"
#include "materials/fountain_record.h"
#include "platform/memory.h"

namespace gw {
namespace {

using namespace fountain_test;

class FountainFileTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("GLYPHWRIGHT_APPDATA", root_.c_str(), 1); }
  void TearDown() override { unsetenv("GLYPHWRIGHT_APPDATA"); }
  std::string file(const std::string& name) const { return folder_.file(name); }
  TempFolder folder_{"fountain"};
  std::string root_ = folder_.path();
};

TEST_F(FountainFileTest, FilePathIsKeyedByControlId) {
  EXPECT_EQ(fountainFilePath(120), root_ + "/Quillmere/Glyphwright 5/Fountain00120.mtrl");
}

TEST_F(FountainFileTest, FileRoundTripClearsRunTimeFields) {
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 5, 1);
  writeU32(f + fountain::kPreviewImage, 999);
  writeI32(f + fountain::kEditorState, 3);  // the selected marker
  for (size_t i = fountain::kEditorState + 4; i < kFountainRecordSize; ++i) f[i] = 0x5A;
  const std::string path = file("f.mtrl");
  ASSERT_TRUE(fountainFileWrite(path, f));
  EXPECT_EQ(readAll(path).size(), kFountainRecordSize);
  EXPECT_FALSE(exists(path + ".tmp"));

  MemBlock back(fountainFileRead(path, true));
  MemLock lock(back.get());
  ASSERT_EQ(lock.size(), kFountainRecordSize);
  writeU32(f + fountain::kPreviewImage, 0);
  std::memset(f + fountain::kEditorState + 4, 0, kFountainRecordSize - fountain::kEditorState - 4);
  EXPECT_EQ(std::memcmp(lock.data(), f, kFountainRecordSize), 0);
  EXPECT_EQ(fountainFileRead(path, false), 0u);  // Shift held: the file is not wanted
}

TEST_F(FountainFileTest, FileIsWrittenOnlyWithTheWriteBackFlag) {
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 2, 2);
  writeU32(f + fountain::kFlags, fountain::kFlagLooped);
  const std::string path = file("no-write-back.mtrl");
  EXPECT_TRUE(fountainFileWrite(path, f));
  EXPECT_FALSE(exists(path));
  EXPECT_FALSE(fountainFileWrite(path, nullptr));
}

TEST_F(FountainFileTest, MissingShortOrForeignFilesGiveNoRecord) {
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 3, 3);
  writeAll(file("short.mtrl"), f, kFountainRecordSize - 1);
  f[4] = 'X';
  writeAll(file("foreign.mtrl"), f, kFountainRecordSize);
  long before = testing::liveBlockCount();
  for (const char* name : {"missing.mtrl", "short.mtrl", "foreign.mtrl"})
    EXPECT_EQ(fountainFileRead(file(name), true), 0u) << name;
  EXPECT_EQ(fountainFileRead("", true), 0u);
  EXPECT_EQ(testing::liveBlockCount(), before);
}

TEST_F(FountainFileTest, FailedFileWriteKeepsThePreviousFile) {
  uint8_t f[kFountainRecordSize];
  sampleFountain(f, 4, 4);
  const std::string path = file("keep.mtrl");
  ASSERT_TRUE(fountainFileWrite(path, f));
  mkdir((path + ".tmp").c_str(), 0755);  // the temporary cannot be made
  uint8_t changed[kFountainRecordSize];
  sampleFountain(changed, 9, 5);
  EXPECT_FALSE(fountainFileWrite(path, changed));
  std::vector<uint8_t> kept = readAll(path);
  ASSERT_EQ(kept.size(), kFountainRecordSize);
  EXPECT_EQ(std::memcmp(kept.data(), f, kFountainRecordSize), 0);
  EXPECT_FALSE(fountainFileWrite(file("no/such/folder/x.mtrl"), f));
}

}  // namespace
}  // namespace gw
