#include "app/ClearAll.h"

namespace korimo {

void But_Clear_Click(EngineState& state) {
  ApplyClearAll(state.inputs);
  state.Recompute();
  for (ChartMouseState& m : state.ui.mouse) {
    m.CurPatch = 0;
    m.PrevPatch = 0;
    m.SelX = {};
    m.SelY = {};
  }
  state.ui.layoutFor.reset();
  // No shape either: a File1 loaded alone afterwards would otherwise be drawn
  // in cells of size 0 at the corner, where a fresh window draws nothing.
  state.ui.chart = ChartGeometry();

  // The texts the window shows after clear-all; the stored figures,
  // thresholds and sort order stay.
  Shown& shown = state.shown;
  const ComparisonPtr none;
  // The histograms' counts stay as the last drawing left them; only their
  // pictures and captions are cleared.
  for (Shown::PairViews& views : shown.pairs) {
    const ComparisonPtr histogram = views.histogram;
    views = {};
    views.histogram = histogram;
  }
  shown.captions = none;
  shown.grid = none;
  shown.gridPending = false;
  shown.swatchesPending = false;
  WindowRecord& r = state.record;
  r.Lb_GY.fill(std::string(kCountAxisEmpty));
  r.Lb_GX = {};
  r.Lb_PDe = {};
  r.Lb_FDe = {};
  r.Lb_DeBox.fill(std::string(kAreaHint));
  r.areaFigures = {};
  r.FlexG.cells.clear();
  r.FlexG.order.clear();
  r.FlexG.cellsFrom = none;
  ++r.FlexG.revision;
  for (AreaFrame& frame : r.Sh_Box)
    frame.visible = false;
  r.Menu_EditSub_Enabled = false;
  for (Raster& picture : state.pictures.PictPat)
    picture.Clear();
  for (Raster& picture : state.pictures.PictG)
    picture.Clear();
  state.pictures.PictD.Clear();
}

}  // namespace korimo
