#include "export/RunCsv.h"

#include <gtest/gtest.h>

namespace korimo::testing {
namespace {

MeasurementPtr Chart(float L, int patches) {
  auto m = std::make_shared<Measurement>();
  m->lab.assign(static_cast<std::size_t>(patches), {L, 0, 0});
  return m;
}

// A compared sheet whose name needs quoting and a refused one, with a
// criteria set whose name holds a comma: quoting, empty cells and CR LF.
TEST(RunCsv, QuotesNamesAndLeavesNoneEmpty) {
  CriteriaError error;
  RunOptions options;
  options.checks.push_back(
      *ParseCriteriaText("name: a, \"b\"\nall:de:max<=0.5\nall:de:avg<=3\n", "", error));
  RunAccumulator run(PrepareReference(Chart(50, 20)), options);
  auto refused = std::make_shared<Measurement>();
  refused->failure = {ReadFailure::Missing, {}};
  run.Add(CompareSheet(run.Reference(), {"x,\"y\".txt", 1736933400}, Chart(53, 20), options));
  run.Add(CompareSheet(run.Reference(), {"z.txt", std::nullopt}, refused, options));
  EXPECT_EQ(BuildRunCsv(run, Language::English),
            "no,file,mtime,status,reason,paired,avg_de_ab,max_de_ab,best10_de_ab,pct95_de_ab,"
            "avg_de00,max_de00,best10_de00,pct95_de00,paper_de00,solid_c_de00,solid_m_de00,"
            "solid_y_de00,solid_k_de00,drift_de00,\"a, \"\"b\"\" pass\",\"a, \"\"b\"\" failed\"\r\n"
            "1,\"x,\"\"y\"\".txt\",2025-01-15T09:30:00Z,compared,,20,3.00,3.00,3.00,3.00,2.98,"
            "2.98,2.98,2.98,,,,,,,fail,all:de:max<=0.5\r\n"
            "2,z.txt,,refused,no such file,,,,,,,,,,,,,,,,,\r\n");
  EXPECT_NE(BuildRunCsv(run, Language::Japanese).find(",refused,ファイルがありません,"),
            std::string::npos);
}

}  // namespace
}  // namespace korimo::testing
