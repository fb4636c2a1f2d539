#include "app/ThresholdPanel.h"

#include <algorithm>

#include "app/LoadDriver.h"
#include "app/PatchChart.h"

namespace korimo {

namespace {

// Redraws the charts, and with `histograms` the histograms, of the pairs
// whose file is loaded. A file whose read failed keeps its path on show but
// has no colours: its chart keeps the picture of the last good load, as
// after the failed load itself, instead of turning to zeros.
void RedrawComparedViews(EngineState& state, bool histograms) {
  for (Pair pair : kAllPairs) {
    if (!state.Current().Loaded(SampleOf(pair)))
      continue;
    Shown::PairViews& views = state.shown.pairs[Index(pair)];
    views.chart = PendingChart{state.comparison, SampleOf(pair)};
    if (histograms) {
      views.histogram = state.comparison;
      views.histogramPending = true;
    }
  }
  state.shown.textsPending = true;
}

void SetPanel(EngineState& state, const PanelSettings& panel) {
  state.inputs.panel = panel;
  state.Recompute();
}

void Refresh(EngineState& state) {
  UpdateThresholds(state, DataSet::Reference);
  RedrawComparedViews(state, true);
}

}  // namespace

void Opt_de_Click(EngineState& state, Metric metric) {
  PanelSettings panel = state.inputs.panel;
  panel.metric = metric;
  SetPanel(state, panel);
  Refresh(state);
}

void SldBest_Change(EngineState& state, int position) {
  const int clamped = std::clamp(position, 0, kSliderMax);
  if (clamped == state.inputs.panel.under)
    return;
  PanelSettings panel = state.inputs.panel;
  panel.under = clamped;
  SetPanel(state, panel);
  Refresh(state);
}

void SldWorst_Change(EngineState& state, int position) {
  const int clamped = std::clamp(position, 0, kSliderMax);
  if (clamped == state.inputs.panel.over)
    return;
  PanelSettings panel = state.inputs.panel;
  panel.over = clamped;
  SetPanel(state, panel);
  Refresh(state);
}

void ChkBest_Click(EngineState& state, bool checked) {
  PanelSettings panel = state.inputs.panel;
  panel.underMarks = checked;
  SetPanel(state, panel);
  RedrawComparedViews(state, false);
  if (!checked) {
    for (Shown::PairViews& views : state.shown.pairs)
      views.under = {};
  }
}

void ChkWorst_Click(EngineState& state, bool checked) {
  PanelSettings panel = state.inputs.panel;
  panel.overMarks = checked;
  SetPanel(state, panel);
  RedrawComparedViews(state, false);
  if (!checked) {
    for (Shown::PairViews& views : state.shown.pairs)
      views.over = {};
  }
}

void ApplyPanel(EngineState& state, const PanelSettings& panel) {
  if (panel.metric != state.inputs.panel.metric)
    Opt_de_Click(state, panel.metric);
  SldBest_Change(state, panel.under);
  SldWorst_Change(state, panel.over);
  if (panel.underMarks != state.inputs.panel.underMarks)
    ChkBest_Click(state, panel.underMarks);
  if (panel.overMarks != state.inputs.panel.overMarks)
    ChkWorst_Click(state, panel.overMarks);
}

}  // namespace korimo
