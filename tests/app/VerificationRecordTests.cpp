#include "app/VerificationRecord.h"

#include <gtest/gtest.h>

#include "app/EngineState.h"
#include "support/EngineDriver.h"
#include "support/WedgeState.h"

namespace korimo {
namespace {

using testing::WedgeState;

CriteriaSet House(const char* text) {
  CriteriaError error;
  return *ParseCriteriaText(text, "house", error);
}

TEST(VerificationRecord, RowsInWordsWithValueLimitAndVerdict) {
  WedgeState wedge;
  wedge.Deviate(68, VerifyMetric::De00, 3.2);            // paper fails
  wedge.Deviate(39, VerifyMetric::Dch, 1.234);           // one grey patch, within
  wedge.state.sets[0].device.values[5] = {0, 99, 0, 0};  // no magenta solid
  ChooseCriteriaSet(wedge.state, *FindBuiltInSet("iso12647-7-2016"));
  const VerificationRecord& r = wedge.state.verification;
  EXPECT_EQ(r.setName, "ISO 12647-7:2016 Media Wedge V3");
  EXPECT_EQ(r.disclaimer, "規格への適合を認証するものではありません");
  ASSERT_EQ(r.pairs.size(), 1u);
  const PairVerificationPage& page = r.pairs[0];
  EXPECT_EQ(page.title, "基準–File1");
  ASSERT_EQ(page.rows.size(), 7u);
  const struct {
    std::size_t row;
    const char* criterion;
    const char* patches;
    const char* value;
    const char* limit;
    const char* verdict;
    VerdictMark mark;
  } expected[] = {
      {0, "紙白 ⊿E00 最大", "1", "3.20", "3", "否", VerdictMark::Fail},
      {3, "ベタ ⊿E00 最大", "0", "", "3", "評価不可（基準にないパッチがあります（1/4））",
       VerdictMark::NotEvaluated},
      {5, "グレー ΔCh 平均", "6", "0.21", "2", "合", VerdictMark::Pass},
      {6, "グレー ΔCh 最大", "6", "1.23", "3.5", "合", VerdictMark::Pass},
  };
  for (const auto& e : expected) {
    const VerificationRow& row = page.rows[e.row];
    EXPECT_EQ(row.criterion, e.criterion);
    EXPECT_EQ(row.patches, e.patches) << e.criterion;
    EXPECT_EQ(row.value, e.value) << e.criterion;
    EXPECT_EQ(row.limit, e.limit) << e.criterion;
    EXPECT_EQ(row.verdict, e.verdict) << e.criterion;
    EXPECT_EQ(row.mark, e.mark) << e.criterion;
  }
  EXPECT_EQ(page.overall, "不合格");
  EXPECT_FALSE(page.pass);
  EXPECT_TRUE(page.note.empty());
}

class VerificationLoads : public testing::EngineTest {};

// Every load rebuilds the page, whichever file it changes.
TEST_F(VerificationLoads, PageFollowsEveryLoad) {
  ChooseCriteriaSet(state_, House("all:de:max<=1"));
  EXPECT_EQ(state_.verification.message, "比較するペアがありません（不合格）");
  LoadPair({0.5, 1.0, 0.25});
  ASSERT_EQ(state_.verification.pairs.size(), 1u);
  EXPECT_EQ(state_.verification.pairs[0].rows[0].value, "1.00");
  EXPECT_EQ(state_.verification.pairs[0].overall, "合格");
  Choose(DataSet::File1, Chart("worse.txt", testing::Offsets({0.5, 1.5, 0.25})));
  EXPECT_EQ(state_.verification.pairs[0].rows[0].value, "1.50");
  EXPECT_EQ(state_.verification.pairs[0].overall, "不合格");
  ChooseCriteriaSet(state_, std::nullopt);
  EXPECT_TRUE(state_.verification.pairs.empty());
}

}  // namespace
}  // namespace korimo
