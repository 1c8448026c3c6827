#include "effects/letter_transform.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <new>

#include "platform/bitmap.h"

namespace gw {
namespace {

// Supersampled letters stay below this many pixels of font height, so a line
// of very large letters does not multiply its memory by 16.
constexpr int32_t kSupersampledHeightLimit = 512;
constexpr int32_t kMaxFactor = 4;
// Samples per pixel side when resampling.
constexpr int kGrid = 2;
// The widest ring outlineOnly draws.
constexpr int32_t kMaxOutlineThickness = 64;

bool copyMask(MemHandle bitmap, MaskPlane* out) {
  MemLock lock(bitmap);
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.bits() != 8 || !out->allocate(view.width(), view.height())) return false;
  for (int32_t y = 0; y < view.height(); ++y) std::copy_n(view.row(y), view.width(), out->row(y));
  return true;
}

// Coverage at continuous mask coordinates (pixel centres on whole numbers),
// 0 outside the mask.
inline double bilinear(const MaskPlane& m, double u, double v) {
  const double fu = std::floor(u), fv = std::floor(v);
  if (fu < -1 || fv < -1 || fu >= m.width || fv >= m.height) return 0;
  const auto x = int32_t(fu), y = int32_t(fv);
  const double ax = u - fu, ay = v - fv;
  const double top = m.at(x, y) * (1 - ax) + m.at(x + 1, y) * ax;
  const double bottom = m.at(x, y + 1) * (1 - ax) + m.at(x + 1, y + 1) * ax;
  return top * (1 - ay) + bottom * ay;
}

bool isWholeShift(const Projective& p, int64_t* dx, int64_t* dy) {
  const double* m = p.m;
  if (m[0] != 1 || m[1] != 0 || m[3] != 0 || m[4] != 1 || m[6] != 0 || m[7] != 0 || m[8] != 1) return false;
  if (std::fabs(m[2]) > 1e9 || std::fabs(m[5]) > 1e9) return false;
  if (m[2] != std::floor(m[2]) || m[5] != std::floor(m[5])) return false;
  *dx = int64_t(m[2]);
  *dy = int64_t(m[5]);
  return true;
}

}  // namespace

Projective Projective::translate(double x, double y) { return {{1, 0, x, 0, 1, y, 0, 0, 1}}; }
Projective Projective::scale(double sx, double sy) { return {{sx, 0, 0, 0, sy, 0, 0, 0, 1}}; }
Projective Projective::rotate(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  return {{c, -s, 0, s, c, 0, 0, 0, 1}};
}

Projective Projective::rectToQuad(double x0, double y0, double x1, double y1, const double q[8]) {
  // The unit square onto the quadrilateral (Heckbert's square-to-quad), after
  // the rectangle onto the unit square.
  const double sx = q[0] - q[2] + q[4] - q[6], sy = q[1] - q[3] + q[5] - q[7];
  Projective sq;
  if (std::fabs(sx) < 1e-12 && std::fabs(sy) < 1e-12) {
    sq.m[0] = q[2] - q[0]; sq.m[1] = q[4] - q[2]; sq.m[2] = q[0];
    sq.m[3] = q[3] - q[1]; sq.m[4] = q[5] - q[3]; sq.m[5] = q[1];
    sq.m[6] = 0; sq.m[7] = 0; sq.m[8] = 1;
  } else {
    const double dx1 = q[2] - q[4], dx2 = q[6] - q[4], dy1 = q[3] - q[5], dy2 = q[7] - q[5];
    const double den = dx1 * dy2 - dx2 * dy1;
    const double g = den == 0 ? 0 : (sx * dy2 - dx2 * sy) / den;
    const double h = den == 0 ? 0 : (dx1 * sy - sx * dy1) / den;
    sq.m[0] = q[2] - q[0] + g * q[2]; sq.m[1] = q[6] - q[0] + h * q[6]; sq.m[2] = q[0];
    sq.m[3] = q[3] - q[1] + g * q[3]; sq.m[4] = q[7] - q[1] + h * q[7]; sq.m[5] = q[1];
    sq.m[6] = g; sq.m[7] = h; sq.m[8] = 1;
  }
  const double w = x1 - x0, h = y1 - y0;
  if (w == 0 || h == 0) return {{0, 0, 0, 0, 0, 0, 0, 0, 1}};
  return sq * scale(1 / w, 1 / h) * translate(-x0, -y0);
}

Projective Projective::operator*(const Projective& o) const {
  Projective r;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      r.m[row * 3 + col] =
          m[row * 3] * o.m[col] + m[row * 3 + 1] * o.m[3 + col] + m[row * 3 + 2] * o.m[6 + col];
  return r;
}

