#include "color/Colorimetry.h"

#include <algorithm>
#include <cmath>

namespace korimo {

namespace {

// CIE 15: f(t) = t^(1/3) above (6/29)³, else t / (3·(6/29)²) + 4/29.
double LabF(double t) {
  const double delta = 6.0 / 29.0;
  if (t > delta * delta * delta)
    return std::cbrt(t);
  return t / (3.0 * delta * delta) + 4.0 / 29.0;
}

const WeightingTable* FindTable(StdIlluminant illuminant, StdObserver observer, int stepNm) {
  for (const WeightingTable& table : WeightingTables()) {
    if (table.illuminant == illuminant && table.observer == observer && table.stepNm == stepNm)
      return &table;
  }
  return nullptr;
}

SpectralWeights Refused(SpectralFault fault, int nm = 0) {
  SpectralWeights plan;
  plan.fault = fault;
  plan.faultNm = nm;
  return plan;
}

// Position of `nm` among the bands, or -1.
int BandAt(std::span<const int> bandNm, int nm) {
  const auto it = std::find(bandNm.begin(), bandNm.end(), nm);
  return it == bandNm.end() ? -1 : static_cast<int>(it - bandNm.begin());
}

// The table's rows folded onto the measured bands in [lo, hi]; Gap when a
// table wavelength inside the range was not measured.
SpectralWeights Fold(const WeightingTable& table, std::span<const int> bandNm, int lo, int hi) {
  SpectralWeights plan;
  plan.stepNm = table.stepNm;
  plan.white = TableWhite(table);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const int nm = table.firstNm + table.stepNm * static_cast<int>(r);
    if (nm < lo || nm > hi)
      continue;
    const int at = BandAt(bandNm, nm);
    if (at < 0)
      return Refused(SpectralFault::Gap, nm);
    plan.band.push_back(at);
    plan.weight.push_back(table.rows[r]);
  }
  if (plan.band.empty())
    return Refused(SpectralFault::Gap, lo);
  // ASTM E308: weights beyond the measured range go to the end bands.
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const int nm = table.firstNm + table.stepNm * static_cast<int>(r);
    WeightRow* end = nm < lo ? &plan.weight.front() : nm > hi ? &plan.weight.back() : nullptr;
    if (end == nullptr)
      continue;
    end->x += table.rows[r].x;
    end->y += table.rows[r].y;
    end->z += table.rows[r].z;
  }
  return plan;
}

}  // namespace

CieLab XyzToLab(const Xyz& colour, const Xyz& white) {
  const double fx = LabF(colour.X / white.X);  // f(X/Xn)
  const double fy = LabF(colour.Y / white.Y);  // f(Y/Yn)
  const double fz = LabF(colour.Z / white.Z);  // f(Z/Zn)
  const double L = 116.0 * fy - 16.0;          // L* = 116 f(Y/Yn) − 16
  const double a = 500.0 * (fx - fy);          // a* = 500 (f(X/Xn) − f(Y/Yn))
  const double b = 200.0 * (fy - fz);          // b* = 200 (f(Y/Yn) − f(Z/Zn))
  return {L, a, b};
}

Xyz ReferenceWhite(StdIlluminant illuminant, StdObserver observer) {
  // ICC D50 (ISO 15076-1); the others from the CIE 15 tables of white points.
  if (illuminant == StdIlluminant::D50)
    return observer == StdObserver::Deg2 ? Xyz{96.42, 100.0, 82.49} : Xyz{96.720, 100.0, 81.427};
  return observer == StdObserver::Deg2 ? Xyz{95.047, 100.0, 108.883} : Xyz{94.811, 100.0, 107.304};
}

Xyz TableWhite(const WeightingTable& table) {
  Xyz white;
  for (const WeightRow& w : table.rows) {
    white.X += w.x;  // Xn = Σ Wx(λ)
    white.Y += w.y;  // Yn = Σ Wy(λ)
    white.Z += w.z;  // Zn = Σ Wz(λ)
  }
  return white;
}

SpectralWeights PlanSpectralWeights(std::span<const int> bandNm, StdIlluminant illuminant,
                                    StdObserver observer) {
  if (bandNm.empty())
    return Refused(SpectralFault::Narrow);
  const auto [loIt, hiIt] = std::minmax_element(bandNm.begin(), bandNm.end());
  const int lo = *loIt;
  const int hi = *hiIt;
  if (lo > 400 || hi < 700)
    return Refused(SpectralFault::Narrow);
  // Data at 20 nm or coarser uses the 20 nm table; finer data its bands at
  // the 10 nm points, so a band missing from 10 nm data is a gap.
  std::vector<int> sorted(bandNm.begin(), bandNm.end());
  std::sort(sorted.begin(), sorted.end());
  int interval = hi - lo;
  for (std::size_t k = 1; k < sorted.size(); ++k) {
    if (sorted[k] != sorted[k - 1])
      interval = std::min(interval, sorted[k] - sorted[k - 1]);
  }
  const int step = interval >= 20 ? 20 : 10;
  return Fold(*FindTable(illuminant, observer, step), bandNm, lo, hi);
}

void WeighSpectra(const SpectralWeights& plan, std::span<const float> reflectance,
                  std::size_t bands, double scale, std::span<Xyz> out) {
  const std::size_t used = plan.band.size();
  for (std::size_t p = 0; p < out.size(); ++p) {
    const float* r = reflectance.data() + p * bands;
    double x = 0;
    double y = 0;
    double z = 0;
    for (std::size_t k = 0; k < used; ++k) {
      const double value = r[plan.band[k]];
      x += value * plan.weight[k].x;  // X = Σ R(λ)·Wx(λ)
      y += value * plan.weight[k].y;  // Y = Σ R(λ)·Wy(λ)
      z += value * plan.weight[k].z;  // Z = Σ R(λ)·Wz(λ)
    }
    out[p] = {x * scale, y * scale, z * scale};
  }
}

}  // namespace korimo
