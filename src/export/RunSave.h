#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Platform.h"
#include "app/Run.h"
#include "export/RunReport.h"

namespace korimo {

// The run page's saves. Each asks for a file name, refuses a name that is
// one of the run's inputs (the window's three files, the sheets, the list
// of sheets, a criteria file: `inputs`) with a message, and writes the file
// whole or not at all. Each answers the path it wrote, or nothing.

inline constexpr std::string_view kRunCsvFilter = "CSV(*.csv)|*.csv";
inline constexpr std::string_view kSheetListFilter = "テキスト(*.txt)|*.txt";

// "CSV保存": the sheets table as the window saves its results text, in
// Japanese and CP932.
std::optional<std::string> SaveRunCsv(Platform& platform, const RunAccumulator& run,
                                      const std::vector<std::string>& inputs);

// "レポート保存": the run report, then opened in the desktop's browser. The
// run is judged by `options`, the page's (its least pass share).
std::optional<std::string> SaveRunReport(Platform& platform, const RunAccumulator& run,
                                         const RunOptions& options, const RunReportInput& input,
                                         const std::vector<std::string>& inputs);

// "一覧を保存…": the sheets as `korimo-cli run --sheets-from` reads them,
// one path a line, UTF-8. A path with a line break would read back as
// other paths; such a list is not written.
std::optional<std::string> SaveSheetList(Platform& platform, const std::vector<SheetSource>& sheets,
                                         const std::vector<std::string>& inputs);

// The chosen name with ".csv" added unless it ends in .csv (any case).
std::string RunCsvFileName(const std::string& chosen);

}  // namespace korimo
