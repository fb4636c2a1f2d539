#pragma once

#include "app/FormState.h"
#include "app/FormView.h"

namespace korimo {

// The non-drawing half of "全クリア": the data sets, chart layout and
// mouse state, and every caption go back to their start-up state. The
// differences, statistics, thresholds and the grid's sort order are kept.
void ClearAll(FormState& state, FormView& view);

}  // namespace korimo
