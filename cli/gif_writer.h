// Writes a received build as an animated GIF with giflib: the task palette
// as the global colour table at the task's colour bits, one image per frame
// with its delay and transparent index, endless looping, and the comment.
//
// Disposal: a build with the Transparent option restores the background
// after each frame, so transparent pixels show what is behind the animation;
// otherwise frames are left in place, so the transparent pixels of a
// supercompressed frame show the unchanged pixels beneath.
#pragma once

#include <string>

#include "cli/received_animation.h"

namespace gw::cli {

// Written to a temporary beside `path` and renamed into place.
bool writeGif(const ReceivedAnimation& animation, const std::string& path, std::string* error);

}  // namespace gw::cli