bool Projective::apply(double x, double y, double* ox, double* oy) const {
  const double w = m[6] * x + m[7] * y + m[8];
  if (!(std::fabs(w) > 1e-12)) return false;
  *ox = (m[0] * x + m[1] * y + m[2]) / w;
  *oy = (m[3] * x + m[4] * y + m[5]) / w;
  return std::isfinite(*ox) && std::isfinite(*oy);
}

bool Projective::inverse(Projective* out) const {
  const double* a = m;
  const double c0 = a[4] * a[8] - a[5] * a[7];
  const double c1 = a[5] * a[6] - a[3] * a[8];
  const double c2 = a[3] * a[7] - a[4] * a[6];
  const double det = a[0] * c0 + a[1] * c1 + a[2] * c2;
  if (!(std::fabs(det) > 1e-12) || !std::isfinite(det)) return false;
  const double k = 1 / det;
  *out = {{c0 * k, (a[2] * a[7] - a[1] * a[8]) * k, (a[1] * a[5] - a[2] * a[4]) * k,
           c1 * k, (a[0] * a[8] - a[2] * a[6]) * k, (a[2] * a[3] - a[0] * a[5]) * k,
           c2 * k, (a[1] * a[6] - a[0] * a[7]) * k, (a[0] * a[4] - a[1] * a[3]) * k}};
  return true;
}

bool LetterTransformer::prepare(const StyledLine& line) {
  line_ = &line;
  big_.close();
  shapes_.clear();
  index_.assign(line.letterCount(), 0);
  const FontRequest& base = line.font.request();
  factor_ = std::clamp(kSupersampledHeightLimit / std::max(base.height, 1), 1, kMaxFactor);
  // Blanks and letters the rasteriser skipped share the empty shape 0.
  shapes_.emplace_back();
  shapes_.back().rendered = true;
  std::map<uint8_t, size_t> seen;
  for (size_t i = 0; i < line.letterCount(); ++i) {
    if (line.letters[i].mask.empty()) continue;
    const auto letter = uint8_t(line.layout.letters[i]);
    auto found = seen.find(letter);
    if (found != seen.end()) {
      index_[i] = found->second;
      continue;
    }
    Shape shape;
    shape.letter = i;
    shapes_.push_back(std::move(shape));
    index_[i] = seen[letter] = shapes_.size() - 1;
  }
  return true;
}

bool LetterTransformer::renderAll() {
  for (size_t s = 0; s < shapes_.size(); ++s)
    if (!supersampled(s)) return false;
  return true;
}

const LetterTransformer::Shape* LetterTransformer::supersampled(size_t index) const {
  Shape& shape = shapes_[index];
  if (shape.rendered) return &shape;
  const FontRequest& base = line_->font.request();
  if (!big_.isOpen() && !big_.open({base.face, base.height * factor_, base.bold, base.italic})) return nullptr;
  const size_t i = shape.letter;
  LetterMask rendered;
  if (!rasteriserRenderLetter(big_, uint8_t(line_->layout.letters[i]), line_->layout.advances[i] * factor_,
                              line_->style.antialias, 255, &rendered))
    return nullptr;
  MemBlock block(rendered.mask);
  shape.left = rendered.left;
  shape.top = rendered.top;
  if (block && !copyMask(block.get(), &shape.mask)) return nullptr;
  if (!shape.mask.empty() && (!shape.inked.count(shape.mask, [](uint8_t v) { return v != 0; }) ||
                              !shape.full.count(shape.mask, [](uint8_t v) { return v == 255; })))
    return nullptr;
  shape.rendered = true;
  return &shape;
}

template <typename Test>
bool BoxCounts::count(const MaskPlane& mask, Test test) {
  width = mask.width;
  height = mask.height;
  const auto w = size_t(width) + 1;
  try {
    before.assign(w * (size_t(height) + 1), 0);
  } catch (const std::bad_alloc&) {
    before.clear();
    return false;
  }
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = mask.row(y);
    int32_t inRow = 0;
    for (int32_t x = 0; x < width; ++x) {
      inRow += test(row[x]) ? 1 : 0;
      before[(size_t(y) + 1) * w + size_t(x) + 1] = before[size_t(y) * w + size_t(x) + 1] + inRow;
    }
  }
  return true;
}

double LetterTransformer::cellWidth(size_t i) const {
  return line_ && i < line_->layout.advances.size() ? line_->layout.advances[i] : 0;
}

double LetterTransformer::cellHeight() const { return line_ ? line_->layout.height : 0; }

CellBox LetterTransformer::inkBox(size_t i) const {
  if (!line_ || i >= line_->letterCount() || line_->letters[i].mask.empty()) return {};
  const LetterImage& l = line_->letters[i];
  return {double(l.left), double(l.top), double(l.left + l.mask.width), double(l.top + l.mask.height)};
}

