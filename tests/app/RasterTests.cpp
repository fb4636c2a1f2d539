#include "app/Raster.h"

#include <gtest/gtest.h>

#include <string>

namespace korimo {
namespace {

// The top-left w x h pixels: '.' for the background, else the colour's value.
std::string Picture(const Raster& r, int w, int h) {
  std::string rows;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      rows += r.Pixel(x, y) == r.Background() ? '.' : static_cast<char>('0' + r.Pixel(x, y));
    rows += '|';
  }
  return rows;
}

TEST(Raster, ShapesCoverExactlyTheirPixels) {
  Raster r(20, 10, kWhite);
  r.FillRect(3, 2, 1, 1, 1);  // both corners belong to it
  r.FillRect(5, 0, 6, 1, 2);  // and neighbours abut
  r.FillRect(7, 0, 8, 1, 3);
  EXPECT_EQ(Picture(r, 10, 4), ".....2233.|.111.2233.|.111......|..........|");
  r.Clear();
  r.Circle(2, 2, 2.0, 4);
  EXPECT_EQ(Picture(r, 6, 5), ".444..|4...4.|4...4.|4...4.|.444..|");
  r.Clear();
  r.Line(4, 0, 0, 4, 5);  // a diagonal covers one pixel per row, both ends included
  r.RectOutline(0, 0, 2, 2, 6);
  EXPECT_EQ(Picture(r, 6, 5), "666.5.|6.65..|666...|.5....|5.....|");
  r.Clear();
  r.SetLineWidth(2);  // a wide outline grows inwards
  r.RectOutline(0, 0, 4, 3, 7);
  EXPECT_EQ(Picture(r, 6, 5), "77777.|77777.|77777.|77777.|......|");
}

TEST(Raster, ClippingCropsAndRevisions) {
  Raster r(4, 3, kBlack);
  const std::uint64_t before = r.Revision();
  r.FillRect(-5, -5, 100, 0, 9);
  r.SetPixel(9, 9, 8);                // outside: no effect
  EXPECT_EQ(r.Pixel(-1, 0), kBlack);  // the background outside
  EXPECT_GT(r.Revision(), before);
  r.SetPixel(3, 2, 5);
  const Raster part = r.Crop(2, 1, 10, 10);  // as far as the picture reaches
  EXPECT_EQ((std::array{part.Width(), part.Height()}), (std::array{2, 2}));
  EXPECT_EQ(part.Pixel(1, 1), 5u);
  EXPECT_EQ(r.Crop(-2, 0, 3, 1).Pixels(), (std::vector<std::uint32_t>{9}));
  const Raster none;
  EXPECT_TRUE(none.Empty());
}

}  // namespace
}  // namespace korimo
