// Hostile input through the command line and into a build: every refusal is
// a clear message and a failing exit with no file under the output's name;
// what is clamped is said; nothing throws out of a build.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "base/le_bytes.h"

#include "cli/dialog_session.h"
#include "cli/render_host.h"
#include "effects/effect_table.h"
#include "host/build_pipeline.h"
#include "materials/texture_fractal.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"
#include "platform/bitmap.h"
#include "platform/code_page_1252.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_file.h"
#include "tests/cli_runner.h"
#include "tests/temp_folder.h"

namespace gw {
namespace {

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A PNG whose header claims 65535 x 65535 pixels and whose data is a few bytes.
std::string hugePngHeader() {
  static const unsigned char kBytes[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
      0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x08, 0x02, 0x00, 0x00, 0x00, 0x39, 0x67, 0x4E, 0x07, 0x00,
      0x00, 0x00, 0x0B, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x80, 0x01, 0x00, 0x00, 0x0A, 0x00,
      0x01, 0x7F, 0x80, 0x74, 0x5E, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

struct Refusal {
  const char* args;      // after the program name; OUT is the output path, DIR the test's folder
  int status;
  const char* message;   // a piece of what stderr says
};

std::string expand(std::string s, const TempFolder& dir, const std::string& out) {
  for (size_t at; (at = s.find("OUT")) != std::string::npos;) s.replace(at, 3, out);
  for (size_t at; (at = s.find("DIR")) != std::string::npos;) s.replace(at, 3, dir.path());
  return s;
}

TEST(HostileCommandLine, RefusalsSayWhyAndLeaveNoFile) {
  TempFolder dir("hostile");
  writeFile(dir.file("huge.png"), hugePngHeader());
  writeFile(dir.file("empty.mtrl"), "");
  writeFile(dir.file("short.mtrl"), "QUILCMAT and not much else");
  mkdir(dir.file("folder.mtrl").c_str(), 0755);
  const Refusal kCases[] = {
      {"quantize DIR/huge.png -o OUT", 1, "65535 x 65535 pixels; images up to 64 megapixels"},
      {"tile build OUT DIR/huge.png", 1, "65535 x 65535 pixels"},
      {"settings --file /dev/zero", 1, "larger than 1024 KiB; not a configuration file"},
      {"settings --file /dev/urandom", 1, "larger than 1024 KiB"},
      {"render -q --config /dev/zero -o OUT", 1, "larger than 1024 KiB"},
      {"material --document /dev/zero -o OUT", 1, "not an effect document"},
      {"render -q -o /no/such/folder/x.gif", 1, "cannot write in /no/such/folder/"},
      {"render -q -o /proc/x.gif", 1, "cannot write in /proc/"},
      {"render -q -o /proc/x.png", 1, "cannot write in /proc/"},
      {"render -q --set MainEffect=99 -o OUT", 1, "MainEffect takes 0 to 20"},
      {"render -q --text \"$(printf '\\377\\376A')\" -o OUT", 1, "not valid UTF-8 (byte 1)"},
      {"render -q --text \"$(printf 'A\\300\\200')\" -o OUT", 1, "not valid UTF-8 (byte 2)"},       // an overlong NUL
      {"render -q --text \"$(printf '\\355\\240\\200')\" -o OUT", 1, "not valid UTF-8"},            // a surrogate
      {"render -q --text \"$(printf '\\342\\202')\" -o OUT", 1, "not valid UTF-8"},                 // cut short
      {"render -q --text \"$(printf '\\346\\227\\245')\" -o OUT", 1, "(U+65E5) has no byte in the Windows code page 1252"},
      {"render -q --set Style000Frames=abc -o OUT", 1, "Style000Frames takes a number, not 'abc'"},
      {"render -q --set MainDelay=99999999999 -o OUT", 1, "takes a number"},
      {"render -q --face record:DIR/folder.mtrl -o OUT", 1, "cannot read the file"},
      {"render -q --face record:DIR/empty.mtrl -o OUT", 1, "not a material record"},
      {"render -q --face record:DIR/short.mtrl -o OUT", 1, "not a material record"},
      {"render -q --size 1000 --set Style000Frames=100000 -o OUT", 1, "too large for a build (at most 512 MB of frames"},
  };
  for (const Refusal& c : kCases) {
    const std::string out = dir.file("out.gif");
    const std::string args = expand(c.args, dir, out);
    CliRun r = runCli(args);
    EXPECT_EQ(r.status, c.status) << args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << args << "\n" << r.out;
    EXPECT_FALSE(exists(out)) << args;
    EXPECT_FALSE(exists(out + ".tmp")) << args;
    EXPECT_FALSE(exists("/no/such/folder/x.gif"));
  }
}

TEST(HostileCommandLine, ReadOnlyFolderIsRefusedBeforeTheBuild) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempFolder dir("readonly");
  chmod(dir.path().c_str(), 0555);
  CliRun r = runCli("render -q -o " + dir.file("x.gif"));
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("cannot write in"), std::string::npos) << r.out;
  EXPECT_FALSE(exists(dir.file("x.gif")));
}

TEST(HostileCommandLine, ClampsAreSaidOnStderr) {
  TempFolder dir("clamps");
  const std::string out = dir.file("c.gif");
  // Each is clamped and said; the frame count keeps the render short.
  CliRun r = runCli("render -q --size 100000 --pad 2147483647 --frames 999999 --text "
                    "$(printf 'x%.0s' $(seq 300)) --effect Simple --set Style000Frames=2 -o " + out);
  EXPECT_NE(r.out.find("MainFontSize 100000 is outside 4 to 400; the build takes 400"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("MainPadding 2147483647 is outside 0 to 512; the build takes 512"), std::string::npos);
  EXPECT_NE(r.out.find("MainText holds 300 characters; the first 260 are used"), std::string::npos);
  // 260 letters at 400 pixels pass the largest frame: refused, not allocated.
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("16 million pixels each"), std::string::npos) << r.out;
  EXPECT_FALSE(exists(out));
  r = runCli("render -q --frames 999999 --size 8 --text ab -o " + out);
  EXPECT_NE(r.out.find("Style000Frames 999999 is outside 2 to 32760; the build takes 32760"), std::string::npos)
      << r.out;
  // "Simple" makes at most two frames for each pixel the text travels.
  EXPECT_NE(r.out.find("Style000Frames 999999: \"Simple\" made "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" frames, the most it makes of this text"), std::string::npos) << r.out;
}

TEST(HostileCommandLine, CodePage1252TextIsTaken) {
  TempFolder dir("cp1252");
  CliRun r = runCli("sample --text 'Price 5 \xE2\x82\xAC \xE2\x80\xA6 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x80\x93 "
                    "\xE2\x80\x94' -o " + dir.file("s.png"));
  EXPECT_EQ(r.status, 0) << r.out;
  std::string bytes, problem;
  ASSERT_TRUE(cli::utf8ToCodePage1252("\xE2\x82\xAC\xE2\x80\xA6\xE2\x80\x98\xE2\x80\x99\xC3\xA9\xC5\xB8", &bytes,
                                      &problem));
  EXPECT_EQ(bytes, "\x80\x85\x91\x92\xE9\x9F");
  // Every assigned byte of the page comes back from its character.
  for (int b = 0; b < 256; ++b) {
    const uint32_t cp = codePoint1252(uint8_t(b));
    if (b >= 0x80 && b <= 0x9F && cp == uint32_t(b)) {
      EXPECT_EQ(byteFor1252(cp), -1) << b;  // unassigned: no character maps to it
      continue;
    }
    EXPECT_EQ(byteFor1252(cp), b) << b;
  }
}

TEST(HostileCommandLine, PngSequenceReplacesAnOlderOneWhole) {
  TempFolder dir("sequence");
  const std::string out = dir.file("s.png");
  // An older, longer sequence under the same name.
  for (int i = 0; i < 8; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "s-%04d.png", i);
    writeFile(dir.file(name), "old");
  }
  CliRun r = runCli("render -q --true-colour --frames 4 --size 12 --text ab -o " + out);
  ASSERT_EQ(r.status, 0) << r.out;
  for (int i = 0; i < 8; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "s-%04d.png", i);
    EXPECT_EQ(exists(dir.file(name)), i < 4) << name;
  }
  EXPECT_FALSE(exists(out + ".tmp"));
  // A folder that cannot be made for the new frames: the older ones stay.
  writeFile(out + ".tmp", "in the way");
  chmod(dir.path().c_str(), 0555);
  r = runCli("render -q --true-colour --frames 2 --size 12 --text ab -o " + out);
  chmod(dir.path().c_str(), 0755);
  if (geteuid() != 0) {
    EXPECT_EQ(r.status, 1) << r.out;
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(exists(dir.file("s-000" + std::to_string(i) + ".png")));
  }
}

