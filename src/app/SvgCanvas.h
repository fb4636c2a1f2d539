#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/Canvas.h"

namespace korimo {

// Room around a picture for its captions, in pixels.
struct SvgMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct SvgPoint {
  double x = 0;
  double y = 0;
};

// A picture drawn as vector shapes, for pages that are printed: every call
// becomes one SVG element whose edges lie on the pixel edges the window's
// raster would fill, so the printed picture shows the same cells and marks
// at any resolution. Shapes are clipped to the picture; captions may stand
// in the margins around it.
class SvgCanvas : public Canvas {
 public:
  SvgCanvas(int width, int height, std::uint32_t background, SvgMargins margins = {});

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uint32_t Background() const override { return background_; }
  void Line(int x1, int y1, int x2, int y2, std::uint32_t color) override;
  void RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color) override;
  void FillRect(int x1, int y1, int x2, int y2, std::uint32_t color) override;
  void Circle(int cx, int cy, double radius, std::uint32_t color) override;
  void SetLineWidth(int width) override;
  void Text(double x, double y, std::string_view text, TextAnchor anchor, double size) override;

  // A line through measured values: smooth, not on the pixel edges; one
  // element however many points, so a plot of a thousand values stays small.
  void Polyline(std::span<const SvgPoint> points, std::uint32_t color);

  // The <svg> element, `label` (plain text) naming it for readers of the
  // page; inline in an HTML page it needs no namespace declaration of its own.
  std::string Markup(std::string_view label) const;

 private:
  int width_;
  int height_;
  std::uint32_t background_;
  SvgMargins margins_;
  int lineWidth_ = 1;
  std::string shapes_;
  std::string texts_;
};

// "#rrggbb" of a colour packed with red in the low byte.
std::string CssColor(std::uint32_t color);

// Text with &, <, >, " and ' written as character references, so that it
// stays text inside an element or an attribute value.
std::string EscapeMarkup(std::string_view text);

}  // namespace korimo
