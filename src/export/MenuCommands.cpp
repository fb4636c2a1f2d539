#include "export/MenuCommands.h"

#include "app/Histogram.h"

#include "app/ResultsGrid.h"
#include "core/Encoding.h"
#include "export/HistogramTable.h"
#include "export/ResultsExport.h"

namespace korimo {

namespace {

// A save that fails is reported; the user would otherwise believe it done.
bool ReportFailure(Platform& platform, const std::string& path, const WriteOutcome& outcome) {
  if (outcome.ok())
    return false;
  platform.ShowMessage(WriteFailureMessage(path, outcome.error));
  return true;
}

void Histogram(const EngineState& state, Pair pair, MenuItem item, Platform& platform) {
  const Metric metric = state.inputs.panel.metric;
  const Raster& picture = state.pictures.PictG[Index(pair)];
  const ComparisonPtr& drawn = state.shown.pairs[Index(pair)].histogram;
  const HistogramView view = drawn ? HistogramOf(*drawn, pair) : HistogramView{};
  const std::string table = HistogramTable(view.counts, view.edges, metric);
  if (item == MenuItem::Copy) {
    platform.ClipboardClear();
    platform.ClipboardSetBitmapAndText(picture, table);
    return;
  }
  const auto chosen = platform.SaveFileDialog(kBitmapFilter);
  if (!chosen)
    return;
  const std::string bitmapName = HistogramBitmapName(*chosen, metric);
  const std::string tableName = HistogramTableName(bitmapName);
  const auto& paths = state.inputs.paths;
  if (!MayWrite(platform, bitmapName, paths) || !MayWrite(platform, tableName, paths))
    return;
  if (ReportFailure(platform, bitmapName, platform.SaveBitmap(picture, bitmapName)))
    return;
  ReportFailure(platform, tableName, platform.WriteFile(tableName, Utf8ToCp932(table + "\r\n")));
}

void Chart(const EngineState& state, Pair chart, MenuItem item, Platform& platform) {
  if (!state.Current().Loaded(DataSet::Reference))
    return;
  if (item == MenuItem::Copy) {
    platform.ClipboardClear();
    platform.ClipboardSetBitmap(ChartCellArea(state, chart));
    return;
  }
  const auto chosen = platform.SaveFileDialog(kBitmapFilter);
  if (!chosen)
    return;
  const std::string name = BitmapFileName(*chosen);
  if (!MayWrite(platform, name, state.inputs.paths))
    return;
  ReportFailure(platform, name, platform.SaveBitmap(ChartCellArea(state, chart), name));
}

void Grid(const EngineState& state, MenuItem item, Platform& platform) {
  if (item == MenuItem::Copy) {
    const std::string text = GridText(state.record);
    platform.ClipboardClear();
    platform.ClipboardSetText(text);
  } else {
    But_DataR_Click(platform, state.inputs.paths, state.record.FlexG);
  }
}

}  // namespace

Raster ChartCellArea(const EngineState& state, Pair chart) {
  const ChartGeometry& g = state.ui.chart;
  return state.pictures.PictPat[Index(chart)].Crop(
      g.CellX(0, 0), g.CellY(0, 0), g.ChartCols * g.CellSize, g.ChartRows * g.CellSize);
}

void Menu_EditSub_Click(const EngineState& state, MenuItem item, Platform& platform) {
  switch (state.ui.menuSource) {
    case MenuSource::Chart:
      Chart(state, state.ui.menuIndex, item, platform);
      return;
    case MenuSource::Histogram:
      Histogram(state, state.ui.menuIndex, item, platform);
      return;
    case MenuSource::Grid:
      Grid(state, item, platform);
      return;
    case MenuSource::None:
      return;
  }
}

}  // namespace korimo
