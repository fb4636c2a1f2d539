#pragma once

#include <string>

#include "app/EngineState.h"

namespace korimo {

// Everything the engine holds after the batch run, as one UTF-8 JSON
// document: the sets, identifiers, differences, figures and their labels,
// histograms, thresholds, captions, chart shape and grid rows.
std::string BuildJsonReport(const EngineState& state);

}  // namespace korimo
