#include "cli/BatchRun.h"

#include <utility>

#include "app/Version.h"
#include "cli/JsonReport.h"
#include "core/Encoding.h"
#include "export/AtomicFile.h"
#include "export/ResultsText.h"

namespace korimo {

BatchRun::BatchRun(CliOptions options) : options_(std::move(options)), window_(platform_) {}

void BatchRun::SetUpPanel() {
  // Handlers fire only for a control the user would actually have touched.
  if (options_.metric == Metric::De00)
    window_.SelectMetricDeAb(false);
  if (options_.under != kDefaultUnder)
    window_.SetUnderPosition(options_.under);
  if (options_.over != kDefaultOver)
    window_.SetOverPosition(options_.over);
  window_.form().state.GridSortKey = static_cast<std::int16_t>(options_.sortKey);
}

void BatchRun::ChooseFiles() {
  for (int set = 0; set < static_cast<int>(options_.files.size()); ++set) {
    const std::string& path = options_.files[set];
    if (path.empty())
      continue;
    platform_.AnswerOpenDialog(set, path);
    window_.form().files.But_File_Click(set);
  }
}

// The load driver re-reads files, so only the final count of each set says
// whether its file was usable.
bool BatchRun::ReportEmptyFiles() {
  bool any = false;
  const ComparisonData& d = *window_.state().data;
  for (int set = 0; set < static_cast<int>(options_.files.size()); ++set) {
    const std::string& path = options_.files[set];
    if (path.empty() || d.PatchCount[set] >= 1)
      continue;
    platform_.Report("korimo-cli: " + path + ": no patches read");
    any = true;
  }
  return any;
}

std::string BatchRun::Render() const {
  if (options_.format == OutputFormat::Json)
    return BuildJsonReport(window_);
  const std::array<std::string, 3> paths = {window_.Caption(Ctl::Lb_File, 0),
                                            window_.Caption(Ctl::Lb_File, 1),
                                            window_.Caption(Ctl::Lb_File, 2)};
  std::string text = BuildResultsText(paths, window_.GridDataRows());
  if (options_.encoding == TextEncoding::Cp932)
    return Utf8ToCp932(text);
  return text;
}

ExitStatus BatchRun::Deliver(std::string bytes, BatchOutcome& outcome) {
  if (!options_.outputPath) {
    outcome.output = std::move(bytes);
    return ExitStatus::Ok;
  }
  const WriteOutcome written = WriteFileAtomically(*options_.outputPath, bytes);
  if (written.ok())
    return ExitStatus::Ok;
  platform_.Report("korimo-cli: cannot write " + *options_.outputPath + ": " + written.error);
  return ExitStatus::OutputFailed;
}

BatchOutcome BatchRun::Execute() {
  BatchOutcome outcome;
  SetUpPanel();
  ChooseFiles();
  const bool emptyFiles = ReportEmptyFiles();
  outcome.status = Deliver(Render(), outcome);
  if (outcome.status == ExitStatus::Ok && emptyFiles)
    outcome.status = ExitStatus::NoPatches;
  outcome.diagnostics = platform_.TakeDiagnostics();
  return outcome;
}

BatchOutcome RunCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed = ParseCommandLine(args);
  BatchOutcome outcome;
  if (!parsed.ok()) {
    outcome.status = ExitStatus::Usage;
    outcome.diagnostics = {"korimo-cli: " + parsed.error, UsageLine(),
                           "Try 'korimo-cli --help' for more information."};
    return outcome;
  }
  switch (parsed.options.action) {
    case CliAction::Help:
      outcome.output = HelpText();
      return outcome;
    case CliAction::Version:
      outcome.output = "korimo-cli " + std::string(kVersionText) + "\n";
      return outcome;
    case CliAction::Run:
      break;
  }
  BatchRun run(std::move(parsed.options));
  return run.Execute();
}

}  // namespace korimo
