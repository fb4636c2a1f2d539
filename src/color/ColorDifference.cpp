#include "color/ColorDifference.h"

#include <cmath>

namespace korimo {

namespace {

// Recomputed on use rather than held in a global, so every call sees the same
// bits and nothing can leave it stale.
double Pi() {
  return 4.0 * std::atan(1.0);
}

// 10^x; the seventh powers below go through logarithms and back.
double Exp10(double x) {
  return std::pow(10.0, x);
}

}  // namespace

double Log10(double v) {
  // A non-positive argument has no logarithm; 0 is harmless where it is used.
  if (!(v > 0))
    return 0;
  return std::log(v) / std::log(10.0);
}

double DegToRad(double x) {
  return Pi() / 180.0 * x;
}

double RadToDeg(double x) {
  return x * 180.0 / Pi();
}

// Angle of (x, y) from the one-argument arctangent. The last bit of the result
// decides which side of the mean-hue discontinuity a pair of hues exactly
// 180 degrees apart falls on, so the arithmetic is kept to this exact form.
double ArcTan2(double x, double y) {
  if (x == 0)
    return y > 0 ? Pi() / 2 : -Pi() / 2;
  const double t = std::atan(y / x);
  if (x > 0)
    return t;
  if (y > 0)
    return t + Pi();
  return t - Pi();
}

/*
 * CIE 1976 colour difference: Euclidean distance in CIELAB.
 */
double Cie76(double L1, double a1, double b1, double L2, double a2, double b2) {
  const double dL = L1 - L2;
  const double da = a1 - a2;
  const double db = b1 - b2;
  return std::sqrt(dL * dL + da * da + db * db);
}

/*
 * CIEDE2000 colour difference, kL = kC = kH = 1.
 * G. Sharma, W. Wu, E. N. Dalal, "The CIEDE2000 color-difference formula:
 * implementation notes, supplementary test data, and mathematical
 * observations", Color Research & Application 30(1), 2005.
 *
 * Angles are in degrees throughout and become radians only inside sin/cos.
 * Differences are first colour minus second; only squares and the product
 * dCp * dHp enter the result, so the sign convention does not matter.
 * A neutral colour gets the hue 270 rather than 0; it enters only through
 * terms that vanish with dHp.
 */
double Ciede2000(double L1, double a1, double b1, double L2, double a2, double b2) {
  const double C1 = std::sqrt(a1 * a1 + b1 * b1);
  const double C2 = std::sqrt(a2 * a2 + b2 * b2);
  const double Cbar = (C1 + C2) / 2;

  const double logCbar = Log10(Cbar);
  const double Cbar7 = Exp10(7 * logCbar);
  // 25^7 the same way, once: the same bits on every call.
  static const double pow25_7 = Exp10(7 * Log10(25.0));
  const double G = 0.5 * (1 - std::sqrt(Exp10(7 * logCbar - Log10(Cbar7 + pow25_7))));

  const double a1p = (1 + G) * a1;
  const double a2p = (1 + G) * a2;
  const double C1p = std::sqrt(a1p * a1p + b1 * b1);
  const double C2p = std::sqrt(a2p * a2p + b2 * b2);

  const double dLp = L1 - L2;
  const double dCp = C1p - C2p;
  const double Lbarp = (L1 + L2) / 2;
  const double Cbarp = (C1p + C2p) / 2;
  const double Lbarp50sq = (Lbarp - 50) * (Lbarp - 50);
  const double SL = 1 + 0.015 * Lbarp50sq / std::sqrt(20 + Lbarp50sq);
  const double SC = 1 + 0.045 * Cbarp;
  const double tL = dLp / SL;
  const double tC = dCp / SC;

  // Against a neutral colour (C' = 0) dHp is 2 * 0 * sin(...), a zero: tH and
  // the rotation term add nothing (SH >= 1 because T > 0.07, and |RT| <= 2
  // keeps RT * dCp finite below the bound), so the hue terms are skipped with
  // the same result to the last bit. Every patch compared against a file not
  // yet loaded takes this route.
  if ((C1p == 0 || C2p == 0) && std::fabs(dCp) <= 1e300)
    return std::sqrt(tL * tL + tC * tC);

  double h1p = a1p == 0 ? (b1 > 0 ? 90.0 : -90.0) : RadToDeg(ArcTan2(a1p, b1));
  if (h1p < 0)
    h1p += 360;
  double h2p = a2p == 0 ? (b2 > 0 ? 90.0 : -90.0) : RadToDeg(ArcTan2(a2p, b2));
  if (h2p < 0)
    h2p += 360;

  double dhp = h1p - h2p;
  const double hSum = h1p + h2p;
  // Exactly +-180 is left as it is, the same boundary as the mean hue below.
  if (dhp > 180) {
    dhp -= 360;
  } else if (dhp < -180) {
    dhp += 360;
  }
  const double dHp = 2 * std::sqrt(C1p * C2p) * std::sin(DegToRad(dhp / 2));

  double hbarp;
  if (std::fabs(h1p - h2p) <= 180) {
    hbarp = hSum / 2;
  } else if (hSum < 360) {
    hbarp = (hSum + 360) / 2;
  } else {
    hbarp = (hSum - 360) / 2;
  }

  const double T = 1 - 0.17 * std::cos(DegToRad(hbarp - 30)) +
                   0.24 * std::cos(DegToRad(2 * hbarp)) + 0.32 * std::cos(DegToRad(3 * hbarp + 6)) -
                   0.20 * std::cos(DegToRad(4 * hbarp - 63));
  const double SH = 1 + 0.015 * Cbarp * T;
  const double logCbarp = Log10(Cbarp);
  const double Cbarp7 = Exp10(7 * logCbarp);
  const double RC = 2 * std::sqrt(Exp10(7 * logCbarp - Log10(Cbarp7 + pow25_7)));
  const double hq = (hbarp - 275) / 25;
  const double dtheta = 30 * std::exp(-(hq * hq));
  const double RT = -std::sin(DegToRad(2 * dtheta)) * RC;

  const double tH = dHp / SH;
  return std::sqrt(tL * tL + tC * tC + tH * tH + RT * dCp * dHp / (SC * SH));
}

}  // namespace korimo
