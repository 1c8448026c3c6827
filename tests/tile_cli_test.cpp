// glyphwright texture and glyphwright tile as a user runs them.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include "tests/cli_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {


CliRun run(const std::string& args) { return runCli(args); }

std::vector<char> slurp(const std::string& path) {
  std::vector<char> out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  int c;
  while ((c = std::fgetc(f)) != EOF) out.push_back(char(c));
  std::fclose(f);
  return out;
}

class TileCli : public ::testing::Test {
 protected:
  std::string f(const std::string& name) const { return folder_.file(name); }
  TempFolder folder_{"tilecli"};
};

TEST_F(TileCli, TextureFromOptionsRecordFileAndDefaults) {
  EXPECT_EQ(run("texture --type 4 --size 40x30 " + f("a.png")).status, 0);
  EXPECT_FALSE(slurp(f("a.png")).empty());
  // A record written with options renders the same picture when read back.
  ASSERT_EQ(run("texture --type 1 --seed 2=77 --fore 2=0x00FF00 --write-settings " + f("r.tex")).status, 0);
  EXPECT_EQ(slurp(f("r.tex")).size(), 268u);
  ASSERT_EQ(run("texture --type 1 --seed 2=77 --fore 2=0x00FF00 --size 50x20 " + f("b.png")).status, 0);
  ASSERT_EQ(run("texture --settings " + f("r.tex") + " --size 50x20 " + f("c.png")).status, 0);
  EXPECT_EQ(slurp(f("b.png")), slurp(f("c.png")));
  // Options override the file.
  ASSERT_EQ(run("texture --settings " + f("r.tex") + " --seed 2=78 --size 50x20 " + f("d.png")).status, 0);
  EXPECT_NE(slurp(f("b.png")), slurp(f("d.png")));

  EXPECT_EQ(run("texture --type 9 " + f("x.png")).status, 1);
  EXPECT_EQ(run("texture --settings " + f("a.png") + " " + f("x.png")).status, 1);
  EXPECT_EQ(run("texture --size 0x10 " + f("x.png")).status, 2);
  EXPECT_EQ(run("texture --size 9000x10 " + f("x.png")).status, 2);
  EXPECT_EQ(run("texture --seed 6=1 " + f("x.png")).status, 2);
  EXPECT_EQ(run("texture --frobnicate 1 " + f("x.png")).status, 2);
  EXPECT_EQ(run("texture").status, 2);
}

TEST_F(TileCli, BuildListExtractAndFill) {
  ASSERT_EQ(run("texture --type 4 --size 30x20 " + f("t0.png")).status, 0);
  ASSERT_EQ(run("texture --type 0 --size 600x400 " + f("t1.png")).status, 0);
  ASSERT_EQ(run("tile build " + f("g.mtx") + " " + f("t0.png") + " " + f("t1.png")).status, 0);
  CliRun list = run("tile list " + f("g.mtx"));
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("chunks:       2"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("30 x 20, 24 bits"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("600 x 400"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("version:      16.0a"), std::string::npos) << list.out;

  ASSERT_EQ(run("tile extract " + f("g.mtx") + " 0 " + f("e0.png")).status, 0);
  EXPECT_EQ(slurp(f("e0.png")), slurp(f("t0.png")));
  EXPECT_EQ(run("tile extract " + f("g.mtx") + " 2 " + f("e2.png")).status, 1);
  EXPECT_EQ(run("tile extract " + f("g.mtx") + " x " + f("e2.png")).status, 2);

  ASSERT_EQ(run("tile fill 60x40 " + f("fill.png") + " " + f("g.mtx") + " 0").status, 0);
  ASSERT_EQ(run("tile fill 60x40 " + f("builtin.png")).status, 0);
  EXPECT_NE(slurp(f("fill.png")), slurp(f("builtin.png")));

  // Both sides above 512: refused, and the group is left as it was.
  ASSERT_EQ(run("texture --type 0 --size 600x600 " + f("big.png")).status, 0);
  std::vector<char> before = slurp(f("g.mtx"));
  CliRun big = run("tile build " + f("g.mtx") + " " + f("big.png"));
  EXPECT_EQ(big.status, 1);
  EXPECT_NE(big.out.find("too large to be a matrix tile"), std::string::npos);
  EXPECT_EQ(slurp(f("g.mtx")), before);

  ASSERT_EQ(run("tile build --backup " + f("g.mtx") + " " + f("t0.png")).status, 0);
  EXPECT_EQ(slurp(f("g.mtx.bak")), before);

  std::string bad = std::string(GW_SOURCE_DIR) + "/tests/data/mtx_malformed/chunk_size_huge.mtx";
  EXPECT_EQ(run("tile list " + bad).status, 1);
  EXPECT_EQ(run("tile").status, 2);
  EXPECT_EQ(run("tile frobnicate x").status, 2);
}

}  // namespace
