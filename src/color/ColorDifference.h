#pragma once

namespace korimo {

// CIE 1976 colour difference, Reference colour first.
double Cie76(double L1, double a1, double b1, double L2, double a2, double b2);

// CIEDE2000 colour difference (kL = kC = kH = 1), Reference colour first.
double Ciede2000(double L1, double a1, double b1, double L2, double a2, double b2);

// Helpers of Ciede2000, exposed for their tests.
double Log10(double v);  // 0 for v <= 0
double DegToRad(double x);
double RadToDeg(double x);
double ArcTan2(double x, double y);  // abscissa first

}  // namespace korimo
