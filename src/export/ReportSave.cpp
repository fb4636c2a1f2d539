#include "export/ReportSave.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "export/ResultsExport.h"

namespace korimo {

namespace {

bool EndsWithNoCase(const std::string& text, std::string_view suffix) {
  if (text.size() < suffix.size())
    return false;
  return std::equal(suffix.begin(), suffix.end(),
                    text.end() - static_cast<std::ptrdiff_t>(suffix.size()), [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

std::string ReportFileName(const std::string& chosen) {
  if (EndsWithNoCase(chosen, ".html") || EndsWithNoCase(chosen, ".htm"))
    return chosen;
  return chosen + ".html";
}

void But_Report_Click(Platform& platform, const EngineState& state, const ReportInput& input) {
  const auto chosen = platform.SaveFileDialog(kReportFilter);
  if (!chosen)
    return;
  const std::string path = ReportFileName(*chosen);
  // The criteria file the verification page reads is an input as well.
  std::vector<std::string> criteria;
  if (state.inputs.criteria && !state.inputs.criteria->path.empty())
    criteria.push_back(state.inputs.criteria->path);
  if (!MayWrite(platform, path, state.inputs.paths, criteria))
    return;
  const WriteOutcome outcome = platform.WriteFile(path, BuildHtmlReport(state, input));
  if (!outcome.ok()) {
    platform.ShowMessage(WriteFailureMessage(path, outcome.error));
    return;
  }
  platform.OpenDocument(path);
}

}  // namespace korimo
