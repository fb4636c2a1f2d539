#include "export/ReportSave.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

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

// Links and other spellings of one file are caught by asking the file
// system; a file that does not exist yet cannot be an input.
bool IsChosenInput(const WindowRecord& record, const std::string& output) {
  namespace fs = std::filesystem;
  for (const std::string& input : record.Lb_File) {
    if (input.empty())
      continue;
    std::error_code error;
    if (input == output || fs::equivalent(fs::path(input), fs::path(output), error))
      return true;
  }
  return false;
}

void But_Report_Click(Platform& platform, const EngineState& state, const ReportInput& input) {
  const auto chosen = platform.SaveFileDialog(kReportFilter);
  if (!chosen)
    return;
  const std::string path = ReportFileName(*chosen);
  if (IsChosenInput(state.record, path)) {
    platform.ShowMessage("比較中の測定ファイルには保存できません。\r\n" + path);
    return;
  }
  const WriteOutcome outcome = platform.WriteFile(path, BuildHtmlReport(state, input));
  if (!outcome.ok()) {
    platform.ShowMessage(WriteFailureMessage(path, outcome.error));
    return;
  }
  platform.OpenDocument(path);
}

}  // namespace korimo
