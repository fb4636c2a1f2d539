#pragma once

#include "app/EngineState.h"

namespace korimo {

// The threshold panel's controls: each stores the new setting, takes the
// thresholds and percentages again where they depend on it and redraws the
// charts (and histograms) of the pairs whose file is loaded.
void Opt_de_Click(EngineState& state, Metric metric);
void SldBest_Change(EngineState& state, int position);
void SldWorst_Change(EngineState& state, int position);
void ChkBest_Click(EngineState& state, bool checked);
void ChkWorst_Click(EngineState& state, bool checked);

// The panel set as a user would set it: each control that differs from its
// setting is changed, in the order metric, Under, Over, Under marks, Over
// marks.
void ApplyPanel(EngineState& state, const PanelSettings& panel);

}  // namespace korimo
