#include "app/LoadDriver.h"

#include "app/ChartMouse.h"
#include "app/PatchChart.h"
#include "app/ResultsGrid.h"
#include "core/MeasurementReader.h"

namespace korimo {

namespace {

// The hover and click information of the charts that show `set`, and one
// area box, go back to their defaults before the read.
void ClearPatchInfo(WindowRecord& r, DataSet set) {
  for (Pair c : kAllPairs) {
    if (set == DataSet::Reference || c == PairOf(set)) {
      r.Lb_FDe[Index(c)].clear();
      r.Lb_PDe[Index(c)].clear();
    }
  }
  const Pair box = set == DataSet::File1 ? Pair::ReferenceFile1 : Pair::ReferenceFile2;
  r.Lb_DeBox[Index(box)] = kAreaHint;
  r.areaFigures[Index(box)].reset();
}

MeasurementPtr ReadFile(EngineState& state, DataSet set, const EngineHooks& hooks) {
  const std::string& path = state.inputs.paths[Index(set)];
  if (hooks.read)
    return hooks.read(set, path);
  auto read = std::make_shared<Measurement>(ReadMeasurementFile(path, [&hooks](std::string_view m) {
    if (hooks.showMessage)
      hooks.showMessage(m);
  }));
  // A file read again unchanged is the same record, so what was computed
  // from it holds.
  for (const MeasurementPtr& known : state.inputs.sets) {
    if (known && SameMeasurement(*known, *read))
      return known;
  }
  return read;
}

// What a read that stored patches writes: the averages of complete pairs,
// the percentile labels, and the thresholds with the percentages of the
// pairs the read concerns.
void ShowFigures(EngineState& state, DataSet set) {
  const Comparison& c = state.Current();
  for (Pair pair : kAllPairs) {
    Shown::PairViews& views = state.shown.pairs[Index(pair)];
    if (c.Complete(pair))
      views.averages = state.comparison;
    if (c.PairOf(pair).labels != PercentileLabels::Kept)
      views.percentiles = state.comparison;
  }
  UpdateThresholds(state, set);
}

// Reads one file into `set` and compares; false when it stored nothing,
// which stops the load (the views keep what they showed).
bool ReadAndCompare(EngineState& state, DataSet set, const EngineHooks& hooks) {
  ClearPatchInfo(state.record, set);
  state.ui.reading = set;
  MeasurementPtr read = ReadFile(state, set, hooks);
  ApplyRead(state.inputs, set, read);
  state.Recompute();
  state.ui.reading.reset();
  if (!read->Stored())
    return false;
  ShowFigures(state, set);
  return true;
}

void DrawChart(EngineState& state, DataSet set) {
  state.shown.pairs[Index(ChartOf(set))].chart = PendingChart{state.comparison, set};
}

void DrawHistogram(EngineState& state, Pair pair) {
  state.shown.pairs[Index(pair)].histogram = state.comparison;
  state.shown.pairs[Index(pair)].histogramPending = true;
}

// The chart refresh after data set `set` was loaded: a Reference load lays
// the chart out anew and redraws every chart whose file is chosen.
void ShowPatchChart(EngineState& state, DataSet set) {
  if (set != DataSet::Reference) {
    DrawChart(state, set);
    return;
  }
  state.ui.layoutFor = state.comparison;
  DrawChart(state, DataSet::Reference);
  for (DataSet sample : {DataSet::File1, DataSet::File2}) {
    if (state.inputs.Chosen(sample))
      DrawChart(state, sample);
  }
}

// Reads a sample file again because the load just changed its figures;
// false stops the driver.
bool RereadSample(EngineState& state, DataSet sample, const EngineHooks& hooks) {
  if (!ReadAndCompare(state, sample, hooks))
    return false;
  ShowPatchChart(state, sample);
  DrawHistogram(state, PairOf(sample));
  RefreshOrHideArea(state, PairOf(sample));
  return true;
}

void LoadAndRefresh(EngineState& state, DataSet set, const EngineHooks& hooks) {
  if (!ReadAndCompare(state, set, hooks))
    return;
  if (set == DataSet::Reference) {
    RefreshOrHideArea(state, Pair::ReferenceFile1);
    if (state.inputs.Chosen(DataSet::File2) && !RereadSample(state, DataSet::File2, hooks))
      return;
    ShowPatchChart(state, DataSet::Reference);
    DrawHistogram(state, Pair::ReferenceFile1);
  } else {
    ShowPatchChart(state, set);
    DrawHistogram(state, PairOf(set));
    RefreshOrHideArea(state, PairOf(set));
    const DataSet other = set == DataSet::File1 ? DataSet::File2 : DataSet::File1;
    if (state.inputs.Chosen(other) && !RereadSample(state, other, hooks))
      return;
  }
  FillGrid(state);
}

}  // namespace

void UpdateThresholds(EngineState& state, DataSet changed) {
  const ReadHistory& h = state.inputs.history;
  const bool taken = h.thresholdsTaken && h.thresholdsReset == h.figuresReset;
  ApplyThresholdUpdate(state.inputs);
  if (!taken)
    state.Recompute();
  const Comparison& c = state.Current();
  state.shown.captions = state.comparison;
  if (!c.Loaded(DataSet::Reference))
    return;
  for (Pair pair : kAllPairs) {
    // A pair compared by position follows the window's rule: a read of its
    // own sample counts over the Reference's patches, the Reference's read
    // and every panel change over the sample's, and the other sample's read
    // leaves it; a pair paired otherwise counts over its k paired patches.
    const bool byPosition = c.PairOf(pair).map.byPosition;
    Shown::PairViews& views = state.shown.pairs[Index(pair)];
    if (byPosition && changed == SampleOf(pair)) {
      views.over = views.under = PercentShown{state.comparison, false};
    } else if (!byPosition || changed == DataSet::Reference) {
      const int n = byPosition ? c.Count(SampleOf(pair)) : c.PairOf(pair).map.paired;
      if (n > 0)
        views.over = views.under = PercentShown{state.comparison, true};
    }
  }
}

void LoadDataSet(EngineState& state, DataSet set, const EngineHooks& hooks) {
  LoadAndRefresh(state, set, hooks);
  state.shown.textsPending = true;
}

void AbandonRead(EngineState& state) {
  if (!state.ui.reading)
    return;
  const DataSet set = *state.ui.reading;
  state.ui.reading.reset();
  ApplyAbandonedRead(state.inputs, set);
  state.Recompute();
}

void ChangePairingMode(EngineState& state, PairingMode mode) {
  if (mode == state.inputs.mode)
    return;
  // The rows now stand for other patches: what the hover and click showed
  // no longer holds.
  state.record.Lb_PDe = {};
  state.record.Lb_FDe = {};
  const bool compares =
      state.inputs.history.basis && state.inputs.Count(state.inputs.history.basis->set) >= 1;
  ApplyPairingMode(state.inputs, mode);
  state.Recompute();
  if (compares) {
    const Comparison& c = state.Current();
    for (Pair pair : kAllPairs) {
      Shown::PairViews& views = state.shown.pairs[Index(pair)];
      if (c.Complete(pair))
        views.averages = state.comparison;
      if (c.PairOf(pair).labels != PercentileLabels::Kept)
        views.percentiles = state.comparison;
    }
  }
  // Percentages left by the other mode would stand for other patches: both
  // pairs' are taken again, as a slider change takes them.
  if (compares || (mode == PairingMode::Position && state.Current().Loaded(DataSet::Reference)))
    UpdateThresholds(state, DataSet::Reference);
  state.shown.textsPending = true;
  if (state.Current().ShownPatchCount() == 0)
    return;
  for (Pair pair : kAllPairs) {
    if (!state.Current().Loaded(SampleOf(pair)))
      continue;
    DrawChart(state, SampleOf(pair));
    DrawHistogram(state, pair);
    RefreshOrHideArea(state, pair);
  }
  FillGrid(state);
}

void ChooseCriteriaSet(EngineState& state, std::optional<CriteriaSet> set) {
  state.inputs.criteria = std::move(set);
  state.shown.verificationPending = true;
}

}  // namespace korimo
