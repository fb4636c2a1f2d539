#include "export/HistogramTable.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

TEST(HistogramTable, BinsZeroToNineWithOneDecimalEdges) {
  const HistCounts counts{3, 12, 0, 0, 0, 0, 0, 0, 0, 1, 7};
  const HistValues edges{0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 0};
  EXPECT_EQ(HistogramTable(counts, edges, Metric::DeAb),
            "ΔE\tパッチ数\r\n0.5\t3\r\n1.0\t12\r\n1.5\t0\r\n2.0\t0\r\n2.5\t0\r\n3.0\t0\r\n"
            "3.5\t0\r\n4.0\t0\r\n4.5\t0\r\n5.0\t1\r\n");  // bin 10 is never written
  EXPECT_TRUE(HistogramTable(counts, edges, Metric::De00).starts_with("ΔE2K\t"));
}

}  // namespace
}  // namespace korimo
