// `glyphwright document` and `glyphwright render DOC.gw5`, and the examples
// of the README's gallery.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_runner.h"
#include "temp_folder.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class DocumentCli : public ::testing::Test {
 protected:
  // The user's folders point into the test's own.
  CliRun run(const std::string& args) {
    return runCli(args, "GLYPHWRIGHT_APPDATA=" + folder.path() + " GLYPHWRIGHT_DOCUMENTS=" + folder.path());
  }
  std::string file(const std::string& name) { return folder.file(name); }
  TempFolder folder{"document-cli"};
};

TEST_F(DocumentCli, ADocumentRendersAsItsOptionsDo) {
  const std::string options = "--text Doc --size 24 --face gradient:FFD200-D02000 --frames 6 --dither --quiet";
  ASSERT_EQ(run("document " + options + " -o " + file("d.gw5")).status, 0);
  ASSERT_EQ(run("render " + file("d.gw5") + " --quiet -o " + file("from-doc.gif")).status, 0);
  ASSERT_EQ(run("render " + options + " -o " + file("from-options.gif")).status, 0);
  EXPECT_EQ(readFile(file("from-doc.gif")), readFile(file("from-options.gif")));
  // Writing the document again from itself gives the same bytes.
  ASSERT_EQ(run("document " + file("d.gw5") + " -o " + file("again.gw5")).status, 0);
  EXPECT_EQ(readFile(file("again.gw5")), readFile(file("d.gw5")));
}

TEST_F(DocumentCli, OptionsBesideADocumentChangeWhatTheyName) {
  ASSERT_EQ(run("document --text One --frames 4 -o " + file("one.gw5")).status, 0);
  ASSERT_EQ(run("document " + file("one.gw5") + " --text Two -o " + file("two.gw5")).status, 0);
  const std::string two = readFile(file("two.gw5"));
  EXPECT_NE(two.find("\r\nTXTFLD52=Two\r\n"), std::string::npos);
  EXPECT_NE(two.find("\r\nSPNBTN112=4\r\n"), std::string::npos);  // kept from the document
  ASSERT_EQ(run("render " + file("one.gw5") + " --text Two --quiet -o " + file("a.gif")).status, 0);
  ASSERT_EQ(run("render " + file("two.gw5") + " --quiet -o " + file("b.gif")).status, 0);
  EXPECT_EQ(readFile(file("a.gif")), readFile(file("b.gif")));
}

TEST_F(DocumentCli, CheckReportsEveryIgnoredLineAndWhy) {
  std::ofstream(file("odd.gw5"), std::ios::binary)
      << ";Glyphwright 5 Plugin by Quillmere\r\nFOOBAR52=x\r\nCHKBOX9999=1\r\nSPNBTN57\r\nchkbox20 == 0\r\nshort\r\n";
  CliRun r = run("document --check " + file("odd.gw5"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("line 2: ignored, the tag is not the one this control writes"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("line 3: ignored, the dialog has no control with this identifier"), std::string::npos);
  EXPECT_NE(r.out.find("line 4: ignored, the control refused the value"), std::string::npos);
  EXPECT_NE(r.out.find("line 5: sets chkbox20 == 0"), std::string::npos);
  EXPECT_NE(r.out.find("line 6: ignored, too short"), std::string::npos);
  EXPECT_NE(r.out.find("1 lines set controls, 4 ignored"), std::string::npos);

  std::ofstream(file("damaged.gw5")) << "hello\n";
  r = run("document --check " + file("damaged.gw5"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("This file has been damaged."), std::string::npos) << r.out;
  r = run("render " + file("missing.gw5") + " -o " + file("x.gif"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("There has been an error opening the requested file."), std::string::npos) << r.out;
  EXPECT_EQ(run("document --text x -o " + file("x.gif")).status, 2);
}

// Every example renders, and has its picture in the README's gallery.
TEST_F(DocumentCli, EveryExampleRendersAndIsInTheGallery) {
  const std::string root = GW_SOURCE_DIR;
  const std::string readme = readFile(root + "/README.md");
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root + "/docs/examples")) {
    if (entry.path().extension() != ".gw5") continue;
    ++examples;
    const std::string name = entry.path().stem().string();
    EXPECT_NE(readme.find("](docs/examples/" + name + ".gif)"), std::string::npos) << name << " has no gallery line";
    EXPECT_TRUE(std::filesystem::exists(root + "/docs/examples/" + name + ".gif")) << name << " is not rendered";
    CliRun r = run("render " + entry.path().string() + " --quiet -o " + file(name + ".gif"));
    EXPECT_EQ(r.status, 0) << name << ": " << r.out;
    EXPECT_NE(r.out.find(" frames, "), std::string::npos) << name;
  }
  EXPECT_GE(examples, 1);
}

}  // namespace
