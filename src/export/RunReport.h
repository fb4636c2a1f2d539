#pragma once

#include <cstdint>
#include <string>

#include "app/Indices.h"
#include "app/Run.h"
#include "export/HtmlReport.h"

namespace korimo {

// What the run report shows beyond the run itself.
struct RunReportInput {
  ReportJob job;
  std::int64_t createdAt = 0;    // seconds since 1970 (UTC)
  Metric metric = Metric::De00;  // the trend plot's difference
};

// The run as one self-contained HTML page, laid out for A4 paper; the same
// run and input give the same bytes.
std::string BuildRunReport(const RunAccumulator& run, const RunReportInput& input);

}  // namespace korimo
