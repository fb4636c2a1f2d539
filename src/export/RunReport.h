#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/Indices.h"
#include "app/Run.h"
#include "export/ReportPage.h"

namespace korimo {

// A run as its accumulator holds it; the page only reads it.
struct RunReportData {
  std::string_view referencePath;          // as given
  const Measurement* reference = nullptr;  // its patches' identifiers; none when unread
  const RunOptions& options;
  const SheetRows& rows;  // in run order
  const RunStatistics& statistics;
};

struct RunReportInput {
  ReportJob job;
  std::int64_t createdAt = 0;  // seconds since 1970 (UTC)
  // The trend's figures: ⊿E00, or ⊿E when the panel's ⊿E option is chosen.
  Metric metric = Metric::De00;
};

// The report of a run as one self-contained HTML page (UTF-8, inline CSS and
// SVG, no script), laid out for A4 paper like the comparison report: the
// job, the Reference, the sheet counts, each criteria set's verdict and pass
// share, the trend plots, the run statistics, the most variable patches and
// every sheet. The same data and input give the same bytes.
std::string BuildRunReport(const RunReportData& data, const RunReportInput& input);

// The same for the run an accumulator holds, its Reference's path as read.
inline std::string BuildRunReport(const RunAccumulator& run, const RunReportInput& input) {
  const RunStatistics statistics = run.Statistics();
  const Measurement* reference = run.Reference().reference.get();
  return BuildRunReport({reference != nullptr ? std::string_view(reference->path) : "", reference,
                         run.Options(), run.Rows(), statistics},
                        input);
}

}  // namespace korimo
