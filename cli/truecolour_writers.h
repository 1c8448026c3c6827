// Outputs for true-colour and alpha builds, which a GIF cannot hold:
// an animated WebP (lossless, with the frames' delays) or numbered PNG files.
#pragma once

#include <string>

#include "cli/received_animation.h"

namespace gw::cli {

// Written to a temporary beside `path` and renamed into place.
bool writeAnimatedWebp(const ReceivedAnimation& animation, const std::string& path, std::string* error);

// One PNG per frame: "name.png" becomes "name-0000.png", "name-0001.png", ...
// The frames are written into the folder "name.png.tmp" beside them and moved
// into place when all are written; frames of an older sequence numbered past
// the new last one are removed then.
// Palette frames are written with their colour table; true-colour frames as RGB,
// 32-bit frames as RGBA.
bool writePngSequence(const ReceivedAnimation& animation, const std::string& path, std::string* error);

std::string pngSequenceName(const std::string& path, size_t index);

}  // namespace gw::cli
