// glyphwright library, and fountain:FILE.fll:INDEX as a material, as a user
// runs them.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include "tests/cli_runner.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/png_io.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw::cli {
int runLibrary(const std::vector<std::string>& args);
}  // namespace gw::cli

namespace gw {
namespace {

class LibraryCliTest : public ::testing::Test {
 protected:
  std::string file(const char* name) const { return folder_.file(name); }
  std::vector<uint8_t> bytes(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::vector<uint8_t>> ramps(const std::string& library) const {
    FountainLibraryList list;
    std::vector<std::vector<uint8_t>> out;
    if (fountainLibraryLoad(library, 0, 0, &list) != FountainLibraryStatus::Ok) return out;
    for (const FountainLibraryItem& item : list)
      out.emplace_back(item.record + fountain::kMarkerCount, item.record + fountain::kEditorState);
    return out;
  }
  TempFolder folder_{"libcli"};
};

TEST_F(LibraryCliTest, AddListAndExtract) {
  const std::string lib = file("lib.fll");
  EXPECT_EQ(cli::runLibrary({"add", lib}), cli::kExitOk);  // the rainbow, as every new fountain
  EXPECT_EQ(cli::runLibrary({"add", lib, "--preset", "empty", "--fountain-start", "#00ff00", "--marker", "200=#0000ff"}),
            cli::kExitOk);
  auto r = ramps(lib);
  ASSERT_EQ(r.size(), 2u);
  uint8_t rainbow[kFountainRecordSize];
  fountainRecordDefaults(rainbow, FountainPreset::Rainbow);
  EXPECT_EQ(r[0], std::vector<uint8_t>(rainbow + fountain::kMarkerCount, rainbow + fountain::kEditorState));
  EXPECT_EQ(readU32(r[1].data()), 1u);                    // marker count
  EXPECT_EQ(readU32(r[1].data() + 4), 0x00FF00u);         // start
  EXPECT_EQ(readU32(r[1].data() + 12), fountainMakeMarker(200, 0xFF0000));

  const std::string record = file("one.mtrl"), png = file("one.png");
  ASSERT_EQ(cli::runLibrary({"extract", lib, "1", "-o", record, "-o", png, "--size", "40x6"}), cli::kExitOk);
  std::vector<uint8_t> rec = bytes(record);
  ASSERT_EQ(rec.size(), kFountainRecordSize);
  EXPECT_EQ(std::vector<uint8_t>(rec.begin() + fountain::kMarkerCount, rec.begin() + fountain::kEditorState), r[1]);
  std::string error;
  MemBlock bmp(cli::readPngAsBitmap(png, &error));
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(bmp.get(), &w, &h, nullptr, nullptr)) << error;
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 6);

  // A record taken out goes back in as the same ramp.
  ASSERT_EQ(cli::runLibrary({"add", lib, record}), cli::kExitOk);
  r = ramps(lib);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[2], r[1]);

