#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/EngineState.h"
#include "app/Hooks.h"

namespace korimo {

// Every change of a data set goes through here: the window's rules, in
// their order, as edits to the inputs: read the file, compare, note which
// labels and views the read writes, re-read the other sample file where its
// figures depend on it. The views are rendered once, after the event.
void LoadDataSet(EngineState& state, DataSet set, const EngineHooks& hooks);

// After a load that ended in an exception (memory ran out): the set that
// was being read is left empty, as after a read that stored nothing.
void AbandonRead(EngineState& state);

// The "対応:" box: pairs again in `mode` and recomputes every figure and
// view from the data already read.
void ChangePairingMode(EngineState& state, PairingMode mode);

// The set the verification page checks against; nullopt chooses none.
void ChooseCriteriaSet(EngineState& state, std::optional<CriteriaSet> set);

// The thresholds taken again and the Under/Over percentages written, of the
// pairs the change of `changed` concerns (both for the Reference).
void UpdateThresholds(EngineState& state, DataSet changed);

}  // namespace korimo
