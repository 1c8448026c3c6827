// The shape rasteriser against real GDI: random polygons, ellipses and
// rectangles drawn with the null pen on a 24-bit DIB section and with our own
// rasteriser on a Bitmap must give the same pixels. And the gradients drawn
// with it must be the native build's.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/le_bytes.h"
#include "harness.h"
#include "tests/gradient_golden.h"
#include "platform/bitmap.h"
#include "imaging/shape_raster.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"
#include "platform/memory.h"

namespace {

constexpr int kWidth = 61;   // odd sizes so the row padding is exercised
constexpr int kHeight = 47;
constexpr uint32_t kColour = 0x00336699;

// A fixed-seed generator, so a failure names a reproducible case.
struct Lcg {
  uint32_t state;
  int next(int lo, int hi) {  // inclusive
    state = state * 1664525u + 1013904223u;
    return lo + int((state >> 8) % uint32_t(hi - lo + 1));
  }
};

struct GdiCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr, oldPen = nullptr, oldBrush = nullptr;
  HBRUSH brush = nullptr;
  uint8_t* bits = nullptr;
  size_t stride = ((kWidth * 3 + 3) / 4) * 4;

  GdiCanvas() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    dc = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<uint8_t*>(pixels);
    oldBitmap = SelectObject(dc, bitmap);
    oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    brush = CreateSolidBrush(kColour);
    oldBrush = SelectObject(dc, brush);
  }
  ~GdiCanvas() {
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void clear() {
    GdiFlush();
    std::memset(bits, 0, stride * kHeight);
  }
};

enum class Shape { Polygon, Ellipse, Rectangle };

bool sameAsGdi(GdiCanvas& gdi, Shape shape, const std::vector<gw::ShapePoint>& pts, int left, int top,
               int right, int bottom, const char* label, int index) {
  gdi.clear();
  gw::MemBlock ours(gw::bitmapCreateTrueColour(kWidth, kHeight, 24));
  gw::MemLock lock(ours.get());
  gw::BitmapView view = gw::BitmapView::of(lock);
  switch (shape) {
    case Shape::Polygon: {
      std::vector<POINT> gp;
      for (const auto& p : pts) gp.push_back(POINT{p.x, p.y});
      Polygon(gdi.dc, gp.data(), int(gp.size()));
      gw::fillPolygon(view, pts.data(), pts.size(), kColour);
      break;
    }
    case Shape::Ellipse:
      Ellipse(gdi.dc, left, top, right, bottom);
      gw::fillEllipse(view, left, top, right, bottom, kColour);
      break;
    case Shape::Rectangle:
      Rectangle(gdi.dc, left, top, right, bottom);
      gw::fillRectangle(view, left, top, right, bottom, kColour);
      break;
  }
  GdiFlush();
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* theirs = gdi.bits + size_t(kHeight - 1 - y) * gdi.stride;
    const uint8_t* mine = view.row(y);
    if (std::memcmp(theirs, mine, size_t(kWidth) * 3) != 0) {
      int x = 0;
      while (std::memcmp(theirs + x * 3, mine + x * 3, 3) == 0) ++x;
      std::printf("  %s %d differs first at (%d, %d): gdi %s, ours %s; bounds %d,%d,%d,%d, %u points\n",
                  label, index, x, y, theirs[x * 3] ? "set" : "clear", mine[x * 3] ? "set" : "clear", left,
                  top, right, bottom, unsigned(pts.size()));
      for (const auto& p : pts) std::printf("    (%d, %d)\n", p.x, p.y);
      return false;
    }
  }
  return true;
}

}  // namespace

GW_TEST(ShapeRasteriserMatchesGdi) {
  GdiCanvas gdi;
  CHECK(gdi.bits != nullptr);
  if (!gdi.bits) return;
  Lcg rng{12345};
  const int perShape = 400;
  int matched[3] = {0, 0, 0};
  for (int i = 0; i < perShape; ++i) {
    int n = rng.next(3, 9);
    std::vector<gw::ShapePoint> pts;
    // Every tenth reaches far outside, as the turned bands of a gradient do.
    const int reach = (i % 10 == 0) ? 400 : 12;
    for (int k = 0; k < n; ++k) pts.push_back({rng.next(-reach, kWidth + reach), rng.next(-reach, kHeight + reach)});
    if (sameAsGdi(gdi, Shape::Polygon, pts, 0, 0, 0, 0, "polygon", i)) ++matched[0];
  }
  for (int i = 0; i < perShape; ++i) {
    // Mostly ordinary sizes, some thin or tiny, some larger than the canvas.
    int l = rng.next(-20, kWidth), t = rng.next(-20, kHeight);
    int w = (i % 5 == 0) ? rng.next(0, 4) : rng.next(1, 90);
    int h = (i % 7 == 0) ? rng.next(0, 4) : rng.next(1, 70);
    if (i % 13 == 0) {  // rings larger than the picture, as gradients draw them
      l = rng.next(-300, 0);
      t = rng.next(-200, 0);
      w = rng.next(kWidth, 600);
      h = rng.next(kHeight, 400);
    }
    // Wine's elliptic region leaves the tip rows of a very tall ellipse of
    // 3 or 4 columns uninitialised, so what it paints there is heap noise;
    // our rasteriser leaves them empty (as wine does with fresh memory).
    if (w >= 3 && w <= 4 && h > 2 * w) h = 2 * w;
    int r = l + w, b = t + h;
    if (i % 11 == 0) std::swap(l, r);  // reversed bounds are put in order
    if (sameAsGdi(gdi, Shape::Ellipse, {}, l, t, r, b, "ellipse", i)) ++matched[1];
  }
  for (int i = 0; i < perShape; ++i) {
    int l = rng.next(-10, kWidth + 5), t = rng.next(-10, kHeight + 5);
    int r = rng.next(-10, kWidth + 10), b = rng.next(-10, kHeight + 10);
    if (sameAsGdi(gdi, Shape::Rectangle, {}, l, t, r, b, "rectangle", i)) ++matched[2];
  }
  std::printf("  identical to GDI: polygons %d/%d, ellipses %d/%d, rectangles %d/%d\n", matched[0], perShape,
              matched[1], perShape, matched[2], perShape);
  CHECK_EQ(matched[0], perShape);
  CHECK_EQ(matched[1], perShape);
  CHECK_EQ(matched[2], perShape);
}

// The DLL's gradients must be the native build's pixels: the same golden
// hashes as the native suite (single-precision arithmetic on both).

GW_TEST(GradientsMatchTheNativeBuild) {
  int same = 0;
  const int count = int(sizeof gw::golden::kGradientCases / sizeof gw::golden::kGradientCases[0]);
  for (const gw::golden::GradientCase& c : gw::golden::kGradientCases) {
    uint8_t g[gw::kGradientSettingsSize];
    gw::golden::gradientCaseSettings(c, g);
    gw::MemBlock bmp(gw::gradientRender(g, gw::golden::kGradientWidth, gw::golden::kGradientHeight));
    gw::MemLock lock(bmp.get());
    gw::BitmapView v = gw::BitmapView::of(lock);
    CHECK(v.valid());
    if (!v.valid()) continue;
    if (gw::golden::pixelHash(v) == c.hash) ++same;
    else std::printf("  shape %d %s differs from the native build\n", int(c.shape), c.multi ? "multi" : "two");
  }
  std::printf("  gradients identical to the native build: %d/%d\n", same, count);
  CHECK_EQ(same, count);
}
