#pragma once

#include <QColor>
#include <QImage>

#include <cstdint>

#include "app/Platform.h"

namespace korimo {

// The program packs colours with red in the low byte (0x00BBGGRR); Qt keeps
// red in the third byte (0xAARRGGBB).
QRgb PackedToQRgb(std::uint32_t packed);
std::uint32_t QRgbToPacked(QRgb rgb);
QColor PackedToQColor(std::uint32_t packed);

// A null image when the bitmap's pixel count does not match its size.
QImage ToQImage(const Bitmap& bitmap);
Bitmap FromQImage(const QImage& image);

}  // namespace korimo
