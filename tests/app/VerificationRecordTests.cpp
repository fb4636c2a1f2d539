#include "app/VerificationRecord.h"

#include <gtest/gtest.h>

#include "support/WedgeState.h"

namespace korimo {
namespace {

using testing::House;
using testing::WedgeState;

TEST(VerificationRecord, RowsInWordsWithValueLimitAndVerdict) {
  WedgeState wedge;
  wedge.Deviate(68, VerifyMetric::De00, 3.2);        // paper fails
  wedge.Deviate(39, VerifyMetric::Dch, 1.234);       // one grey patch, within
  wedge.reference.device.values[5] = {0, 99, 0, 0};  // no magenta solid
  const VerificationRecord r =
      BuildVerificationRecord(*wedge.Compare(), *FindBuiltInSet("iso12647-7-2016"));
  EXPECT_EQ(r.setName, "ISO 12647-7:2016 Media Wedge V3");
  EXPECT_EQ(r.disclaimer, "規格への適合を認証するものではありません");
  ASSERT_EQ(r.pairs.size(), 1u);
  const PairVerificationPage& page = r.pairs[0];
  EXPECT_EQ(page.title, "基準–File1");
  ASSERT_EQ(page.rows.size(), 7u);
  const std::pair<std::size_t, VerificationRow> expected[] = {
      {0, {"紙白 ⊿E00 最大", "1", "3.20", "3", "否", VerdictMark::Fail}},
      {3,
       {"ベタ ⊿E00 最大", "0", "", "3", "評価不可（基準にないパッチがあります（1/4））",
        VerdictMark::NotEvaluated}},
      {5, {"グレー ΔCh 平均", "6", "0.21", "2", "合", VerdictMark::Pass}},
      {6, {"グレー ΔCh 最大", "6", "1.23", "3.5", "合", VerdictMark::Pass}},
  };
  for (const auto& [row, texts] : expected)
    EXPECT_EQ(page.rows[row], texts) << texts.criterion;
  EXPECT_EQ(std::tuple(page.overall, page.pass, page.note), std::tuple("不合格", false, ""));
}

// That every load rebuilds the page, whichever file it changes, is in the
// window trace, which records the page after every step.

}  // namespace
}  // namespace korimo