TEST(HostileCommandLine, GifThatCannotBePutInPlaceLeavesNoTemporary) {
  TempFolder dir("gif");
  const std::string out = dir.file("x.gif");
  mkdir(out.c_str(), 0755);  // a folder under the output's name: the rename fails
  writeFile(out + "/keep", "");
  CliRun r = runCli("render -q --frames 2 --size 12 --text ab -o " + out);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("cannot put the file in place"), std::string::npos) << r.out;
  EXPECT_FALSE(exists(out + ".tmp"));
}

TEST(HostileSettingsFile, OversizedFileIsRefusedAndLeavesTheRecord) {
  TempFolder dir("settings");
  const std::string path = dir.file("big.ini");
  writeFile(path, "MainFontSize = 77\n" + std::string(kSettingsFileLimit, ';'));
  SettingsRecord record;
  const int32_t before = record.MainFontSize;
  std::string problem;
  EXPECT_FALSE(readSettingsFile(path, record, &problem));
  EXPECT_NE(problem.find("larger than"), std::string::npos);
  EXPECT_EQ(record.MainFontSize, before);
  // At the limit it is still a file of lines.
  writeFile(path, "MainFontSize = 77\n" + std::string(kSettingsFileLimit - 18, ';'));
  EXPECT_TRUE(readSettingsFile(path, record, &problem)) << problem;
  EXPECT_EQ(record.MainFontSize, 77);
}

