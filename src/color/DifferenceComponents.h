#pragma once

namespace korimo {

// The parts of a CIELAB difference, sample minus Reference. ΔL* and ΔC*ab
// are signed; ΔH*ab and ΔCh are distances.
struct DifferenceComponents {
  double dL = 0;   // ΔL*
  double dC = 0;   // ΔC*ab
  double dH = 0;   // ΔH*ab
  double dCh = 0;  // ΔCh: the distance in the a*b* plane
};

// Reference colour first, as Cie76 and Ciede2000 take them.
DifferenceComponents Components(double L1, double a1, double b1, double L2, double a2, double b2);

}  // namespace korimo
