#pragma once

#include "cli/BatchRun.h"
#include "cli/CliOptions.h"

namespace korimo {

// `korimo-cli run`: reads the Reference, then every sheet on as many
// threads as the machine has, and writes the run once it is complete.
BatchOutcome RunSheets(const RunCommandOptions& options);

}  // namespace korimo
