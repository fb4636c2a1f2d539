#include "app/ChartMouse.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

constexpr Pair kChart0 = Pair::ReferenceFile1;

// 4 x 6 cells of 77 pixels from (1, 78).
class ChartMouseTest : public EngineTest {
 protected:
  void SetUp() override {
    std::vector<double> d(24);
    for (int i = 0; i < 24; ++i)
      d[static_cast<std::size_t>(i)] = 0.125 * i;
    LoadPair(d, 4);
  }
  static std::array<float, 2> Centre(int p) {
    return {1 + p / 4 * 77 + 38.0f, 78 + p % 4 * 77 + 38.0f};
  }
};

// A point on a shared border belongs to the cell of the lower column, then
// the lower row; points outside every cell hit nothing.
TEST_F(ChartMouseTest, HitTestBordersBelongToTheLowerCell) {
  const ChartGeometry& g = state_.ui.chart;
  const std::tuple<int, int, int> points[] = {{78, 100, 0},   {79, 100, 4},  {1, 78, 0},
                                              {0, 100, -1},   {100, 77, -1}, {463, 386, 23},
                                              {464, 386, -1}, {50, 155, 0},  {50, 156, 1}};
  for (const auto& [x, y, patch] : points)
    EXPECT_EQ(HitTestCell(g, x, y).patch, patch) << x << "," << y;
}

// Columns 1-3, rows 0-2 of ⊿E 0.5 ... 1.75 (patch p at 0.125 p): average 1.125.
TEST_F(ChartMouseTest, ModifiedDragFramesAnAreaAndAveragesIt) {
  for (const Modifiers m : {Modifiers{true, false, false}, Modifiers{false, true, false},
                            Modifiers{false, false, true}}) {
    Do(PictPat_MouseDown, kChart0, m, Centre(6)[0], Centre(6)[1]);
    Do(PictPat_MouseMove, kChart0, Centre(12)[0], Centre(12)[1]);
    Do(PictPat_MouseUp, kChart0, MouseButton::Left, Centre(12)[0], Centre(12)[1]);
    EXPECT_TRUE(record().Lb_DeBox[0].starts_with("P5-P7:P13-P15  ⊿E=1.13 Max=1.75  ⊿E00="));
    EXPECT_EQ(record().Sh_Box[0], (AreaFrame{116, 116, 154, 154, true}));
    EXPECT_EQ(state_.ui.mouse[0].SelX[1], 3 * 77 + 1 + 38);
    // A modified press without motion: the 2 x 2 frame is below the minimum.
    Do(PictPat_MouseDown, kChart0, m, 100, 100);
    EXPECT_TRUE(record().Sh_Box[0].visible);
    Do(PictPat_MouseUp, kChart0, MouseButton::Left, 100.0f, 100.0f);
    EXPECT_FALSE(record().Sh_Box[0].visible);
  }
  // A press without a modifier starts no drag; a drag past the grid clamps.
  Do(PictPat_MouseDown, kChart0, Modifiers{}, 100, 100);
  EXPECT_FALSE(state_.ui.mouse[0].Dragging());
  Do(PictPat_MouseDown, kChart0, Modifiers{true, false, false}, 10, 90);
  Do(PictPat_MouseMove, kChart0, 2000.0f, 2000.0f);
  EXPECT_TRUE(record().Lb_DeBox[0].starts_with("P1-P4:P21-P24  ⊿E=1.44 Max=2.88"));
}

}  // namespace
}  // namespace korimo::testing