bool LetterTransformer::place(size_t i, const Projective& toLine, uint8_t intensity, PlacedLetter* out,
                              int64_t limit) const {
  *out = PlacedLetter();
  if (!line_ || i >= index_.size() || line_->letters[i].mask.empty() || intensity == 0) return true;

  int64_t dx = 0, dy = 0;
  if (isWholeShift(toLine, &dx, &dy)) {
    const LetterImage& l = line_->letters[i];
    if (std::llabs(dx) > limit || std::llabs(dy) > limit) return true;
    out->left = int32_t(dx + l.left);
    out->top = int32_t(dy + l.top);
    if (intensity == 255) {
      out->shared = &l.mask;
      return true;
    }
    out->own = l.mask;
    scaleCoverage(out->own, intensity);
    return true;
  }

  const Shape* found = supersampled(index_[i]);
  if (!found) return false;
  const Shape& shape = *found;
  if (shape.mask.empty()) return true;
  const double s = factor_;
  // The supersampled mask's extent in the cell, and where its corners land.
  const double cx0 = shape.left / s, cy0 = shape.top / s;
  const double cx1 = (shape.left + shape.mask.width) / s, cy1 = (shape.top + shape.mask.height) / s;
  const double cornersIn[8] = {cx0, cy0, cx1, cy0, cx1, cy1, cx0, cy1};
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  double firstW = 0;
  for (int c = 0; c < 4; ++c) {
    const double x = cornersIn[2 * c], y = cornersIn[2 * c + 1];
    const double w = toLine.m[6] * x + toLine.m[7] * y + toLine.m[8];
    // The whole letter must stay on the viewer's side of the map's horizon.
    if (c == 0) firstW = w;
    if (!(w * firstW > 0)) return true;
    double ox, oy;
    if (!toLine.apply(x, y, &ox, &oy)) return true;
    minX = std::min(minX, ox);
    maxX = std::max(maxX, ox);
    minY = std::min(minY, oy);
    maxY = std::max(maxY, oy);
  }
  const double lim = double(limit);
  if (minX < -lim || minY < -lim || maxX > lim || maxY > lim) return true;
  Projective back;
  if (!toLine.inverse(&back)) return true;

  const auto left = int32_t(std::floor(minX)), top = int32_t(std::floor(minY));
  const int32_t width = int32_t(std::ceil(maxX)) - left + 1, height = int32_t(std::ceil(maxY)) - top + 1;
  if (width <= 0 || height <= 0) return true;
  if (!out->own.allocate(width, height)) return false;
  out->left = left;
  out->top = top;

  // Each sample point goes back into the cell, then into the supersampled
  // mask, whose pixel centres sit at (left + u + 0.5) / s in the cell: one
  // map from the line's space to mask coordinates.
  const Projective toMask = Projective::translate(-shape.left - 0.5, -shape.top - 0.5) * Projective::scale(s, s) * back;
  const double* b = toMask.m;
  const bool affine = b[6] == 0 && b[7] == 0 && b[8] == 1;
  const double scaleOut = double(intensity) / (255.0 * kGrid * kGrid);
  const MaskPlane& src = shape.mask;
  // For an affine map, a pixel's samples lie within a quarter pixel of its
  // centre, mapped, so a box that much larger (and a pixel more, for the
  // bilinear neighbours and rounding) holds every mask pixel they read.
  // Where that box has no ink every bilinear term is 0 and the pixel is 0;
  // where it is fully covered every term is 255 within a few units in the
  // last place, which rounds to the intensity. Either way it is not sampled.
  const double reachU = 0.25 * (std::fabs(b[0]) + std::fabs(b[1])) + 1;
  const double reachV = 0.25 * (std::fabs(b[3]) + std::fabs(b[4])) + 1;
  const bool skipEmpty = affine && !shape.inked.empty() && !shape.full.empty() && reachU < 64 && reachV < 64;
  const double lastU = src.width - 1, lastV = src.height - 1;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = out->own.row(y);
    const double cy = top + y + 0.5;
    // The map's products with each sample row's y, shared by the row.
    double yu[kGrid], yv[kGrid], yw[kGrid];
    for (int sy = 0; sy < kGrid; ++sy) {
      const double py = top + y + (sy + 0.5) / kGrid;
      yu[sy] = b[1] * py;
      yv[sy] = b[4] * py;
      yw[sy] = b[7] * py;
    }
    for (int32_t x = 0; x < width; ++x) {
      if (skipEmpty) {
        const double cx = left + x + 0.5;
        const double u = b[0] * cx + b[1] * cy + b[2], v = b[3] * cx + b[4] * cy + b[5];
        // Past those tests every corner lies above -130, where adding 256
        // before truncating floors it without a library call.
        if (u + reachU < -1 || v + reachV < -1 || u - reachU > src.width || v - reachV > src.height) {
          row[x] = 0;
          continue;
        }
        const int32_t x0 = int32_t(u - reachU + 256) - 256, y0 = int32_t(v - reachV + 256) - 256;
        const int32_t x1 = int32_t(u + reachU + 256) - 255, y1 = int32_t(v + reachV + 256) - 255;
        if (shape.inked.in(x0, y0, x1, y1) == 0) {
          row[x] = 0;
          continue;
        }
        if (x0 >= 0 && y0 >= 0 && x1 < src.width && y1 < src.height &&
            shape.full.in(x0, y0, x1, y1) == int64_t(x1 - x0 + 1) * (y1 - y0 + 1)) {
          row[x] = intensity;
          continue;
        }
      }
      // The map's products with each sample's x, shared by the sample rows.
      double xu[kGrid], xv[kGrid], xw[kGrid];
      for (int sx = 0; sx < kGrid; ++sx) {
        const double px = left + x + (sx + 0.5) / kGrid;
        xu[sx] = b[0] * px;
        xv[sx] = b[3] * px;
        xw[sx] = b[6] * px;
      }
      double sum = 0;
      for (int sy = 0; sy < kGrid; ++sy) {
        for (int sx = 0; sx < kGrid; ++sx) {
          double u = xu[sx] + yu[sy] + b[2], v = xv[sx] + yv[sy] + b[5];
          if (!affine) {
            const double w = xw[sx] + yw[sy] + b[8];
            if (!(std::fabs(w) > 1e-12)) continue;
            u /= w;
            v /= w;
          }
          // Inside, four neighbours without bounds checks; near the edge, with them.
          if (u >= 0 && v >= 0 && u < lastU && v < lastV) {
            const auto ix = int32_t(u), iy = int32_t(v);
            const double ax = u - ix, ay = v - iy;
            const uint8_t* r0 = src.row(iy) + ix;
            const uint8_t* r1 = r0 + src.width;
            sum += (r0[0] * (1 - ax) + r0[1] * ax) * (1 - ay) + (r1[0] * (1 - ax) + r1[1] * ax) * ay;
          } else {
            sum += bilinear(src, u, v);
          }
        }
      }
      const double v = sum * scaleOut;
      row[x] = uint8_t(v >= 255 ? 255 : v + 0.5);
    }
  }
  return true;
}

