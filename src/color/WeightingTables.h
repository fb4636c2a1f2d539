#pragma once

#include <span>

namespace korimo {

enum class StdIlluminant { D50, D65 };
enum class StdObserver { Deg2, Deg10 };

// Tristimulus weights W(λ) of one wavelength: X = Σ R(λ)·Wx(λ), likewise Y, Z.
struct WeightRow {
  double x = 0;
  double y = 0;
  double z = 0;
};

// One ASTM E2022 table: rows at firstNm, firstNm + stepNm, …
struct WeightingTable {
  StdIlluminant illuminant;
  StdObserver observer;
  int firstNm;
  int stepNm;
  std::span<const WeightRow> rows;

  int LastNm() const { return firstNm + stepNm * (static_cast<int>(rows.size()) - 1); }
};

// The eight tables: D50 and D65, 2° and 10°, 10 nm and 20 nm, 360–780 nm.
std::span<const WeightingTable> WeightingTables();

}  // namespace korimo
