#include "app/ResultsGrid.h"

#include <gtest/gtest.h>

#include "app/ClearAll.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

class ResultsGridTest : public EngineTest {
 protected:
  Strings Numbers() const {  // the first column in display order
    Strings out;
    for (std::size_t r = 0; r < record().FlexG.RowCount(); ++r)
      out.push_back(std::string(record().FlexG.Row(r)[0]));
    return out;
  }
  void ClickHeading(int column) {
    Do(FlexG_MouseDown, true);
    ASSERT_TRUE(Do(FlexG_Click, column));
  }
  const std::string& Heading(int c) const {
    return record().FlexG_Headings[static_cast<std::size_t>(c)];
  }
  const Strings up_{"    1", "    2", "    3"}, down_{"    3", "    2", "    1"};
};

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
  EXPECT_EQ(Numbers(), up_);
  ClickHeading(9);
  EXPECT_EQ((Strings{Heading(1), Heading(9)}), (Strings{"ID\u3000", "⊿E00▲"}));
  Do(FlexG_MouseDown, false);  // a click on a row does not sort
  EXPECT_FALSE(Do(FlexG_Click, 2));
}

// Equal keys are never exchanged with each other, yet the exchange sort is
// not stable: ⊿E 2, 2, 1 sort as patches 3, 2, 1, and descending reads that
// backwards. Without a Reference nothing is sorted.
TEST_F(ResultsGridTest, TiesFollowTheExchangeSortAndOnlyReferencePatchesSort) {
  LoadPair({2, 2, 1});
  ClickHeading(8);
  EXPECT_EQ(Numbers(), (Strings{"    3", "    2", "    1"}));
  ClickHeading(8);
  EXPECT_EQ(Numbers(), up_);
  Do(But_Clear_Click);
  Choose(DataSet::File1, Chart("f1.txt", Offsets({2, 2, 1})));
  EXPECT_EQ(Numbers(), down_);
}

}  // namespace
}  // namespace korimo::testing
