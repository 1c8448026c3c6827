#include "cli/truecolour_writers.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/output_file.h"
#include "cli/png_io.h"
#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw::cli {
namespace {

// RGBA rows of a frame (palette frames through their colour table; a frame's
// transparent index becomes alpha 0; 24-bit pixels are opaque).
bool frameToRgba(const ReceivedFrame& f, int32_t width, int32_t height, std::vector<uint8_t>* out) {
  std::vector<uint8_t> bytes = f.dib;
  BitmapView v = BitmapView::over(bytes.data(), bytes.size());
  if (!v.valid()) return false;
  out->assign(size_t(width) * size_t(height) * 4, 0);
  for (int32_t y = 0; y < v.height() && y < height; ++y) {
    for (int32_t x = 0; x < v.width() && x < width; ++x) {
      uint8_t* px = out->data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
      int64_t value = v.getPixel(x, y);
      if (v.bits() <= 8) {
        const uint8_t* e = v.colourTable() + value * 4;
        px[0] = e[2];
        px[1] = e[1];
        px[2] = e[0];
        px[3] = value == f.transparentIndex ? 0 : 255;
      } else {
        px[0] = uint8_t(value);
        px[1] = uint8_t(value >> 8);
        px[2] = uint8_t(value >> 16);
        px[3] = v.bits() == 32 ? uint8_t(value >> 24) : 255;
      }
    }
  }
  return true;
}

struct Encoder {
  WebPAnimEncoder* enc = nullptr;
  ~Encoder() {
    if (enc) WebPAnimEncoderDelete(enc);
  }
};

}  // namespace

bool writeAnimatedWebp(const ReceivedAnimation& a, const std::string& path, std::string* error) {
  if (a.frames.empty() || a.width <= 0 || a.height <= 0 || a.width > 16383 || a.height > 16383) {
    *error = "the build produced no frames WebP can hold";
    return false;
  }
  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) {
    *error = "the WebP library does not match its headers";
    return false;
  }
  options.anim_params.loop_count = 0;
  Encoder encoder;
  encoder.enc = WebPAnimEncoderNew(a.width, a.height, &options);
  WebPConfig config;
  if (!encoder.enc || !WebPConfigInit(&config)) {
    *error = "out of memory";
    return false;
  }
  config.lossless = 1;
  config.quality = 75;
  int timestamp = 0;
  std::vector<uint8_t> rgba;
  for (const ReceivedFrame& f : a.frames) {
    if (!frameToRgba(f, a.width, a.height, &rgba)) {
      *error = "a frame is not an image";
      return false;
    }
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) {
      *error = "out of memory";
      return false;
    }
    picture.use_argb = 1;
    picture.width = a.width;
    picture.height = a.height;
    bool ok = WebPPictureImportRGBA(&picture, rgba.data(), a.width * 4) &&
              WebPAnimEncoderAdd(encoder.enc, &picture, timestamp, &config);
    WebPPictureFree(&picture);
    if (!ok) {
      *error = std::string("WebP encoding failed: ") + WebPAnimEncoderGetError(encoder.enc);
      return false;
    }
    timestamp += (f.delay > 0 ? f.delay : 1) * 10;
  }
  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAdd(encoder.enc, nullptr, timestamp, nullptr) ||
      !WebPAnimEncoderAssemble(encoder.enc, &data)) {
    *error = std::string("WebP encoding failed: ") + WebPAnimEncoderGetError(encoder.enc);
    return false;
  }
  OutputFile output(path);
  FILE* file = std::fopen(output.temporary().c_str(), "wb");
  bool written = file && std::fwrite(data.bytes, 1, data.size, file) == data.size;
  if (file && std::fclose(file) != 0) written = false;
  WebPDataClear(&data);
  if (!written) {
    *error = path + ": error writing the file";
    return false;
  }
  return output.commit(error);
}

std::string pngSequenceName(const std::string& path, size_t index) {
  std::string stem = path;
  size_t dot = stem.rfind('.');
  size_t slash = stem.find_last_of('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) stem = stem.substr(0, dot);
  char number[16];
  std::snprintf(number, sizeof number, "-%04zu.png", index);
  return stem + number;
}

namespace {

// The file name after the last '/'.
std::string baseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Empties and removes a folder of frames (its files only: it has no folders).
void removeFrameFolder(const std::string& folder) {
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") std::remove((folder + "/" + name).c_str());
    }
    closedir(dir);
  }
  rmdir(folder.c_str());
}

}  // namespace

bool writePngSequence(const ReceivedAnimation& a, const std::string& path, std::string* error) {
  if (a.frames.empty()) {
    *error = "the build produced no frames";
    return false;
  }
  // Every frame is written into a folder beside the target first: a failure
  // part way leaves the older sequence as it was and nothing of this one.
  // A folder left by a killed run is replaced.
  const std::string folder = path + ".tmp";
  removeFrameFolder(folder);
  if (mkdir(folder.c_str(), 0777) != 0) {
    *error = folder + ": cannot create the folder (" + std::strerror(errno) + ")";
    return false;
  }
  struct FolderGuard {
    const std::string& folder;
    ~FolderGuard() { removeFrameFolder(folder); }
  } guard{folder};
  for (size_t i = 0; i < a.frames.size(); ++i) {
    const ReceivedFrame& f = a.frames[i];
    MemBlock block(memAlloc(f.dib.size()));
    MemLock lock(block.get());
    if (!lock) {
      *error = "out of memory";
      return false;
    }
    std::copy(f.dib.begin(), f.dib.end(), lock.data());
    if (!writeBitmapAsPng(block.get(), folder + "/" + baseName(pngSequenceName(path, i)), error)) return false;
  }
  // Complete: frames of an older, longer sequence under the same name go
  // first (they would pass for frames of this one), then the new ones move in.
  for (size_t i = a.frames.size(); std::remove(pngSequenceName(path, i).c_str()) == 0; ++i) {
  }
  for (size_t i = 0; i < a.frames.size(); ++i) {
    const std::string name = pngSequenceName(path, i);
    if (std::rename((folder + "/" + baseName(name)).c_str(), name.c_str()) != 0) {
      *error = name + ": cannot put the frame in place (" + std::strerror(errno) + ")";
      return false;
    }
  }
  return true;
}

}  // namespace gw::cli
