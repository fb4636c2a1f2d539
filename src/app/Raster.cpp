#include "app/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korimo {

Raster::Raster(int width, int height, std::uint32_t background)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      background_(background),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

void Raster::Clear() {
  std::fill(pixels_.begin(), pixels_.end(), background_);
  ++revision_;
}

// A pen wider than one pixel is a square centred on each point of the line.
void Raster::Stamp(int x, int y, std::uint32_t color) {
  if (lineWidth_ == 1) {
    SetPixel(x, y, color);
    return;
  }
  const int before = (lineWidth_ - 1) / 2;
  FillRect(x - before, y - before, x - before + lineWidth_ - 1, y - before + lineWidth_ - 1, color);
}

// Bresenham's line algorithm: one pixel per step along the longer axis.
void Raster::Line(int x1, int y1, int x2, int y2, std::uint32_t color) {
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Stamp(x1, y1, color);
    if (x1 == x2 && y1 == y2)
      break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x1 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y1 += sy;
    }
  }
  ++revision_;
}

void Raster::RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color) {
  const int left = std::min(x1, x2);
  const int right = std::max(x1, x2);
  const int top = std::min(y1, y2);
  const int bottom = std::max(y1, y2);
  const int inset = lineWidth_ - 1;
  FillRect(left, top, right, top + inset, color);
  FillRect(left, bottom - inset, right, bottom, color);
  FillRect(left, top, left + inset, bottom, color);
  FillRect(right - inset, top, right, bottom, color);
}

void Raster::FillRect(int x1, int y1, int x2, int y2, std::uint32_t color) {
  const int left = std::max(std::min(x1, x2), 0);
  const int right = std::min(std::max(x1, x2), width_ - 1);
  const int top = std::max(std::min(y1, y2), 0);
  const int bottom = std::min(std::max(y1, y2), height_ - 1);
  if (left > right || top > bottom)
    return;
  for (int y = top; y <= bottom; ++y) {
    const auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
    std::fill(row + left, row + right + 1, color);
  }
  ++revision_;
}

void Raster::Circle(int cx, int cy, double radius, std::uint32_t color) {
  if (!(radius >= 0.0) || !std::isfinite(radius))
    return;
  // Testing pixel centres against the ring keeps small circles symmetric.
  const double half = lineWidth_ / 2.0;
  const double inner = std::max(0.0, radius - half);
  const double outer = radius + half;
  const int reach = static_cast<int>(std::ceil(outer));
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const double distance = std::hypot(dx, dy);
      if (distance >= inner && distance < outer)
        SetPixel(cx + dx, cy + dy, color);
    }
  }
  ++revision_;
}

void Raster::SetLineWidth(int width) {
  lineWidth_ = std::max(1, width);
}

std::uint32_t Raster::Pixel(int x, int y) const {
  if (!Inside(x, y))
    return background_;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void Raster::SetPixel(int x, int y, std::uint32_t color) {
  if (!Inside(x, y))
    return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = color;
  ++revision_;
}

Raster Raster::Crop(int x, int y, int width, int height) const {
  const int left = std::clamp(x, 0, width_);
  const int top = std::clamp(y, 0, height_);
  const int right = std::clamp(x + std::max(0, width), left, width_);
  const int bottom = std::clamp(y + std::max(0, height), top, height_);
  Raster part(right - left, bottom - top, background_);
  for (int row = top; row < bottom; ++row) {
    const auto from = pixels_.begin() + static_cast<std::ptrdiff_t>(row) * width_;
    std::copy(from + left, from + right,
              part.pixels_.begin() + static_cast<std::ptrdiff_t>(row - top) * part.width_);
  }
  return part;
}

}  // namespace korimo
