#include "app/Run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <stdexcept>
#include <thread>

#include "core/MeasurementReader.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

// Neutral patches at L* = 50 + d[i]; the Reference's first five carry the
// CMYK values of paper and the solids C, M, Y, K.
MeasurementPtr Chart(const std::vector<double>& d, bool device = false) {
  auto m = std::make_shared<Measurement>();
  for (std::size_t i = 0; i < d.size(); ++i) {
    m->lab.push_back({static_cast<float>(50 + d[i]), 0, 0});
    m->ids.values.push_back("P" + std::to_string(i + 1));
  }
  m->ids.present = true;
  if (device) {
    m->device.space = DeviceSpace::Cmyk;
    m->device.values.assign(d.size(), {50, 50, 50, 50});
    const std::array<std::array<float, 4>, 5> roles{
        {{0, 0, 0, 0}, {100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 100, 0}, {0, 0, 0, 100}}};
    std::copy(roles.begin(), roles.end(), m->device.values.begin());
  }
  return m;
}

MeasurementPtr Refused() {
  auto m = std::make_shared<Measurement>();
  m->failure = {ReadFailure::NoDataLines, {}};
  return m;
}

// ⊿E00 of two neutral colours: ΔL / S_L (CIE 142-2001).
double NeutralDe00(double L1, double L2) {
  const double m = (L1 + L2) / 2 - 50;
  return std::fabs(L1 - L2) / (1 + 0.015 * m * m / std::sqrt(20 + m * m));
}

constexpr int kPatches = 20;

std::vector<double> Shift(double all, int patch = -1, double at = 0) {
  std::vector<double> d(kPatches, all);
  if (patch >= 0)
    d[static_cast<std::size_t>(patch)] = at;
  return d;
}

RunAccumulator Accumulate(const std::vector<MeasurementPtr>& sheets, RunOptions options = {}) {
  RunAccumulator run(PrepareReference(Chart(Shift(0), true)), std::move(options));
  for (std::size_t i = 0; i < sheets.size(); ++i)
    run.Add(CompareSheet(run.Reference(), {"s" + std::to_string(i), 0}, sheets[i], run.Options()));
  return run;
}

const RunSummary& Figure(const RunStatistics& s, RunFigure f) {
  return s.figures[static_cast<std::size_t>(f)];
}

// Sheets at L* -1, refused, a sheet of 19 patches (excluded), +3 with patch
// 8 at +5, -1 again: only the three compared sheets count, the drift skips
// the excluded one, and ties go to the earliest sheet.
TEST(RunStatistics, CountOnlyComparedSheetsWithKnownAnswers) {
  CriteriaError error;
  RunOptions options;
  options.checks.push_back(*ParseCriteriaText("all:de:avg<=2", "avg", error));
  const RunAccumulator run =
      Accumulate({Chart(Shift(-1), true), Refused(), Chart(std::vector<double>(19, 9)),
                  Chart(Shift(3, 7, 5)), Chart(Shift(-1))},
                 options);
  const RunStatistics s = run.Statistics();
  EXPECT_EQ(std::vector<int>({s.given, s.compared, s.excluded, s.refused}),
            std::vector<int>({5, 3, 1, 1}));
  const SheetRows& rows = run.Rows();
  EXPECT_EQ(rows[1].status, SheetStatus::Refused);
  EXPECT_EQ(rows[1].reason, "no data lines after BEGIN_DATA");
  EXPECT_FALSE(rows[1].paired);
  EXPECT_EQ(rows[2].status, SheetStatus::Excluded);
  EXPECT_EQ(rows[2].reason, "patch counts differ (20 vs 19); patches are compared by position");
  EXPECT_EQ(rows[2].reasonJa, "パッチ数不一致 20≠19 位置で比較");
  EXPECT_NEAR(*rows[2].figures[0], 9, 1e-6);  // over its 19 patches; shown, not counted
  EXPECT_FALSE(rows[2].drift);

  const RunSummary& avg = Figure(s, RunFigure::AvgDeAb);
  const double mean = (1 + 3.1 + 1) / 3;
  EXPECT_EQ(avg.n, 3);
  EXPECT_NEAR(*avg.mean, mean, 1e-6);
  EXPECT_NEAR(*avg.sd, std::sqrt((2 * (1 - mean) * (1 - mean) + (3.1 - mean) * (3.1 - mean)) / 2),
              1e-6);
  EXPECT_EQ(std::make_pair(*avg.minSheet, *avg.maxSheet), std::make_pair(0, 3));
  EXPECT_NEAR(*Figure(s, RunFigure::MaxDeAb).max, 5, 1e-6);
  EXPECT_NEAR(*rows[0].paper, NeutralDe00(50, 49), 1e-6);
  EXPECT_NEAR(*rows[3].solids[3], NeutralDe00(50, 53), 1e-6);
  EXPECT_NEAR(*rows[3].drift, (19 * NeutralDe00(49, 53) + NeutralDe00(49, 55)) / 20, 1e-5);
  EXPECT_NEAR(*rows[4].drift, (19 * NeutralDe00(53, 49) + NeutralDe00(55, 49)) / 20, 1e-5);
  EXPECT_EQ(s.figures[kDriftStatistic].n, 2);
  ASSERT_EQ(s.passShare.size(), 1u);
  EXPECT_DOUBLE_EQ(*s.passShare[0], 2.0 / 3);
  EXPECT_EQ(s.passed, std::vector<int>{2});
  EXPECT_EQ(rows[3].verdicts[0].failed, std::vector<std::string>{"all:de:avg<=2"});

  // L* 49, 53, 49 and 49, 55, 49: patch 8 varies most, the rest tie and
  // rank by index.
  EXPECT_NEAR(*s.patches[0].sdL, std::sqrt(16.0 / 3), 1e-5);
  EXPECT_NEAR(*s.patches[7].Variation(), std::sqrt(12.0), 1e-5);
  EXPECT_NEAR(*s.patches[7].meanDe00, (2 * NeutralDe00(50, 49) + NeutralDe00(50, 55)) / 3, 1e-6);
  EXPECT_EQ(s.mostVariable, std::vector<int>({7, 0, 1, 2, 3, 4, 5, 6, 8, 9}));
}

