// L*a*b* from spectral reflectance: the weighting step alone, and the read of
// a whole spectral file (parsing the band cells) apart from it. 1617 patches,
// the size of a characterization data set, with 36 bands (380–730 nm, as most
// instruments measure) and 41 bands (380–780 nm).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "color/Colorimetry.h"
#include "core/MeasurementReader.h"

namespace korimo {
namespace {

constexpr int kPatches = 1617;

std::vector<int> Bands(int last) {
  std::vector<int> nm;
  for (int w = 380; w <= last; w += 10)
    nm.push_back(w);
  return nm;
}

// Reflectance that differs per patch and band, as a chart's would.
std::vector<float> Spectra(std::size_t bands) {
  std::vector<float> r(kPatches * bands);
  for (std::size_t i = 0; i < r.size(); ++i)
    r[i] = static_cast<float>((i * 7919) % 1000) / 1000.0F;
  return r;
}

void BM_WeighSpectraToLab(benchmark::State& state) {
  const std::vector<int> nm = Bands(static_cast<int>(state.range(0)));
  const std::vector<float> spectra = Spectra(nm.size());
  std::vector<Xyz> xyz(kPatches);
  std::vector<CieLab> lab(kPatches);
  for (auto _ : state) {
    const SpectralWeights plan = PlanSpectralWeights(nm, StdIlluminant::D50, StdObserver::Deg2);
    WeighSpectra(plan, spectra, nm.size(), 1.0, xyz);
    for (int i = 0; i < kPatches; ++i)
      lab[static_cast<std::size_t>(i)] = XyzToLab(xyz[static_cast<std::size_t>(i)], plan.white);
    benchmark::DoNotOptimize(lab.data());
  }
}
BENCHMARK(BM_WeighSpectraToLab)->Arg(730)->Arg(780)->Unit(benchmark::kMillisecond);

void BM_ReadSpectralFile(benchmark::State& state) {
  const std::vector<int> nm = Bands(static_cast<int>(state.range(0)));
  const std::vector<float> spectra = Spectra(nm.size());
  std::string text = "ILLUMINANT D50\nSAMPLE_ID";
  for (const int w : nm)
    text += " SPECTRAL_NM" + std::to_string(w);
  text += "\nBEGIN_DATA\n";
  for (int i = 0; i < kPatches; ++i) {
    text += std::to_string(i + 1);
    for (std::size_t k = 0; k < nm.size(); ++k)
      text += " " + std::to_string(spectra[static_cast<std::size_t>(i) * nm.size() + k]);
    text += "\n";
  }
  text += "END_DATA\n";
  for (auto _ : state) {
    std::FILE* file = fmemopen(text.data(), text.size(), "rb");
    benchmark::DoNotOptimize(ReadMeasurementStream(file).Count());
    std::fclose(file);
  }
}
BENCHMARK(BM_ReadSpectralFile)->Arg(730)->Arg(780)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo

BENCHMARK_MAIN();
