// A build through the real dialog: the test host presses "&Test" and checks
// the callback sequence a host sees, and keeps the frames it was given so the
// runner can compare them with the native build of the same settings.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/wire_pointer.h"
#include "tests/win32/harness.h"

using harness::DialogScript;
using harness::Driver;
using harness::Plugin;

namespace {

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

void writeU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::string appDataFile(const std::string& name) {
  char appData[MAX_PATH] = {};
  GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
  CreateDirectoryA((std::string(appData) + "\\Quillmere").c_str(), nullptr);
  return std::string(appData) + "\\Quillmere\\" + name;
}

// A packed bitmap as a .bmp file: the file header, then the block as it is.
bool saveDib(const std::vector<uint8_t>& dib, const std::string& path) {
  if (dib.size() < 40) return false;
  uint32_t bits = dib[14] | (dib[15] << 8);
  uint32_t table = bits <= 8 ? (4u << bits) : 0;
  uint8_t header[14] = {'B', 'M'};
  writeU32(header + 2, uint32_t(14 + dib.size()));
  writeU32(header + 10, 14 + 40 + table);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(header, 1, 14, f) == 14 && std::fwrite(dib.data(), 1, dib.size(), f) == dib.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

GW_TEST(TestButtonBuildsAndHandsEveryFrameToTheHost) {
  // The settings the dialog loads: the same file the native comparison uses.
  std::string settings = harness::readFile(harness::exeFolder() + "build_test.ini");
  CHECK(!settings.empty());
  {
    FILE* f = std::fopen(appDataFile("glwplug5.ini").c_str(), "wb");
    CHECK(f != nullptr);
    if (f) {
      std::fwrite(settings.data(), 1, settings.size(), f);
      std::fclose(f);
    }
  }
  Plugin plugin;
  std::vector<std::vector<uint8_t>> frames;
  std::vector<uint8_t> task;
  plugin.answer = [&](void*, int32_t code, int32_t, void* p) -> int32_t {
    if (code == 5 || code == 1) {
      task.assign(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + 1069);
      return 1;
    }
    if (code == 2) {
      const auto* record = static_cast<const uint8_t*>(p);
      HGLOBAL image = static_cast<HGLOBAL>(gw::pointerFromWire(u32(record + 8)));
      const auto* bytes = static_cast<const uint8_t*>(GlobalLock(image));
      if (!bytes) return 0;
      frames.emplace_back(bytes, bytes + GlobalSize(image));
      GlobalUnlock(image);
      return 1;
    }
    return 0;
  };
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      d.press(dlg, 24);
      // The build runs inside the dialog's loop; the dialog stays open after it.
      for (int waited = 0; waited < 60000 && plugin.calls.size() < 4; waited += 100) Sleep(100);
      bool ended = false;
      for (int waited = 0; waited < 60000 && !ended; waited += 100) {
        Sleep(100);
        for (const auto& c : plugin.calls) ended |= c.code == 4;
      }
      CHECK(ended);
      // A message box means the build failed: say what it said, then close it
      // so the dialog can end.
      if (HWND box = d.waitFor("Message", ended ? 200 : 2000)) {
        std::printf("  message: %s\n", d.text(box, 101).c_str());
        CHECK(box == nullptr);
        d.press(box, 1);
        d.waitGone(box);
      }
      CHECK(IsWindow(dlg));
      d.press(dlg, 2);
      d.waitGone(dlg);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }

  // The sequence: 18 first; Building, Remapping; 5 (Test), 15, a 2 per frame, 3, 4.
  std::vector<int> codes;
  std::vector<std::string> stages;
  bool started = false;
  for (const auto& c : plugin.calls) {
    if (c.code == 18) started = true;
    if (!started || c.code == 13) continue;
    if (c.code == 10) stages.push_back(c.text);
    else codes.push_back(c.code);
  }
  CHECK(stages.size() >= 3);
  if (stages.size() >= 3) {
    CHECK_EQ(stages[0], std::string("Building"));
    CHECK_EQ(stages[1], std::string("Building"));
    CHECK_EQ(stages.back(), std::string("Remapping"));
  }
  std::vector<int> expected = {18, 5, 15, 2, 2, 2, 2, 2, 2, 3, 4};
  CHECK(codes == expected);
  CHECK_EQ(frames.size(), size_t(6));
  CHECK_EQ(task.size(), size_t(1069));
  if (task.size() == 1069) {
    CHECK_EQ(u32(task.data() + 800), 6u);
    CHECK_EQ(u32(task.data() + 16), 8u);
  }
  for (size_t i = 0; i < frames.size(); ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "gw_build_frame_%02u.bmp", unsigned(i));
    CHECK(saveDib(frames[i], harness::tempPath(name)));
  }
}
