#include "app/Criteria.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/TestCharts.h"

namespace korimo {
namespace {

// Each part of a criterion, around comments, blank lines, CR LF, a BOM and a name.
TEST(ParseCriteriaText, ReadsEachPartAndTakesCommentsBlankLinesCrLfBomAndName) {
  const std::string text =
      "\xEF\xBB\xBF# house tolerance\r\n"
      "name:  Haus-Toleranz  # after the name\r\n"
      "\r\n"
      "   \t\r\n"
      "paper:de00:max<=3   # paper first\r\n"
      "  mw3:de:avg<=2.5\t\r\n"
      "solids-cmy:dh:pct95<=.5\n"
      "grey:dch:best10<=5.";
  const std::vector<std::tuple<Role, VerifyMetric, VerifyStat, double>> parts = {
      {Role::Paper, VerifyMetric::De00, VerifyStat::Max, 3},
      {Role::Mw3, VerifyMetric::De, VerifyStat::Avg, 2.5},
      {Role::SolidsCmy, VerifyMetric::Dh, VerifyStat::Pct95, 0.5},
      {Role::Grey, VerifyMetric::Dch, VerifyStat::Best10, 5},
  };
  CriteriaError error;
  const std::optional<CriteriaSet> set = ParseCriteriaText(text, "fallback", error);
  ASSERT_TRUE(set) << ErrorText(error, Language::English);
  EXPECT_EQ(set->name, "Haus-Toleranz");
  EXPECT_EQ(set->criteria[0].text, "paper:de00:max<=3");
  std::vector<std::tuple<Role, VerifyMetric, VerifyStat, double>> read;
  for (const Criterion& c : set->criteria)
    read.emplace_back(c.role, c.metric, c.stat, c.limit);
  EXPECT_EQ(read, parts);
  EXPECT_EQ(ParseCriteriaText("all:de:max<=9\n", "house", error).value().name, "house");
}

// Each kind of error, one change of a valid file, the line it names and,
// for a criterion, the part at fault.
TEST(ParseCriteriaText, FirstErrorNamesItsLineAndPart) {
  const struct {
    const char* text;
    CriteriaErrorCode code;
    int line;
    const char* token;
  } cases[] = {
      {"# c\nall:de:max<=1\nrubbish\nalso rubbish\n", CriteriaErrorCode::Form, 3, "rubbish"},
      {"paper:de00<=3", CriteriaErrorCode::Form, 1, "paper:de00<=3"},
      {"all:de:max<=1\r\nink:de:max<=1\r\n", CriteriaErrorCode::Role, 2, "ink"},
      {"\uFEFFall:dE:max<=1\n", CriteriaErrorCode::Metric, 1, "dE"},
      {"\n\nall:de:median<=1\n", CriteriaErrorCode::Stat, 3, "median"},
      {"all:de:max<=one\n", CriteriaErrorCode::Limit, 1, "one"},
      {"paper:de00:max<=-3", CriteriaErrorCode::Limit, 1, "-3"},
      {"paper:de00:max<=3 4", CriteriaErrorCode::Limit, 1, "3 4"},
      {"paper:de00:max<=1e2", CriteriaErrorCode::Limit, 1, "1e2"},
      {"name:\nall:de:max<=1\n", CriteriaErrorCode::EmptyName, 1, nullptr},
      {"name: a\nall:de:max<=1\nname: b\n", CriteriaErrorCode::TwoNames, 3, nullptr},
      {"all:de:max<=1\n# caf\xE9\n", CriteriaErrorCode::NotUtf8, 2, nullptr},
      {"# only a comment\nname: empty\n\n", CriteriaErrorCode::NoCriteria, 0, nullptr},
      {"", CriteriaErrorCode::NoCriteria, 0, nullptr},
      {"\uFEFF\uFEFFall:de:max<=1\n", CriteriaErrorCode::Role, 1, nullptr},
  };
  for (const auto& c : cases) {
    CriteriaError error;
    EXPECT_FALSE(ParseCriteriaText(c.text, "x", error)) << c.text;
    EXPECT_EQ(std::tuple(error.code, error.line, error.token),
              std::tuple(c.code, c.line, c.token != nullptr ? c.token : error.token))
        << c.text;
  }
}

TEST(LoadCriteriaFile, RefusesWhatIsNoCriteriaFile) {
  testing::TempDir dir("criteria");
  CriteriaError error;
  const std::string large = dir.Write("large.txt", std::string(kMaxCriteriaFileBytes + 1, '#'));
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
