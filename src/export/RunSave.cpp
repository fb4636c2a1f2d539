#include "export/RunSave.h"

#include <algorithm>
#include <cctype>

#include "core/Encoding.h"
#include "export/ReportSave.h"
#include "export/ResultsExport.h"
#include "export/ResultsText.h"
#include "export/RunCsv.h"

namespace korimo {

namespace {

constexpr std::string_view kCsvExtension = ".csv";

bool EndsWithNoCase(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         std::equal(suffix.begin(), suffix.end(),
                    text.end() - static_cast<std::ptrdiff_t>(suffix.size()), [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

// Writes `bytes` to `path` unless it is an input; false after telling why.
bool Write(Platform& platform, const std::string& path, std::string_view bytes,
           const std::vector<std::string>& inputs) {
  if (!MayWrite(platform, path, {}, inputs))
    return false;
  const WriteOutcome outcome = platform.WriteFile(path, bytes);
  if (outcome.ok())
    return true;
  platform.ShowMessage(WriteFailureMessage(path, outcome.error));
  return false;
}

}  // namespace

std::string RunCsvFileName(const std::string& chosen) {
  return EndsWithNoCase(chosen, kCsvExtension) ? chosen : chosen + std::string(kCsvExtension);
}

std::optional<std::string> SaveRunCsv(Platform& platform, const RunAccumulator& run,
                                      const std::vector<std::string>& inputs) {
  const std::optional<std::string> chosen = platform.SaveFileDialog(kRunCsvFilter);
  if (!chosen)
    return std::nullopt;
  const std::string path = RunCsvFileName(*chosen);
  if (!Write(platform, path, Utf8ToCp932(BuildRunCsv(run, Language::Japanese)), inputs))
    return std::nullopt;
  return path;
}

std::optional<std::string> SaveRunReport(Platform& platform, const RunAccumulator& run,
                                         const RunOptions& options, const RunReportInput& input,
                                         const std::vector<std::string>& inputs) {
  const std::optional<std::string> chosen = platform.SaveFileDialog(kReportFilter);
  if (!chosen)
    return std::nullopt;
  const std::string path = ReportFileName(*chosen);
  const RunStatistics statistics = run.Statistics();
  const Measurement* reference = run.Reference().reference.get();
  const RunReportData data{reference != nullptr ? std::string_view(reference->path) : "", reference,
                           options, run.Rows(), statistics};
  if (!Write(platform, path, BuildRunReport(data, input), inputs))
    return std::nullopt;
  platform.OpenDocument(path);
  return path;
}

std::optional<std::string> SaveSheetList(Platform& platform, const std::vector<SheetSource>& sheets,
                                         const std::vector<std::string>& inputs) {
  std::string text;
  for (const SheetSource& sheet : sheets) {
    if (sheet.path.find_first_of("\r\n") != std::string::npos) {
      platform.ShowMessage("改行を含むパスは一覧に書けません。\r\n" + sheet.path);
      return std::nullopt;
    }
    text += sheet.path + "\r\n";
  }
  const std::optional<std::string> chosen = platform.SaveFileDialog(kSheetListFilter);
  if (!chosen)
    return std::nullopt;
  const std::string path = ResultsFileName(*chosen);
  if (!Write(platform, path, text, inputs))
    return std::nullopt;
  return path;
}

}  // namespace korimo
