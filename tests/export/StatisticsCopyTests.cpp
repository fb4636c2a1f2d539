#include "export/StatisticsCopy.h"

#include <gtest/gtest.h>

#include "support/EngineDriver.h"
#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class StatisticsCopyTest : public EngineTest {
 protected:
  FakePlatform platform_;
};

TEST_F(StatisticsCopyTest, RowCopyShowsTheMessageBeforeFillingTheClipboard) {
  But_Copy_Click(Pair::ReferenceFile1, Metric::DeAb, record(), platform_);  // nothing shown yet
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  LoadPair(Same(20, 1));
  Choose(DataSet::File2, Chart("f2.txt", Offsets(Same(20, 2))));
  platform_.log.clear();
  But_Copy_Click(Pair::ReferenceFile2, Metric::DeAb, record(), platform_);
  EXPECT_EQ(platform_.clipboardText, "   2.00\t   2.00\t   2.00\t   2.00");
  EXPECT_EQ(platform_.messages.back(), "平均⊿E  最大⊿E  Best10%, 95%\r\n\r\nコピーしました");
  EXPECT_EQ(platform_.log, (Strings{"clear", "message", "text"}));
}

}  // namespace
}  // namespace korimo::testing
