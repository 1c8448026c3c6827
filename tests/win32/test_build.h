// What a host does around a Test build in the real dialog: hand the plug-in
// its settings, keep the task and every frame it is given, press "&Test" and
// wait for the end, and write the frames out for the native comparison.
//
//   harness::writeConfiguration(settings);
//   harness::BuildCapture capture;
//   plugin.answer = [&](void*, int32_t code, int32_t, void* p) { return capture.answer(code, p); };
//   ... inside a DialogScript:  CHECK(harness::pressTestAndWait(d, dlg, capture));
//   harness::saveFrames(capture.frames, "gw_effect_12_simple");
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/win32/harness.h"

namespace harness {

// Writes the plug-in's configuration file (%APPDATA%\Quillmere\glwplug5.ini),
// which the dialog loads as it opens.
bool writeConfiguration(const std::string& settings);

// The host's part of a build: the task record (codes 1 and 5) and a copy of
// every frame (code 2). Its answer is called on the plug-in's thread while a
// script thread waits on `ended`.
struct BuildCapture {
  std::vector<uint8_t> task;
  std::vector<std::vector<uint8_t>> frames;
  std::atomic<int> ended{0};  // code 4 calls seen
  int32_t answer(int32_t code, void* p);
};

// Presses "&Test" and waits until the build has ended. A message box the
// build raised is printed and closed (and the build counts as failed).
bool pressTestAndWait(Driver& d, HWND dialog, const BuildCapture& capture);

// The host's codes of the last build in the order they came, from its 18 on,
// without progress (13); the stage names (10) go to *stages.
std::vector<int> buildCodes(const Plugin& plugin, std::vector<std::string>* stages);
// The codes a Test build of `frames` frames with a comment gives a host.
std::vector<int> expectedTestBuildCodes(size_t frames);

// A packed bitmap as a .bmp file in the temporary folder, and every frame
// as "<prefix>_NN.bmp" there (the runner copies them out of wine's prefix).
bool saveDib(const std::vector<uint8_t>& dib, const std::string& path);
bool saveFrames(const std::vector<std::vector<uint8_t>>& frames, const std::string& prefix);

// A 24-bit .bmp file as the packed bitmap a host hands over; false when the
// file is missing or not an uncompressed 24-bit bitmap.
bool readBmpAsDib(const std::string& path, std::vector<uint8_t>* dib);

// An animation block as a host answers request 16 with: 24-bit frames of one
// size, delays in the host's time unit. Null when the frames do not fit.
HGLOBAL makeAnimationBlock(const std::vector<std::vector<uint8_t>>& frames, const std::vector<uint32_t>& delays);

// Every file matching `pattern` (e.g. "*.ini") in `folder`, sorted by name.
std::vector<std::string> listFiles(const std::string& folder, const std::string& pattern);

}  // namespace harness
