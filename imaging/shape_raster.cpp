#include "imaging/shape_raster.h"

#include <algorithm>
#include <memory>
#include <new>

namespace gw {
namespace {

// GDI accepts device coordinates of 27 bits; keeping ours there also keeps
// every product below in 64 bits.
constexpr int64_t kCoordLimit = int64_t(1) << 27;
// The ellipse's error terms grow with the cube of its size; beyond this they
// would leave 64 bits. No bitmap comes near it (65535 pixels a side).
constexpr int64_t kEllipseLimit = int64_t(1) << 20;

int64_t clampCoord(int64_t v) { return std::min(std::max(v, -kCoordLimit), kCoordLimit); }

int32_t clampTo(int64_t v, int32_t lo, int32_t hi) {
  return int32_t(std::min<int64_t>(std::max<int64_t>(v, lo), hi));
}

// Smallest integer >= num / den for den > 0.
int64_t ceilDiv(int64_t num, int64_t den) {
  if (num >= 0) return (num + den - 1) / den;
  return -((-num) / den);
}

void emit(SpanSink& sink, int64_t y, int64_t x0, int64_t x1, int32_t clipWidth) {
  int32_t a = clampTo(x0, 0, clipWidth);
  int32_t b = clampTo(x1, 0, clipWidth);
  if (a < b) sink.span(int32_t(y), a, b);
}

struct Edge {
  int64_t yTop;     // first row the edge crosses
  int64_t yBottom;  // first row it no longer crosses
  int64_t xTop;
  int64_t dx;
  int64_t dy;       // > 0
};

class FillSink : public SpanSink {
 public:
  FillSink(const BitmapView& view, uint32_t colour) : view_(view), colour_(colour) {}
  void span(int32_t y, int32_t x0, int32_t x1) override { fillSpan(view_, y, x0, x1, colour_); }

