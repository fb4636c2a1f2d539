#pragma once

#include <string>
#include <string_view>

#include "app/EngineState.h"
#include "app/Platform.h"
#include "export/HtmlReport.h"

namespace korimo {

inline constexpr std::string_view kReportFilter = "HTML(*.html)|*.html";

// "レポート保存": asks for a file name, writes the report atomically and
// opens it in the desktop's browser. A name that is one of the chosen
// measurement files is refused with a message: the report never replaces
// its own input.
void But_Report_Click(Platform& platform, const EngineState& state, const ReportInput& input);

// The chosen name with ".html" added unless it already ends in .html or
// .htm (any case).
std::string ReportFileName(const std::string& chosen);

}  // namespace korimo
