#include "app/ResultsGrid.h"

#include <gtest/gtest.h>

#include "app/ClearAll.h"
#include "color/ColorConvert.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class ResultsGridTest : public EngineTest {
 protected:
  Strings Numbers() const {  // the first column in display order
    Strings out;
    for (std::size_t r = 0; r < record().FlexG.RowCount(); ++r)
      out.push_back(record().FlexG.Row(r)[0]);
    return out;
  }
  void ClickHeading(int column) {
    FlexG_MouseDown(state_, true);
    ASSERT_TRUE(FlexG_Click(state_, column));
  }
  const std::string& Heading(int c) const {
    return record().FlexG_Headings[static_cast<std::size_t>(c)];
  }
  const Strings up_{"    1", "    2", "    3"}, down_{"    3", "    2", "    1"};
};

// Five-character number and identifier fields, "0.00" numbers without a
// minus sign for a rounded zero, File2 cells only where its L* is above 0.
TEST_F(ResultsGridTest, CellsOfAPatchRow) {
  Choose(DataSet::Reference,
         Chart("ref.txt", {{"SAMPLE123", 5.5, -0.004, 12.345}, {"A1", 50, 0, 0}}));
  const GridRow& first = record().FlexG.Row(0);
  EXPECT_EQ(Strings(first.begin(), first.begin() + 5),
            (Strings{"    1", "LE123", "5.50", "0.00", "12.35"}));
  Choose(DataSet::File1, Chart("f1.txt", {{"x", 51, 0, 0}, {"y", 52, 0, 0}}));
  Choose(DataSet::File2, Chart("f2.txt", {{"x", 0, 1, 1}, {"y", 53, 0, 0}}));
  EXPECT_EQ(record().FlexG.Row(0)[1], "    x");  // the names of the file read last
  EXPECT_EQ(Strings(record().FlexG.Row(0).begin() + 10, record().FlexG.Row(0).end()),
            (Strings{"", "", "", "", ""}));
  const GridRow& second = record().FlexG.Row(1);
  EXPECT_EQ(Strings(second.begin() + 10, second.begin() + 14),
            (Strings{"53.00", "0.00", "0.00", "3.00"}));
}

TEST_F(ResultsGridTest, HeadingMarksAndTheNumberIdQuirk) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(3)));
  EXPECT_EQ(Heading(0), "No.\u3000");
  ClickHeading(0);
  EXPECT_EQ(Heading(0), "No.▲");
  ClickHeading(0);
  EXPECT_EQ(Heading(0), "No.▼");
  EXPECT_EQ(Numbers(), down_);
  ClickHeading(1);  // the stored key 1 equals "ID": reverses instead
  EXPECT_EQ((Strings{Heading(0), Heading(1)}), (Strings{"No.\u3000", "ID▲"}));
  EXPECT_EQ(state_.GridSortKey, 1);
  EXPECT_EQ(Numbers(), up_);
  ClickHeading(9);
  EXPECT_EQ((Strings{Heading(1), Heading(9)}), (Strings{"ID\u3000", "⊿E00▲"}));
  FlexG_MouseDown(state_, false);  // a click on a row does not sort
  EXPECT_FALSE(FlexG_Click(state_, 2));
}

// Keys 2, 2, 1 at patches 1, 2, 3: ascending 3, 2, 1; descending 1, 2, 3.
TEST_F(ResultsGridTest, TiesSortStateAcrossClearAllAndOnlyFile1) {
  LoadPair({2, 2, 1});
  ClickHeading(8);
  EXPECT_EQ(Numbers(), down_);
  ClickHeading(8);
  EXPECT_EQ(Numbers(), up_);
  ClickHeading(9);
  ClickHeading(9);
  But_Clear_Click(state_);
  EXPECT_EQ(record().FlexG.RowCount(), 0u);
  EXPECT_EQ(Heading(9), "⊿E00▼");                               // the sort survives clear-all
  Choose(DataSet::File1, Chart("f1.txt", Offsets({3, 1, 2})));  // the sort covers 0 entries
  EXPECT_EQ(Numbers(), down_);
  ClickHeading(5);
  EXPECT_EQ(Numbers(), up_);
}

// A heading click reuses the cell texts, but a new read rebuilds them.
TEST_F(ResultsGridTest, SortingAfterAReadShowsTheNewValues) {
  LoadPair({1, 3, 2});
  ClickHeading(8);
  Choose(DataSet::File1, Chart("f1.txt", Offsets({9, 7, 8})));
  ClickHeading(8);
  EXPECT_EQ(record().FlexG.Row(0)[8], "9.00");
}

// 30 patches at L* 20 + i: the strip shows the 24 rows from the one at its
// top in their Reference colours, from the texts as shown.
TEST_F(ResultsGridTest, SwatchesShowTheVisibleRowsInGridOrder) {
  std::vector<double> d;
  for (int i = 0; i < 30; ++i)
    d.push_back(-30 + i);
  Choose(DataSet::Reference, Chart("ref.txt", Offsets(d)));
  ClickHeading(2);
  ClickHeading(2);  // by L0 descending: row r has L* 50 - r
  FlexG_Scroll(state_, 3);
  const Raster& strip = state_.pictures.PictD;
  for (int g = 0; g < 24; ++g)
    EXPECT_EQ(strip.Pixel(10, 20 * g + 5), LabToRgb(47 - g, 0, 0)) << g;
}

TEST_F(ResultsGridTest, RightClickMenuAndTheTextOfTheWholeGrid) {
  EXPECT_FALSE(FlexG_MouseUp(state_, MouseButton::Left));
  Choose(DataSet::Reference, Chart("ref.txt", Flat(1)));
  EXPECT_TRUE(FlexG_MouseUp(state_, MouseButton::Right));
  EXPECT_FALSE(record().Menu_EditSub_Enabled);  // only the Reference
  Choose(DataSet::File1, Chart("f1.txt", Offsets({1})));
  Choose(DataSet::File2, Chart("f2.txt", Offsets({2})));
  EXPECT_TRUE(FlexG_MouseUp(state_, MouseButton::Right));
  EXPECT_TRUE(record().Menu_EditSub_Enabled);
  EXPECT_EQ(
      GridText(record()),
      "No.　\tID　\tL0　\ta0　\tb0　\tL1　\ta1　\tb1　\t⊿E　\t⊿E00　\tL2　\ta2　\tb2　\t⊿E　\t"
      "⊿E00　\r\n    1\t   P1\t50.00\t0.00\t0.00\t51.00\t0.00\t0.00\t1.00\t1.00\t52.00\t0.00\t"
      "0.00\t2.00\t1.99\r\n");
}

}  // namespace
}  // namespace korimo::testing
