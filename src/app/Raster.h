#pragma once

#include <cstdint>
#include <vector>

#include "app/Canvas.h"

namespace korimo {

// A picture the window draws into: pixels row by row from the top-left
// corner, kept until cleared, so the screen, the clipboard and bitmap files
// all see the same pixels. Nothing is antialiased; drawing outside the
// picture is clipped. A picture of size 0 takes every call and draws nothing.
class Raster : public Canvas {
 public:
  Raster() = default;
  Raster(int width, int height, std::uint32_t background);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Empty() const { return pixels_.empty(); }
  std::uint32_t Background() const override { return background_; }

  // Counts every change, so a view repaints only what changed.
  std::uint64_t Revision() const { return revision_; }

  void Clear();
  // Both end points belong to the line.
  void Line(int x1, int y1, int x2, int y2, std::uint32_t color) override;
  // Both corners belong to the rectangle; the outline is LineWidth() thick
  // and grows inwards, so it never paints outside the corners.
  void RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color) override;
  // Both corner rows and columns are filled, so cells drawn as
  // (x, y)-(x + s - 1, y + s - 1) abut without gaps.
  void FillRect(int x1, int y1, int x2, int y2, std::uint32_t color) override;
  // The pixels whose centres lie within half a line width of the circle;
  // the radius may be fractional.
  void Circle(int cx, int cy, double radius, std::uint32_t color) override;
  void SetLineWidth(int width) override;
  int LineWidth() const { return lineWidth_; }
  // Captions stand in the window's labels beside the picture.
  void Text(double, double, std::string_view, TextAnchor, double) override {}

  // The background colour for a point outside the picture.
  std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t color);
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

  // Takes the pixels of a kept copy of this picture back, as a change.
  void Restore(const Raster& kept) {
    pixels_ = kept.pixels_;
    ++revision_;
  }

  // The part from (x, y) of at most width x height pixels that lies inside
  // the picture.
  Raster Crop(int x, int y, int width, int height) const;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void Stamp(int x, int y, std::uint32_t color);

  int width_ = 0;
  int height_ = 0;
  std::uint32_t background_ = kWhite;
  int lineWidth_ = 1;
  std::uint64_t revision_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace korimo
