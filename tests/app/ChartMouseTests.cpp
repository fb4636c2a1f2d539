#include "app/ChartMouse.h"

#include "app/ClearAll.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

constexpr Pair kChart0 = Pair::ReferenceFile1;
constexpr Pair kChart1 = Pair::ReferenceFile2;

// The frame a drag must reach to stay: half a cell, rounded half to even,
// and never below 3.
TEST(MinimumFrameSize, HalfACellRoundedToEvenAtLeastThree) {
  const std::pair<int, int> cases[] = {{0, 3}, {1, 3}, {4, 3},  {5, 3},  {6, 3},
                                       {7, 4}, {9, 4}, {11, 6}, {77, 38}};
  for (const auto& [cell, minimum] : cases)
    EXPECT_EQ(MinimumFrameSize(cell), minimum) << cell;
}

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
  void Hover(Pair c, float x, float y) { PictPat_MouseMove(state_, c, x, y); }
  void HoverCell(Pair c, int p) { Hover(c, Centre(p)[0], Centre(p)[1]); }
  bool Release(Pair c, MouseButton b, int p) {
    return PictPat_MouseUp(state_, c, b, Centre(p)[0], Centre(p)[1]);
  }
  std::uint32_t Px(int x, int y) const { return state_.pictures.PictPat[0].Pixel(x, y); }
};

// A point on a shared border belongs to the cell of the lower column, then
// the lower row; points outside every cell hit nothing.
TEST_F(ChartMouseTest, HitTestBordersBelongToTheLowerCell) {
  const ChartGeometry& g = state_.chart;
  const std::tuple<int, int, int> points[] = {{78, 100, 0},   {79, 100, 4},  {1, 78, 0},
                                              {0, 100, -1},   {100, 77, -1}, {463, 386, 23},
                                              {464, 386, -1}, {50, 155, 0},  {50, 156, 1}};
  for (const auto& [x, y, patch] : points)
    EXPECT_EQ(HitTestCell(g, x, y).patch, patch) << x << "," << y;
}

TEST_F(ChartMouseTest, HoverShowsTwoLinesAndOutlinesTheCell) {
  Hover(kChart0, 78, 10 + 78);
  EXPECT_EQ(record().Lb_PDe[0],
            "基準 P1  L=  50.00  a=   0.00  b=   0.00    ⊿E  ⊿E00\r\n"
            "対象 P1  L=  50.00  a=   0.00  b=   0.00   0.00   0.00");
  EXPECT_EQ(Px(77, 88), kWhite);  // the outline's right edge
  HoverCell(kChart0, 5);
  EXPECT_TRUE(record().Lb_PDe[0].starts_with("基準 P6 "));
  EXPECT_NE(Px(77, 88), kWhite);  // leaving repainted the old cell
  Hover(kChart0, 0, 0);           // outside: the labels keep their text
  EXPECT_TRUE(record().Lb_PDe[0].starts_with("基準 P6 "));
  HoverCell(kChart1, 5);  // chart 1 has no File2
  EXPECT_EQ(record().Lb_PDe[1], "");
}

// With only the Reference loaded there is nothing to compare with: the
// Reference's line shows, the second line stays empty.
TEST_F(ChartMouseTest, HoverWithoutFile1ShowsTheReferenceLineOnly) {
  But_Clear_Click(state_);
  Choose(DataSet::Reference, Chart("ref.txt", {{"Q7", 40, 1, 2}}, 4));
  const ChartGeometry& g = state_.chart;
  Hover(kChart0, static_cast<float>(g.CellX(0, 0) + 1), static_cast<float>(g.CellY(0, 0) + 1));
  EXPECT_EQ(record().Lb_PDe[0], "基準 Q7  L=  40.00  a=   1.00  b=   2.00    ⊿E  ⊿E00\r\n");
}

TEST_F(ChartMouseTest, EmptyIdentifiersReadA1) {
  // The row length 4 of the first Reference stays: one column of 4 cells.
  Choose(DataSet::Reference, Chart("ref.txt", {{"", 5.5, 0, 0}}));
  Hover(kChart0, 232, 50);
  EXPECT_TRUE(record().Lb_PDe[0].starts_with("基準 A1    L=   5.50")) << record().Lb_PDe[0];
}

