#pragma once

#include <cmath>

#include "app/EngineState.h"
#include "app/PatchRoles.h"

namespace korimo::testing {

// A 32-bit reading held widened, as the reader stores it.
inline double Reading(double value) {
  return static_cast<double>(static_cast<float>(value));
}

// An engine holding a Media Wedge V3 Reference with CMYK values and File1,
// both neutral at L* = 50 until a patch is made to differ.
class WedgeState {
 public:
  WedgeState() {
    ComparisonData& d = state.Data();
    d.PatchCount[0] = d.PatchCount[1] = 72;
    state.sets[0].device.space = DeviceSpace::Cmyk;
    state.sets[0].device.values.assign(MediaWedgeV3().begin(), MediaWedgeV3().end());
    for (int i = 0; i < 72; ++i)
      Set(i, {50, 0, 0}, {50, 0, 0});
  }

  void Set(int patch, std::array<double, 3> reference, std::array<double, 3> sample, int set = 1) {
    for (int c = 0; c < 3; ++c) {
      state.Data().Lab0[static_cast<std::size_t>(patch)][static_cast<std::size_t>(c)] =
          Reading(reference[static_cast<std::size_t>(c)]);
      state.Data().Lab(set)[static_cast<std::size_t>(patch)][static_cast<std::size_t>(c)] =
          Reading(sample[static_cast<std::size_t>(c)]);
    }
  }

  // Makes `metric` of the patch v, by plane geometry:
  // - ⊿E, ⊿E00, ΔL*: neutral colours v apart in L* around 50, where CIEDE2000's
  //   lightness weight is 1 and its chroma and hue terms vanish;
  // - ΔC*: a* grows by v along the a* axis at L* 50;
  // - ΔH*, ΔCh: a chord of length v on the circle of radius 50.
  void Deviate(int patch, VerifyMetric metric, double v, int set = 1) {
    switch (metric) {
      case VerifyMetric::De:
      case VerifyMetric::De00:
      case VerifyMetric::Dl:
        Set(patch, {50 - v / 2, 0, 0}, {50 + v / 2, 0, 0}, set);
        return;
      case VerifyMetric::Dc:
        Set(patch, {50, 10, 0}, {50, 10 + v, 0}, set);
        return;
      case VerifyMetric::Dh:
      case VerifyMetric::Dch:
        Set(patch, {50, 50, 0}, {50, 50 - v * v / 100, v * std::sqrt(1 - v * v / 10000)}, set);
        return;
    }
  }

  EngineState state{kBatchSurfaces};
};

}  // namespace korimo::testing
