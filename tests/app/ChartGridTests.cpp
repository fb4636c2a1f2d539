#include <gtest/gtest.h>

#include "app/ChartLayout.h"
#include "app/GridRows.h"
#include "app/ChartCells.h"
#include "core/Common.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

TEST(ChartShape, RowLengthThenIdentifiersThenTheLargestDivisorBelowTheRoot) {
  const auto letterNumberIds = [](int columns, int rows) {  // A1, A2, .. A<rows>, B1, ..
    std::vector<std::string> ids;
    for (int i = 0; i < columns * rows; ++i)
      ids.push_back(std::string(1, static_cast<char>('A' + i / rows)) +
                    std::to_string(1 + i % rows));
    return ids;
  };
  auto gs0 = letterNumberIds(1, 22);  // GS0 stops the walk; the fallback searches downward
  gs0.push_back("GS0");
  gs0.resize(288, "X999");
  struct Case {
    int n, rowLength;
    std::vector<std::string> ids;
    int rows, cols;
  };
  for (const Case& c : {Case{24, 6, {}, 6, 4}, Case{7, 10, {}, 10, 1},
                        Case{264, 0, letterNumberIds(12, 22), 22, 12}, Case{288, 0, gs0, 18, 16},
                        Case{24, 0, {}, 4, 6}, Case{13, 0, {}, 1, 13}}) {
    FormState state;
    state.data->PatchCount[0] = static_cast<std::int16_t>(c.n);
    state.data->RowLength[0] = static_cast<std::int16_t>(c.rowLength);
    std::copy(c.ids.begin(), c.ids.end(), state.data->PatchId.begin());
    ChooseChartShape(state);
    EXPECT_EQ(state.chart.ChartRows, c.rows) << c.n;
    EXPECT_EQ(state.chart.ChartCols, c.cols) << c.n;
  }
}

TEST(ChartShape, LayoutCentresSquareCellsAndSharedBordersGoToTheLowerCell) {
  FormState state;
  state.data->PatchCount[0] = 24;
  ChooseChartShape(state);  // 4 rows x 6 columns
  LayoutChart(state, 465, 465);
  const ChartGeometry& g = state.chart;
  EXPECT_EQ(g.CellSize, 77);
  EXPECT_EQ(g.CellX(0, 0), 1);
  EXPECT_EQ(g.CellY(0, 0), 78);
  EXPECT_EQ(g.CellX(5, 3), 1 + 5 * 77);
  EXPECT_EQ(g.CellY(5, 3), 78 + 3 * 77);
  EXPECT_EQ(g.CellX(6, 0), 0);                  // spare column
  EXPECT_EQ(g.CellX(99, 99), 0);                // past the map: harmless
  EXPECT_EQ(HitTestCell(g, 78, 100).patch, 0);  // x = X + CellSize of column 0
  EXPECT_EQ(HitTestCell(g, 79, 100).patch, 4);
  EXPECT_EQ(HitTestCell(g, 0, 100).patch, -1);
  EXPECT_EQ(HitTestCell(g, 100, 77).patch, -1);
  EXPECT_EQ(MinimumFrameSize(5), 3);  // half, ties to even, at least 3
  EXPECT_EQ(MinimumFrameSize(7), 4);
}

using Column = std::vector<std::string>;

class ViewTest : public EngineTest {
 protected:
  Column Numbers() const {
    Column out;
    for (const GridRow& row : window_.GridDataRows())
      out.push_back(row[0]);
    return out;
  }
  const Column up_{"    1", "    2", "    3"};
  const Column down_{"    3", "    2", "    1"};
};

