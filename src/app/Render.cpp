#include "app/Render.h"

#include "app/Histogram.h"
#include "app/Labels.h"
#include "app/Pairing.h"
#include "app/PatchChart.h"
#include "app/ReadNotes.h"
#include "app/ResultsGrid.h"
#include "app/VerificationRecord.h"

#include <algorithm>

namespace korimo {

namespace {

void RenderFiles(EngineState& state) {
  WindowRecord& r = state.record;
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    const Measurement* m = state.inputs.Set(set);
    r.Lb_File[s] = state.inputs.paths[s];
    r.Lb_NoP[s] = CountLabel(m);
    r.Lb_ReadFailure[s] = m != nullptr && !m->Stored() ? ReadFailureLine(set, m->failure) : "";
    r.Lb_FileTip[s] = m == nullptr ? std::string() : SourceNote(*m);
  }
}

void RenderLabels(EngineState& state) {
  WindowRecord& r = state.record;
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    const Shown::PairViews& views = state.shown.pairs[p];
    const FrameTexts t = FrameTextsOf(views.averages.get(), views.percentiles.get(), pair);
    r.Lb_De[2 * p] = t.de[0];
    r.Lb_De[2 * p + 1] = t.de[1];
    r.Lb_De2K[2 * p] = t.de00[0];
    r.Lb_De2K[2 * p + 1] = t.de00[1];
    r.Lb_BestDe[p] = t.de[2];
    r.Lb_WorsDe[p] = t.de[3];
    r.Lb_Best2K[p] = t.de00[2];
    r.Lb_Wors2K[p] = t.de00[3];
    r.Lb_UPar[p] = UnderPercent(views.under.from.get(), pair, views.under.overSampleCount);
    r.Lb_OPar[p] = OverPercent(views.over.from.get(), pair, views.over.overSampleCount);
  }
  const auto captions = CheckBoxCaptions(state.shown.captions.get());
  r.ChkBest = captions[0];
  r.ChkWorst = captions[1];
}

void RenderPairing(EngineState& state) {
  WindowRecord& r = state.record;
  for (Pair pair : kAllPairs) {
    const PairingTexts t = PairingTextsOf(state.Current(), pair);
    r.Lb_Pairing[Index(pair)] = t.line;
    r.Lb_PairingTip[Index(pair)] = t.tip;
    r.Lb_Conditions[Index(pair)] = t.conditions;
  }
}

void RenderPictures(EngineState& state) {
  for (Pair pair : kAllPairs) {
    Shown::PairViews& views = state.shown.pairs[Index(pair)];
    if (views.histogramPending) {
      views.histogramPending = false;
      const HistogramView view = HistogramOf(*views.histogram, pair);
      if (view.counted) {
        state.record.Lb_GX[Index(pair)] = view.gx;
        state.record.Lb_GY[Index(pair)] = view.gy;
        Raster& picture = state.pictures.PictG[Index(pair)];
        if (!picture.Empty()) {
          picture.Clear();
          PaintHistogram(view, picture);
        }
      }
    }
    if (views.chart) {
      Raster& box = state.pictures.PictPat[Index(pair)];
      if (!box.Empty()) {
        box.Clear();
        const ChartScene scene{*views.chart->from, state.ui.chart, pair, views.chart->lowerSet,
                               state.ui.mouse[Index(pair)].PrevPatch};
        PaintChart(scene, box);
      }
      views.chart.reset();
    }
  }
}

}  // namespace

PairingTexts PairingTextsOf(const Comparison& c, Pair pair) {
  const Measurement* ref = c.Set(DataSet::Reference);
  const Measurement* sample = c.Set(SampleOf(pair));
  const PairCheck check = CheckPair(ref, sample);
  PairingTexts t;
  if (c.Mode() == PairingMode::Position) {
    t.line = PairingWarning(ref, sample, pair, check);
    t.tip = PairingDetails(ref, sample, pair, check);
  } else {
    const PairMap& map = c.PairOf(pair).map;
    t.line = PairMapStrip(pair, map);
    t.tip = PairMapTip(pair, map);
  }
  if (check.complete)
    t.conditions = ConditionLine(pair, *ref, *sample);
  return t;
}

namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// The counts, or how many identifiers differ and the first difference.
std::string MismatchEnglish(const Measurement* ref, const Measurement* sample) {
  const PairCheck check = CheckPair(ref, sample);
  if (!check.Mismatch())
    return {};
  std::string line;
  if (check.idMismatches > 0) {
    const auto first = static_cast<std::size_t>(check.firstMismatches.front());
    line += std::to_string(check.idMismatches) + " of " +
            std::to_string(std::min(check.referenceCount, check.sampleCount)) +
            " identifiers differ, first at No. " + std::to_string(first + 1) + " (" +
            Quoted(ref->ids.values[first]) + " vs " + Quoted(sample->ids.values[first]) + ")";
    if (check.countsDiffer)
      line += "; ";
  }
  if (check.countsDiffer) {
    line += "patch counts differ (" + std::to_string(check.referenceCount) + " vs " +
            std::to_string(check.sampleCount) + ")";
  }
  return line + "; patches are compared by position";
}

std::string PairMapEnglish(const PairMap& map, PairingMode chosen) {
  if (!map.complete)
    return {};
  const std::string mode(PairingModeKey(chosen));
  if (!map.fallbackReason.empty())
    return "cannot pair by " + mode + " (" + map.fallbackReason +
           "); patches are compared by position";
  if (map.deviceMismatches.value_or(0) > 0) {
    return std::to_string(*map.deviceMismatches) + " of " + std::to_string(map.paired) +
           " patches paired by id have different device values";
  }
  if (map.referenceOnly > 0 || map.sampleOnly > 0) {
    return "paired by " + mode + " " + std::to_string(map.paired) + " of " +
           std::to_string(map.paired + map.referenceOnly) + " (" +
           std::to_string(map.referenceOnly) + " Reference only, " +
           std::to_string(map.sampleOnly) + " sample only)";
  }
  return {};
}

}  // namespace

std::string PairingWarningEnglish(const Comparison& c, Pair pair) {
  if (c.Mode() == PairingMode::Position)
    return MismatchEnglish(c.Set(DataSet::Reference), c.Set(SampleOf(pair)));
  return PairMapEnglish(c.PairOf(pair).map, c.Mode());
}

void Render(EngineState& state) {
  state.Chart();
  if (state.shown.textsPending) {
    state.shown.textsPending = false;
    RenderFiles(state);
    RenderLabels(state);
    RenderPairing(state);
  }
  Shown& shown = state.shown;
  if (shown.verificationPending || !shown.verified || !shown.verified->SameData(state.Current())) {
    shown.verificationPending = false;
    shown.verified = state.comparison;
    state.record.verification = BuildVerificationRecord(state.Current(), state.inputs.criteria);
  }
  RenderPictures(state);
  if (state.shown.gridPending) {
    state.shown.gridPending = false;
    FillGridContent(state.shown.grid, state.shown.gridKey, state.record.FlexG);
  }
  if (state.shown.swatchesPending) {
    state.shown.swatchesPending = false;
    PaintSwatches(state);
  }
}

}  // namespace korimo
