#pragma once

#include <string>

#include "app/HeadlessWindow.h"

namespace korimo {

// Everything the window shows after a run, as one UTF-8 JSON object: the
// data sets, the per-patch differences, the statistics with their label
// texts, histograms, thresholds, chart shape and the grid rows.
std::string BuildJsonReport(const HeadlessWindow& window);

}  // namespace korimo
