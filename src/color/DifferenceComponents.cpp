#include "color/DifferenceComponents.h"

#include <algorithm>
#include <cmath>

namespace korimo {

/*
 * CIE 15:2004, 8.2.1: C*ab = sqrt(a*² + b*²), and ΔH*ab from
 * ΔE*ab² = ΔL*² + ΔC*ab² + ΔH*ab². Rounding can leave the difference of
 * squares a hair below zero for colours of the same hue; that is no hue
 * difference, not a square root of a negative number.
 */
DifferenceComponents Components(double L1, double a1, double b1, double L2, double a2, double b2) {
  const double C1 = std::sqrt(a1 * a1 + b1 * b1);
  const double C2 = std::sqrt(a2 * a2 + b2 * b2);
  const double dL = L2 - L1;
  const double da = a2 - a1;
  const double db = b2 - b1;
  const double dC = C2 - C1;
  const double dE2 = dL * dL + da * da + db * db;
  const double dH2 = std::max(0.0, dE2 - dL * dL - dC * dC);
  return {dL, dC, std::sqrt(dH2), std::sqrt(da * da + db * db)};
}

}  // namespace korimo
