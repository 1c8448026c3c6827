// The gradient and material sub-commands, called as the command-line host
// calls them.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/png_io.h"
#include "platform/bitmap.h"
#include "materials/gradient_settings.h"
#include "materials/material_document.h"
#include "materials/material_record.h"

namespace gw::cli {
int runGradient(const std::vector<std::string>& args);
int runMaterial(const std::vector<std::string>& args);
}  // namespace gw::cli

namespace gw {
namespace {

class MaterialCliTest : public ::testing::Test {
 protected:
  std::string file(const char* name) const { return folder_.file(name); }
  std::vector<uint8_t> bytes(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  TempFolder folder_{"matcli"};
  std::string dir_ = folder_.path();
};

TEST_F(MaterialCliTest, GradientWritesPngAndSettings) {
  const std::string png = file("g.png"), settings = file("g.grd");
  ASSERT_EQ(cli::runGradient({"--size", "33x17", "--shape", "angular", "--start", "#ff0000", "--rotation", "45",
                              "--write-settings", settings, png}),
            cli::kExitOk);
  std::string error;
  MemBlock bmp(cli::readPngAsBitmap(png, &error));
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(bmp.get(), &w, &h, nullptr, nullptr)) << error;
  EXPECT_EQ(w, 33);
  EXPECT_EQ(h, 17);
  std::vector<uint8_t> g = bytes(settings);
  ASSERT_EQ(g.size(), kGradientSettingsSize);
  EXPECT_EQ(readI32(g.data() + gradient::kShape), kGradientAngular);
  EXPECT_EQ(readU32(g.data() + gradient::kStartColour), 0x0000FFu);  // #RRGGBB becomes 0x00BBGGRR
  EXPECT_EQ(readI32(g.data() + gradient::kRotation), 45);
}

TEST_F(MaterialCliTest, GradientRejectsBadInput) {
  EXPECT_EQ(cli::runGradient({"--shape", "spiral", file("x.png")}), cli::kExitUsage);
  EXPECT_EQ(cli::runGradient({"--edge-pad", "46", file("x.png")}), cli::kExitUsage);
  EXPECT_EQ(cli::runGradient({"--size", "0x5", file("x.png")}), cli::kExitUsage);
  EXPECT_EQ(cli::runGradient({}), cli::kExitUsage);
  std::ofstream(file("junk.grd")) << "not a record";
  EXPECT_EQ(cli::runGradient({"--settings", file("junk.grd"), file("x.png")}), cli::kExitFailure);
  EXPECT_NE(access(file("x.png").c_str(), F_OK), 0);
}

TEST_F(MaterialCliTest, MaterialRecordFromDocumentLineAndBack) {
  uint8_t rec[kMaterialRecordSize];
  materialRecordDefaults(rec, false);
  writeI32(rec + material::kKind, kMaterialSimple);
  writeU32(rec + material::kColour, 0x00FF00);
  std::ofstream(file("doc.gw5")) << "CHKBOX1000=1\n" << materialDocumentLine(4100, rec);
  const std::string out = file("m.mtrl"), png = file("m.png");
  ASSERT_EQ(cli::runMaterial({"--document", file("doc.gw5"), "--size", "8x4", "--write-record", out, png}),
            cli::kExitOk);
  std::vector<uint8_t> written = bytes(out);
  ASSERT_EQ(written.size(), kMaterialRecordSize);
  EXPECT_EQ(std::memcmp(written.data(), rec, kMaterialRecordSize), 0);
  std::string error;
  MemBlock bmp(cli::readPngAsBitmap(png, &error));
  MemLock lock(bmp.get());
  BitmapView view = BitmapView::of(lock);
  ASSERT_TRUE(view.valid()) << error;
  EXPECT_EQ(view.getPixel(7, 3), 0x00FF00);

  // The record file reads back; a foreign one is an error, not a default.
  EXPECT_EQ(cli::runMaterial({"--record", out, "--kind", "gradient", file("m2.png")}), cli::kExitOk);
  std::ofstream(file("bad.mtrl")) << std::string(1270, 'x');
  EXPECT_EQ(cli::runMaterial({"--record", file("bad.mtrl"), file("m3.png")}), cli::kExitFailure);
  EXPECT_EQ(cli::runMaterial({"--kind", "marble", file("m4.png")}), cli::kExitUsage);
}

}  // namespace
}  // namespace gw
