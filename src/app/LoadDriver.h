#pragma once

#include <string>

#include "app/EngineState.h"
#include "app/Hooks.h"

namespace korimo {

// Every change of a data set goes through here: read the file, recompare
// both pairs, show the statistics, re-read the other sample file where its
// figures depend on it, and refresh the views in a fixed order. The path is
// the one shown in the set's path label. However the load ends, it checks
// afterwards whether the files of each pair match.
void LoadDataSet(EngineState& state, DataSet set, const EngineHooks& hooks);

// Recomputes state.pairing and its warnings in the record.
void CheckPairing(EngineState& state);

// Reads one file into `set` and recomputes both pairs over its patches;
// returns the patch count stored.
int ReadAndCompare(EngineState& state, DataSet set, const std::string& path,
                   const EngineHooks& hooks);

// After a load that ended in an exception (memory ran out): the set that
// was being read is left empty, as after a read that stored nothing.
void AbandonRead(EngineState& state);

}  // namespace korimo
