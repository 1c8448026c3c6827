// Replays every fuzz harness over its seed corpus and over every reproducer a
// fuzzing run found (tests/fuzz/regressions/<harness>/), so a fault once
// found stays fixed. A harness aborts on a broken property, which fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_target.h"

namespace {

std::vector<std::filesystem::path> inputsOf(const std::string& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

TEST(FuzzHarnesses, EveryHarnessHasSeedsAndPassesThemAndItsReproducers) {
  const std::string base = std::string(GW_SOURCE_DIR) + "/tests/fuzz/";
  ASSERT_GE(gw::fuzz::registry().size(), 12u);
  for (const gw::fuzz::Registered& h : gw::fuzz::registry()) {
    std::vector<std::filesystem::path> seeds = inputsOf(base + "corpus/" + h.name);
    EXPECT_FALSE(seeds.empty()) << h.name << " has no seed corpus";
    std::vector<std::filesystem::path> found = inputsOf(base + "regressions/" + h.name);
    seeds.insert(seeds.end(), found.begin(), found.end());
    for (const auto& path : seeds) {
      std::ifstream in(path, std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      SCOPED_TRACE(path.string());
      h.target(bytes.data(), bytes.size());
    }
  }
}

// A folder of seeds or reproducers that names no harness would never be
// replayed: a renamed harness must take its folders with it.
TEST(FuzzHarnesses, EveryCorpusAndRegressionFolderBelongsToAHarness) {
  std::set<std::string> names;
  for (const gw::fuzz::Registered& h : gw::fuzz::registry()) names.insert(h.name);
  const std::string base = std::string(GW_SOURCE_DIR) + "/tests/fuzz/";
  for (const char* kind : {"corpus", "regressions"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(base + kind, ec)) {
      EXPECT_TRUE(entry.is_directory()) << entry.path() << " is not a harness's folder";
      EXPECT_EQ(names.count(entry.path().filename().string()), 1u) << entry.path() << " names no harness";
    }
  }
}

TEST(FuzzHarnesses, EmptyAndOneByteInputsPassEveryHarness) {
  const uint8_t bytes[] = {0, 0xFF, '\n', '='};
  for (const gw::fuzz::Registered& h : gw::fuzz::registry()) {
    SCOPED_TRACE(h.name);
    h.target(bytes, 0);
    for (const uint8_t& b : bytes) h.target(&b, 1);
  }
}

}  // namespace
