#include <gtest/gtest.h>

#include "app/ChartLayout.h"
#include "app/Inspection.h"
#include "core/Common.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class ChartShapeTest : public ::testing::Test {
 protected:
  void Shape(int n, int rowLength, std::vector<std::string> ids = {}) {
    ComparisonData& d = *state_.data;
    d.PatchCount[0] = static_cast<std::int16_t>(n);
    d.RowLength[0] = static_cast<std::int16_t>(rowLength);
    for (std::size_t i = 0; i < ids.size(); ++i)
      d.PatchId[i] = ids[i];
    ChooseChartShape(state_);
  }
  int rows() const { return state_.chart.ChartRows; }
  int cols() const { return state_.chart.ChartCols; }
  FormState state_;
};

std::vector<std::string> LetterNumberIds(int columns, int rows) {
  std::vector<std::string> ids;
  for (int c = 0; c < columns; ++c) {
    for (int r = 1; r <= rows; ++r)
      ids.push_back(std::string(1, static_cast<char>('A' + c)) + std::to_string(r));
  }
  return ids;
}

TEST_F(ChartShapeTest, RowLengthWins) {
  Shape(24, 6);
  EXPECT_EQ(rows(), 6);
  EXPECT_EQ(cols(), 4);
  Shape(7, 10);
  EXPECT_EQ(rows(), 10);
  EXPECT_EQ(cols(), 1);
}

TEST_F(ChartShapeTest, IdentifiersGiveTheColumnLength) {
  Shape(264, 0, LetterNumberIds(12, 22));  // A1 .. L22
  EXPECT_EQ(rows(), 22);
  EXPECT_EQ(cols(), 12);
}

TEST_F(ChartShapeTest, Gs0StopsTheWalkAndTheFallbackSearchesDownward) {
  auto ids = LetterNumberIds(1, 22);
  ids.push_back("GS0");
  ids.resize(288, "X999");
  Shape(288, 0, ids);
  EXPECT_EQ(rows(), 18);
  EXPECT_EQ(cols(), 16);
}

TEST_F(ChartShapeTest, WithoutHintsTheLargestDivisorBelowTheRootServes) {
  Shape(24, 0);
  EXPECT_EQ(rows(), 4);
  EXPECT_EQ(cols(), 6);
  Shape(13, 0);
  EXPECT_EQ(rows(), 1);
  EXPECT_EQ(cols(), 13);
}

TEST_F(ChartShapeTest, LayoutCentresSquareCells) {
  Shape(24, 0);
  LayoutChart(state_, 465, 465);
  EXPECT_EQ(state_.chart.CellSize, 77);
  EXPECT_EQ(state_.chart.CellX(0, 0), 1);
  EXPECT_EQ(state_.chart.CellY(0, 0), 78);
  EXPECT_EQ(state_.chart.CellX(5, 3), 1 + 5 * 77);
  EXPECT_EQ(state_.chart.CellY(5, 3), 78 + 3 * 77);
  EXPECT_EQ(state_.chart.CellX(6, 0), 0);    // spare column
  EXPECT_EQ(state_.chart.CellX(99, 99), 0);  // past the map: harmless
}

TEST_F(ChartShapeTest, HitTestGivesSharedBordersToTheLowerCell) {
  Shape(24, 0);
  LayoutChart(state_, 465, 465);
  EXPECT_EQ(HitTestCell(state_.chart, 78, 100).patch, 0);  // x = X + CellSize of column 0
  EXPECT_EQ(HitTestCell(state_.chart, 79, 100).patch, 4);
  EXPECT_EQ(HitTestCell(state_.chart, 0, 100).patch, -1);
  EXPECT_EQ(HitTestCell(state_.chart, 100, 77).patch, -1);
  EXPECT_EQ(MinimumFrameSize(5), 3);
  EXPECT_EQ(MinimumFrameSize(7), 4);
}

class PatchInspectionTest : public EngineTest {};

TEST_F(PatchInspectionTest, InfoTextLinesUpTheDifferencesUnderTheirHeadings) {
  Choose(0, Chart("ref.txt", {{"", 5.5, 0, 0}}));
  Choose(1, Chart("f1.txt", {{"", 6.5, 0, 0}}));
  EXPECT_EQ(PatchInfoText(data(), 0, 0),
            "基準 A1    L=   5.50  a=   0.00  b=   0.00    ⊿E  ⊿E00\r\n"
            "対象 A1    L=   6.50  a=   0.00  b=   0.00   1.00" +
                FormatFixed7(data().De00[0][0]));
}

TEST_F(PatchInspectionTest, AreaOverColumnsOneToThreeAndRowsZeroToTwo) {
  Choose(0, Chart("ref.txt", Flat(24), 4));
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(24, 2))));
  // Start in the middle of cell (column 1, row 2), drag to cell (3, 0).
  state().SelX[0][0] = 1 + 77 + 38;
  state().SelY[0][0] = 78 + 2 * 77 + 38;
  UpdateAreaSelection(state(), window_, 0, 1 + 3 * 77 + 38, 78 + 38);
  EXPECT_TRUE(Cap(Ctl::Lb_DeBox, 0).starts_with("P5-P7:P13-P15  ⊿E=2.00 Max=2.00  ⊿E00="));
  EXPECT_EQ(window_.AreaBoxWidth(0), 154);
  EXPECT_EQ(window_.AreaBoxHeight(0), 154);
}

TEST_F(PatchInspectionTest, AreaWithoutReferencePatchesKeepsTheText) {
  Choose(0, Chart("ref.txt", Flat(22), 4));  // last column holds 2 patches
  window_.SetCaption(Ctl::Lb_DeBox, 0, "previous");
  state().SelX[0][0] = 1 + 5 * 77 + 10;
  state().SelY[0][0] = 78 + 3 * 77 + 10;
  UpdateAreaSelection(state(), window_, 0, 1 + 5 * 77 + 20, 78 + 3 * 77 + 20);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), "previous");
}

}  // namespace
}  // namespace korimo::testing
