#include "app/ResultsGrid.h"

#include <gtest/gtest.h>

#include "app/ClearAll.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class ResultsGridTest : public EngineTest {
 protected:
  Strings Numbers() const {  // the first column in display order
    Strings out;
    for (std::size_t r = 0; r < record().FlexG.RowCount(); ++r)
      out.push_back(std::string(record().FlexG.Row(r)[0]));
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

}  // namespace
}  // namespace korimo::testing
