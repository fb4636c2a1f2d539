#include "app/Verification.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/WedgeState.h"

namespace korimo {
namespace {

using testing::House;
using testing::WedgeState;

SetVerdict VerifyState(const WedgeState& wedge, const CriteriaSet& set) {
  const ComparisonPtr c = wedge.Compare();
  return Verify(*c, VerificationInputs(*c), set);
}

// The positions of the difference statistics on the role's own count,
// clamped into the role: for 6 patches "95%" is the largest.
TEST(RoleStatistic, PositionsOnTheRolesCount) {
  const auto ramp = [](int k) {  // k, k - 1, ... 1
    std::vector<double> v(static_cast<std::size_t>(k));
    std::iota(v.rbegin(), v.rend(), 1.0);
    return v;
  };
  const struct {
    int k;
    double avg, max, best10, pct95;
  } cases[] = {
      {1, 1, 1, 1, 1},       {6, 3.5, 6, 1, 6},   {14, 7.5, 14, 1, 14},
      {20, 10.5, 20, 2, 20}, {31, 16, 31, 3, 30}, {100, 50.5, 100, 10, 96},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(RoleStatistic(ramp(c.k), VerifyStat::Avg), c.avg) << c.k;
    EXPECT_EQ((std::array{RoleStatistic(ramp(c.k), VerifyStat::Max),
                          RoleStatistic(ramp(c.k), VerifyStat::Best10),
                          RoleStatistic(ramp(c.k), VerifyStat::Pct95)}),
              (std::array{c.max, c.best10, c.pct95}))
        << c.k;
  }
}

// Every criterion of every built-in set on a wedge whose role patches all
// differ by v in the criterion's metric: a hundredth inside and outside the
// limit, the limit itself, and the edge of what "0.00" shows.
TEST(Verify, EveryBuiltInCriterionAroundItsLimit) {
  const struct {
    double offset;
    bool pass;
  } steps[] = {{-0.01, true}, {0, true}, {0.004, true}, {0.006, false}, {0.01, false}};
  for (const CriteriaSet& set : BuiltInCriteriaSets()) {
    const SetVerdict untouched = VerifyState(WedgeState(), set);
    EXPECT_TRUE(untouched.pass) << set.id;
    for (std::size_t c = 0; c < set.criteria.size(); ++c) {
      const Criterion& criterion = set.criteria[c];
      for (const auto& step : steps) {
        WedgeState wedge;
        const double v = criterion.limit + step.offset;
        for (const int patch : FindRolePatches(criterion.role, wedge.reference.device, 72).patches)
          wedge.Deviate(patch, criterion.metric, v);
        const SetVerdict verdict = VerifyState(wedge, set);
        ASSERT_EQ(verdict.pairs.size(), 1u);
        const CriterionResult& result = verdict.pairs[0].criteria[c];
        SCOPED_TRACE(set.id + " " + criterion.text + " at " + std::to_string(v));
        ASSERT_TRUE(result.value);
        EXPECT_NEAR(*result.value, v, 1e-4);
        EXPECT_EQ(result.pass, step.pass);
        EXPECT_EQ(result.patches,
                  FindRolePatches(criterion.role, wedge.reference.device, 72).patches.size());
        EXPECT_TRUE(step.pass || !verdict.pass);
      }
    }
  }
}

// Criteria take absolute values: a sample darker or less chromatic by v
// counts as v.
TEST(Verify, SignedComponentsCountByTheirSize) {
  WedgeState wedge;
  wedge.Set(0, {55, 0, 0}, {50, 0, 0});
  wedge.Set(1, {50, 30, 0}, {50, 26, 0});
  const SetVerdict verdict =
      VerifyState(wedge, House("all:dl:max<=5\nall:dl:max<=4.99\nall:dc:max<=4"));
  const auto& criteria = verdict.pairs[0].criteria;
  EXPECT_NEAR(*criteria[0].value, 5, 1e-5);
  EXPECT_TRUE(criteria[0].pass);
  EXPECT_FALSE(criteria[1].pass);
  EXPECT_NEAR(*criteria[2].value, 4, 1e-5);
  EXPECT_TRUE(criteria[2].pass);
}

TEST(Verify, RolesThatCannotBeEvaluatedFailWithAReason) {
  WedgeState noCmyk;
  noCmyk.reference.device = {};
  WedgeState shortSample;  // File1 stops before the last 12 wedge patches
  shortSample.sample.lab.resize(60);
  WedgeState noPaper;  // patch 69 printed with a trace of every ink
  noPaper.reference.device.values[68] = {1, 1, 1, 1};
  const struct {
    const WedgeState& wedge;
    const char* criterion;
    Unevaluable why;
    int lacking;
    const char* english;
    const char* japanese;
  } cases[] = {
      {noCmyk, "grey:dch:avg<=2", Unevaluable::NoDeviceValues, 0,
       "the Reference has no CMYK values", "基準にCMYK値がありません"},
      {shortSample, "mw3:de00:avg<=2.5", Unevaluable::Unpaired, 12,
       "12 of the role's 72 patches have no sample patch",
       "比較相手のないパッチがあります（12/72）"},
      {noPaper, "paper:de00:max<=3", Unevaluable::NotFound, 1,
       "1 of the role's 1 patches are not in the Reference", "基準にないパッチがあります（1/1）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.criterion);
    const SetVerdict verdict =
        VerifyState(c.wedge, House(c.criterion + std::string("\nall:de:max<=1")));
    ASSERT_EQ(verdict.pairs.size(), 1u);
    const CriterionResult& result = verdict.pairs[0].criteria[0];
    EXPECT_EQ(std::tuple(result.value.has_value(), result.pass, result.why, result.lacking),
              std::tuple(false, false, c.why, c.lacking));
    EXPECT_EQ(ReasonText(result, Language::English), c.english);
    EXPECT_EQ(ReasonText(result, Language::Japanese), c.japanese);
    // `all` needs no CMYK, and takes only the patches both files hold.
    EXPECT_TRUE(verdict.pairs[0].criteria[1].pass);
    EXPECT_FALSE(verdict.pass);
  }
  const SetVerdict shortAll = VerifyState(shortSample, House("all:de:max<=0"));
  EXPECT_EQ(shortAll.pairs[0].criteria[0].patches, 60);
}

}  // namespace
}  // namespace korimo
