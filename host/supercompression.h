// Supercompression of a build: pixels that do not change from one frame to
// the next are shown through a transparent index. The screen image is what a
// viewer shows so far (a copy of frame 0 to start with); each later frame is
// compared with it.
//
//   gw::MemBlock mask(gw::unchangedMask(frame, screen));   // screen updated
//
// The mask is 1-bit with a black-and-white palette: 1 where the frame leaves
// the screen as it is, 0 where it paints something new.
#pragma once

#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw {

// A new mask of the screen image's size; every pixel the frame changes is
// copied into `screen`. Pixels of the screen the frame does not cover count
// as unchanged; pixels of the frame beyond the screen have no mask value and
// are drawn. 0 when the mask cannot be made (the screen is then untouched).
MemHandle unchangedMask(const BitmapView& frame, const BitmapView& screen);

}  // namespace gw
