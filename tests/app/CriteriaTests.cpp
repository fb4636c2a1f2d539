#include "app/Criteria.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TestCharts.h"

namespace korimo {
namespace {

TEST(ParseCriterion, ReadsEachPartAndTheLimit) {
  const struct {
    const char* text;
    Role role;
    VerifyMetric metric;
    VerifyStat stat;
    double limit;
  } cases[] = {
      {"paper:de00:max<=3", Role::Paper, VerifyMetric::De00, VerifyStat::Max, 3},
      {"  mw3:de:avg<=2.5\t", Role::Mw3, VerifyMetric::De, VerifyStat::Avg, 2.5},
      {"solids-cmy:dh:pct95<=.5", Role::SolidsCmy, VerifyMetric::Dh, VerifyStat::Pct95, 0.5},
      {"grey:dch:best10<=5.", Role::Grey, VerifyMetric::Dch, VerifyStat::Best10, 5},
  };
  for (const auto& c : cases) {
    CriteriaError error;
    const std::optional<Criterion> criterion = ParseCriterion(c.text, error);
    ASSERT_TRUE(criterion) << c.text << ": " << ErrorText(error, Language::English);
    EXPECT_EQ(criterion->role, c.role) << c.text;
    EXPECT_EQ(criterion->metric, c.metric) << c.text;
    EXPECT_EQ(criterion->stat, c.stat) << c.text;
    EXPECT_EQ(criterion->limit, c.limit) << c.text;
  }
}

TEST(ParseCriterion, NamesThePartAtFault) {
  const struct {
    const char* text;
    CriteriaErrorCode code;
    const char* token;
  } cases[] = {
      {"paper:de00:max", CriteriaErrorCode::Form, "paper:de00:max"},
      {"paper:de00<=3", CriteriaErrorCode::Form, "paper:de00<=3"},
      {"papers:de00:max<=3", CriteriaErrorCode::Role, "papers"},
      {"paper:de2000:max<=3", CriteriaErrorCode::Metric, "de2000"},
      {"paper:de00:p95<=3", CriteriaErrorCode::Stat, "p95"},
      {"paper:de00:max<=-3", CriteriaErrorCode::Limit, "-3"},
      {"paper:de00:max<=3 4", CriteriaErrorCode::Limit, "3 4"},
      {"paper:de00:max<=1e2", CriteriaErrorCode::Limit, "1e2"},
      {"paper:de00:max<=1.2.3", CriteriaErrorCode::Limit, "1.2.3"},
  };
  for (const auto& c : cases) {
    CriteriaError error;
    EXPECT_FALSE(ParseCriterion(c.text, error)) << c.text;
    EXPECT_EQ(error.code, c.code) << c.text;
    EXPECT_EQ(error.token, c.token) << c.text;
  }
}

TEST(ParseCriteriaText, TakesCommentsBlankLinesCrLfBomAndName) {
  const std::string text =
      "\xEF\xBB\xBF# house tolerance\r\n"
      "name:  Haus-Toleranz  # after the name\r\n"
      "\r\n"
      "   \t\r\n"
      "paper:de00:max<=3   # paper first\r\n"
      "grey:dch:avg<=2";
  CriteriaError error;
  const std::optional<CriteriaSet> set = ParseCriteriaText(text, "fallback", error);
  ASSERT_TRUE(set) << ErrorText(error, Language::English);
  EXPECT_EQ(set->name, "Haus-Toleranz");
  ASSERT_EQ(set->criteria.size(), 2u);
  EXPECT_EQ(set->criteria[0].text, "paper:de00:max<=3");
  EXPECT_EQ(set->criteria[1].role, Role::Grey);

  const std::optional<CriteriaSet> unnamed = ParseCriteriaText("all:de:max<=9\n", "house", error);
  ASSERT_TRUE(unnamed);
  EXPECT_EQ(unnamed->name, "house");
}

// Each kind of error, one change of a valid file, and the line it names.
TEST(ParseCriteriaText, FirstErrorNamesItsLine) {
  const struct {
    const char* text;
    CriteriaErrorCode code;
    int line;
  } cases[] = {
      {"# c\nall:de:max<=1\nrubbish\nalso rubbish\n", CriteriaErrorCode::Form, 3},
      {"all:de:max<=1\r\nink:de:max<=1\r\n", CriteriaErrorCode::Role, 2},
      {"\xEF\xBB\xBF"
       "all:dE:max<=1\n",
       CriteriaErrorCode::Metric, 1},
      {"\n\nall:de:median<=1\n", CriteriaErrorCode::Stat, 3},
      {"all:de:max<=one\n", CriteriaErrorCode::Limit, 1},
      {"name:\nall:de:max<=1\n", CriteriaErrorCode::EmptyName, 1},
      {"name: a\nall:de:max<=1\nname: b\n", CriteriaErrorCode::TwoNames, 3},
      {"all:de:max<=1\n# caf\xE9\n", CriteriaErrorCode::NotUtf8, 2},
      {"# only a comment\nname: empty\n\n", CriteriaErrorCode::NoCriteria, 0},
      {"", CriteriaErrorCode::NoCriteria, 0},
      {"\xEF\xBB\xBF\xEF\xBB\xBF"
       "all:de:max<=1\n",
       CriteriaErrorCode::Role, 1},
  };
  for (const auto& c : cases) {
    CriteriaError error;
    EXPECT_FALSE(ParseCriteriaText(c.text, "x", error)) << c.text;
    EXPECT_EQ(error.code, c.code) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
  }
}

TEST(LoadCriteriaFile, RefusesWhatIsNoCriteriaFile) {
  testing::TempDir dir("criteria");
  CriteriaError error;
  const std::string large = dir.File("large.txt");
  std::ofstream(large) << std::string(kMaxCriteriaFileBytes + 1, '#');
  const std::pair<std::string, CriteriaErrorCode> bad[] = {
      {dir.File("missing.txt"), CriteriaErrorCode::Unreadable},
      {dir.path().string(), CriteriaErrorCode::Unreadable},
      {large, CriteriaErrorCode::TooLarge},
  };
  for (const auto& [path, code] : bad) {
    EXPECT_FALSE(LoadCriteriaFile(path, error)) << path;
    EXPECT_EQ(error.code, code) << path;
  }
}

}  // namespace
}  // namespace korimo
