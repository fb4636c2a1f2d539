#pragma once

#include <string>
#include <string_view>

#include "app/Histogram.h"

namespace korimo {

inline constexpr std::string_view kBitmapFilter = "ビットマップ(*.bmp)|*.bmp";

// "ΔE" or "ΔE2K", the metric's name in histogram outputs (Greek delta).
std::string HistogramMetricName(Metric metric);

// The bin table of a pair: a header line, then the upper edge ("0.0") and
// count of bins 0..9, every line ended by CR LF. Bin 10 is never written.
std::string HistogramTable(const HistCounts& counts, const HistValues& edges, Metric metric);

// ".bmp" appended unless the name ends in it (any case).
std::string BitmapFileName(const std::string& chosen);
// h.bmp -> h-ΔE.bmp: the metric inserted before a lower-case ".bmp".
std::string HistogramBitmapName(const std::string& chosen, Metric metric);
// The bin table beside the bitmap: "bmp" at the end replaced by "txt".
std::string HistogramTableName(const std::string& bitmapName);

}  // namespace korimo
