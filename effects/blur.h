// The soft-shadow blur: a separable 41-tap blur of an 8-bit mask, first along
// every row, then along every column.
//
//   gw::BlurKernel k = gw::blurKernel(softness);   // softness 1..40
//   gw::blurMask(shadowMask, k);                    // in place
//
// The kernel is a Gaussian sampled three times per tap: with
// sigma = (softness + 2) / 10, each i in -61..61 adds exp(-i^2 / (18 sigma^2))
// to tap (61 + i) / 3, and the taps are divided by their sum. An output sample
// is the weighted sum of the 41 inputs centred on it, rounded half up; within
// 20 samples of a line's end only the taps inside the line count and the sum
// is divided by their weight. A line shorter than 41 samples is left as it is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/memory.h"

namespace gw {

constexpr int kBlurRadius = 20;
constexpr int kBlurTaps = 2 * kBlurRadius + 1;

using BlurKernel = std::array<double, kBlurTaps>;

BlurKernel blurKernel(int softness);

// Blurs one line of `count` samples `step` bytes apart, in place. `scratch`
// holds at least 2 * count doubles.
void blurLine(uint8_t* samples, size_t count, ptrdiff_t step, const BlurKernel& kernel, double* scratch);

// Blurs a width x height plane whose row y (counted from the top) starts at
// rows[y], in place: rows first, then columns. False when working memory
// cannot be had (the plane is then unchanged or only row-blurred).
bool blurPlane(uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& kernel);

// A plane kept with its blur (and the rows' pass between), for blurring
// planes that differ from it in a small part: an animation whose letters
// mostly rest keeps the line at rest here, and each frame's shadow redoes
// only the reach of the letters that moved.
struct BlurBaseline {
  int32_t width = 0;
  int32_t height = 0;
  BlurKernel kernel{};
  std::vector<uint8_t> input;    // the plane as given, row after row from the top
  std::vector<uint8_t> rowPass;  // after the rows' pass
  std::vector<uint8_t> output;   // blurred
  bool empty() const { return width <= 0 || height <= 0; }
};

// Keeps the plane (rows as for blurPlane, not changed) and its blur in
// `out`. False (and an empty baseline) when memory fails.
bool makeBlurBaseline(const uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& kernel,
                      BlurBaseline* out);

// Blurs the plane in place with the baseline's kernel, to the same bytes as
// blurPlane: where it equals the baseline's plane the blur is copied, and
// only the rows and columns within the blur's reach of the box where it
// differs are blurred again. A plane of another size is blurred whole.
bool blurPlaneFrom(const BlurBaseline& base, uint8_t* const* rows, int32_t width, int32_t height);

// A shape blurred once, for planes that hold the same shape moved and cut
// by their edges (a line scrolling through the frame). Along an axis where
// the shape has room (no ink within two radii of its ends) it may move:
// away from a plane's ends its blur is the shape's moved, and only the
// strips within the radius of the ends, where the taps are renormalised,
// are blurred again. Along an axis without room the shape's ends stand for
// the plane's own, and it may not move along it.
struct BlurShape {
  int32_t width = 0;
  int32_t height = 0;
  bool roomyX = false;
  bool roomyY = false;
  BlurKernel kernel{};
  std::vector<uint8_t> rowPass;  // after the rows' pass, row after row from the top
  std::vector<uint8_t> output;   // blurred
  bool empty() const { return width <= 0 || height <= 0; }
};

// Keeps the blur of the plane (rows as for blurPlane, not changed) in `out`.
// False (and an empty shape) when memory fails.
bool makeBlurShape(const uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& kernel,
                   BlurShape* out);

// Blurs in place, to the same bytes as blurPlane with the shape's kernel, a
// plane that holds the shape's plane with its top-left at (dx, dy) and
// nothing else. A plane the shape cannot serve (moved along an axis without
// room, or smaller than the kernel along one with room) is blurred whole.
bool blurMovedShape(const BlurShape& shape, uint8_t* const* rows, int32_t width, int32_t height, int64_t dx,
                    int64_t dy);

// Blurs an 8-bit mask Bitmap in place. False when it is not one or memory fails.
bool blurMask(MemHandle mask, const BlurKernel& kernel);

}  // namespace gw