TEST(HostileFrameStore, BudgetRefusesPlansAndAppends) {
  FrameStore store;
  EXPECT_TRUE(frameStoreFits(store, 1000, 264 * 1024));  // 1,000 frames of the default text
  EXPECT_FALSE(store.overBudget);
  EXPECT_FALSE(frameStoreFits(store, 32760, 12u << 20));
  EXPECT_TRUE(store.overBudget);
  EXPECT_FALSE(frameStoreFits(store, UINT64_MAX, UINT64_MAX));  // no overflow on the way
  FrameStore small;
  small.imageBytes = kFrameStoreBudget - 10;  // as if nearly full
  MemBlock image(bitmapCreateTrueColour(8, 8, 24));
  ASSERT_TRUE(image);
  EXPECT_FALSE(frameStoreAppendFrame(small, image.get(), 1));
  EXPECT_TRUE(small.overBudget);
  EXPECT_EQ(small.count, 0u);
  small.imageBytes = 0;
  EXPECT_TRUE(frameStoreAppendFrame(small, image.release(), 1));
  EXPECT_GT(small.imageBytes, 8u * 8 * 3);
  frameStoreFree(small);
}

// An effect whose container runs out of memory part way through its frames.
int throwingBuild(EffectContext& ctx) {
  MemBlock frame(bitmapCreateTrueColour(4, 4, 24));
  if (!frameStoreAppendFrame(*ctx.frameStore, frame.get(), 1)) return 0;
  frame.release();
  throw std::bad_alloc();
}
int32_t greyBackground(DialogFacade&, int) { return 0x808080; }
const EffectRow kThrowingRow = {"Throwing", 7400, nullptr, nullptr, &throwingBuild, &greyBackground, nullptr, 0};

TEST(HostileBuild, AnExceptionInsideTheEffectIsAMemoryError) {
  DialogTemplate t;
  for (uint32_t id : {IDC_TRUE_COLOUR, IDC_CUSTOM_PALETTE, IDC_ALPHA_TRANSPARENCY}) {
    DialogItem item;
    item.id = id;
    item.className = "Button";
    t.items.push_back(item);
  }
  InMemoryDialog dialog(t);
  cli::RenderHost host;
  std::vector<std::string> messages;
  setMessageResponder([&](const std::string&, const std::string& text) {
    messages.push_back(text);
    return 1;
  });
  const long before = testing::liveBlockCount();
  int built = 1;
  EXPECT_NO_THROW(built = runBuildWithEffect(dialog, host.params(), 0, kThrowingRow));
  setMessageResponder(nullptr);
  EXPECT_EQ(built, 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Memory error"});
  EXPECT_EQ(testing::liveBlockCount(), before);
  EXPECT_TRUE(host.animation().frames.empty());
}

TEST(HostileTexture, FractalMeshIsBoundedByTheOutput) {
  struct Row {
    uint32_t stored;
    int32_t width;
    uint32_t mesh;
  };
  const Row kRows[] = {
      {2048, 80, 256},    {0xFFFFFFFFu, 80, 256}, {64, 80, 64},       {100, 80, 128},  // stored meshes within
      {2048, 300, 1024},  {2048, 866, 2048},      {1024, 4000, 1024}, {512, 129, 512},
      {2048, 129, 512},   {2048, 0, 256},
  };
  for (const Row& r : kRows) EXPECT_EQ(fractalWorkingMesh(r.stored, r.width), r.mesh) << r.stored << " " << r.width;

  // An 80 x 80 fill at a 2048 mesh is the 256 mesh's picture, made at its cost.
  auto render = [](uint32_t mesh) {
    uint8_t s[texture_settings::kSize];
    textureSettingsDefaults(s);
    writeU32(s + texture_settings::kType, 3);  // five layers
    writeU32(s + texture_settings::kMeshSize, mesh);
    textureSetOutputRect(s, 0, 0, 80, 80);
    MemBlock bmp(textureGenerate(s));
    MemLock lock(bmp.get());
    return std::vector<uint8_t>(lock.data(), lock.data() + lock.size());
  };
  const std::vector<uint8_t> coarse = render(256);
  ASSERT_FALSE(coarse.empty());
  EXPECT_EQ(render(2048), coarse);
  EXPECT_NE(render(128), coarse);
}

}  // namespace
}  // namespace gw
