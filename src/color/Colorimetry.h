#pragma once

#include <span>
#include <vector>

#include "color/WeightingTables.h"

namespace korimo {

struct Xyz {
  double X = 0;
  double Y = 0;
  double Z = 0;
};

struct CieLab {
  double L = 0;
  double a = 0;
  double b = 0;
};

// CIE 15 (CIELAB) of a colour relative to a white, both on the same scale.
CieLab XyzToLab(const Xyz& colour, const Xyz& white);

// The white of XYZ data measured under an illuminant and observer; D50/2° is
// the ICC's D50.
Xyz ReferenceWhite(StdIlluminant illuminant, StdObserver observer);

// The table's own white: the column sums of W, so that a perfect reflector
// has L* = 100, a* = b* = 0.
Xyz TableWhite(const WeightingTable& table);

// Why a set of measured bands cannot be weighted.
enum class SpectralFault { None, Narrow, Gap };

// The weights that apply to the measured bands of one file: the table's
// wavelengths outside the measured range add to the first or last measured
// band (ASTM E308); data finer than the table uses its bands at the table's
// points.
struct SpectralWeights {
  SpectralFault fault = SpectralFault::None;
  int faultNm = 0;                // Gap: the first missing wavelength
  int stepNm = 0;                 // the table interval used
  std::vector<int> band;          // index into the measured bands, per used band
  std::vector<WeightRow> weight;  // per used band
  Xyz white;
};

// Chooses the 20 nm table for data at 20 nm, else the 10 nm table; a band
// of the table's grid missing inside the measured range, or a range
// narrower than 400–700 nm, is refused.
SpectralWeights PlanSpectralWeights(std::span<const int> bandNm, StdIlluminant illuminant,
                                    StdObserver observer);

// X = Σ R(λ)·Wx(λ), likewise Y and Z, for `patches` spectra of `bands` values
// each (R as fractions times `scale`), one Xyz per patch into `out`.
void WeighSpectra(const SpectralWeights& plan, std::span<const float> reflectance,
                  std::size_t bands, double scale, std::span<Xyz> out);

}  // namespace korimo
