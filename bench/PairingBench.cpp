// Changing the "対応:" box at 3000 patches: pairing both pairs again and
// recomputing every figure, picture and grid row from the data already read.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "BenchFiles.h"
#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/PairedComparison.h"

namespace korimo::bench {
namespace {

constexpr int kPatches = BenchFiles::kPatches;
// The window's pictures, drawn: the cost a user waits for.
constexpr Surfaces kWindowSurfaces{kDesignChartSide,
                                   kDesignChartSide,
                                   kDesignHistogramWidth,
                                   kDesignHistogramHeight,
                                   21,
                                   480,
                                   24,
                                   true};

const BenchFiles& Files() {
  static const BenchFiles files("pairing-bench");
  return files;
}

// `from` with its data lines in a fixed random order, as `name`.
std::string Shuffled(const std::string& from, const std::string& name) {
  std::ifstream in(from, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  const auto begin = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.starts_with("BEGIN_DATA\r");
  });
  const auto end = std::find_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("END_DATA\r"); });
  if (begin == lines.end() || end == lines.end())
    throw std::runtime_error("the benchmark file has no data section");
  std::shuffle(begin + 1, end, std::mt19937(18));
  const std::string path = Files().Path(name);
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines)
    out << line << '\n';
  return path;
}

// A distinct CMYK recipe per identifier, so device values pair what the
// identifiers pair.
void GiveRecipes(EngineState& engine, DataSet set) {
  const ComparisonData& d = engine.Data();
  DeviceValues& device = engine.sets[Index(set)].device;
  device.space = DeviceSpace::Cmyk;
  device.values.clear();
  for (int i = 0; i < d.PatchCount[Index(set)]; ++i) {
    const std::size_t key = std::hash<std::string>{}(d.FileId[Index(set)][i]) % 1000003;
    device.values.push_back({static_cast<float>(key % 101), static_cast<float>(key / 101 % 101),
                             static_cast<float>(key / 10201), 0});
  }
}

std::unique_ptr<EngineState> Loaded() {
  auto engine = std::make_unique<EngineState>(kWindowSurfaces);
  ChooseFile(*engine, DataSet::Reference, Files().paths[0], {});
  ChooseFile(*engine, DataSet::File1, Shuffled(Files().paths[1], "f1-shuffled.txt"), {});
  ChooseFile(*engine, DataSet::File2, Shuffled(Files().paths[2], "f2-shuffled.txt"), {});
  for (DataSet set : kAllSets)
    GiveRecipes(*engine, set);
  return engine;
}

// One change from position to the mode; the change back is not timed.
void BM_ChangePairingMode(benchmark::State& state) {
  const auto mode = static_cast<PairingMode>(state.range(0));
  const std::unique_ptr<EngineState> engine = Loaded();
  for (auto _ : state) {
    ChangePairingMode(*engine, mode);
    state.PauseTiming();
    if (engine->Map(Pair::ReferenceFile2).paired != kPatches)
      throw std::runtime_error("the shuffled file did not pair completely");
    ChangePairingMode(*engine, PairingMode::Position);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_ChangePairingMode)
    ->Arg(static_cast<int>(PairingMode::Id))
    ->Arg(static_cast<int>(PairingMode::Device))
    ->Unit(benchmark::kMillisecond);

// The maps alone, both pairs.
void BM_BuildPairMaps(benchmark::State& state) {
  const std::unique_ptr<EngineState> engine = Loaded();
  engine->pairingMode = static_cast<PairingMode>(state.range(0));
  for (auto _ : state) {
    BuildPairMaps(*engine);
    benchmark::DoNotOptimize(engine->maps[1].sample.data());
  }
}
BENCHMARK(BM_BuildPairMaps)
    ->Arg(static_cast<int>(PairingMode::Id))
    ->Arg(static_cast<int>(PairingMode::Device))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo::bench

BENCHMARK_MAIN();
