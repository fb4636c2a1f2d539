// The engine without a window: reading a file, the load sequence of a batch
// run, and the grid refill that a heading click runs.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "BenchFiles.h"
#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/Render.h"
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
  for (auto _ : state) {
    const Measurement read = ReadMeasurementFile(path);
    if (read.Count() != kPatches)
      throw std::runtime_error("the benchmark file did not read as 3000 patches");
    benchmark::DoNotOptimize(read.lab.back()[0]);
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_ReadMeasurementFile)->Unit(benchmark::kMillisecond);

// What one batch run does: a new engine, then Reference, File1 and File2
// chosen in turn (File2 re-reads File1), and every view rendered once.
void BM_LoadSequenceBatch(benchmark::State& state) {
  Files();
  for (auto _ : state) {
    EngineState engine(kBatchSurfaces);
    ChooseAll(engine);
    Render(engine);
    if (engine.record.FlexG.RowCount() != kPatches)
      throw std::runtime_error("the load sequence did not fill the grid");
    benchmark::DoNotOptimize(engine.Current().AvgDe00(Pair::ReferenceFile2));
  }
}
BENCHMARK(BM_LoadSequenceBatch)->Unit(benchmark::kMillisecond);

// The grid after a heading click: re-sorting 3000 rows by the key, the cell
// texts made for the comparison reused.
void BM_FillGridSorted(benchmark::State& state) {
  EngineState engine(kBatchSurfaces);
  ChooseAll(engine);
  Render(engine);
  const auto key = static_cast<std::int16_t>(state.range(0));
  GridContent& grid = engine.record.FlexG;
  if (grid.cellsFrom != engine.comparison)
    throw std::runtime_error("the grid's cells were not made for the comparison");
  for (auto _ : state) {
    FillGridContent(engine.comparison, key, grid);
    benchmark::DoNotOptimize(grid.order.data());
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_FillGridSorted)->Arg(-9)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo::bench

BENCHMARK_MAIN();
