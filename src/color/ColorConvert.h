#pragma once

#include <cstdint>

namespace korimo {

// Gamma of the display transfer curve; a gamma of 0 passed below means this.
inline constexpr double kDefaultDisplayGamma = 2.2;

// CIELAB (D65) to display components, each >= 0 and not limited above
// (a saturated blue can give 257).
void LabToRgbParts(std::int16_t& red, std::int16_t& green, std::int16_t& blue, double L, double a,
                   double b, double displayGamma = 0);

// Packed colour: red + 256 * green + 65536 * blue, each component limited to
// 255; the top byte is 0.
std::uint32_t LabToRgb(double L, double a, double b);

}  // namespace korimo
