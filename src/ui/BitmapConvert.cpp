#include "ui/BitmapConvert.h"

#include <cstddef>

namespace korimo {

QRgb PackedToQRgb(std::uint32_t packed) {
  return qRgb(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
              static_cast<int>((packed >> 16) & 0xFF));
}

std::uint32_t QRgbToPacked(QRgb rgb) {
  return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
         static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

QColor PackedToQColor(std::uint32_t packed) {
  return QColor(PackedToQRgb(packed));
}

QImage ToQImage(const Bitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0 ||
      bitmap.pixels.size() !=
          static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height))
    return QImage();
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  auto pixel = bitmap.pixels.cbegin();
  for (int y = 0; y < bitmap.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.width; ++x)
      line[x] = PackedToQRgb(*pixel++);
  }
  return image;
}

Bitmap FromQImage(const QImage& image) {
  Bitmap bitmap;
  if (image.isNull())
    return bitmap;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  bitmap.width = rgb.width();
  bitmap.height = rgb.height();
  bitmap.pixels.reserve(static_cast<std::size_t>(bitmap.width) *
                        static_cast<std::size_t>(bitmap.height));
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x)
      bitmap.pixels.push_back(QRgbToPacked(line[x]));
  }
  return bitmap;
}

}  // namespace korimo
