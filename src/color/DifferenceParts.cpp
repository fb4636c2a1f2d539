#include "color/DifferenceParts.h"

#include <algorithm>
#include <cmath>

namespace korimo {

// CIE 15:2004, 8.2.1: ΔH*ab from ΔE*ab, ΔL* and ΔC*ab. Rounding can leave
// the square a hair below zero for a pure lightness or chroma change.
DifferenceParts Cie76Parts(double L1, double a1, double b1, double L2, double a2, double b2) {
  const double dL = L2 - L1;
  const double da = a2 - a1;
  const double db = b2 - b1;
  const double C1 = std::sqrt(a1 * a1 + b1 * b1);
  const double C2 = std::sqrt(a2 * a2 + b2 * b2);
  const double dC = C2 - C1;
  const double dE2 = dL * dL + da * da + db * db;
  const double dH = std::sqrt(std::max(0.0, dE2 - dL * dL - dC * dC));
  const double dCh = std::sqrt(da * da + db * db);
  return {dL, dC, dH, dCh};
}

}  // namespace korimo
