#pragma once

#include <QRect>
#include <cmath>

namespace korimo {

// The window is laid out in twips; at 96 dpi 15 twips make one pixel.
inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) {
  return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

inline QRect TwipsRect(int left, int top, int width, int height) {
  return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace korimo
