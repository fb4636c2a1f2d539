// Changing the "対応:" box at 3000 patches: pairing both pairs again and
// recomputing every figure, picture and grid row from the data already read.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>

#include "BenchFiles.h"
#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/LoadDriver.h"
#include "app/PairingMap.h"
#include "app/Render.h"
#include "core/MeasurementReader.h"

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
void GiveRecipes(Measurement& read) {
  read.device.space = DeviceSpace::Cmyk;
  read.device.values.clear();
  for (const std::string& id : read.ids.values) {
    const std::size_t key = std::hash<std::string>{}(id) % 1000003;
    read.device.values.push_back({static_cast<float>(key % 101),
                                  static_cast<float>(key / 101 % 101),
                                  static_cast<float>(key / 10201), 0});
  }
}

// The three files chosen as the window chooses them, each read given its
// recipes and every view rendered after each load.
std::unique_ptr<EngineState> Loaded() {
  auto engine = std::make_unique<EngineState>(kWindowSurfaces);
  EngineHooks hooks;
  hooks.read = [](DataSet, const std::string& path) {
    Measurement read = ReadMeasurementFile(path);
    GiveRecipes(read);
    return std::make_shared<const Measurement>(std::move(read));
  };
  const std::string files[] = {Files().paths[0], Shuffled(Files().paths[1], "f1-shuffled.txt"),
                               Shuffled(Files().paths[2], "f2-shuffled.txt")};
  for (DataSet set : kAllSets) {
    ChooseFile(*engine, set, files[Index(set)], hooks);
    Render(*engine);
  }
  return engine;
}

// One change from position to the mode and its rendering, as the window
// runs it; the change back is not timed.
void BM_ChangePairingMode(benchmark::State& state) {
  const auto mode = static_cast<PairingMode>(state.range(0));
  const std::unique_ptr<EngineState> engine = Loaded();
  for (auto _ : state) {
    ChangePairingMode(*engine, mode);
    Render(*engine);
    state.PauseTiming();
    if (engine->Current().PairOf(Pair::ReferenceFile2).map.paired != kPatches)
      throw std::runtime_error("the shuffled file did not pair completely");
    ChangePairingMode(*engine, PairingMode::Position);
    Render(*engine);
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
  const auto mode = static_cast<PairingMode>(state.range(0));
  const Measurement* reference = engine->inputs.Set(DataSet::Reference);
  for (auto _ : state) {
    for (Pair pair : kAllPairs) {
      const PairMap map = BuildPairMap(reference, engine->inputs.Set(SampleOf(pair)), mode);
      benchmark::DoNotOptimize(map.sample.data());
    }
  }
}
BENCHMARK(BM_BuildPairMaps)
    ->Arg(static_cast<int>(PairingMode::Id))
    ->Arg(static_cast<int>(PairingMode::Device))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo::bench

BENCHMARK_MAIN();
