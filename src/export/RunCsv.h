#pragma once

#include <string>

#include "app/Criteria.h"
#include "app/Run.h"

namespace korimo {

// The run's sheets as a table, one row per sheet in run order under a row
// of column names: no, file, mtime, status, reason, paired, the eight
// figures, the paper's and the solids' ⊿E00, the drift, then per criteria
// set its verdict and failed criteria. Numbers as the window shows them
// (two decimals), empty where none; RFC 4180 quoting, CR LF line ends.
// UTF-8: the caller encodes. Reasons in `language`.
std::string BuildRunCsv(const RunAccumulator& run, Language language);

}  // namespace korimo
