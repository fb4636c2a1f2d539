#include <gtest/gtest.h>

#include <string>

#include "app/Histogram.h"
#include "app/PatchChart.h"
#include "app/SvgCanvas.h"
#include "support/EngineDriver.h"

namespace korimo {
namespace {

using testing::EngineTest;

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

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
      {"outline of width 1", [](SvgCanvas& c) { c.RectOutline(0, 0, 9, 9, kBlack); },
       "<rect x=\"0.5\" y=\"0.5\" width=\"9\" height=\"9\" fill=\"none\" stroke=\"#000000\""},
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

TEST(SvgCanvasTest, LabelAndMarginsFrameThePicture) {
  SvgCanvas canvas(110, 47, kWhite, {30, 2, 6, 14});
  const std::string svg = canvas.Markup("a \"b\" <c>");
  EXPECT_EQ(svg.rfind("<svg viewBox=\"-30 -2 146 63\" width=\"146\" height=\"63\" role=\"img\" "
                      "aria-label=\"a &quot;b&quot; &lt;c&gt;\">",
                      0),
            0u)
      << svg;
  EXPECT_NE(svg.find("<svg width=\"110\" height=\"47\""), std::string::npos);
}

class SvgPictureTest : public EngineTest {};

// A 4 x 6 chart in the 465-pixel box: cells of 77 pixels from (1, 78), upper
// halves 39 rows (0 ... 38), lower halves from row 38.
TEST_F(SvgPictureTest, ChartCellsStandWhereTheWindowDrawsThem) {
  LoadPair(Same(24, 1.0), 4);
  SvgCanvas chart(kDesignChartSide, kDesignChartSide, kWhite);
  PaintChart(state_, Pair::ReferenceFile1, DataSet::File1, chart, CellSelection::Omitted);
  const std::string svg = chart.Markup("chart");
  EXPECT_NE(svg.find("<rect x=\"1\" y=\"78\" width=\"77\" height=\"39\""), std::string::npos);
  EXPECT_NE(svg.find("<rect x=\"1\" y=\"116\" width=\"77\" height=\"39\""), std::string::npos);
  EXPECT_NE(svg.find("<rect x=\"386\" y=\"309\" width=\"77\" height=\"39\""), std::string::npos);
  // Every patch at the maximum carries the cross (two lines) and outline.
  EXPECT_EQ(Count(svg, "<line"), 48);
}

TEST_F(SvgPictureTest, HistogramHasTenBarsTheHalfLineAndTheCaptions) {
  LoadPair({0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 4.37, 4.0, 1.0, 1.0, 1.0, 1.0, 1.0});
  SvgCanvas picture(kDesignHistogramWidth, kDesignHistogramHeight, kWhite,
                    {kHistogramCaptionLeft, 0, 0, kHistogramCaptionBottom});
  PaintHistogram(state_, Pair::ReferenceFile1, picture);
  const std::string svg = picture.Markup("histogram");
  EXPECT_EQ(Count(svg, "fill=\"#ff0000\""), 10);
  EXPECT_EQ(Count(svg, "<line"), 1);
  // Top 5 (maximum 4.37), tallest bin 2: values 1.0 .. 1.49 hold 6 patches.
  for (const char* caption : {">6</text>", ">数</text>", ">0</text>", ">⊿E</text>", ">5</text>"})
    EXPECT_NE(svg.find(caption), std::string::npos) << caption;
}

}  // namespace
}  // namespace korimo