void stampPlaced(const PlacedLetter& letter, MaskPlane& mask, Offset origin) {
  if (letter.mask().empty()) return;
  maxInto(mask, letter.mask(), int64_t(origin.x) + letter.left, int64_t(origin.y) + letter.top);
}

bool outlineOnly(PlacedLetter* letter, int32_t thickness) {
  const MaskPlane& coverage = letter->mask();
  if (coverage.empty()) return true;
  const int32_t t = std::clamp(thickness, 1, kMaxOutlineThickness);
  MaskPlane grown;
  if (!grown.allocate(coverage.width + 2 * t, coverage.height + 2 * t)) return false;
  maxInto(grown, coverage, t, t);
  MaskPlane ring;
  if (!outlineOf(grown, &ring)) return false;
  if (t > 1) {
    // The one-pixel ring grown outwards a pixel per pass, square and cross
    // steps in turn so the ring's outer corners come out rounded (octagonal).
    std::vector<uint8_t> reach, next;
    try {
      reach.assign(grown.pixels.size(), 0);
      next.assign(grown.pixels.size(), 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    for (size_t i = 0; i < reach.size(); ++i) reach[i] = grown.pixels[i] != 0 || ring.pixels[i] != 0;
    const int32_t w = grown.width, h = grown.height;
    for (int32_t pass = 2; pass <= t; ++pass) {
      const bool square = pass % 2 == 1;
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
          bool any = false;
          for (int32_t dy = -1; dy <= 1 && !any; ++dy)
            for (int32_t dx = -1; dx <= 1 && !any; ++dx) {
              if (!square && dx != 0 && dy != 0) continue;
              const int32_t u = x + dx, v = y + dy;
              any = u >= 0 && v >= 0 && u < w && v < h && reach[size_t(v) * size_t(w) + size_t(u)];
            }
          next[size_t(y) * size_t(w) + size_t(x)] = any;
        }
      reach.swap(next);
    }
    for (size_t i = 0; i < reach.size(); ++i)
      if (grown.pixels[i] == 0) ring.pixels[i] = reach[i] ? 255 : 0;
  }
  letter->own = std::move(ring);
  letter->shared = nullptr;
  letter->left -= t;
  letter->top -= t;
  return true;
}

}  // namespace gw
