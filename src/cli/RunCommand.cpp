#include "cli/RunCommand.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "app/OutputGuard.h"
#include "cli/AtomicFile.h"
#include "cli/RunJson.h"
#include "core/Encoding.h"
#include "core/MeasurementReader.h"
#include "export/ReportPage.h"
#include "export/RunCsv.h"
#include "export/RunReport.h"

namespace korimo {

namespace {

std::string Line(const std::string& text) {
  return "korimo-cli: " + text;
}

// Every file the command line names, which the output must never replace.
std::vector<std::string> InputsOf(const RunCommandOptions& o) {
  std::vector<std::string> inputs{o.reference};
  if (o.sheetsFrom)
    inputs.push_back(*o.sheetsFrom);
  for (const CriteriaSet& set : o.checks) {
    if (!set.path.empty())
      inputs.push_back(set.path);
  }
  inputs.insert(inputs.end(), o.sheets.begin(), o.sheets.end());
  return inputs;
}

// An output written into a folder the run reads is no sheet of it: the
// next run over that folder would otherwise refuse to replace it.
void DropOutput(std::vector<SheetSource>& sheets, const std::string& output) {
  std::error_code ec;
  if (!std::filesystem::exists(output, ec))
    return;
  std::erase_if(sheets, [&](const SheetSource& sheet) {
    std::error_code same;
    return std::filesystem::equivalent(sheet.path, output, same);
  });
}

std::string Render(const RunAccumulator& run, const RunCommandOptions& o) {
  if (o.format == RunFormat::Json)
    return BuildRunJson(run, o);
  if (o.format == RunFormat::Html)
    return BuildRunReport(run, RunReportInput{o.job, ReportCreationTime(), o.metric});
  const std::string csv = BuildRunCsv(run, Language::English);
  return o.encoding == TextEncoding::Cp932 ? Utf8ToCp932(csv) : csv;
}

// Without --min-pass any failed check of a compared sheet; with it, a set
// that passes on fewer of the compared sheets (none compared: none passes).
bool ChecksFailed(const RunAccumulator& run, const RunCommandOptions& o) {
  if (o.checks.empty())
    return false;
  const RunStatistics statistics = run.Statistics();
  for (std::size_t set = 0; set < o.checks.size(); ++set) {
    if (!RunPassesSet(statistics, set, o.minPass))
      return true;
  }
  return false;
}

}  // namespace

BatchOutcome RunSheets(const RunCommandOptions& o) {
  BatchOutcome outcome;
  // An output that may not be written is refused before any sheet is read.
  if (o.outputPath) {
    const std::string refusal = OutputRefusal(*o.outputPath, InputsOf(o));
    if (!refusal.empty()) {
      outcome.status = ExitStatus::OutputFailed;
      outcome.diagnostics.push_back(Line(refusal));
      return outcome;
    }
  }
  std::vector<SheetSource> sheets = SheetSourcesOf(o.sheets);
  if (o.outputPath)
    DropOutput(sheets, *o.outputPath);
  OrderSheets(sheets, o.order);
  auto reference = std::make_shared<const Measurement>(ReadMeasurementFile(o.reference));
  if (reference->cutAt3000) {
    outcome.diagnostics.push_back(Line(o.reference + ": more than " + std::to_string(kMaxPatches) +
                                       " patches; the first " + std::to_string(kMaxPatches) +
                                       " are used"));
  }
  RunAccumulator run(PrepareReference(reference), RunOptions{o.pairBy, o.checks, o.minPass});
  bool refused = false;
  if (!reference->Stored()) {
    // Nothing can be compared: every sheet is refused for the Reference's
    // sake, which is named once.
    outcome.diagnostics.push_back(Line(o.reference + ": " + EnglishReason(reference->failure)));
    refused = true;
    for (const SheetSource& sheet : sheets)
      run.Add(CompareSheet(run.Reference(), sheet, nullptr, run.Options()));
  } else {
    const int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    ComputeRun(sheets, run, threads);
    for (const SheetRow& row : run.Rows()) {
      if (row.status == SheetStatus::Refused) {
        outcome.diagnostics.push_back(Line(row.file + ": " + row.reason));
        refused = true;
      } else if (row.status == SheetStatus::Excluded) {
        outcome.diagnostics.push_back(Line(row.file + ": excluded: " + row.reason));
      }
    }
  }
  const std::string bytes = Render(run, o);
  if (!o.outputPath) {
    outcome.output = bytes;
  } else if (const WriteOutcome written = WriteFileAtomically(*o.outputPath, bytes);
             !written.ok()) {
    outcome.diagnostics.push_back(Line("cannot write " + *o.outputPath + ": " + written.error));
    outcome.status = ExitStatus::OutputFailed;
    return outcome;
  }
  if (refused)
    outcome.status = ExitStatus::NoPatches;
  else if (ChecksFailed(run, o))
    outcome.status = ExitStatus::CheckFailed;
  return outcome;
}

}  // namespace korimo
