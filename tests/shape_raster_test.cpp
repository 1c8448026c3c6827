// The rasteriser's pixels for shapes whose GDI output (under wine, null pen,
// 24-bit DIB section) was recorded as the pictures below; the Windows suite
// compares many more random shapes live.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "imaging/shape_raster.h"

namespace gw {
namespace {

constexpr int32_t kW = 20, kH = 14;

class ShapeCanvas {
 public:
  ShapeCanvas() : block_(bitmapCreateTrueColour(kW, kH, 24)), lock_(block_.get()), view_(BitmapView::of(lock_)) {}
  const BitmapView& view() const { return view_; }
  std::vector<std::string> picture() const {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < kH; ++y) {
      std::string row;
      for (int32_t x = 0; x < kW; ++x) row.push_back(view_.getPixel(x, y) ? '#' : '.');
      rows.push_back(row);
    }
    return rows;
  }

 private:
  MemBlock block_;
  MemLock lock_;
  BitmapView view_;
};

TEST(ShapeRasterTest, RectangleLeavesRightColumnAndBottomRow) {
  ShapeCanvas c;
  fillRectangle(c.view(), 2, 3, 12, 9, 0xFFFFFF);
  std::vector<std::string> expected(kH, std::string(kW, '.'));
  for (int y = 3; y <= 7; ++y) expected[y] = "..#########.........";
  EXPECT_EQ(c.picture(), expected);
}

TEST(ShapeRasterTest, RectangleCornersInAnyOrderAndEmptyBounds) {
  ShapeCanvas a, b, empty;
  fillRectangle(a.view(), 2, 3, 12, 9, 0xFFFFFF);
  fillRectangle(b.view(), 12, 9, 2, 3, 0xFFFFFF);
  EXPECT_EQ(a.picture(), b.picture());
  fillRectangle(empty.view(), 5, 5, 5, 10, 0xFFFFFF);
  fillRectangle(empty.view(), 5, 5, 6, 6, 0xFFFFFF);  // one pixel less is nothing
  EXPECT_EQ(empty.picture(), std::vector<std::string>(kH, std::string(kW, '.')));
}

TEST(ShapeRasterTest, EllipsesAsGdiDrawsThem) {
  ShapeCanvas c;
  fillEllipse(c.view(), 2, 2, 12, 9, 0xFFFFFF);
  const std::vector<std::string> small = {
      "....................", "....................", ".....####...........", "...########.........",
      "..##########........", "..##########........", "..##########........", "...########.........",
      ".....####...........", "....................", "....................", "....................",
      "....................", "...................."};
  EXPECT_EQ(c.picture(), small);

  ShapeCanvas big;
  fillEllipse(big.view(), 1, 1, 19, 13, 0xFFFFFF);
  const std::vector<std::string> wide = {
      "....................", ".......######.......", "....############....", "...##############...",
      "..################..", ".##################.", ".##################.", ".##################.",
      ".##################.", "..################..", "...##############...", "....############....",
      ".......######.......", "...................."};
  EXPECT_EQ(big.picture(), wide);

  ShapeCanvas tiny;
  fillEllipse(tiny.view(), 1, 1, 4, 4, 0xFFFFFF);
  std::vector<std::string> plus(kH, std::string(kW, '.'));
  plus[1] = "..#.................";
  plus[2] = ".###................";
  plus[3] = "..#.................";
  EXPECT_EQ(tiny.picture(), plus);
}

TEST(ShapeRasterTest, NarrowEllipseIsARectangle) {
  ShapeCanvas a, b;
  fillEllipse(a.view(), 3, 2, 5, 10, 0xFFFFFF);  // two columns wide
  fillRectangle(b.view(), 3, 2, 5, 10, 0xFFFFFF);
  EXPECT_EQ(a.picture(), b.picture());
}

TEST(ShapeRasterTest, PolygonsAsGdiFillsThem) {
  ShapeCanvas c;
  ShapePoint triangle[3] = {{1, 1}, {15, 4}, {5, 12}};
  fillPolygon(c.view(), triangle, 3, 0xFFFFFF);
  const std::vector<std::string> expected = {
      "....................", "....................", "..####..............", "..#########.........",
      "...############.....", "...###########......", "...##########.......", "....########........",
      "....######..........", "....#####...........", ".....###............", ".....##.............",
      "....................", "...................."};
  EXPECT_EQ(c.picture(), expected);

  ShapeCanvas square;
  ShapePoint corners[4] = {{2, 2}, {12, 2}, {12, 10}, {2, 10}};
  fillPolygon(square.view(), corners, 4, 0xFFFFFF);
  std::vector<std::string> box(kH, std::string(kW, '.'));
  for (int y = 2; y < 10; ++y) box[y] = "..##########........";
  EXPECT_EQ(square.picture(), box);
}

TEST(ShapeRasterTest, PolygonOfManyPointsFillsAsFewDo) {
  // Small polygons are kept on the stack and larger ones on the heap: the
  // square drawn with extra points along its sides, below and above that
  // line, fills exactly as its four corners do.
  ShapeCanvas four, eight, fourteen;
  ShapePoint corners[4] = {{2, 2}, {12, 2}, {12, 10}, {2, 10}};
  ShapePoint some[8] = {{2, 2}, {7, 2}, {12, 2}, {12, 6}, {12, 10}, {7, 10}, {2, 10}, {2, 6}};
  ShapePoint many[14] = {{2, 2},  {5, 2},  {8, 2}, {12, 2}, {12, 4}, {12, 7}, {12, 10},
                         {9, 10}, {6, 10}, {4, 10}, {2, 10}, {2, 8}, {2, 5},  {2, 3}};
  fillPolygon(four.view(), corners, 4, 0xFFFFFF);
  fillPolygon(eight.view(), some, 8, 0xFFFFFF);
  fillPolygon(fourteen.view(), many, 14, 0xFFFFFF);
  EXPECT_EQ(eight.picture(), four.picture());
  EXPECT_EQ(fourteen.picture(), four.picture());
}

TEST(ShapeRasterTest, SelfCrossingPolygonUsesAlternateFill) {
  // A pentagram: the inner pentagon is crossed twice and stays empty.
  ShapeCanvas c;
  ShapePoint star[5] = {{10, 0}, {16, 13}, {1, 4}, {19, 4}, {4, 13}};
  fillPolygon(c.view(), star, 5, 0xFFFFFF);
  EXPECT_EQ(c.view().getPixel(10, 7), 0);   // centre
  EXPECT_NE(c.view().getPixel(10, 2), 0);   // the top point
}

TEST(ShapeRasterTest, ClipsShapesFarOutsideTheBitmap) {
  ShapeCanvas c;
  ShapePoint huge[4] = {{-2000000000, -5}, {2000000000, -5}, {2000000000, 3}, {-2000000000, 3}};
  fillPolygon(c.view(), huge, 4, 0x0000FF);
  fillEllipse(c.view(), -100000, 10, 100000, 500000, 0x00FF00);
  fillRectangle(c.view(), INT32_MIN, INT32_MIN, INT32_MAX, -1, 0xFF0000);
  EXPECT_EQ(c.view().getPixel(0, 0), 0x0000FF);
  EXPECT_EQ(c.view().getPixel(kW - 1, 2), 0x0000FF);
  EXPECT_EQ(c.view().getPixel(0, 3), 0);
  EXPECT_EQ(c.view().getPixel(kW / 2, kH - 1), 0x00FF00);

  // Beyond a million pixels across an ellipse is not drawn at all.
  ShapeCanvas none;
  fillEllipse(none.view(), -100000, 10, 100000, 2000000, 0x00FF00);
  EXPECT_EQ(none.view().getPixel(kW / 2, kH - 1), 0);
}

TEST(ShapeRasterTest, DegenerateInputPaintsNothing) {
  ShapeCanvas c;
  ShapePoint line[2] = {{0, 0}, {19, 13}};
  fillPolygon(c.view(), line, 2, 0xFFFFFF);
  fillPolygon(c.view(), nullptr, 3, 0xFFFFFF);
  ShapePoint flat[3] = {{0, 5}, {10, 5}, {19, 5}};
  fillPolygon(c.view(), flat, 3, 0xFFFFFF);
  fillEllipse(c.view(), 3, 3, 3, 9, 0xFFFFFF);
  fillPolygon(BitmapView(), line, 2, 0xFFFFFF);  // an invalid view is left alone
  EXPECT_EQ(c.picture(), std::vector<std::string>(kH, std::string(kW, '.')));
}

TEST(ShapeRasterTest, FillSpanWritesBlueGreenRed) {
  ShapeCanvas c;
  fillSpan(c.view(), 0, -5, 2, 0x00332211);
  const uint8_t* p = c.view().row(0);
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(c.view().getPixel(2, 0), 0);
}

}  // namespace
}  // namespace gw