 private:
  const BitmapView& view_;
  uint32_t colour_;
};

}  // namespace

void polygonSpans(const ShapePoint* points, size_t count, int32_t clipWidth, int32_t clipHeight,
                  SpanSink& sink) {
  if (!points || count < 2 || clipWidth <= 0 || clipHeight <= 0) return;
  // Bands and quads, the shapes drawn by the hundred per gradient, fit on the
  // stack; only a larger polygon costs an allocation.
  constexpr size_t kSmall = 8;
  Edge smallEdges[kSmall];
  int64_t smallCrossings[kSmall];
  std::unique_ptr<Edge[]> heapEdges;
  std::unique_ptr<int64_t[]> heapCrossings;
  Edge* edges = smallEdges;
  int64_t* crossings = smallCrossings;
  if (count > kSmall) {
    heapEdges.reset(new (std::nothrow) Edge[count]);
    heapCrossings.reset(new (std::nothrow) int64_t[count]);
    if (!heapEdges || !heapCrossings) return;
    edges = heapEdges.get();
    crossings = heapCrossings.get();
  }

  size_t edgeCount = 0;
  int64_t yMin = INT64_MAX, yMax = INT64_MIN;
  // The edge into each point, from the one before it; each point is clamped
  // once and carried on to the next edge.
  int64_t px = clampCoord(points[count - 1].x), py = clampCoord(points[count - 1].y);
  for (size_t i = 0; i < count; ++i) {
    const int64_t qx = clampCoord(points[i].x), qy = clampCoord(points[i].y);
    if (py != qy) {  // horizontal edges bound no row
      const bool down = py < qy;
      const int64_t topX = down ? px : qx, topY = down ? py : qy;
      const int64_t bottomX = down ? qx : px, bottomY = down ? qy : py;
      edges[edgeCount++] = Edge{topY, bottomY, topX, bottomX - topX, bottomY - topY};
      yMin = std::min(yMin, topY);
      yMax = std::max(yMax, bottomY);
    }
    px = qx;
    py = qy;
  }
  if (edgeCount == 0) return;
  int64_t yFrom = std::max<int64_t>(yMin, 0);
  int64_t yTo = std::min<int64_t>(yMax, clipHeight);
  for (int64_t y = yFrom; y < yTo; ++y) {
    size_t n = 0;
    for (size_t e = 0; e < edgeCount; ++e) {
      const Edge& edge = edges[e];
      if (y < edge.yTop || y >= edge.yBottom) continue;
      // The first pixel on or right of the edge: the exact crossing rounded up.
      crossings[n++] = edge.xTop + ceilDiv((y - edge.yTop) * edge.dx, edge.dy);
    }
    if (n > kSmall) {
      std::sort(crossings, crossings + n);
    } else {
      // A band crosses a row twice: insertion sort is all that needs.
      for (size_t k = 1; k < n; ++k) {
        const int64_t x = crossings[k];
        size_t j = k;
        for (; j > 0 && crossings[j - 1] > x; --j) crossings[j] = crossings[j - 1];
        crossings[j] = x;
      }
    }
    for (size_t k = 0; k + 1 < n; k += 2) emit(sink, y, crossings[k], crossings[k + 1], clipWidth);
  }
}

void rectangleSpans(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t clipWidth,
                    int32_t clipHeight, SpanSink& sink) {
  if (clipWidth <= 0 || clipHeight <= 0) return;
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  if (l == r || t == b) return;
  // Without a pen GDI leaves out the column and row where the outline's
  // right and bottom sides would be.
  int64_t yFrom = std::max<int64_t>(t, 0), yTo = std::min<int64_t>(b - 1, clipHeight);
  for (int64_t y = yFrom; y < yTo; ++y) emit(sink, y, l, r - 1, clipWidth);
}

void ellipseSpans(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t clipWidth,
                  int32_t clipHeight, SpanSink& sink) {
  if (clipWidth <= 0 || clipHeight <= 0) return;
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  if (l == r || t == b) return;
  int64_t w = r - l, h = b - t;
  if (w <= 2 || h <= 2) {
    rectangleSpans(left, top, right, bottom, clipWidth, clipHeight, sink);
    return;
  }
  if (w > kEllipseLimit || h > kEllipseLimit) return;

  // Row inset from both sides for the lower half, traced with an integer
  // midpoint walk along the quadrant from the widest row down to the bottom;
  // the upper half mirrors it.
  int64_t half = h / 2;
  size_t lowerRows = size_t(h - half);
  std::unique_ptr<int64_t[]> inset(new (std::nothrow) int64_t[lowerRows]);
  if (!inset) return;
  std::fill(inset.get(), inset.get() + lowerRows, 0);
  const int64_t a = w - 1, bb = h - 1;
  const int64_t asq = 8 * a * a, bsq = 8 * bb * bb;
  int64_t dx = 4 * bb * bb * (1 - a);
  int64_t dy = 4 * a * a * (1 + (bb % 2));
  int64_t err = dx + dy + a * a * (bb % 2);
  int64_t x = 0, y = half;
  while (x <= w / 2) {
    int64_t e2 = 2 * err;
    if (e2 >= dx) {
      ++x;
      dx += bsq;
      err += dx;
    }
    if (e2 <= dy) {
      ++y;
      dy += asq;
      err += dy;
      if (y < h) inset[y - half] = x;
    }
  }
  // On a tall, narrow ellipse the walk reaches the middle column before the
  // bottom row; GDI leaves the rows it never reached empty, and so do we.
  for (int64_t row = y + 1; row < h; ++row) inset[row - half] = w;

  int64_t yFrom = std::max<int64_t>(t, 0), yTo = std::min<int64_t>(b, clipHeight);
  for (int64_t py = yFrom; py < yTo; ++py) {
    int64_t i = py - t;
    int64_t lowerIndex = i < half ? bb - i : i;
    int64_t in = inset[lowerIndex - half];
    if (2 * in < w) emit(sink, py, l + in, r - in, clipWidth);
  }
}

void fillSpan(const BitmapView& view, int32_t y, int32_t x0, int32_t x1, uint32_t colour) {
  if (!view.valid() || y < 0 || y >= view.height()) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, view.width());
  if (x0 >= x1) return;
  if (view.bits() == 24) {
    uint8_t* p = view.row(y) + size_t(x0) * 3;
    const uint8_t blue = uint8_t(colour >> 16), green = uint8_t(colour >> 8), red = uint8_t(colour);
    for (int32_t x = x0; x < x1; ++x, p += 3) {
      p[0] = blue;
      p[1] = green;
      p[2] = red;
    }
    return;
  }
  for (int32_t x = x0; x < x1; ++x) view.setPixel(x, y, colour);
}

void fillPolygon(const BitmapView& view, const ShapePoint* points, size_t count, uint32_t colour) {
  if (!view.valid()) return;
  FillSink sink(view, colour);
  polygonSpans(points, count, view.width(), view.height(), sink);
}

void fillEllipse(const BitmapView& view, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 uint32_t colour) {
  if (!view.valid()) return;
  FillSink sink(view, colour);
  ellipseSpans(left, top, right, bottom, view.width(), view.height(), sink);
}

void fillRectangle(const BitmapView& view, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t colour) {
  if (!view.valid()) return;
  FillSink sink(view, colour);
  rectangleSpans(left, top, right, bottom, view.width(), view.height(), sink);
}

}  // namespace gw
