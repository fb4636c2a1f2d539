#pragma once

#include <cmath>
#include <memory>

#include "app/Comparison.h"
#include "app/PatchRoles.h"

namespace korimo::testing {

// A criteria set from its text, one criterion a line.
inline CriteriaSet House(const std::string& text) {
  CriteriaError error;
  return *ParseCriteriaText(text, "house", error);
}

// A Media Wedge V3 Reference with CMYK values and a File1, both neutral at
// L* = 50 until a patch is made to differ, compared by position.
class WedgeState {
 public:
  WedgeState() {
    reference.device = {DeviceSpace::Cmyk, {MediaWedgeV3().begin(), MediaWedgeV3().end()}, 0};
    reference.lab.assign(72, {50, 0, 0});
    sample.lab.assign(72, {50, 0, 0});
  }

  void Set(int patch, std::array<double, 3> ref, std::array<double, 3> met) {
    for (std::size_t c = 0; c < 3; ++c) {
      reference.lab[static_cast<std::size_t>(patch)][c] = static_cast<float>(ref[c]);
      sample.lab[static_cast<std::size_t>(patch)][c] = static_cast<float>(met[c]);
    }
  }

  // Makes `metric` of the patch v, by plane geometry:
  // - ⊿E, ⊿E00, ΔL*: neutral colours v apart in L* around 50, where CIEDE2000's
  //   lightness weight is 1 and its chroma and hue terms vanish;
  // - ΔC*: a* grows by v along the a* axis at L* 50;
  // - ΔH*, ΔCh: a chord of length v on the circle of radius 50.
  void Deviate(int patch, VerifyMetric metric, double v) {
    switch (metric) {
      case VerifyMetric::De:
      case VerifyMetric::De00:
      case VerifyMetric::Dl:
        Set(patch, {50 - v / 2, 0, 0}, {50 + v / 2, 0, 0});
        return;
      case VerifyMetric::Dc:
        Set(patch, {50, 10, 0}, {50, 10 + v, 0});
        return;
      case VerifyMetric::Dh:
      case VerifyMetric::Dch:
        Set(patch, {50, 50, 0}, {50, 50 - v * v / 100, v * std::sqrt(1 - v * v / 10000)});
        return;
    }
  }

  // The comparison of the two files as they stand, File1 read last.
  ComparisonPtr Compare() const {
    Inputs inputs;
    ApplyRead(inputs, DataSet::Reference, std::make_shared<Measurement>(reference));
    ApplyRead(inputs, DataSet::File1, std::make_shared<Measurement>(sample));
    return Comparison::Compute(inputs);
  }

  Measurement reference;
  Measurement sample;
};

}  // namespace korimo::testing
