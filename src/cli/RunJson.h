#pragma once

#include <string>

#include "app/Run.h"
#include "cli/CliOptions.h"

namespace korimo {

// The run as one UTF-8 JSON document: reference, options, sheets (the
// figures as the single comparison's JSON writes them), run, patches,
// most_variable.
std::string BuildRunJson(const RunAccumulator& run, const RunCommandOptions& options);

}  // namespace korimo
