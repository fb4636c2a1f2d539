#include "app/SvgCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include "core/Common.h"

namespace korimo {

namespace {

std::string Num(double value) {
  return ShortestDecimal(value);
}

std::string Num(int value) {
  return std::to_string(value);
}

}  // namespace

std::string CssColor(std::uint32_t color) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "#";
  for (int shift : {0, 8, 16}) {
    const unsigned byte = (color >> shift) & 0xFFu;
    text += kHex[byte >> 4];
    text += kHex[byte & 0xFu];
  }
  return text;
}

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

SvgCanvas::SvgCanvas(int width, int height, std::uint32_t background, SvgMargins margins)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      background_(background),
      margins_(margins) {}

void SvgCanvas::SetLineWidth(int width) {
  lineWidth_ = std::max(1, width);
}

// A raster line stamps a square pen on each pixel it passes; a square-capped
// stroke through the pixel centres covers the same pixels.
void SvgCanvas::Line(int x1, int y1, int x2, int y2, std::uint32_t color) {
  shapes_ += "<line x1=\"" + Num(x1 + 0.5) + "\" y1=\"" + Num(y1 + 0.5) + "\" x2=\"" +
             Num(x2 + 0.5) + "\" y2=\"" + Num(y2 + 0.5) + "\" stroke=\"" + CssColor(color) +
             "\" stroke-width=\"" + Num(lineWidth_) + "\" stroke-linecap=\"square\"/>";
}

// The outline grows inwards from the corner pixels, as on the raster.
void SvgCanvas::RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color) {
  const int left = std::min(x1, x2);
  const int top = std::min(y1, y2);
  const double half = lineWidth_ / 2.0;
  const double width = std::abs(x2 - x1) + 1 - lineWidth_;
  const double height = std::abs(y2 - y1) + 1 - lineWidth_;
  if (width < 0 || height < 0) {
    FillRect(x1, y1, x2, y2, color);
    return;
  }
  shapes_ += "<rect x=\"" + Num(left + half) + "\" y=\"" + Num(top + half) + "\" width=\"" +
             Num(width) + "\" height=\"" + Num(height) + "\" fill=\"none\" stroke=\"" +
             CssColor(color) + "\" stroke-width=\"" + Num(lineWidth_) + "\"/>";
}

void SvgCanvas::FillRect(int x1, int y1, int x2, int y2, std::uint32_t color) {
  shapes_ += "<rect x=\"" + Num(std::min(x1, x2)) + "\" y=\"" + Num(std::min(y1, y2)) +
             "\" width=\"" + Num(std::abs(x2 - x1) + 1) + "\" height=\"" +
             Num(std::abs(y2 - y1) + 1) + "\" fill=\"" + CssColor(color) + "\"/>";
}

void SvgCanvas::Circle(int cx, int cy, double radius, std::uint32_t color) {
  if (!(radius >= 0.0) || !std::isfinite(radius))
    return;
  shapes_ += "<circle cx=\"" + Num(cx + 0.5) + "\" cy=\"" + Num(cy + 0.5) + "\" r=\"" +
             Num(radius) + "\" fill=\"none\" stroke=\"" + CssColor(color) + "\" stroke-width=\"" +
             Num(lineWidth_) + "\"/>";
}

void SvgCanvas::Text(double x, double y, std::string_view text, TextAnchor anchor, double size) {
  static constexpr std::array<std::string_view, 3> kAnchors = {"start", "middle", "end"};
  texts_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + Num(size) + "\"";
  if (anchor != TextAnchor::Start)
    texts_ += " text-anchor=\"" + std::string(kAnchors[static_cast<std::size_t>(anchor)]) + "\"";
  texts_ += ">" + EscapeMarkup(text) + "</text>";
}

void SvgCanvas::Polyline(std::span<const SvgPoint> points, std::uint32_t color) {
  if (points.empty())
    return;
  shapes_ += "<polyline points=\"";
  for (std::size_t i = 0; i < points.size(); ++i) {
    // A tenth of a pixel is finer than any printer resolves.
    shapes_ += (i == 0 ? "" : " ") + Num(std::round(points[i].x * 10) / 10) + "," +
               Num(std::round(points[i].y * 10) / 10);
  }
  shapes_ += "\" fill=\"none\" stroke=\"" + CssColor(color) + "\" stroke-width=\"" +
             Num(lineWidth_) +
             "\" stroke-linejoin=\"round\" shape-rendering=\"geometricPrecision\"/>";
}

std::string SvgCanvas::Markup(std::string_view label) const {
  const int outerWidth = margins_.left + width_ + margins_.right;
  const int outerHeight = margins_.top + height_ + margins_.bottom;
  // The inner <svg> clips the shapes to the picture, as the raster does.
  return "<svg viewBox=\"" + Num(-margins_.left) + " " + Num(-margins_.top) + " " +
         Num(outerWidth) + " " + Num(outerHeight) + "\" width=\"" + Num(outerWidth) +
         "\" height=\"" + Num(outerHeight) + "\" role=\"img\" aria-label=\"" + EscapeMarkup(label) +
         "\"><svg width=\"" + Num(width_) + "\" height=\"" + Num(height_) +
         "\" shape-rendering=\"crispEdges\"><rect width=\"" + Num(width_) + "\" height=\"" +
         Num(height_) + "\" fill=\"" + CssColor(background_) + "\"/>" + shapes_ + "</svg>" +
         texts_ + "</svg>";
}

}  // namespace korimo
