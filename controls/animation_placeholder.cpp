#include "controls/animation_placeholder.h"

#include <vector>

#include "base/le_bytes.h"
#include "controls/animation_block.h"
#include "platform/bitmap.h"
#include "platform/resources.h"

namespace gw {

int32_t placeholderDelay(bool delaysInHundredths) { return delaysInHundredths ? 60 : 600; }

MemHandle placeholderAnimation(uint32_t background, bool delaysInHundredths) {
  std::optional<ResourceBytes> res = findResource(kResBitmap, ResourceName::number(kPlaceholderBitmap));
  if (!res || res->size < kBitmapHeaderSize) return 0;
  const uint8_t* dib = res->data;
  const int32_t side = readI32(dib + 4);
  const int32_t height = readI32(dib + 8);
  if (readU32(dib) != kBitmapHeaderSize || readU16(dib + 14) != 32 || readU32(dib + 16) != 0) return 0;
  if (side <= 0 || side > 256 || height == INT32_MIN) return 0;
  const int32_t rows = height < 0 ? -height : height;
  const int32_t count = rows / side;
  const size_t stride = size_t(side) * 4;
  if (count <= 0 || res->size - kBitmapHeaderSize < stride * size_t(rows)) return 0;
  const bool bottomUp = height > 0;
  const uint8_t* pixels = dib + kBitmapHeaderSize;

  std::vector<MemBlock> frames;
  std::vector<AnimationFrameSource> sources;
  for (int32_t k = 0; k < count; ++k) {
    MemBlock frame(bitmapCreateTrueColour(side, side, 24));
    if (!frame) return 0;
    {
      MemLock lock(frame.get());
      BitmapView view = BitmapView::of(lock);
      if (!view.valid()) return 0;
      for (int32_t y = 0; y < side; ++y) {
        const int32_t strip = k * side + y;  // from the top of the strip
        const uint8_t* src = pixels + stride * size_t(bottomUp ? rows - 1 - strip : strip);
        uint8_t* dst = view.row(y);
        for (int32_t x = 0; x < side; ++x) {
          const uint8_t* s = src + size_t(x) * 4;  // blue, green, red, alpha
          const uint32_t a = s[3];
          for (int c = 0; c < 3; ++c) {
            const uint32_t back = (background >> (8 * (2 - c))) & 0xFF;  // 0x00BBGGRR, blue first here
            dst[size_t(x) * 3 + c] = uint8_t((a * s[c] + (255 - a) * back) / 255);
          }
        }
      }
    }
    sources.push_back({frame.get(), placeholderDelay(delaysInHundredths)});
    frames.push_back(std::move(frame));
  }
  return animationBlockBuild(side, side, animation_block::kPlaceholderFlags, sources.data(), sources.size());
}

}  // namespace gw
