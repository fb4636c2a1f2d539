#include "app/EngineState.h"

#include "app/PatchChart.h"

namespace korimo {

namespace {

// The chart boxes show the window background, which is white on the
// desktops the program runs on.
constexpr std::uint32_t kWindowBackground = kWhite;

Raster Picture(bool drawn, int width, int height, std::uint32_t background) {
  return drawn ? Raster(width, height, background) : Raster();
}

}  // namespace

EngineState::EngineState(const Surfaces& sizes)
    : surfaces(sizes), comparison(Comparison::Compute(inputs)) {
  for (Pair p : kAllPairs) {
    pictures.PictPat[Index(p)] =
        Picture(sizes.drawn, sizes.chartWidth, sizes.chartHeight, kWindowBackground);
    pictures.PictG[Index(p)] =
        Picture(sizes.drawn, sizes.histogramWidth, sizes.histogramHeight, kWhite);
  }
  pictures.PictD = Picture(sizes.drawn, sizes.swatchWidth, sizes.swatchHeight, kWhite);
}

const ChartGeometry& EngineState::Chart() {
  if (ui.layoutFor) {
    ChooseChartShape(*ui.layoutFor, surfaces, ui.chart);
    LayoutChart(surfaces, ui.chart);
    ui.layoutFor.reset();
  }
  return ui.chart;
}

void EngineState::Recompute() {
  comparison = Comparison::Compute(inputs, comparison.get());
  shown.textsPending = true;
}

}  // namespace korimo
