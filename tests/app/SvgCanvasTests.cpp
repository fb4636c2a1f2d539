#include <gtest/gtest.h>

#include <string>

#include "app/Raster.h"
#include "app/SvgCanvas.h"

namespace korimo {
namespace {

// Each call becomes the shape that covers the raster's pixels: corner pixels
// included, lines through pixel centres, outlines inside their corners.
TEST(SvgCanvasTest, ShapesCoverTheRasterPixels) {
  struct Case {
    const char* name;
    void (*draw)(SvgCanvas&);
    const char* element;
  };
  const Case cases[] = {
      {"filled box", [](SvgCanvas& c) { c.FillRect(5, 4, 2, 3, kRed); },
       "<rect x=\"2\" y=\"3\" width=\"4\" height=\"2\" fill=\"#ff0000\"/>"},
      {"line", [](SvgCanvas& c) { c.Line(0, 9, 9, 0, kBlue); },
       "<line x1=\"0.5\" y1=\"9.5\" x2=\"9.5\" y2=\"0.5\" stroke=\"#0000ff\" stroke-width=\"1\""},
      {"outline of width 3",
       [](SvgCanvas& c) {
         c.SetLineWidth(3);
         c.RectOutline(10, 20, 19, 29, kWhite);
       },
       "<rect x=\"11.5\" y=\"21.5\" width=\"7\" height=\"7\" fill=\"none\" stroke=\"#ffffff\" "
       "stroke-width=\"3\"/>"},
      {"circle", [](SvgCanvas& c) { c.Circle(7, 8, 2.5, kBlack); },
       "<circle cx=\"7.5\" cy=\"8.5\" r=\"2.5\" fill=\"none\""},
      {"caption", [](SvgCanvas& c) { c.Text(-3, 10, "数<&>", TextAnchor::End, 10); },
       "<text x=\"-3\" y=\"10\" font-size=\"10\" text-anchor=\"end\">数&lt;&amp;&gt;</text>"},
  };
  for (const Case& c : cases) {
    SvgCanvas canvas(40, 40, kWhite);
    c.draw(canvas);
    EXPECT_NE(canvas.Markup("x").find(c.element), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace korimo
