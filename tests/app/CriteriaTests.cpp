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
      {"overprints:dl:max<=0", Role::Overprints, VerifyMetric::Dl, VerifyStat::Max, 0},
      {"all:dc:avg<=12.25", Role::All, VerifyMetric::Dc, VerifyStat::Avg, 12.25},
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
      {"paper<=3:de00:max", CriteriaErrorCode::Form, "paper<=3:de00:max"},
      {"papers:de00:max<=3", CriteriaErrorCode::Role, "papers"},
      {"Paper:de00:max<=3", CriteriaErrorCode::Role, "Paper"},
      {"paper:de2000:max<=3", CriteriaErrorCode::Metric, "de2000"},
      {"paper:de00:p95<=3", CriteriaErrorCode::Stat, "p95"},
      {"paper:de00:max<=-3", CriteriaErrorCode::Limit, "-3"},
      {"paper:de00:max<=3 4", CriteriaErrorCode::Limit, "3 4"},
      {"paper:de00:max<=1e2", CriteriaErrorCode::Limit, "1e2"},
      {"paper:de00:max<=", CriteriaErrorCode::Limit, ""},
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

TEST(CriteriaError, OneErrorInTwoLanguages) {
  const CriteriaError error{CriteriaErrorCode::Stat, 4, "p95"};
  EXPECT_EQ(ErrorText(error, Language::English),
            "line 4: unknown statistic 'p95' (avg, max, pct95 or best10)");
  EXPECT_EQ(ErrorText(error, Language::Japanese),
            "4行目: 統計「p95」はありません（avg, max, pct95 or best10）");
}

TEST(LoadCriteriaFile, NamedAfterTheFileAndRefusingWhatIsNoCriteriaFile) {
  testing::TempDir dir("criteria");
  const std::string good = dir.File("house.txt");
  std::ofstream(good) << "all:de00:avg<=2\n";
  CriteriaError error;
  const std::optional<CriteriaSet> set = LoadCriteriaFile(good, error);
  ASSERT_TRUE(set);
  EXPECT_EQ(set->name, "house");
  EXPECT_EQ(set->path, good);

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

// The built-in sets as published: id, M1 or not, the criteria in order.
TEST(BuiltInCriteriaSets, HoldThePublishedLimits) {
  const std::tuple<const char*, bool, std::vector<std::string>> sets[] = {
      {"iso12647-7-2016",
       true,
       {"paper:de00:max<=3", "mw3:de00:avg<=2.5", "mw3:de00:max<=5", "solids:de00:max<=3",
        "solids-cmy:dh:max<=2.5", "grey:dch:avg<=2", "grey:dch:max<=3.5"}},
      {"iso12647-7-2007",
       false,
       {"paper:de:max<=3", "mw3:de:avg<=3", "mw3:de:max<=6", "solids:de:max<=5",
        "solids-cmy:dh:max<=2.5", "grey:dh:avg<=1.5"}},
      {"iso12647-2-2013-solids", false, {"solids-cmy:de00:max<=3.5", "solids:de00:max<=5"}},
  };
  ASSERT_EQ(BuiltInCriteriaSets().size(), 3u);
  for (const auto& [id, m1, texts] : sets) {
    const CriteriaSet* set = FindBuiltInSet(id);
    ASSERT_NE(set, nullptr) << id;
    EXPECT_EQ(set->assumesM1, m1) << id;
    std::vector<std::string> shown;
    for (const Criterion& c : set->criteria)
      shown.push_back(c.text);
    EXPECT_EQ(shown, texts);
  }
  EXPECT_EQ(FindBuiltInSet("iso12647-7"), nullptr);
  EXPECT_EQ(FindBuiltInSet("iso12647-7-2016")->criteria[0].Words(), "紙白 ⊿E00 最大");
}

}  // namespace
}  // namespace korimo
