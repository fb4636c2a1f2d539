#include "ui/RasterImage.h"

#include <bit>

namespace korimo {

static_assert(std::endian::native == std::endian::little,
              "the packed 0x00BBGGRR pixels are read as the bytes R, G, B, X");

QImage RasterView(const Raster& picture) {
  if (picture.Empty())
    return QImage();
  const auto* bytes = reinterpret_cast<const uchar*>(picture.Pixels().data());
  return QImage(bytes, picture.Width(), picture.Height(),
                static_cast<qsizetype>(picture.Width()) * 4, QImage::Format_RGBX8888);
}

QImage RasterCopy(const Raster& picture) {
  // The conversion sets the fourth byte, which the view leaves at 0.
  return RasterView(picture).convertToFormat(QImage::Format_RGB32);
}

}  // namespace korimo
