// Texture group files: the text form, round trips of every item field, every
// prefix of a good file, hostile and malformed text, the read-only flag and
// writes that fail without harming the old file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "base/le_bytes.h"
#include "materials/texture_group.h"
#include "materials/texture_group_keys.h"
#include "materials/texture_settings.h"
#include "tests/temp_folder.h"

namespace gw {
namespace {

namespace ts = texture_settings;

const TextureGroupStamp kStamp{"Tue Dec  8 21:55:46 2026", "Ada", "Works"};

TextureItem defaultItem(const std::string& name) {
  TextureItem item;
  item.name = name;
  textureSettingsDefaults(item.settings.data());
  return item;
}

// Every field set away from its default, to a value "%f" or "%lu" keeps.
TextureItem everyFieldItem() {
  TextureItem item = defaultItem("Every field");
  size_t count;
  const TextureGroupKey* keys = textureGroupKeys(&count);
  for (size_t i = 0; i < count; ++i) {
    const TextureGroupKey& k = keys[i];
    const double step = double(i + 1);
    switch (k.kind) {
      case TextureKeyKind::kName: break;
      case TextureKeyKind::kReal: textureKeySet(k, k.min + (k.max - k.min) * step / 64.0, item.settings.data()); break;
      case TextureKeyKind::kColour: textureKeySet(k, 0x102030 * step, item.settings.data()); break;
      default: textureKeySet(k, k.min + std::fmod(step * 7.0, k.max - k.min + 1), item.settings.data()); break;
    }
  }
  return item;
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool parse(const std::string& text, TextureGroup* group) { return textureGroupParse(text.data(), text.size(), group); }

const char kHead[] = "QUILLMERE O-RIVET TEXTURE FILE\n";

TEST(TextureGroupFormat, WritesTheFixedLinesAndEveryKeyInOrder) {
  TextureGroup group;
  group.items.push_back(defaultItem("Clouds"));
  std::string text = textureGroupFormat(group, kStamp);
  const std::string expectedHead =
      "QUILLMERE O-RIVET TEXTURE FILE\n"
      ";This is a machine-generated text file. If you edit it by hand, you\n"
      ";run the very real and tangible risk of causing all time and space to\n"
      ";implode upon itself and bring about the extinction of reality as we\n"
      ";know it. Think carefully...\n"
      "Version=16.0a\nItemcount=1\nWriteable=1\nUpdateTimeDate=Tue Dec  8 21:55:46 2026\n"
      "MachineName=Ada\nMachineOrganization=Works\n;Items begin\n:BEGINITEM\nTextureName=Clouds\n"
      "Power1=0.750000\n";
  EXPECT_EQ(text.substr(0, expectedHead.size()), expectedHead);
  EXPECT_NE(text.find("SeedValue1=10000\nSeedValue2=10001\n"), std::string::npos);
  EXPECT_NE(text.find("Dimension5=2.150000\nMatrixSize=64\nTextureType=0\nForeColour1=16777215\n"),
            std::string::npos);
  EXPECT_NE(text.find("BackColour=16711680\nCreaterCount=5000\nCreaterDepth=1.500000\nColorRed0=0.000000\n"),
            std::string::npos);
  EXPECT_NE(text.find("BubbleCount=64\nBubbleSize=4\nBubblePower=0.250000\nBubbleShape=0\n"
                      "PerturbationPower=1.000000\n:ENDITEM\n;Items end -- beyond this point be dragons.\n"),
            std::string::npos);
  // Each key once, in table order.
  size_t count, at = 0;
  const TextureGroupKey* keys = textureGroupKeys(&count);
  EXPECT_EQ(count, 43u);
  for (size_t i = 0; i < count; ++i) {
    size_t next = text.find(std::string("\n") + keys[i].key + "=", at);
    ASSERT_NE(next, std::string::npos) << keys[i].key;
    at = next + 1;
  }
}

TEST(TextureGroupFormat, RoundTripsEveryItemFieldAndName) {
  TempFolder dir("fft");
  TextureGroup group;
  group.items.push_back(everyFieldItem());
  group.items.push_back(defaultItem("Second, with = and ;"));
  group.items.push_back(defaultItem(std::string(300, 'n')));  // kept to 260
  ASSERT_TRUE(textureGroupWrite(dir.file("a.fft"), group, false));
  TextureGroup back;
  back.writeable = false;
  ASSERT_TRUE(textureGroupRead(dir.file("a.fft"), &back));
  EXPECT_TRUE(back.writeable);
  ASSERT_EQ(back.items.size(), 3u);
  size_t count;
  const TextureGroupKey* keys = textureGroupKeys(&count);
  for (size_t i = 1; i < count; ++i)
    EXPECT_EQ(textureKeyValue(keys[i], back.items[0].settings.data()),
              textureKeyValue(keys[i], group.items[0].settings.data()))
        << keys[i].key;
  EXPECT_EQ(back.items[0].settings, group.items[0].settings);
  EXPECT_EQ(back.items[0].name, "Every field");
  EXPECT_EQ(back.items[1].name, "Second, with = and ;");
  EXPECT_EQ(back.items[2].name, std::string(260, 'n'));
}

TEST(TextureGroupFormat, EveryPrefixReadsTheItemsItHoldsWhole) {
  TextureGroup group;
  for (int i = 0; i < 3; ++i) {
    TextureItem item = everyFieldItem();
    item.name = "Item " + std::to_string(i);
    writeU32(item.settings.data() + ts::seed(0), uint32_t(100 + i));
    group.items.push_back(item);
  }
  const std::string text = textureGroupFormat(group, kStamp);
  const size_t firstLine = std::strlen(kTextureGroupFirstLine);
  for (size_t n = 0; n <= text.size(); ++n) {
    const std::string prefix = text.substr(0, n);
    TextureGroup back;
    bool ok = parse(prefix, &back);
    ASSERT_EQ(ok, n >= firstLine) << n;
    if (!ok) continue;
    // An item counts once its whole ":ENDITEM" line is there.
    size_t whole = 0;
    for (size_t at = prefix.find(":ENDITEM"); at != std::string::npos; at = prefix.find(":ENDITEM", at + 1))
      whole += at + 8 <= prefix.size();
    ASSERT_EQ(back.items.size(), whole) << n;
    for (size_t i = 0; i < whole; ++i) {
      ASSERT_EQ(back.items[i].name, group.items[i].name);
      ASSERT_EQ(back.items[i].settings, group.items[i].settings) << n;
    }
  }
}

struct ReadCase {
  const char* what;
  std::string text;
  bool ok;
  size_t items;
};

TEST(TextureGroupRead, MalformedAndOddFilesFailOrTakeDefaults) {
  const ReadCase cases[] = {
      {"empty file", "", false, 0},
      {"foreign first line", "QUILLMERE O-RIVET TEXTURE FIL\n:BEGINITEM\n:ENDITEM\n", false, 0},
      {"first line in lower case", "quillmere o-rivet texture file\n", false, 0},
      {"leading blank", " QUILLMERE O-RIVET TEXTURE FILE\n", false, 0},
      {"trailing blanks and CRLF", "QUILLMERE O-RIVET TEXTURE FILE  \t\r\n:BEGINITEM\r\n:ENDITEM\r\n", true, 1},
      {"header only", kHead, true, 0},
      {"end inside an item", std::string(kHead) + ":BEGINITEM\nTextureName=A\n", true, 0},
      {"nested begin is skipped", std::string(kHead) + ":beginitem\n:BEGINITEM\n:EndItem\n", true, 1},
      {"stray end outside", std::string(kHead) + ":ENDITEM\n:BEGINITEM\n:ENDITEM\n", true, 1},
      {"binary noise",
       std::string(kHead) + std::string("\0\1\2=\xff\n", 6) + ":BEGINITEM\n" + std::string("\xfe=\0\n", 4) +
           ":ENDITEM\n",
       true, 1},
  };
  for (const ReadCase& c : cases) {
    TextureGroup g;
    EXPECT_EQ(parse(c.text, &g), c.ok) << c.what;
    EXPECT_EQ(g.items.size(), c.items) << c.what;
  }
}

TEST(TextureGroupRead, KeysAnyCaseAnyOrderMissingOnesDefaultAndNamesCarryOver) {
  std::string text = std::string(kHead) +
                     "writeable = 0\n:BEGINITEM\n texturename=X\n"  // leading blank: not the key
                     "TEXTURENAME==  Craters  \ntexturetype=4\n;Power1=9\nPower1 9\n:ENDITEM\n"
                     ":BEGINITEM\nseedvalue3=77\n:ENDITEM\n";
  TextureGroup g;
  ASSERT_TRUE(parse(text, &g));
  EXPECT_FALSE(g.writeable);
  ASSERT_EQ(g.items.size(), 2u);
  EXPECT_EQ(g.items[0].name, "Craters");
  EXPECT_EQ(readU32(g.items[0].settings.data() + ts::kType), 4u);
  uint8_t defaults[ts::kSize];
  textureSettingsDefaults(defaults);
  writeU32(defaults + ts::kType, 4);
  EXPECT_EQ(std::memcmp(g.items[0].settings.data(), defaults, ts::kSize), 0);
  EXPECT_EQ(g.items[1].name, "Craters");  // no name: the one before it
  EXPECT_EQ(readU32(g.items[1].settings.data() + ts::seed(2)), 77u);
}

TEST(TextureGroupRead, NumbersOutOfRangeAreClampedToTheGeneratorsLimits) {
  std::string text = std::string(kHead) +
                     ":BEGINITEM\nMatrixSize=99999\nTextureType=9\nBubbleCount=-5\nBubbleSize=0\n"
                     "ColorRed0=7\nColorBlue3=-2\nPower1=inf\nPower2=nan\nDimension1=1e30\nForeColour1=-1\n"
                     "BackColour=4311744512\nBubbleShape=12\nCreaterCount=4000000000\nSeedValue1=-1\n"
                     "CreaterDepth=-3\n:ENDITEM\n";
  TextureGroup g;
  ASSERT_TRUE(parse(text, &g));
  ASSERT_EQ(g.items.size(), 1u);
  const uint8_t* s = g.items[0].settings.data();
  EXPECT_EQ(readU32(s + ts::kMeshSize), 2048u);
  EXPECT_EQ(readU32(s + ts::kType), 5u);
  EXPECT_EQ(readI32(s + ts::kBubbleCount), 0);
  EXPECT_EQ(readU32(s + ts::kBubbleSize), 1u);
  EXPECT_EQ(ts::readF32(s + ts::kRampRed), 1.0f);
  EXPECT_EQ(ts::readF32(s + ts::kRampBlue + 12), 0.0f);
  EXPECT_EQ(ts::readF32(s + ts::power(0)), 0.75f);  // not a number: default kept
  EXPECT_EQ(ts::readF32(s + ts::power(1)), 0.75f);
  EXPECT_EQ(ts::readF32(s + ts::dimension(0)), 4.0f);
  EXPECT_EQ(readU32(s + ts::foreColour(0)), 0xFFFFFFu);
  EXPECT_EQ(readU32(s + ts::kBackColour), 0x000000u);  // atol wraps to 16 << 24
  EXPECT_EQ(readU32(s + ts::kBubbleShape), 3u);
  EXPECT_EQ(readU32(s + ts::kCraterCount), 100000u);
  EXPECT_EQ(readU32(s + ts::seed(0)), 0xFFFFFFFFu);
  EXPECT_EQ(ts::readF32(s + ts::kCraterDepth), 0.0f);
}

TEST(TextureGroupRead, HostileSizesAreBounded) {
  // A very long name line is cut, and its tail is not read as another line.
  std::string longLine = "TextureName=" + std::string(20000, 'a') + "TextureType=4";
  TextureGroup g;
  ASSERT_TRUE(parse(std::string(kHead) + ":BEGINITEM\n" + longLine + "\n:ENDITEM\n", &g));
  ASSERT_EQ(g.items.size(), 1u);
  EXPECT_EQ(g.items[0].name.size(), kTextureNameMax);
  EXPECT_EQ(readU32(g.items[0].settings.data() + ts::kType), 0u);

  std::string many = kHead;
  for (size_t i = 0; i <= kTextureGroupMaxItems; ++i) many += ":BEGINITEM\n:ENDITEM\n";
  TextureGroup before;
  before.items.push_back(defaultItem("kept"));
  EXPECT_FALSE(parse(many, &before));
  ASSERT_EQ(before.items.size(), 1u);  // a failed read changes nothing
  EXPECT_EQ(before.items[0].name, "kept");
}

TEST(TextureGroupWrite, ReadOnlyGroupRefusesAndTheFileStays) {
  TempFolder dir("fft");
  const std::string path = dir.file("glwplug5.fft");
  TextureGroup group;
  group.items.push_back(defaultItem("Primary"));
  group.writeable = false;
  writeText(path, textureGroupFormat(group, kStamp));
  TextureGroup read;
  ASSERT_TRUE(textureGroupRead(path, &read));
  EXPECT_FALSE(read.writeable);
  read.items.push_back(defaultItem("Added"));
  EXPECT_FALSE(textureGroupWrite(path, read, true));
  TextureGroup again;
  ASSERT_TRUE(textureGroupRead(path, &again));
  EXPECT_EQ(again.items.size(), 1u);
  EXPECT_FALSE(std::ifstream(path + ".bak").good());
}

TEST(TextureGroupWrite, AFailedWriteKeepsTheOldFile) {
  TempFolder dir("fft");
  const std::string path = dir.file("mine.fft");
  TextureGroup group;
  group.items.push_back(defaultItem("Old"));
  ASSERT_TRUE(textureGroupWrite(path, group, false));
  const std::string old = readText(path);
  // The temporary cannot be created where a folder of its name stands.
  ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0700), 0);
  group.items[0].name = "New";
  EXPECT_FALSE(textureGroupWrite(path, group, false));
  EXPECT_EQ(readText(path), old);
  // Nor can a group be written into a folder that is not there.
  EXPECT_FALSE(textureGroupWrite(dir.file("none/x.fft"), group, false));
}

TEST(TextureGroupWrite, BackupHoldsThePreviousFileAndEmptyGroupsReadBack) {
  TempFolder dir("fft");
  const std::string path = dir.file("mine.fft");
  TextureGroup group;
  group.items.push_back(defaultItem("First"));
  ASSERT_TRUE(textureGroupWrite(path, group, true));  // nothing to back up yet
  EXPECT_FALSE(std::ifstream(path + ".bak").good());
  const std::string first = readText(path);
  group.items.clear();
  ASSERT_TRUE(textureGroupWrite(path, group, true));
  EXPECT_EQ(readText(path + ".bak"), first);
  TextureGroup back;
  back.items.push_back(defaultItem("stale"));
  ASSERT_TRUE(textureGroupRead(path, &back));
  EXPECT_TRUE(back.items.empty());
  EXPECT_NE(readText(path).find("Itemcount=0\n"), std::string::npos);
}

}  // namespace
}  // namespace gw