TEST_F(ViewTest, PatchInfoTextAndAreaStatistics) {
  Choose(0, Chart("ref.txt", {{"", 5.5, 0, 0}}));
  Choose(1, Chart("f1.txt", {{"", 6.5, 0, 0}}));
  EXPECT_EQ(PatchInfoText(data(), 0, 0),  // differences under their headings
            "基準 A1    L=   5.50  a=   0.00  b=   0.00    ⊿E  ⊿E00\r\n"
            "対象 A1    L=   6.50  a=   0.00  b=   0.00   1.00" +
                FormatFixed7(data().De00[0][0]));
  LoadPair(Same(22, 2), 4);  // 4 rows x 6 columns, the last holding 2 patches
  // Start in the middle of cell (column 1, row 2), drag to cell (3, 0).
  state().SelX[0][0] = 1 + 77 + 38;
  state().SelY[0][0] = 78 + 2 * 77 + 38;
  UpdateAreaSelection(state(), window_, 0, 1 + 3 * 77 + 38, 78 + 38);
  EXPECT_TRUE(Cap(Ctl::Lb_DeBox).starts_with("P5-P7:P13-P15  ⊿E=2.00 Max=2.00  ⊿E00="));
  EXPECT_EQ(window_.AreaBoxWidth(0), 154);
  EXPECT_EQ(window_.AreaBoxHeight(0), 154);

  window_.SetCaption(Ctl::Lb_DeBox, 0, "previous");  // cells without patches keep the text
  state().SelX[0][0] = 1 + 5 * 77 + 10;
  state().SelY[0][0] = 78 + 3 * 77 + 10;
  UpdateAreaSelection(state(), window_, 0, 1 + 5 * 77 + 20, 78 + 3 * 77 + 20);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox), "previous");
}

TEST_F(ViewTest, GridCellTextsFollowTheirFormats) {
  Choose(0, Chart("ref.txt", {{"SAMPLE123", 95.12, -0.48, 2.33}, {"A1", 50, 0, 0}}));
  Choose(2, Chart("f2.txt", {{"SAMPLE123", 95, 0, 0}, {"A1", 0, 5, 5}}));
  const auto& rows = window_.GridDataRows();
  ASSERT_EQ(rows.size(), 2u);
  // File1 never read: its zeros are compared; the CIEDE2000 cells are taken as given.
  const GridRow first = {"    1", "LE123",    "95.12", "-0.48", "2.33", "0.00", "0.00",     "0.00",
                         "95.15", rows[0][9], "95.00", "0.00",  "0.00", "2.38", rows[0][14]};
  EXPECT_EQ(rows[0], first);
  EXPECT_EQ(rows[1][1], "   A1");
  for (int c = 10; c <= 14; ++c)
    EXPECT_EQ(rows[1][c], "") << c;  // File2 L* not above 0
}

TEST_F(ViewTest, GridHeadingMarksAndTheNumberIdQuirk) {
  Choose(0, Chart("ref.txt", Flat(3)));
  window_.ClickGridHeading(0);
  EXPECT_EQ(window_.GridHeadings()[0], "No.▲");
  EXPECT_EQ(state().GridSortKey, 1);
  window_.ClickGridHeading(0);
  EXPECT_EQ(window_.GridHeadings()[0], "No.▼");
  EXPECT_EQ(Numbers(), down_);
  window_.ClickGridHeading(1);  // stored key 1 equals "ID": reverses instead
  EXPECT_EQ(window_.GridHeadings()[0], "No.\u3000");
  EXPECT_EQ(window_.GridHeadings()[1], "ID▲");
  EXPECT_EQ(state().GridSortKey, 1);
  window_.ClickGridHeading(9);
  EXPECT_EQ(window_.GridHeadings()[1], "ID\u3000");
  EXPECT_EQ(window_.GridHeadings()[9], "⊿E00▲");
}

TEST_F(ViewTest, GridTiesSortStateAcrossClearAllAndOnlyFile1) {
  LoadPair({2, 2, 1});
  window_.ClickGridHeading(8);  // ties follow the exchange order both ways
  EXPECT_EQ(Numbers(), down_);
  window_.ClickGridHeading(8);
  EXPECT_EQ(Numbers(), up_);
  window_.ClickGridHeading(9);
  window_.ClickGridHeading(9);
  window_.ClearAll();
  EXPECT_TRUE(window_.GridDataRows().empty());
  EXPECT_EQ(window_.GridHeadings()[9], "⊿E00▼");   // the sort survives clear-all
  Choose(1, Chart("f1.txt", Offsets({3, 1, 2})));  // only File1: the sort covers 0 entries
  EXPECT_EQ(Numbers(), down_);
  window_.ClickGridHeading(5);
  EXPECT_EQ(Numbers(), up_);
}

}  // namespace
}  // namespace korimo::testing
