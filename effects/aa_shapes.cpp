#include "effects/aa_shapes.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;
// A shape's box, clipped, may hold at most this many pixels (a 8192 x 8192
// square): beyond it a frame is not what any canvas of ours can be.
constexpr int64_t kMaxPixels = int64_t(1) << 26;

bool finite(const Point2& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

double signedArea(const std::vector<Point2>& pts) {
  double a = 0.0;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) a += pts[j].x * pts[i].y - pts[i].x * pts[j].y;
  return a * 0.5;
}

// Signed-area accumulation: every edge adds, to the cells it crosses, the
// share of each cell's area that lies to its right within the edge's rows;
// a running sum along each row then gives the winding-weighted coverage.
struct Accumulator {
  int32_t width = 0;   // pixels; each row has two more cells
  int32_t height = 0;
  std::vector<float> cells;

  bool allocate(int32_t w, int32_t h) {
    width = w;
    height = h;
    try {
      cells.assign(size_t(w + 2) * size_t(h), 0.0f);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  // An edge whose x lies within [0, width] everywhere.
  void line(Point2 p0, Point2 p1) {
    if (p0.y == p1.y) return;
    double dir = 1.0;
    if (p0.y > p1.y) {
      std::swap(p0, p1);
      dir = -1.0;
    }
    const double dxdy = (p1.x - p0.x) / (p1.y - p0.y);
    const int64_t yFirst = std::max<int64_t>(0, int64_t(std::floor(p0.y)));
    const int64_t yEnd = std::min<int64_t>(height, int64_t(std::ceil(p1.y)));
    const size_t stride = size_t(width) + 2;
    for (int64_t y = yFirst; y < yEnd; ++y) {
      const double ya = std::max(double(y), p0.y), yb = std::min(double(y) + 1.0, p1.y);
      const double dy = yb - ya;
      if (dy <= 0.0) continue;
      const double xa = std::clamp(p0.x + (ya - p0.y) * dxdy, 0.0, double(width));
      const double xb = std::clamp(p0.x + (yb - p0.y) * dxdy, 0.0, double(width));
      const double d = dy * dir;
      const double x0 = std::min(xa, xb), x1 = std::max(xa, xb);
      const double x0floor = std::floor(x0);
      const auto x0i = int32_t(x0floor);
      const double x1ceil = std::ceil(x1);
      const auto x1i = int32_t(x1ceil);
      float* a = cells.data() + size_t(y) * stride;
      if (x1i <= x0i + 1) {
        // Within one cell: the part right of the edge's mean x goes on.
        const double xmf = 0.5 * (xa + xb) - x0floor;
        a[x0i] += float(d - d * xmf);
        a[x0i + 1] += float(d * xmf);
      } else {
        const double s = 1.0 / (x1 - x0);
        const double x0f = x0 - x0floor;
        const double a0 = 0.5 * s * (1.0 - x0f) * (1.0 - x0f);
        const double x1f = x1 - x1ceil + 1.0;
        const double am = 0.5 * s * x1f * x1f;
        a[x0i] += float(d * a0);
        if (x1i == x0i + 2) {
          a[x0i + 1] += float(d * (1.0 - a0 - am));
        } else {
          const double a1 = s * (1.5 - x0f);
          a[x0i + 1] += float(d * (a1 - a0));
          for (int32_t xi = x0i + 2; xi < x1i - 1; ++xi) a[xi] += float(d * s);
          const double a2 = a1 + double(x1i - x0i - 3) * s;
          a[x1i - 1] += float(d * (1.0 - a2 - am));
        }
        a[x1i] += float(d * am);
      }
    }
  }

  // Splits the edge where it crosses x = 0 and x = width so that clamping
  // each piece's x to the box keeps its winding exact.
  void edge(Point2 p0, Point2 p1) {
    double cuts[2];
    int n = 0;
    const double dx = p1.x - p0.x;
    if (dx != 0.0) {
      for (double at : {0.0, double(width)}) {
        const double t = (at - p0.x) / dx;
        if (t > 0.0 && t < 1.0) cuts[n++] = t;
      }
    }
    if (n == 2 && cuts[0] > cuts[1]) std::swap(cuts[0], cuts[1]);
    Point2 from = p0;
    for (int i = 0; i < n; ++i) {
      Point2 to{p0.x + dx * cuts[i], p0.y + (p1.y - p0.y) * cuts[i]};
      line(from, to);
      from = to;
    }
    line(from, p1);
  }

  void writeTo(MaskPlane& mask) const {
    const size_t stride = size_t(width) + 2;
    for (int32_t y = 0; y < height; ++y) {
      const float* a = cells.data() + size_t(y) * stride;
      uint8_t* out = mask.row(y);
      float acc = 0.0f;
      for (int32_t x = 0; x < width; ++x) {
        acc += a[x];
        const float v = std::min(1.0f, std::fabs(acc));
        out[x] = uint8_t(v * 255.0f + 0.5f);
      }
    }
  }
};

Point2 along(Point2 p, double dirX, double dirY, double distance) {
  return {p.x + dirX * distance, p.y + dirY * distance};
}

}  // namespace

void addPolygon(ShapePath& path, std::vector<Point2> points) {
  if (points.size() < 3) return;
  for (const Point2& p : points)
    if (!finite(p)) return;
  path.polygons.push_back(std::move(points));
}

void addRectangle(ShapePath& path, Point2 centre, double w, double h, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double hx = w * 0.5, hy = h * 0.5;
  std::vector<Point2> pts;
  for (auto [u, v] : {std::pair{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}})
    pts.push_back({centre.x + u * c - v * s, centre.y + u * s + v * c});
  addPolygon(path, std::move(pts));
}

void addStar(ShapePath& path, Point2 centre, double outer, double inner, int points, double angle) {
  if (points < 2 || points > 64) return;
  std::vector<Point2> pts;
  for (int k = 0; k < 2 * points; ++k) {
    const double a = angle + kPi * k / points;
    const double r = (k % 2 == 0) ? outer : inner;
    pts.push_back({centre.x + r * std::sin(a), centre.y - r * std::cos(a)});
  }
  addPolygon(path, std::move(pts));
}

void addDisc(ShapePath& path, Point2 centre, double radius) {
  if (!(radius > 0.0)) return;
  // Enough sides that the polygon strays from the circle by under 1/50 pixel.
  const int sides = int(std::clamp(kPi * std::sqrt(radius / 0.04), 32.0, 512.0));
  std::vector<Point2> pts;
  for (int k = 0; k < sides; ++k) {
    const double a = 2.0 * kPi * k / sides;
    pts.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  addPolygon(path, std::move(pts));
}

void addStroke(ShapePath& path, Point2 a, Point2 b, double width) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len = std::sqrt(dx * dx + dy * dy);
  if (!(len > 0.0) || !(width > 0.0)) return;
  const double nx = -dy / len * width * 0.5, ny = dx / len * width * 0.5;
  addPolygon(path, {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
}

void addFlake(ShapePath& path, Point2 centre, double radius, double width, double angle) {
  if (!(radius > 0.0)) return;
  for (int arm = 0; arm < 6; ++arm) {
    const double a = angle + kPi / 3.0 * arm;
    const double ux = std::sin(a), uy = -std::cos(a);
    addStroke(path, centre, along(centre, ux, uy, radius), width);
    // Two pairs of branches leaning out toward the tip, the inner pair longer.
    const struct { double at, length; } branches[] = {{0.42, 0.34}, {0.68, 0.22}};
    for (const auto& br : branches) {
      const Point2 root = along(centre, ux, uy, radius * br.at);
      for (double side : {-1.0, 1.0}) {
        const double b = a + side * kPi / 3.0;
        addStroke(path, root, along(root, std::sin(b), -std::cos(b), radius * br.length), width * 0.85);
      }
    }
  }
  // A small hexagon joins the arms' roots.
  std::vector<Point2> hub;
  for (int k = 0; k < 6; ++k) {
    const double a = angle + kPi / 3.0 * k + kPi / 6.0;
    hub.push_back(along(centre, std::sin(a), -std::cos(a), width * 1.3));
  }
  addPolygon(path, std::move(hub));
}

void addArrow(ShapePath& path, Point2 tip, double length, double shaft, double head, double angle) {
  if (!(length > 0.0)) return;
  const double ux = std::cos(angle), uy = std::sin(angle);
  const double px = -uy, py = ux;  // across the arrow
  const double headLength = length / 3.0;
  const Point2 base = along(tip, ux, uy, -headLength);
  const Point2 tail = along(tip, ux, uy, -length);
  const double h = head * 0.5, s = std::min(shaft, head) * 0.5;
  addPolygon(path, {tip,
                    {base.x + px * h, base.y + py * h},
                    {base.x + px * s, base.y + py * s},
                    {tail.x + px * s, tail.y + py * s},
                    {tail.x - px * s, tail.y - py * s},
                    {base.x - px * s, base.y - py * s},
                    {base.x - px * h, base.y - py * h}});
}

bool rasterise(const ShapePath& path, ShapeCoverage* out, int32_t clipWidth, int32_t clipHeight) {
  out->left = out->top = 0;
  out->mask = MaskPlane();
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const auto& poly : path.polygons)
    for (const Point2& p : poly) {
      minX = std::min(minX, p.x);
      minY = std::min(minY, p.y);
      maxX = std::max(maxX, p.x);
      maxY = std::max(maxY, p.y);
    }
  if (!(minX <= maxX) || !(minY <= maxY)) return true;
  // The box in whole pixels, as doubles first so far-off shapes cannot overflow.
  double left = std::floor(minX), top = std::floor(minY);
  double right = std::ceil(maxX), bottom = std::ceil(maxY);
  if (clipWidth > 0 && clipHeight > 0) {
    left = std::max(left, 0.0);
    top = std::max(top, 0.0);
    right = std::min(right, double(clipWidth));
    bottom = std::min(bottom, double(clipHeight));
  }
  if (!(left < right) || !(top < bottom)) return true;
  if ((right - left) * (bottom - top) > double(kMaxPixels)) return false;
  const auto w = int32_t(right - left), h = int32_t(bottom - top);
  Accumulator acc;
  if (!acc.allocate(w, h) || !out->mask.allocate(w, h)) return false;
  for (const auto& poly : path.polygons) {
    // Every polygon counts the same way round, so overlaps add up and clamp.
    const bool reversed = signedArea(poly) < 0.0;
    const size_t n = poly.size();
    for (size_t i = 0; i < n; ++i) {
      Point2 a = poly[i], b = poly[(i + 1) % n];
      if (reversed) std::swap(a, b);
      acc.edge({a.x - left, a.y - top}, {b.x - left, b.y - top});
    }
  }
  acc.writeTo(out->mask);
  out->left = int32_t(left);
  out->top = int32_t(top);
  return true;
}

}  // namespace gw
