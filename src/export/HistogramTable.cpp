#include "export/HistogramTable.h"

#include "core/Common.h"
#include "core/TextFields.h"

namespace korimo {

std::string HistogramMetricName(Metric metric) {
  return metric == Metric::DeAb ? "ΔE" : "ΔE2K";
}

std::string HistogramTable(const HistCounts& counts, const HistValues& edges, Metric metric) {
  std::string text = HistogramMetricName(metric) + "\tパッチ数\r\n";
  for (std::size_t k = 0; k < 10; ++k)
    text += FormatDecimals(edges[k], 1) + "\t" + std::to_string(counts[k]) + "\r\n";
  return text;
}

std::string BitmapFileName(const std::string& chosen) {
  if (EndsWithUpperAscii(chosen, ".BMP"))
    return chosen;
  return chosen + ".bmp";
}

std::string HistogramBitmapName(const std::string& chosen, Metric metric) {
  const std::string name = BitmapFileName(chosen);
  return name.substr(0, name.size() - 4) + "-" + HistogramMetricName(metric) + ".bmp";
}

std::string HistogramTableName(const std::string& bitmapName) {
  return bitmapName.substr(0, bitmapName.size() - 3) + "txt";
}

}  // namespace korimo
