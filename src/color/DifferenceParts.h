#pragma once

namespace korimo {

// The parts of a CIELAB difference, sample minus Reference: lightness,
// chroma and hue (ΔL*, ΔC*ab, ΔH*ab) and the chromatic part (ΔCh).
struct DifferenceParts {
  double dL = 0;   // signed
  double dC = 0;   // signed
  double dH = 0;   // never negative
  double dCh = 0;  // never negative
};

// Reference colour first, as the other difference formulas take it.
DifferenceParts Cie76Parts(double L1, double a1, double b1, double L2, double a2, double b2);

}  // namespace korimo
