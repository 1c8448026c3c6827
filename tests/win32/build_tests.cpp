// Builds through the real dialog, one for every effect: the test host loads
// each effect's settings, presses "&Test", checks the callback sequence a host
// sees, and keeps the frames it was given so the runner can compare them with
// the native build of the same settings (compare_with_native.sh).
//
// The settings are the files of tests/win32/data/effects/, which the runner
// copies into "effect_builds" beside this program. A settings file may name
// an animation for "Omni" (Style011AnimPath, a name in that folder); the
// runner leaves its frames there as "<name>_NN.bmp" with their delays in
// "<name>.delays", and this host hands them over when the plug-in asks.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/wire_pointer.h"
#include "tests/win32/harness.h"
#include "tests/win32/test_build.h"

using harness::BuildCapture;
using harness::DialogScript;
using harness::Driver;
using harness::Plugin;

namespace {

constexpr char kAnimationKey[] = "Style011AnimPath = ";

// The animation a settings file names, as this host decoded it.
struct HostAnimation {
  std::string path;  // the full path the plug-in asks for
  std::vector<std::vector<uint8_t>> frames;
  std::vector<uint32_t> delays;
  int requests = 0;
};

// Makes a named animation's path absolute in `settings` and reads its frames.
// False when the settings name one whose frames are not there.
bool resolveAnimation(const std::string& folder, std::string* settings, HostAnimation* animation) {
  const size_t at = settings->find(kAnimationKey);
  if (at == std::string::npos) return true;
  const size_t value = at + sizeof kAnimationKey - 1;
  const size_t end = settings->find_first_of("\r\n", value);
  const std::string name = settings->substr(value, end == std::string::npos ? std::string::npos : end - value);
  animation->path = folder + name;
  settings->replace(value, name.size(), animation->path);
  const std::string stem = folder + name.substr(0, name.find_last_of('.'));
  for (int k = 0;; ++k) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%02d.bmp", k);
    std::vector<uint8_t> dib;
    if (!harness::readBmpAsDib(stem + suffix, &dib)) break;
    animation->frames.push_back(std::move(dib));
  }
  const std::string delays = harness::readFile(stem + ".delays");
  size_t pos = 0;
  while (pos < delays.size()) {
    size_t next = delays.find('\n', pos);
    if (next == std::string::npos) next = delays.size();
    if (next > pos) animation->delays.push_back(uint32_t(std::strtoul(delays.c_str() + pos, nullptr, 10)));
    pos = next + 1;
  }
  return !animation->frames.empty() && animation->delays.size() == animation->frames.size();
}

// Request 16: the animation named by path, as a new block.
int32_t answerAnimationRequest(HostAnimation& animation, void* p) {
  auto* record = static_cast<char*>(p);
  ++animation.requests;
  if (animation.path.empty() || animation.path != record + 20) return 0;
  return int32_t(gw::wireFromPointer(harness::makeAnimationBlock(animation.frames, animation.delays)));
}

}  // namespace

GW_TEST(TestBuildOfEveryEffectHandsEveryFrameToTheHost) {
  const std::string folder = harness::exeFolder() + "effect_builds\\";
  const std::vector<std::string> files = harness::listFiles(folder, "*.ini");
  CHECK_EQ(files.size(), size_t(21));
  for (const std::string& file : files) {
    const std::string stem = file.substr(0, file.size() - 4);
    std::printf("  %s\n", stem.c_str());
    std::fflush(stdout);
    std::string settings = harness::readFile(folder + file);
    HostAnimation animation;
    CHECK(resolveAnimation(folder, &settings, &animation));
    CHECK(harness::writeConfiguration(settings));

    Plugin plugin;
    BuildCapture capture;
    plugin.answer = [&](void*, int32_t code, int32_t, void* p) -> int32_t {
      return code == 16 ? answerAnimationRequest(animation, p) : capture.answer(code, p);
    };
    {
      DialogScript script([&](Driver& d) {
        // A loaded machine can take long to open the dialog; a dialog found
        // too late would be left open and hang the run.
        HWND dlg = d.waitFor("Glyphwright #5", 60000);
        CHECK(dlg != nullptr);
        if (!dlg) return;
        CHECK(harness::pressTestAndWait(d, dlg, capture));
        CHECK(IsWindow(dlg));
        d.press(dlg, 2);
        d.waitGone(dlg);
      });
      // Delays in hundredths, as the command-line host counts them.
      CHECK_EQ(plugin.doBuild(0x1000, 2), 1);
    }

    // The sequence: 18 first; Building, Remapping; 5 (Test), 15, a 2 per frame, 3, 4.
    std::vector<std::string> stages;
    const std::vector<int> codes = harness::buildCodes(plugin, &stages);
    CHECK(stages.size() >= 3);
    if (stages.size() >= 3) {
      CHECK_EQ(stages[0], std::string("Building"));
      CHECK_EQ(stages.back(), std::string("Remapping"));
    }
    CHECK_EQ(capture.task.size(), size_t(1069));
    const uint8_t* count = capture.task.size() == 1069 ? capture.task.data() + 800 : nullptr;
    const uint32_t announced = count ? count[0] | count[1] << 8 | count[2] << 16 | uint32_t(count[3]) << 24 : 0;
    // Short enough for wine, long enough that the motion shows.
    CHECK(announced >= 4 && announced <= 8);
    CHECK_EQ(capture.frames.size(), size_t(announced));
    CHECK(codes == harness::expectedTestBuildCodes(announced));
    if (!animation.path.empty()) {
      // "Omni" runs over the host's animation, one frame per frame.
      CHECK_EQ(animation.requests, 1);
      CHECK_EQ(capture.frames.size(), animation.frames.size());
    }
    CHECK(harness::saveFrames(capture.frames, "gw_effect_" + stem));
  }
}
