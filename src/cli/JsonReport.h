#pragma once

#include <string>

#include "app/EngineState.h"
#include "cli/Tolerance.h"

namespace korimo {

// Everything the engine holds after the batch run, as one UTF-8 JSON
// document: the sets, identifiers, differences, figures and their labels,
// histograms, thresholds, captions, chart shape and grid rows, whether the
// files of each pair match, and the verdict of the tolerance checks (null
// when none was asked for).
std::string BuildJsonReport(const EngineState& state, const Verdict* verdict);

}  // namespace korimo