TEST(RunStatistics, OneSheetHasNoSpreadAndNoDrift) {
  const RunStatistics s = Accumulate({Chart(Shift(-1))}).Statistics();
  EXPECT_NEAR(*Figure(s, RunFigure::AvgDeAb).mean, 1, 1e-6);
  EXPECT_FALSE(Figure(s, RunFigure::AvgDeAb).sd);
  EXPECT_EQ(Figure(s, RunFigure::AvgDeAb).minSheet, 0);
  EXPECT_EQ(s.figures[kDriftStatistic].n, 0);
  EXPECT_FALSE(s.figures[kDriftStatistic].mean);
  EXPECT_EQ(s.patches[0].sheets, 1);
  EXPECT_FALSE(s.patches[0].sdL);
  EXPECT_TRUE(s.mostVariable.empty());
}

// L* near 10^6 with a spread of a tenth: a sum of squares would lose the
// spread to rounding; the per-patch statistics must not.
TEST(RunStatistics, PatchSpreadHoldsOnLargeValues) {
  std::vector<MeasurementPtr> sheets;
  std::vector<double> values;
  for (int k = 0; k < 1000; ++k) {
    const double L = 1e6 + 0.0625 * ((k * 7) % 5);  // exact in 32 bits
    values.push_back(L);
    sheets.push_back(Chart({L - 50}));
  }
  RunAccumulator run(PrepareReference(Chart({1e6 - 50})), {});
  for (const MeasurementPtr& sheet : sheets)
    run.Add(CompareSheet(run.Reference(), {}, sheet, run.Options()));
  const double mean = std::accumulate(values.begin(), values.end(), 0.0) / 1000;
  double squares = 0;
  for (const double v : values)
    squares += (v - mean) * (v - mean);
  EXPECT_NEAR(*run.Statistics().patches[0].sdL, std::sqrt(squares / 999), 1e-12);
}

// The same rows and statistics on any number of threads; a cancelled run
// keeps the sheets handed so far, in order.
TEST(ComputeRun, RunOrderWhateverTheThreadsAndCancelKeepsAPrefix) {
  TempDir dir("run");
  std::vector<SheetSource> sheets;
  for (int k = 0; k < 40; ++k) {
    const std::string file = dir.File("s" + std::to_string(k) + ".txt");
    if (k % 13 != 5)
      WriteChart(file, Offsets(std::vector<double>(kPatches, 0.1 * (k % 7))));
    sheets.push_back({file, k});
  }
  WriteChart(dir.File("ref.txt"), Flat(kPatches));
  const auto run = [&](int threads, std::atomic<bool>* cancel = nullptr) {
    auto acc = std::make_unique<RunAccumulator>(
        PrepareReference(std::make_shared<Measurement>(ReadMeasurementFile(dir.File("ref.txt")))),
        RunOptions{});
    const auto progress = [cancel](const RunProgress& p) {
      if (cancel != nullptr && p.done == 5)
        cancel->store(true);
    };
    ComputeRun(sheets, *acc, threads, progress, cancel);
    return acc;
  };
  const auto one = run(1);
  ASSERT_EQ(one->Rows().size(), sheets.size());
  for (const int threads : {2, 4}) {
    const auto many = run(threads);
    ASSERT_EQ(many->Rows().size(), sheets.size());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      EXPECT_EQ(many->Rows()[i].file, sheets[i].path);
      EXPECT_EQ(many->Rows()[i].figures, one->Rows()[i].figures);
      EXPECT_EQ(many->Rows()[i].drift, one->Rows()[i].drift);
    }
    EXPECT_EQ(many->Statistics().patches[3].sdL, one->Statistics().patches[3].sdL);
  }
  // A run continued by a second call drifts on from the last sheet of the
  // first: sheet 20 from sheet 19.
  RunAccumulator continued(one->Reference(), {});
  ComputeRun({sheets.begin(), sheets.begin() + 20}, continued, 2);
  ComputeRun({sheets.begin() + 20, sheets.end()}, continued, 2);
  ASSERT_EQ(continued.Rows().size(), sheets.size());
  for (std::size_t i = 0; i < sheets.size(); ++i)
    EXPECT_EQ(continued.Rows()[i].drift, one->Rows()[i].drift) << i;
  std::atomic<bool> cancel{false};
  const auto cut = run(2, &cancel);
  ASSERT_EQ(cut->Rows().size(), 5u);
  EXPECT_EQ(cut->Rows()[4].drift, one->Rows()[4].drift);
  // A cancel at any moment ends the run, also one that comes while the
  // workers are still starting.
  for (int round = 0; round < 200; ++round) {
    RunAccumulator stopped(one->Reference(), {});
    std::atomic<bool> stop{false};
    std::thread computing([&] { ComputeRun(sheets, stopped, 2, {}, &stop); });
    std::this_thread::sleep_for(std::chrono::microseconds(round % 40));
    stop.store(true);
    computing.join();
  }
  // An exception on the accumulating thread stops the workers and comes back.
  RunAccumulator failing(one->Reference(), {});
  const auto fail = [](const RunProgress&) { throw std::runtime_error("progress"); };
  EXPECT_THROW(ComputeRun(sheets, failing, 2, fail), std::runtime_error);
}

}  // namespace
}  // namespace korimo::testing
