#include <gtest/gtest.h>

#include "app/GridRows.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class GridRowsTest : public EngineTest {
 protected:
  std::vector<std::string> Column(int c) const {
    std::vector<std::string> out;
    for (const GridRow& row : window_.GridDataRows())
      out.push_back(row[c]);
    return out;
  }
};

TEST_F(GridRowsTest, CellTextsFollowTheGridFormats) {
  Choose(0, Chart("ref.txt", {{"SAMPLE123", 95.12, -0.48, 2.33}, {"A1", 50, 0, 0}}));
  Choose(2, Chart("f2.txt", {{"SAMPLE123", 95, 0, 0}, {"A1", 0, 5, 5}}));
  const auto& rows = window_.GridDataRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "    1");
  EXPECT_EQ(rows[0][1], "LE123");
  EXPECT_EQ(rows[1][1], "   A1");
  EXPECT_EQ(rows[0][2], "95.12");
  EXPECT_EQ(rows[0][3], "-0.48");
  EXPECT_EQ(rows[0][10], "95.00");
  EXPECT_EQ(rows[0][5], "0.00");  // File1 never read
  for (int c = 10; c <= 14; ++c)
    EXPECT_EQ(rows[1][c], "") << c;  // File2 L* not above 0
}

TEST_F(GridRowsTest, TiesFollowTheExchangeOrderBothWays) {
  Choose(0, Chart("ref.txt", Flat(3)));
  Choose(1, Chart("f1.txt", Offsets({2, 2, 1})));
  window_.ClickGridHeading(8);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"    3", "    2", "    1"}));
  window_.ClickGridHeading(8);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"    1", "    2", "    3"}));
}

TEST_F(GridRowsTest, HeadingMarksAndTheNumberIdQuirk) {
  Choose(0, Chart("ref.txt", Flat(3)));
  window_.ClickGridHeading(0);
  EXPECT_EQ(window_.GridHeadings()[0], "No.▲");
  EXPECT_EQ(state().GridSortKey, 1);
  window_.ClickGridHeading(0);
  EXPECT_EQ(window_.GridHeadings()[0], "No.▼");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"    3", "    2", "    1"}));
  window_.ClickGridHeading(1);  // stored key 1 equals "ID": reverses instead
  EXPECT_EQ(window_.GridHeadings()[0], "No.\u3000");
  EXPECT_EQ(window_.GridHeadings()[1], "ID▲");
  EXPECT_EQ(state().GridSortKey, 1);
  window_.ClickGridHeading(9);
  EXPECT_EQ(window_.GridHeadings()[1], "ID\u3000");
  EXPECT_EQ(window_.GridHeadings()[9], "⊿E00▲");
}

TEST_F(GridRowsTest, OnlyFile1LoadedSortsNothing) {
  Choose(1, Chart("f1.txt", Offsets({3, 1, 2})));
  window_.ClickGridHeading(5);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"    1", "    2", "    3"}));
  window_.ClickGridHeading(5);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"    3", "    2", "    1"}));
}

TEST_F(GridRowsTest, SortStateSurvivesClearAll) {
  Choose(0, Chart("ref.txt", Flat(3)));
  Choose(1, Chart("f1.txt", Offsets({1, 3, 2})));
  window_.ClickGridHeading(9);
  window_.ClickGridHeading(9);
  window_.ClearAll();
  EXPECT_TRUE(window_.GridDataRows().empty());
  EXPECT_EQ(window_.GridHeadings()[9], "⊿E00▼");
  Choose(0, Chart("ref.txt", Flat(3)));
  Choose(1, Chart("f1.txt", Offsets({1, 3, 2})));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"    2", "    3", "    1"}));
}

TEST(BuildGridRows, NothingLoadedLeavesTheGridAlone) {
  ComparisonData d;
  EXPECT_FALSE(BuildGridRows(d, 0).has_value());
}

}  // namespace
}  // namespace korimo::testing
