// The identifier walk of the chart shape, on identifiers far longer than a
// reader stores: the same numbers as parsing from every digit, in linear time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "app/PatchChart.h"
#include "core/Common.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

// Rows of the chart of one patch named `id`, in a box of any size.
int RowsFor(const std::string& id) {
  static EngineState state = [] {
    Surfaces huge = kTestSurfaces;
    huge.drawn = false;
    huge.chartWidth = huge.chartHeight = 32767;
    EngineState s(huge);
    s.Data().PatchCount[0] = 1;
    return s;
  }();
  state.Data().PatchId[0] = id;
  ChooseChartShape(state);
  return state.chart.ChartRows;
}

// The walk as written: the number from every digit to the end, the largest
// taken; a single patch falls back to 1 row when there is none.
int RowsByDefinition(const std::string& id) {
  int m = 0;
  for (std::size_t d = 0; d < id.size(); ++d) {
    if (id[d] >= '0' && id[d] <= '9')
      m = std::max(m, static_cast<int>(ParseInteger(std::string_view(id).substr(d))));
  }
  return std::max(m, 1);
}

TEST(ChartShapeScan, TheLargestNumberFromAnyDigitAsParsingFromEachDigitGives) {
  const std::pair<std::string, int> known[] = {{"A12", 12},
                                               {"X1.5e3", 5000},
                                               {"ID12345678e-4", 1235},
                                               {"Z99999e-1", 10000},
                                               {"P" + std::string(400, '0') + "7", 7},
                                               {"Q40000", 1},
                                               {"Q32768", 2768},
                                               {"1.2.3", 3}};
  for (const auto& [id, rows] : known)
    EXPECT_EQ(RowsFor(id), rows) << id;
  std::mt19937 random(21);
  const std::string alphabet = "0123456789012345678901234..eE+- A";
  for (int i = 0; i < 20000; ++i) {
    std::string id(random() % 14, ' ');
    for (char& c : id)
      c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(RowsFor(id), RowsByDefinition(id)) << "'" << id << "'";
  }
}

// Parsing from every digit of a 1 MB identifier took 97 s.
TEST(ChartShapeScan, AMegabyteIdentifierTakesLinearTime) {
  for (const std::string& tail : {std::string(), std::string("e-999999"), std::string(".5e3")}) {
    const std::string id = std::string(1 << 20, '1') + tail;
    const auto start = std::chrono::steady_clock::now();
    RowsFor(id);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << tail;
  }
}

}  // namespace
}  // namespace korimo::testing
