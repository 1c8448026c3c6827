// Texture and tile groups from the command line: the shipped groups found by
// default, items by name or index, materials naming them, and clear errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/cli_runner.h"
#include "tests/temp_folder.h"

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class GroupCli : public ::testing::Test {
 protected:
  CliRun run(const std::string& args) { return runCli(args, "GLYPHWRIGHT_APPDATA=" + root_.path()); }
  std::string f(const std::string& name) const { return root_.file(name); }
  std::string pluginFile(const std::string& name) const { return root_.path() + "/Quillmere/Glyphwright 5/" + name; }
  TempFolder root_{"groupcli"};
};

TEST_F(GroupCli, TexturesFromTheShippedGroupByNameOrIndex) {
  CliRun list = run("texture --list");
  ASSERT_EQ(list.status, 0) << list.out;
  EXPECT_NE(list.out.find("read-only"), std::string::npos);
  EXPECT_NE(list.out.find("   0  2-color fractal  Blue Sky\n"), std::string::npos) << list.out;
  EXPECT_EQ(slurp(pluginFile("glwplug5.fft")), slurp(std::string(GW_SOURCE_DIR) + "/resources/glwplug5.fft"));

  ASSERT_EQ(run("texture --item 'blue sky' --size 40x30 -o " + f("a.png")).status, 0);
  ASSERT_EQ(run("texture --item 0 --size 40x30 -o " + f("b.png")).status, 0);
  ASSERT_EQ(run("texture --item 1 --size 40x30 -o " + f("c.png")).status, 0);
  EXPECT_FALSE(slurp(f("a.png")).empty());
  EXPECT_EQ(slurp(f("a.png")), slurp(f("b.png")));
  EXPECT_NE(slurp(f("a.png")), slurp(f("c.png")));
  // Options still override what the item holds.
  ASSERT_EQ(run("texture --item 0 --seed 5 --size 40x30 -o " + f("d.png")).status, 0);
  EXPECT_NE(slurp(f("a.png")), slurp(f("d.png")));

  CliRun missing = run("texture --item 'No Such' -o " + f("x.png"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("no texture named or numbered 'No Such'"), std::string::npos) << missing.out;
  EXPECT_EQ(run("texture --item 999 -o " + f("x.png")).status, 1);
  EXPECT_EQ(run("texture --group " + f("g.fft") + " -o " + f("x.png")).status, 2);
}

TEST_F(GroupCli, GroupsOfTheUsersOwnAndDamagedOnes) {
  std::ofstream(f("mine.fft")) << "QUILLMERE O-RIVET TEXTURE FILE\nWriteable=1\n:BEGINITEM\nTextureName=Pits\n"
                                  "TextureType=4\nCreaterCount=300\n:ENDITEM\n";
  CliRun list = run("texture --group " + f("mine.fft") + " --list");
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("1 textures, writeable"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("Craters          Pits"), std::string::npos) << list.out;
  ASSERT_EQ(run("texture --group " + f("mine.fft") + " --item Pits --size 30x30 -o " + f("p.png")).status, 0);
  ASSERT_EQ(run("texture --type 4 --craters 300 --size 30x30 -o " + f("q.png")).status, 0);
  EXPECT_EQ(slurp(f("p.png")), slurp(f("q.png")));

  std::ofstream(f("bad.fft")) << "NOT A TEXTURE FILE\n";
  CliRun bad = run("texture --group " + f("bad.fft") + " --item 0 -o " + f("x.png"));
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("The file may be damaged."), std::string::npos) << bad.out;
  EXPECT_EQ(run("texture --group " + f("none.fft") + " --list").status, 1);
}

TEST_F(GroupCli, ShippedTileGroupListsExtractsAndRefusesEdits) {
  CliRun list = run("tile list");
  ASSERT_EQ(list.status, 0) << list.out;
  EXPECT_NE(list.out.find("writeable:    no"), std::string::npos);
  EXPECT_NE(list.out.find("  15  MTXi  64 x 64, 24 bits"), std::string::npos) << list.out;
  ASSERT_EQ(run("tile extract 3 " + f("t3.png")).status, 0);
  ASSERT_EQ(run("tile extract 4 " + f("t4.png")).status, 0);
  EXPECT_NE(slurp(f("t3.png")), slurp(f("t4.png")));

  const std::string shipped = pluginFile("glwplug5.mtx");
  const std::string before = slurp(shipped);
  CliRun refused = run("tile add '" + shipped + "' " + f("t3.png"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("read-only"), std::string::npos) << refused.out;
  EXPECT_EQ(slurp(shipped), before);

  // A group of one's own grows by "add"; a new file starts empty.
  ASSERT_EQ(run("tile add " + f("mine.mtx") + " " + f("t3.png") + " " + f("t4.png")).status, 0);
  CliRun added = run("tile add --backup " + f("mine.mtx") + " " + f("t3.png"));
  ASSERT_EQ(added.status, 0) << added.out;
  EXPECT_NE(added.out.find("3 tiles"), std::string::npos);
  EXPECT_FALSE(slurp(f("mine.mtx.bak")).empty());
  ASSERT_EQ(run("tile extract " + f("mine.mtx") + " 2 " + f("again.png")).status, 0);
  EXPECT_EQ(slurp(f("again.png")), slurp(f("t3.png")));

  ASSERT_EQ(run("texture --size 600x600 -o " + f("big.png")).status, 0);
  CliRun big = run("tile add " + f("mine.mtx") + " " + f("big.png"));
  EXPECT_EQ(big.status, 1);
  EXPECT_NE(big.out.find("too large to be a matrix tile"), std::string::npos);
  EXPECT_EQ(run("tile add " + f("mine.mtx")).status, 2);
}

TEST_F(GroupCli, MaterialsNameShippedTexturesAndTiles) {
  const std::string base = "sample --text Hi --size 30 --effect Simple -o ";
  ASSERT_EQ(run(base + f("plain.png")).status, 0);
  CliRun named = run(base + f("named.png") + " --face 'texture:Gold Leaf'");
  ASSERT_EQ(named.status, 0) << named.out;
  EXPECT_NE(slurp(f("named.png")), slurp(f("plain.png")));
  ASSERT_EQ(run(base + f("grouped.png") + " --face 'texture:" + pluginFile("glwplug5.fft") + ":Gold Leaf'").status,
            0);
  EXPECT_EQ(slurp(f("named.png")), slurp(f("grouped.png")));
  ASSERT_EQ(run(base + f("tile.png") + " --face tile:9").status, 0);
  ASSERT_EQ(run(base + f("tile2.png") + " --face 'tile:" + pluginFile("glwplug5.mtx") + ":9'").status, 0);
  EXPECT_EQ(slurp(f("tile.png")), slurp(f("tile2.png")));
  EXPECT_NE(slurp(f("tile.png")), slurp(f("plain.png")));

  CliRun unknown = run(base + f("x.png") + " --face texture:Nothing");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.out.find("no texture named or numbered 'Nothing'"), std::string::npos) << unknown.out;
  EXPECT_EQ(run(base + f("x.png") + " --face tile:500").status, 1);
}

}  // namespace
