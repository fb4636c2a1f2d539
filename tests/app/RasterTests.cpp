#include "app/Raster.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace korimo {
namespace {

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
