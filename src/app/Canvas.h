#pragma once

#include <cstdint>
#include <string_view>

namespace korimo {

// Colours are packed with red in the low byte: red + 256 green + 65536 blue.
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kBlue = 0xFF0000;

// Where a text stands relative to its point.
enum class TextAnchor { Start, Middle, End };

// What the drawing procedures of the charts and histograms draw on: the
// window's pixel pictures (Raster) and the report's vector pictures
// (SvgCanvas). Coordinates are pixels from the top-left corner; rectangles
// are given by two opposite corner pixels, both belonging to the shape.
// Colours are packed with red in the low byte.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // A canvas of size 0 takes every call and draws nothing.
  bool Blank() const { return Width() <= 0 || Height() <= 0; }
  // The colour the picture was cleared to; what an empty area shows.
  virtual std::uint32_t Background() const = 0;

  virtual void Line(int x1, int y1, int x2, int y2, std::uint32_t color) = 0;
  virtual void RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color) = 0;
  virtual void FillRect(int x1, int y1, int x2, int y2, std::uint32_t color) = 0;
  virtual void Circle(int cx, int cy, double radius, std::uint32_t color) = 0;
  virtual void SetLineWidth(int width) = 0;
  // A caption at (x, y), its baseline there, `size` pixels high. The window
  // shows captions in labels of its own, so its pictures draw none.
  virtual void Text(double x, double y, std::string_view text, TextAnchor anchor, double size) = 0;
};

}  // namespace korimo
