// `glyphwright document` and `glyphwright render DOC.gw5`, and the examples
// of the README's gallery.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/animation_file.h"
#include "cli_runner.h"
#include "controls/animation_block.h"
#include "platform/memory.h"
#include "temp_folder.h"

namespace gw {
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
  // Run in `from`, when given (relative paths in the arguments lead from there).
  CliRun run(const std::string& args, const std::string& from = "") {
    const std::string user = "GLYPHWRIGHT_APPDATA=" + folder.path() + " GLYPHWRIGHT_DOCUMENTS=" + folder.path();
    return runCli(args, from.empty() ? user : "cd '" + from + "' && " + user);
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

// The animation "Omni" lays the line over is part of the design: the
// document names it, and renders as the same options do.
TEST_F(DocumentCli, AnAnimationOptionIsKeptInTheDocument) {
  const std::string waves = std::string(GW_SOURCE_DIR) + "/docs/examples/omni_waves.gif";
  const std::string options = "--animation " + waves + " --text Om --size 20 --quiet";
  ASSERT_EQ(run("document " + options + " -o " + file("omni.gw5")).status, 0);
  EXPECT_NE(readFile(file("omni.gw5")).find("\r\nANMCTL524=" + waves + "\r\n"), std::string::npos);
  ASSERT_EQ(run("render " + file("omni.gw5") + " --quiet -o " + file("from-doc.gif")).status, 0);
  ASSERT_EQ(run("render " + options + " -o " + file("from-options.gif")).status, 0);
  EXPECT_EQ(readFile(file("from-doc.gif")), readFile(file("from-options.gif")));
  CliRun r = run("document --animation " + file("missing.gif") + " -o " + file("never.gw5"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("cannot open the animation"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(file("never.gw5")));
}

// A document that names its animation by a relative path renders the same
// from any working folder when the animation lies beside it; one whose
// animation is found nowhere still renders, and says so.
TEST_F(DocumentCli, ARelativeAnimationIsFoundBesideTheDocument) {
  const std::string waves = std::string(GW_SOURCE_DIR) + "/docs/examples/omni_waves.gif";
  std::filesystem::create_directories(file("trip"));
  std::filesystem::copy_file(waves, file("trip/waves.gif"));
  ASSERT_EQ(run("document --animation " + waves + " --text Om --size 20 --quiet -o " + file("a.gw5")).status, 0);
  std::string text = readFile(file("a.gw5"));
  const size_t at = text.find("ANMCTL524=") + 10;
  text.replace(at, text.find("\r\n", at) - at, "waves.gif");
  std::ofstream(file("trip/omni.gw5"), std::ios::binary) << text;
  ASSERT_EQ(run("render " + file("a.gw5") + " --quiet -o " + file("absolute.gif")).status, 0);
  CliRun r = run("render trip/omni.gw5 --quiet -o " + file("relative.gif"), folder.path());
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("not found"), std::string::npos) << r.out;
  EXPECT_EQ(readFile(file("relative.gif")), readFile(file("absolute.gif")));

  std::filesystem::remove(file("trip/waves.gif"));
  r = run("render trip/omni.gw5 --quiet -o " + file("without.gif"), folder.path());
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("the document's animation waves.gif is not found; the built-in animation is used"),
            std::string::npos)
      << r.out;
  EXPECT_NE(readFile(file("without.gif")), readFile(file("absolute.gif")));
}

// The line of one control in a document's text, or "" when it has none.
std::string documentLine(const std::string& document, const std::string& head) {
  size_t at = document.find("\r\n" + head);
  if (at == std::string::npos) return "";
  at += 2;
  return document.substr(at, document.find("\r\n", at) - at);
}

// --face, --shadow and --background name the material buttons of whichever
// effect's page is chosen, in the page's order; a role the page lacks is an
// error, not a silent no-op.
TEST_F(DocumentCli, MaterialOptionsSetTheButtonsOfTheChosenPage) {
  struct Case {
    const char* effect;
    std::vector<std::pair<const char*, const char*>> roles;  // option, its button's line head
    const char* absent;                                         // a role the page has not
  };
  const Case cases[] = {
      {"Simple", {{"face", "MATLBT100="}, {"shadow", "MATLBT102="}, {"background", "MATLBT104="}}, nullptr},
      {"Ring", {{"face", "MATLBT130="}, {"background", "MATLBT132="}}, "shadow"},
      {"Zipper", {{"face", "MATLBT610="}}, "background"},
  };
  for (const Case& c : cases) {
    const std::string effect = std::string("--effect '") + c.effect + "' ";
    ASSERT_EQ(run("document " + effect + "-o " + file("plain.gw5")).status, 0) << c.effect;
    const std::string plain = readFile(file("plain.gw5"));
    for (const auto& role : c.roles) {
      CliRun r = run("document " + effect + "--" + role.first + " colour:123456 -o " + file("set.gw5"));
      ASSERT_EQ(r.status, 0) << c.effect << " --" << role.first << ": " << r.out;
      const std::string set = readFile(file("set.gw5"));
      EXPECT_NE(documentLine(set, role.second), "") << c.effect << " " << role.second;
      EXPECT_NE(documentLine(set, role.second), documentLine(plain, role.second)) << c.effect << " --" << role.first;
      for (const auto& other : c.roles) {
        if (other.second == role.second) continue;
        EXPECT_EQ(documentLine(set, other.second), documentLine(plain, other.second))
            << c.effect << " --" << role.first << " changed " << other.second;
      }
    }
    if (c.absent) {
      CliRun r = run("document " + effect + "--" + c.absent + " colour:123456 -o " + file("never.gw5"));
      EXPECT_EQ(r.status, 1) << c.effect << " --" << c.absent;
      EXPECT_NE(r.out.find("does not apply to the effect"), std::string::npos) << r.out;
    }
  }
}

// The example documents, by name, as the source tree holds them now.
std::vector<std::string> exampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(GW_SOURCE_DIR) + "/docs/examples"))
    if (entry.path().extension() == ".gw5") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct AnimationShape {
  int32_t width = 0, height = 0;
  std::vector<int32_t> delays;
};