// Clicking patch A, then patch B: A loses its frame at once, B gets it when
// it is next drawn (here: when the pointer leaves it).
TEST_F(ChartMouseTest, ClickSelectsAndFramesThePatch) {
  HoverCell(kChart0, 5);
  EXPECT_FALSE(Release(kChart0, MouseButton::Left, 5));
  EXPECT_EQ(record().Lb_FDe[0], record().Lb_PDe[0]);
  const int ax = 1 + 77, ay = 78 + 77;  // origin of patch 5
  HoverCell(kChart0, 10);
  EXPECT_EQ((std::array{Px(ax, ay), Px(ax + 1, ay + 1), Px(ax + 76, ay + 76)}),
            (std::array{kBlue, kWhite, kBlue}));
  Release(kChart0, MouseButton::Middle, 10);
  EXPECT_NE(Px(ax, ay), kBlue);
  EXPECT_EQ(state_.mouse[0].PrevPatch, 11);
}

// Columns 1-3, rows 0-2 of ⊿E 0.5 ... 1.75 (patch p at 0.125 p): average 1.125.
TEST_F(ChartMouseTest, ModifiedDragFramesAnAreaAndAveragesIt) {
  for (const Modifiers m : {Modifiers{true, false, false}, Modifiers{false, true, false},
                            Modifiers{false, false, true}}) {
    PictPat_MouseDown(state_, kChart0, m, Centre(6)[0], Centre(6)[1]);
    Hover(kChart0, Centre(12)[0], Centre(12)[1]);
    Release(kChart0, MouseButton::Left, 12);
    EXPECT_TRUE(record().Lb_DeBox[0].starts_with("P5-P7:P13-P15  ⊿E=1.13 Max=1.75  ⊿E00="));
    EXPECT_EQ(record().Sh_Box[0], (AreaFrame{116, 116, 154, 154, true}));
    EXPECT_EQ(state_.mouse[0].SelX[1], 3 * 77 + 1 + 38);
    // A modified press without motion: the 2 x 2 frame is below the minimum.
    PictPat_MouseDown(state_, kChart0, m, 100, 100);
    EXPECT_TRUE(record().Sh_Box[0].visible);
    Release(kChart0, MouseButton::Left, 0);
    EXPECT_FALSE(record().Sh_Box[0].visible);
  }
  // A press without a modifier starts no drag; a drag past the grid clamps.
  PictPat_MouseDown(state_, kChart0, {}, 100, 100);
  EXPECT_FALSE(state_.mouse[0].Dragging());
  PictPat_MouseDown(state_, kChart0, {true, false, false}, 10, 90);
  Hover(kChart0, 2000, 2000);
  EXPECT_TRUE(record().Lb_DeBox[0].starts_with("P1-P4:P21-P24  ⊿E=1.44 Max=2.88"));
}

// A frame of exactly the minimum side (3 at cells of 5) survives a release;
// one pixel less in both directions does not.
TEST_F(ChartMouseTest, TheMinimumFrameSurvivesTheRelease) {
  LoadPair(Same(3000, 1), 100);  // 100 x 30 cells of 4 pixels from (172, 32): minimum 3
  ASSERT_EQ(state_.chart.CellSize, 4);
  for (const auto& [side, visible] : {std::pair{3.0f, true}, {2.0f, false}}) {
    PictPat_MouseDown(state_, kChart0, {true, false, false}, 200, 100);
    Hover(kChart0, 200 + side, 100 + side);
    PictPat_MouseUp(state_, kChart0, MouseButton::Left, 200 + side, 100 + side);
    EXPECT_EQ(record().Sh_Box[0].visible, visible) << side;
  }
}

TEST_F(ChartMouseTest, RightClickOpensTheMenuForTheChartWithoutADrag) {
  EXPECT_TRUE(Release(kChart1, MouseButton::Right, 0));
  EXPECT_FALSE(record().Menu_EditSub_Enabled);  // no File2
  EXPECT_TRUE(Release(kChart0, MouseButton::Right, 0));
  EXPECT_TRUE(record().Menu_EditSub_Enabled);
  EXPECT_EQ((std::pair{state_.menuSource, state_.menuIndex}),
            (std::pair{MenuSource::Chart, kChart0}));
  PictPat_MouseDown(state_, kChart0, {true, false, false}, 100, 100);  // a drag ends, no menu
  EXPECT_FALSE(Release(kChart0, MouseButton::Right, 5));
}

}  // namespace
}  // namespace korimo::testing