  CliRun list = runCli("library list " + lib);
  EXPECT_EQ(list.status, 0) << list.out;
  EXPECT_NE(list.out.find("entries:  3"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("   1   1 markers  start #00FF00  end #FFFFFF  200:#0000FF"), std::string::npos) << list.out;
}

TEST_F(LibraryCliTest, TwoColourSourceAddsItsRamp) {
  const std::string settings = file("two.grd"), lib = file("lib.fll");
  CliRun made = runCli("gradient --start '#ff0000' --end '#0000ff' --midpoint 20 --write-settings " + settings + " " +
                       file("g.png"));
  ASSERT_EQ(made.status, 0) << made.out;
  ASSERT_EQ(cli::runLibrary({"add", lib, settings}), cli::kExitOk);
  auto r = ramps(lib);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(readU32(r[0].data() + 4), 0x0000FFu);  // red first
  EXPECT_EQ(readU32(r[0].data() + 8), 0xFF0000u);
  EXPECT_GE(readU32(r[0].data()), 1u);  // the off-centre midpoint needs a marker
}

TEST_F(LibraryCliTest, BadFilesAndIndexesAreClearErrors) {
  const std::string lib = file("lib.fll");
  struct Case {
    std::string args;
    int status;
    const char* says;
  } cases[] = {
      {"library list " + file("none.fll"), 1, "no such file"},
      {"library extract " + file("none.fll") + " 0 -o " + file("x.png"), 1, "no such file"},
      {"library extract " + lib + " 5 -o " + file("x.png"), 1, "no entry 5 (the library holds 1)"},
      {"library extract " + lib + " -1 -o " + file("x.png"), 2, "bad index"},
      {"library extract " + lib + " 0", 2, "needs -o"},
      {"library add " + lib + " --looped 1", 2, "unknown option"},
      {"library add " + lib + " " + file("junk"), 1, "not a gradient settings"},
      {"library import " + file("junk") + " -o " + lib, 1, "not a GIMP gradient"},
      {"library frobnicate " + lib, 2, "usage"},
      {"sample --face fountain:" + lib + ":3 -o " + file("s.png"), 1, "no entry 3"},
      {"sample --face fountain:" + lib + " -o " + file("s.png"), 1, "fountain:FILE.fll:INDEX"},
      {"sample --face fountain:" + file("junk") + ":0 -o " + file("s.png"), 1, "not a fountain library"},
  };
  ASSERT_EQ(cli::runLibrary({"add", lib}), cli::kExitOk);
  std::ofstream(file("junk")) << "junk";
  for (const Case& c : cases) {
    CliRun r = runCli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
  EXPECT_EQ(ramps(lib).size(), 1u);
  EXPECT_NE(access(file("s.png").c_str(), F_OK), 0);
}

TEST_F(LibraryCliTest, ImportAddsAGimpGradientToTheChosenOrTheUsersLibrary) {
  const std::string ggr = file("sunset.ggr");
  std::ofstream(ggr) << "GIMP Gradient\nName: Sunset\n2\n"
                        "0 0.25 0.5 1 0 0 1 1 1 0 1 0 0\n"
                        "0.5 0.75 1 0 0 1 1 0 0 0 1 0 0\n";
  CliRun r = runCli("library import " + ggr + " -o " + file("lib.fll"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\"Sunset\" (2 segments) added as entry 0"), std::string::npos) << r.out;
  auto ramp = ramps(file("lib.fll"));
  ASSERT_EQ(ramp.size(), 1u);
  EXPECT_EQ(readU32(ramp[0].data()), 2u);  // the edge at the middle: yellow ends, blue starts
  EXPECT_EQ(readU32(ramp[0].data() + 12), fountainMakeMarker(128, 0x00FFFF));
  EXPECT_EQ(readU32(ramp[0].data() + 16), fountainMakeMarker(128, 0xFF0000));

  // Without -o it goes to the plug-in's own library, folders made as needed.
  r = runCli("library import " + ggr, "GLYPHWRIGHT_APPDATA=" + folder_.path());
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(ramps(folder_.path() + "/Quillmere/Glyphwright 5/FountainLibrary.fll").size(), 1u);
}

TEST_F(LibraryCliTest, FountainFaceMatchesTheSameColourGivenPlainly) {
  const std::string lib = file("lib.fll");
  // A ramp that stays one colour throughout paints as that colour does.
  ASSERT_EQ(cli::runLibrary({"add", lib, "--preset", "empty", "--fountain-start", "#2080c0", "--fountain-end", "#2080c0"}),
            cli::kExitOk);
  CliRun a = runCli("sample --size 40 --text Fo --face fountain:" + lib + ":0 -o " + file("a.png"));
  CliRun b = runCli("sample --size 40 --text Fo --face colour:2080c0 -o " + file("b.png"));
  ASSERT_EQ(a.status, 0) << a.out;
  ASSERT_EQ(b.status, 0) << b.out;
  EXPECT_EQ(bytes(file("a.png")), bytes(file("b.png")));
  CliRun c = runCli("render --size 30 --text F --frames 2 --face fountain:" + lib + ":0 -o " + file("c.gif"));
  EXPECT_EQ(c.status, 0) << c.out;
}

// The three materials the plug-in's user gives a page (a face from a library
// the plug-in wrote, a shadow colour, the default tile) in one command, each
// found in the picture.
TEST_F(LibraryCliTest, LibraryFaceShadowColourAndTileTogether) {
  const std::string lib = file("lib.fll");
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Rainbow);
  ASSERT_TRUE(fountainLibraryAdd(lib, f));
  // Bands of red, green and blue, each wide enough to reach the letters unmixed.
  fountainRecordDefaults(f, FountainPreset::Empty);
  writeU32(f + fountain::kStartColour, 0x0000FF);
  writeU32(f + fountain::kEndColour, 0xFF0000);
  const uint32_t markers[] = {fountainMakeMarker(80, 0x0000FF), fountainMakeMarker(100, 0x00FF00),
                              fountainMakeMarker(150, 0x00FF00), fountainMakeMarker(170, 0xFF0000)};
  for (size_t i = 0; i < 4; ++i) writeU32(f + fountain::kMarkers + 4 * i, markers[i]);
  writeU32(f + fountain::kMarkerCount, 4);
  ASSERT_TRUE(fountainLibraryAdd(lib, f));

  CliRun still = runCli("sample --face fountain:" + lib + ":1 --shadow colour:FF00FF --background tile:0 " +
                        "--set Style000Soft=0 -o " + file("s.png"));
  ASSERT_EQ(still.status, 0) << still.out;
  CliRun tile = runCli("tile extract 0 " + file("tile.png"));
  ASSERT_EQ(tile.status, 0) << tile.out;
  std::string error;
  MemBlock picture(cli::readPngAsBitmap(file("s.png"), &error));
  MemBlock tileImage(cli::readPngAsBitmap(file("tile.png"), &error));
  MemLock pictureLock(picture.get()), tileLock(tileImage.get());
  BitmapView p = BitmapView::of(pictureLock), t = BitmapView::of(tileLock);
  ASSERT_TRUE(p.valid() && t.valid()) << error;
  int red = 0, green = 0, blue = 0, shadow = 0, tiled = 0;
  for (int32_t y = 0; y < p.height(); ++y)
    for (int32_t x = 0; x < p.width(); ++x) {
      const int64_t c = p.getPixel(x, y);
      red += c == 0x0000FF;  // 0xBBGGRR, as records hold colours
      green += c == 0x00FF00;
      blue += c == 0xFF0000;
      shadow += c == 0xFF00FF;
      tiled += c == t.getPixel(x % t.width(), y % t.height());
    }
  EXPECT_GT(red, 200);
  EXPECT_GT(green, 200);
  EXPECT_GT(blue, 200);
  EXPECT_GT(shadow, 200);
  EXPECT_GT(tiled, p.width() * p.height() / 2);  // the tile repeated from the corner, where no letter is
}

}  // namespace
}  // namespace gw
