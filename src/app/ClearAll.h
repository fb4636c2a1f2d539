#pragma once

#include "app/EngineState.h"

namespace korimo {

// "全クリア": the data sets, the chart layout, the mouse state, every text
// and picture go back to their start-up state. The differences, statistics,
// thresholds, panel settings and the grid's sort order are kept.
void But_Clear_Click(EngineState& state);

}  // namespace korimo
