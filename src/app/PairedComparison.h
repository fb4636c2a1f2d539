#pragma once

#include "app/EngineState.h"

namespace korimo {

// Pairs both pairs in the chosen mode, compares every paired patch, and
// shows the averages, maxima, "Best10%", "95%" and the thresholds, as the
// read of `set` with `count` patches asks. Reads nothing.
void CompareAfterRead(EngineState& state, DataSet set, int count);

// Rebuilds both maps and the strip lines of the tab row from the files as
// last read.
void BuildPairMaps(EngineState& state);

// The "対応:" box: pairs again in `mode` and recomputes every figure and
// view from the data already read. Back in position mode the window shows
// what the last load left.
void ChangePairingMode(EngineState& state, PairingMode mode);

// A stored area is recomputed on the new data; no area hides the frame.
void RefreshOrHideArea(EngineState& state, Pair chart);

}  // namespace korimo
