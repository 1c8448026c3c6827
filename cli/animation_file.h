// The command-line host's answer to the plug-in's animation request (code
// 16): an animation file decoded into an animation block exactly as an
// editor would hand it over.
//
//   std::string error;
//   gw::MemBlock anim(gw::cli::decodeAnimationFile("spin.gif", &error));
//   if (!anim) fail(error);
//
// Animated GIF (giflib: every frame composited on the logical screen with
// its disposal, local colour tables and transparency), animated WebP
// (libwebp's animation decoder) and PNG (one frame). Frames are 24-bit, the
// size of the file's canvas; pixels the file leaves transparent show the
// file's own background colour (the GIF's screen background, the WebP's
// canvas colour; black when a GIF has no global colour table). Delays are in
// hundredths of a second, as this host counts time.
#pragma once

#include <string>

#include "platform/memory.h"

namespace gw::cli {

// The block's frames, and the decoder's own canvases, may not pass this: a
// short file can declare a huge canvas and thousands of frames. The block is
// built from the frames, so decoding peaks at about twice this.
constexpr size_t kMaxAnimationBytes = size_t(256) << 20;

// 0 with a one-line *error when the file cannot be read or decoded.
MemHandle decodeAnimationFile(const std::string& path, std::string* error);

}  // namespace gw::cli
