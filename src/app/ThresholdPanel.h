#pragma once

#include "app/EngineState.h"

namespace korimo {

// The Under/Over thresholds: their scale, the check-box captions and the
// percentages, and the redraws the metric options, sliders and check boxes
// run.

// Recomputes all four thresholds and the captions, then the percentages of
// the pairs `changed` belongs to (both for the Reference).
void UpdateThresholds(EngineState& state, DataSet changed);

// The percentage labels of one pair, over the Reference's count.
void ShowUnderPercent(EngineState& state, Pair pair, float threshold);
void ShowOverPercent(EngineState& state, Pair pair, float threshold);
// Those of both pairs, each over its own file's count, where it is loaded.
void ShowUnderPercents(EngineState& state, float threshold);
void ShowOverPercents(EngineState& state, float threshold);

// The panel's controls: each stores the new setting and runs its handler.
void Opt_de_Click(EngineState& state, Metric metric);
void SldBest_Change(EngineState& state, int position);
void SldWorst_Change(EngineState& state, int position);
void ChkBest_Click(EngineState& state, bool checked);
void ChkWorst_Click(EngineState& state, bool checked);

// The rounded-up scale a metric's larger maximum is measured against.
float ThresholdScale(float largerMaximum);

}  // namespace korimo
