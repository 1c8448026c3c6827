// Choosing the stored value of pixels that a GIF frame leaves unchanged.
//
// A frame drawn over the previous ones may store such a pixel either as its
// transparent index or as the index already shown there; the picture is the
// same either way. Following the frame's LZW coding as it would run, each
// such pixel takes the value that continues the string being matched, so
// the coder emits fewer, longer codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gw::cli {

// `values`: the frame's box, row after row, with `transparent` where the
// pixel is unchanged; `beneath`: the index shown there now, or -1 when
// unknown (then the transparent index is kept). Returns the values to store.
std::vector<uint8_t> choosePixelsForLzw(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath,
                                        int transparent, int bits);

}  // namespace gw::cli
