#include "tests/win32/test_build.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/wire_pointer.h"

namespace harness {

namespace {

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Host callback codes and the task record's length.
constexpr int32_t kNewTask = 1, kAddFrame = 2, kEndTask = 4, kNewTestTask = 5, kProgress = 13, kStage = 10,
                  kStart = 18;
constexpr size_t kTaskRecordSize = 1069;

// The animation block's parts: a header, one chunk before each frame's
// bitmap, an end mark.
constexpr size_t kBlockHeader = 870, kFrameChunk = 2411, kBlockEnd = 76;

}  // namespace

bool writeConfiguration(const std::string& settings) {
  char appData[MAX_PATH] = {};
  GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
  const std::string folder = std::string(appData) + "\\Quillmere";
  CreateDirectoryA(folder.c_str(), nullptr);
  FILE* f = std::fopen((folder + "\\glwplug5.ini").c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(settings.data(), 1, settings.size(), f) == settings.size();
  return std::fclose(f) == 0 && ok;
}

int32_t BuildCapture::answer(int32_t code, void* p) {
  if (code == kNewTask || code == kNewTestTask) {
    task.assign(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + kTaskRecordSize);
    return 1;
  }
  if (code == kAddFrame) {
    const auto* record = static_cast<const uint8_t*>(p);
    HGLOBAL image = static_cast<HGLOBAL>(gw::pointerFromWire(u32(record + 8)));
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(image));
    if (!bytes) return 0;
    frames.emplace_back(bytes, bytes + GlobalSize(image));
    GlobalUnlock(image);
    return 1;
  }
  if (code == kEndTask) ++ended;
  return 0;
}

bool pressTestAndWait(Driver& d, HWND dialog, const BuildCapture& capture) {
  const int before = capture.ended;
  d.press(dialog, 24);
  // The build runs inside the dialog's loop; the dialog stays open after it.
  bool done = false;
  for (int waited = 0; waited < 120000 && !done; waited += 50) {
    Sleep(50);
    done = capture.ended > before;
  }
  if (HWND box = d.waitFor("Message", done ? 200 : 2000)) {
    std::printf("  message: %s\n", d.text(box, 101).c_str());
    d.press(box, 1);
    d.waitGone(box);
    return false;
  }
  return done;
}

std::vector<int> buildCodes(const Plugin& plugin, std::vector<std::string>* stages) {
  std::vector<int> codes;
  for (const CallbackCall& c : plugin.calls) {
    if (c.code == kStart) {
      codes.clear();
      if (stages) stages->clear();
    }
    if (codes.empty() && c.code != kStart) continue;
    if (c.code == kProgress) continue;
    if (c.code == kStage) {
      if (stages) stages->push_back(c.text);
    } else {
      codes.push_back(c.code);
    }
  }
  return codes;
}

std::vector<int> expectedTestBuildCodes(size_t frames) {
  std::vector<int> codes = {kStart, kNewTestTask, 15};
  codes.insert(codes.end(), frames, kAddFrame);
  codes.push_back(3);
  codes.push_back(kEndTask);
  return codes;
}

bool saveDib(const std::vector<uint8_t>& dib, const std::string& path) {
  if (dib.size() < 40) return false;
  uint32_t bits = dib[14] | (dib[15] << 8);
  uint32_t table = bits <= 8 ? (4u << bits) : 0;
  uint8_t header[14] = {'B', 'M'};
  put32(header + 2, uint32_t(14 + dib.size()));
  put32(header + 10, 14 + 40 + table);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(header, 1, 14, f) == 14 && std::fwrite(dib.data(), 1, dib.size(), f) == dib.size();
  return std::fclose(f) == 0 && ok;
}

bool saveFrames(const std::vector<std::vector<uint8_t>>& frames, const std::string& prefix) {
  bool ok = true;
  for (size_t i = 0; i < frames.size(); ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "_%02u.bmp", unsigned(i));
    ok &= saveDib(frames[i], tempPath(prefix + name));
  }
  return ok;
}

bool readBmpAsDib(const std::string& path, std::vector<uint8_t>* dib) {
  const std::string file = readFile(path);
  const auto* p = reinterpret_cast<const uint8_t*>(file.data());
  if (file.size() < 54 || p[0] != 'B' || p[1] != 'M' || u32(p + 14) < 40) return false;
  const int32_t width = int32_t(u32(p + 18)), height = int32_t(u32(p + 22));
  const uint32_t bits = p[28] | (p[29] << 8), compression = u32(p + 30), offset = u32(p + 10);
  if (width <= 0 || width > 4096 || height <= 0 || height > 4096 || bits != 24 || compression != 0) return false;
  const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
  const size_t pixels = rowBytes * size_t(height);
  if (offset < 54 || offset > file.size() || file.size() - offset < pixels) return false;
  // Only the 40-byte header goes over, whatever the file's header holds.
  dib->assign(p + 14, p + 54);
  put32(dib->data(), 40);
  put32(dib->data() + 20, uint32_t(pixels));
  dib->insert(dib->end(), p + offset, p + offset + pixels);
  return true;
}

HGLOBAL makeAnimationBlock(const std::vector<std::vector<uint8_t>>& frames, const std::vector<uint32_t>& delays) {
  if (frames.empty() || delays.size() != frames.size()) return nullptr;
  size_t size = kBlockHeader + kBlockEnd;
  for (const auto& f : frames) {
    if (f.size() < 40 || std::memcmp(f.data() + 4, frames[0].data() + 4, 8) != 0) return nullptr;
    size += kFrameChunk + f.size();
  }
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* p = h ? static_cast<uint8_t*>(GlobalLock(h)) : nullptr;
  if (!p) {
    if (h) GlobalFree(h);
    return nullptr;
  }
  std::memcpy(p, "ANMo", 4);
  put32(p + 4, kBlockHeader);
  put32(p + 8, 4096);
  put32(p + 16, uint32_t(frames.size()));
  std::memcpy(p + 24, frames[0].data() + 4, 8);  // width, height
  size_t at = kBlockHeader;
  for (size_t k = 0; k < frames.size(); ++k) {
    uint8_t* c = p + at;
    std::memcpy(c, "ANMe", 4);
    put32(c + 4, kFrameChunk);
    put32(c + 8, 4096);
    put32(c + 16, uint32_t(frames[k].size()));
    put32(c + 29, delays[k]);  // unaligned, as the layout has it
    std::memcpy(c + kFrameChunk, frames[k].data(), frames[k].size());
    at += kFrameChunk + frames[k].size();
  }
  std::memcpy(p + at, "ANMx", 4);
  put32(p + at + 4, kBlockEnd);
  put32(p + at + 8, 4096);
  GlobalUnlock(h);
  return h;
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace harness
