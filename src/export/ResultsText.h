#pragma once

#include <string>
#include <string_view>

#include "app/WindowRecord.h"

namespace korimo {

inline constexpr std::string_view kResultsFilter = "テキスト(*.txt)|*.txt";

// The results file as UTF-8 text: a line per chosen file, the column names,
// then one tab-terminated line per grid row, every line ended by CR LF.
// Whether the File2 columns are written follows the File2 path label, not
// whether File2 loaded.
std::string BuildResultsText(const std::array<std::string, 3>& paths, const GridContent& grid);

// The name the results are saved under: ".txt" appended unless present.
std::string ResultsFileName(const std::string& chosen);

}  // namespace korimo
