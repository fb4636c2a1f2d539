// The engine without a window: reading a file, the load sequence of a batch
// run, and the grid refill that a heading click runs.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

#include "BenchFiles.h"
#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/ResultsGrid.h"
#include "core/MeasurementReader.h"

namespace korimo::bench {
namespace {

constexpr int kPatches = BenchFiles::kPatches;

const BenchFiles& Files() {
  static const BenchFiles files("bench");
  return files;
}

void ChooseAll(EngineState& state) {
  for (DataSet set : kAllSets)
    ChooseFile(state, set, Files().paths[Index(set)], {});
}

void BM_ReadMeasurementFile(benchmark::State& state) {
  const std::string& path = Files().paths[0];
  auto data = std::make_unique<ComparisonData>();
  for (auto _ : state) {
    const int n = ReadMeasurementFile(path, 0, *data).patches;
    if (n != kPatches)
      throw std::runtime_error("the benchmark file did not read as 3000 patches");
    benchmark::DoNotOptimize(data->Lab0[n - 1][0]);
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_ReadMeasurementFile)->Unit(benchmark::kMillisecond);

// What one batch run does: a new engine, then Reference, File1 and File2
// chosen in turn (File2 re-reads File1), with every view refresh.
void BM_LoadSequenceBatch(benchmark::State& state) {
  Files();
  for (auto _ : state) {
    EngineState engine(kBatchSurfaces);
    ChooseAll(engine);
    if (engine.record.FlexG.RowCount() != kPatches)
      throw std::runtime_error("the load sequence did not fill the grid");
    benchmark::DoNotOptimize(engine.Data().AvgDe00[1]);
  }
}
BENCHMARK(BM_LoadSequenceBatch)->Unit(benchmark::kMillisecond);

// The grid after a heading click: re-sorting 3000 rows by the key.
void BM_FillGridSorted(benchmark::State& state) {
  EngineState engine(kBatchSurfaces);
  ChooseAll(engine);
  engine.GridSortKey = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) {
    FillGrid(engine);
    benchmark::DoNotOptimize(engine.record.FlexG.order.data());
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_FillGridSorted)->Arg(-9)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo::bench

BENCHMARK_MAIN();
