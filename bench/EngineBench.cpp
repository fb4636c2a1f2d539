#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "BenchFiles.h"
#include "QuietPlatform.h"
#include "app/GridRows.h"
#include "app/HeadlessWindow.h"
#include "core/MeasurementReader.h"

namespace korimo::bench {
namespace {

constexpr int kPatches = BenchFiles::kPatches;

const BenchFiles& Files() {
  static const BenchFiles files("bench");
  return files;
}

void ChooseAll(HeadlessWindow& window, QuietPlatform& platform) {
  platform.files = Files().paths;
  for (int s = 0; s < 3; ++s)
    window.form().files.But_File_Click(s);
}

void BM_ReadMeasurementFile(benchmark::State& state) {
  const std::string& path = Files().paths[0];
  auto data = std::make_unique<ComparisonData>();
  for (auto _ : state) {
    const int n = ReadMeasurementFile(path, 0, *data);
    if (n != kPatches)
      throw std::runtime_error("the benchmark file did not read as 3000 patches");
    benchmark::DoNotOptimize(data->Lab0[n - 1][0]);
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_ReadMeasurementFile)->Unit(benchmark::kMillisecond);

// What one batch run does: a new window, then Reference, File1 and File2
// chosen in turn (File2 re-reads File1), with every view refresh.
void BM_LoadSequenceFreshWindow(benchmark::State& state) {
  Files();
  for (auto _ : state) {
    QuietPlatform platform;
    HeadlessWindow window(platform);
    ChooseAll(window, platform);
    if (window.GridDataRows().size() != kPatches)
      throw std::runtime_error("the load sequence did not fill the grid");
    benchmark::DoNotOptimize(window.state().data->AvgDe00[1]);
  }
}
BENCHMARK(BM_LoadSequenceFreshWindow)->Unit(benchmark::kMillisecond);

// The grid refill after a load, sorted by dE00 of Reference-File1 descending.
void BM_BuildGridRows(benchmark::State& state) {
  QuietPlatform platform;
  HeadlessWindow window(platform);
  ChooseAll(window, platform);
  const auto key = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) {
    auto rows = BuildGridRows(*window.state().data, key);
    benchmark::DoNotOptimize(rows);
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_BuildGridRows)->Arg(-9)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo::bench

BENCHMARK_MAIN();
