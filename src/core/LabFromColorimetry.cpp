#include "core/LabFromColorimetry.h"

#include <algorithm>
#include <cstddef>

namespace korimo {

StdIlluminant WeightingIlluminant(Illuminant declared) {
  return declared == Illuminant::D65 ? StdIlluminant::D65 : StdIlluminant::D50;
}

StdObserver WeightingObserver(Observer declared) {
  return declared == Observer::Deg10 ? StdObserver::Deg10 : StdObserver::Deg2;
}

LabValue StoredLab(const CieLab& lab) {
  return {static_cast<float>(lab.L), static_cast<float>(lab.a), static_cast<float>(lab.b)};
}

void AppendLabOfXyz(std::span<const float> xyz, const Xyz& white, std::vector<LabValue>& out) {
  const std::size_t count = xyz.size() / 3;
  bool fractions = true;
  for (std::size_t i = 0; i < count; ++i)
    fractions = fractions && xyz[3 * i + 1] <= 2.0F;
  const double scale = fractions ? 100.0 : 1.0;
  for (std::size_t i = 0; i < count; ++i) {
    const Xyz colour{xyz[3 * i] * scale, xyz[3 * i + 1] * scale, xyz[3 * i + 2] * scale};
    out.push_back(StoredLab(XyzToLab(colour, white)));
  }
}

bool ReflectanceInPercent(std::span<const float> values) {
  return std::any_of(values.begin(), values.end(), [](float value) { return value > 2.0F; });
}

}  // namespace korimo
