// What a host keeps of a build: the task's fields, the background it was
// told, and a copy of every frame (the plug-in frees its own images when the
// build ends, so a host copies what it keeps). A host that uses the frames
// before the task ends may keep the plug-in's handles instead of copies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gw::cli {

struct ReceivedFrame {
  std::vector<uint8_t> dib;  // the packed bitmap as handed over (or empty, see image)
  uint32_t image = 0;        // without a copy: the plug-in's bitmap, readable until the task ends
  int bits = 0;              // bits per pixel of the bitmap (0: see dib)
  int32_t delay = 0;         // hundredths of a second
  int32_t index = 0;
  int32_t transparentIndex = -1;
  bool transparent = false;
};

struct ReceivedAnimation {
  bool testTask = false;  // code 5 rather than 1
  uint32_t colourBits = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t palette[768] = {};
  uint32_t frameCount = 0;
  int32_t taskTransparentIndex = 0;
  int32_t backgroundKind = 0;  // 100 colour, 101 index
  uint32_t background = 0;
  std::vector<ReceivedFrame> frames;
  bool hasComment = false;
  std::string comment;
  bool ended = false;
  bool succeeded = false;  // code 4 with a = 1
};

// Whether the frames are true colour (more than 8 bits a pixel). The task's
// colourBits cannot tell: a true-colour build reports the bits of the
// standard palette chosen in the dialog, as hosts have always been told.
inline bool hasTrueColourFrames(const ReceivedAnimation& a) {
  for (const ReceivedFrame& f : a.frames)
    if (f.bits > 8 || (f.dib.size() >= 16 && (f.dib[14] | (f.dib[15] << 8)) > 8)) return true;
  return false;
}

}  // namespace gw::cli
