#include "color/ColorConvert.h"

#include <algorithm>
#include <cmath>

namespace korimo {

namespace {

// D65 white on a scale where Y of white is 100.
constexpr double kXn = 95.05;
constexpr double kYn = 100.0;
constexpr double kZn = 108.9;

// Scaled component to int16, ties to even. NaN (from infinite inputs) and
// values beyond the type (huge L*, or a negative gamma sending 0^e to
// infinity) would make the plain conversion undefined, so they are pinned.
std::int16_t ToComponent(double scaled) {
  if (!(scaled > 0))
    return 0;
  const double r = std::nearbyint(scaled);
  if (r >= 32767)
    return 32767;
  return static_cast<std::int16_t>(r);
}

}  // namespace

/*
 * CIELAB (D65) to gamma-encoded display RGB.
 * The inverse CIELAB function is the plain cube, without the linear segment
 * near black, which is why L* = 0 shows as a dark grey. XYZ to linear RGB is the
 * inverse of the SMPTE-C (SMPTE RP 145) primaries matrix for a D65 white, with
 * four-digit coefficients, not the sRGB one; linear values above 1 are kept, so
 * a component can exceed 255.
 */
void LabToRgbParts(std::int16_t& red, std::int16_t& green, std::int16_t& blue, double L, double a,
                   double b, double displayGamma) {
  const double gamma = displayGamma == 0 ? kDefaultDisplayGamma : displayGamma;
  const double e = 1 / gamma;

  const double fy = (L + 16) / 116;
  const double fx = fy + a / 500;
  const double fz = fy - b / 200;

  const double Y = fy * fy * fy * kYn / 100;
  const double X = fx * fx * fx * kXn / 100;
  const double Z = fz * fz * fz * kZn / 100;

  double R = 3.5064 * X - 1.74 * Y - 0.5441 * Z;
  double G = -1.069 * X + 1.9777 * Y + 0.0352 * Z;
  double B = 0.0563 * X - 0.197 * Y + 1.0511 * Z;
  if (R < 0)
    R = 0;
  if (G < 0)
    G = 0;
  if (B < 0)
    B = 0;

  red = ToComponent(std::pow(R, e) * 255);
  green = ToComponent(std::pow(G, e) * 255);
  blue = ToComponent(std::pow(B, e) * 255);
}

std::uint32_t LabToRgb(double L, double a, double b) {
  std::int16_t red = 0;
  std::int16_t green = 0;
  std::int16_t blue = 0;
  LabToRgbParts(red, green, blue, L, a, b);
  const auto byte = [](std::int16_t c) {
    return static_cast<std::uint32_t>(std::clamp<int>(c, 0, 255));
  };
  return byte(red) + 256 * byte(green) + 65536 * byte(blue);
}

}  // namespace korimo
