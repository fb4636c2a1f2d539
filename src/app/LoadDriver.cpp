#include "app/LoadDriver.h"

#include "app/ChartMouse.h"
#include "app/Histogram.h"
#include "app/PairedComparison.h"
#include "app/PatchChart.h"
#include "app/ReadNotes.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "app/VerificationRecord.h"
#include "color/ColorDifference.h"
#include "core/Common.h"

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
}

// Reads a sample file again because the load just changed its figures;
// false stops the driver (the views keep what they showed).
bool RereadSample(EngineState& state, DataSet sample, const EngineHooks& hooks) {
  if (ReadAndCompare(state, sample, state.record.Path(sample), hooks) == 0)
    return false;
  ShowPatchChart(state, sample);
  DrawHistogram(state, PairOf(sample));
  RefreshOrHideArea(state, PairOf(sample));
  return true;
}

}  // namespace

int ReadAndCompare(EngineState& state, DataSet set, const std::string& path,
                   const EngineHooks& hooks) {
  ComparisonData& d = state.Data();
  d.AvgDeAb = {};
  d.AvgDe00 = {};
  d.MaxDeAb = {};
  d.MaxDe00 = {};
  ClearPatchInfo(state.record, set);

  const int s = static_cast<int>(Index(set));
  state.reading = set;
  ReadResult read = ReadMeasurementFile(path, s, d, [&hooks](std::string_view message) {
    if (hooks.showMessage)
      hooks.showMessage(message);
  });
  ++state.dataRevision;
  MeasurementSet& info = state.sets[Index(set)];
  info = std::move(read.info);
  info.failure = read.Reason();
  state.record.Lb_ReadFailure[Index(set)] =
      read.patches == 0 ? ReadFailureLine(set, info.failure) : std::string();
  state.record.Lb_FileTip[Index(set)] = SourceNote(info);
  if (hooks.fileRead)
    hooks.fileRead({set, path, read});
  const int n = read.patches;
  d.PatchCount[Index(set)] = static_cast<std::int16_t>(n);
  state.record.Lb_NoP[Index(set)] = std::to_string(n) + std::string(kPatchUnit);
  if (n == 0) {
    state.reading.reset();
    return 0;
  }

  state.lastCompare = {set, n, state.lastCompare.serial + 1};
  CompareAfterRead(state, set, n);
  state.reading.reset();
  return n;
}

void AbandonRead(EngineState& state) {
  if (!state.reading)
    return;
  const DataSet set = *state.reading;
  state.reading.reset();
  ComparisonData& d = state.Data();
  const std::size_t s = Index(set);
  d.Lab(static_cast<int>(s)).clear();
  if (set == DataSet::Reference)
    d.PatchId.clear();
  d.FileId[s].clear();
  d.HasIdColumn[s] = false;
  d.PatchCount[s] = 0;
  state.sets[s] = {};
  ++state.dataRevision;
  state.record.Lb_NoP[s] = "0" + std::string(kPatchUnit);
  CheckPairing(state);
}

namespace {

// The load itself; it stops at the first read that yields no patches.
void LoadAndRefresh(EngineState& state, DataSet set, const EngineHooks& hooks) {
  if (ReadAndCompare(state, set, state.record.Path(set), hooks) == 0)
    return;
  if (set == DataSet::Reference) {
    RefreshOrHideArea(state, Pair::ReferenceFile1);
    if (state.record.Chosen(DataSet::File2) && !RereadSample(state, DataSet::File2, hooks))
      return;
    ShowPatchChart(state, DataSet::Reference);
    DrawHistogram(state, Pair::ReferenceFile1);
  } else {
    ShowPatchChart(state, set);
    DrawHistogram(state, PairOf(set));
    RefreshOrHideArea(state, PairOf(set));
    const DataSet other = set == DataSet::File1 ? DataSet::File2 : DataSet::File1;
    if (state.record.Chosen(other) && !RereadSample(state, other, hooks))
      return;
  }
  FillGrid(state);
}

}  // namespace

void CheckPairing(EngineState& state) {
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    state.pairing[p] = CheckPair(state.Data(), pair);
    if (state.pairingMode == PairingMode::Position) {
      state.record.Lb_Pairing[p] = PairingWarning(state.Data(), pair, state.pairing[p]);
      state.record.Lb_PairingTip[p] = PairingDetails(state.Data(), pair, state.pairing[p]);
    } else {
      state.record.Lb_Pairing[p] = PairMapStrip(pair, state.maps[p]);
      state.record.Lb_PairingTip[p] = PairMapTip(pair, state.maps[p]);
    }
    state.record.Lb_Conditions[p] =
        state.pairing[p].complete
            ? ConditionLine(pair, state.sets[0], state.sets[Index(SampleOf(pair))])
            : std::string();
  }
}

void LoadDataSet(EngineState& state, DataSet set, const EngineHooks& hooks) {
  LoadAndRefresh(state, set, hooks);
  CheckPairing(state);
  UpdateVerification(state);
}

}  // namespace korimo
