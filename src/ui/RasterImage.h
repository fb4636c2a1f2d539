#pragma once

#include <QImage>

#include "app/Raster.h"

namespace korimo {

// The engine packs a colour as 0x00BBGGRR, which lies in memory as the bytes
// R, G, B, 0 on a little-endian machine: Qt's RGBX8888 layout, except that
// the fourth byte is 0 where Qt expects 255.

// The raster's pixels as an image without copying them: valid while the
// raster lives and keeps its size. Only for drawing onto an opaque surface,
// which ignores the fourth byte; reading pixels back gives alpha 0.
QImage RasterView(const Raster& picture);

// An opaque image of its own, for the clipboard and bitmap files; a null
// image for an empty raster.
QImage RasterCopy(const Raster& picture);

}  // namespace korimo