AnimationShape shapeOf(const std::string& gif) {
  std::string error;
  MemBlock block(cli::decodeAnimationFile(gif, &error));
  EXPECT_TRUE(block) << gif << ": " << error;
  AnimationShape shape;
  AnimationInfo info;
  if (!block || !animationValidate(block.get(), &info)) return shape;
  shape.width = info.width;
  shape.height = info.height;
  for (int32_t i = 0; i < info.frames; ++i) {
    int32_t delay = 0;
    MemBlock frame(animationFrame(block.get(), i, false, &delay));
    shape.delays.push_back(delay);
  }
  return shape;
}

class Example : public DocumentCli, public ::testing::WithParamInterface<std::string> {};

// Every example renders from the source tree (where the paths it names
// lead), has its picture and its line in the README's gallery, and the
// picture is what the document renders now: the same size, frames and
// delays. Pixels are not compared: another machine's font rasteriser may
// shade edges differently.
TEST_P(Example, RendersAsItsGalleryPictureShows) {
  const std::string root = GW_SOURCE_DIR;
  const std::string name = GetParam();
  const std::string picture = root + "/docs/examples/" + name + ".gif";
  EXPECT_NE(readFile(root + "/README.md").find("](docs/examples/" + name + ".gif)"), std::string::npos)
      << name << " has no gallery line";
  ASSERT_TRUE(std::filesystem::exists(picture)) << name << " is not rendered";
  EXPECT_LE(std::filesystem::file_size(picture), 300u * 1024) << name << ": a gallery picture stays small";
  CliRun r = run("render docs/examples/" + name + ".gw5 --quiet -o " + file(name + ".gif"), root);
  ASSERT_EQ(r.status, 0) << name << ": " << r.out;
  const AnimationShape now = shapeOf(file(name + ".gif")), shown = shapeOf(picture);
  EXPECT_EQ(now.width, shown.width) << name;
  EXPECT_EQ(now.height, shown.height) << name;
  EXPECT_EQ(now.delays, shown.delays) << name << ": render the examples again (scripts/render_examples.sh)";
}

INSTANTIATE_TEST_SUITE_P(Gallery, Example, ::testing::ValuesIn(exampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace gw
