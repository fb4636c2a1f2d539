#include "cli/BatchRun.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <map>
#include <new>
#include <optional>
#include <utility>

#include "app/EngineState.h"
#include "app/Hooks.h"
#include "app/LoadDriver.h"
#include "app/OutputGuard.h"
#include "app/Pairing.h"
#include "app/Render.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "app/VerificationRecord.h"
#include "app/Version.h"
#include "cli/AtomicFile.h"
#include "cli/JsonReport.h"
#include "cli/RunCommand.h"
#include "core/Common.h"
#include "core/Encoding.h"
#include "core/MeasurementReader.h"
#include "export/HtmlReport.h"
#include "export/ResultsText.h"

namespace korimo {

namespace {

// Each file the command line names is read once; the window's load plan
// reads some again, and a repeated read gives the same record. The
// 3000-patch cut is told once per file, in the order the files are read.
class FileCache {
 public:
  MeasurementPtr Read(const std::string& path) {
    const auto known = reads_.find(path);
    if (known != reads_.end())
      return known->second;
    auto read = std::make_shared<const Measurement>(ReadMeasurementFile(path));
    if (read->cutAt3000) {
      lines_.push_back("korimo-cli: " + path + ": " + std::string(kTooManyPatchesMessage));
      lines_.push_back("korimo-cli: " + path + ": more than " + std::to_string(kMaxPatches) +
                       " patches; the first " + std::to_string(kMaxPatches) + " are used");
    }
    reads_.emplace(path, read);
    return read;
  }
  std::vector<std::string>& Lines() { return lines_; }

 private:
  std::map<std::string, MeasurementPtr> reads_;
  std::vector<std::string> lines_;
};

std::string_view PairNameEnglish(Pair pair) {
  return pair == Pair::ReferenceFile1 ? "Reference-File1" : "Reference-File2";
}

// One line per pair whose files do not match or whose mode did not pair
// completely.
std::vector<std::string> PairingLines(const Comparison& c) {
  std::vector<std::string> lines;
  for (Pair pair : kAllPairs) {
    const std::string warning = PairingWarningEnglish(c, pair);
    if (!warning.empty())
      lines.push_back("korimo-cli: " + std::string(PairNameEnglish(pair)) + ": " + warning);
  }
  return lines;
}

std::vector<std::string> FailedCheckLines(const Verdict& verdict, bool tolerances) {
  std::vector<std::string> lines;
  for (const CheckResult& check : verdict.checks) {
    if (check.pass)
      continue;
    std::string line =
        "korimo-cli: " + std::string(PairNameEnglish(check.pair)) + ": " + check.tolerance.text;
    line += check.value ? " failed: " + ShortestDecimal(*check.value)
                        : " not evaluated (best10 and pct95 need 15 Reference patches, and "
                          "every figure a last read that stored patches)";
    lines.push_back(line);
  }
  if (tolerances && verdict.checks.empty())
    lines.push_back("korimo-cli: no complete pair to check the tolerances on");
  return lines;
}

// The --tolerance checks as one criteria set of the report, worded as the
// statistics frames word their figures.
ReportVerification ToleranceVerification(const Verdict& verdict, const Comparison& c) {
  ReportCriteriaSet set;
  set.name = "許容値（--tolerance）";
  set.pass = verdict.pass;
  if (verdict.checks.empty())
    set.reason = "比較するペアがありません";
  for (const CheckResult& check : verdict.checks) {
    if (set.pairs.empty() || set.pairs.back().pair != check.pair) {
      set.pairs.emplace_back();
      set.pairs.back().pair = check.pair;
      set.pairs.back().pass = true;
    }
    ReportPairVerdict& pair = set.pairs.back();
    const Tolerance& t = check.tolerance;
    ReportCriterion row;
    row.words =
        "全パッチ " + std::string(MetricName(t.metric)) + " " + std::string(StatName(t.stat));
    row.patches =
        std::to_string(std::min(c.Count(DataSet::Reference), c.Count(SampleOf(check.pair))));
    row.limit = ShortestDecimal(t.limit);
    row.pass = check.pass;
    if (check.value) {
      row.value = FormatTwoDec(*check.value);
      row.verdict = check.pass ? "合" : "否";
    } else {
      row.verdict = "評価不可（Best10%・95% は基準 15 パッチ以上）";
    }
    pair.pass = pair.pass && check.pass;
    pair.criteria.push_back(std::move(row));
  }
  ReportVerification verification;
  verification.sets.push_back(std::move(set));
  return verification;
}

// Per set, a line for every criterion that failed, then the set's summary.
std::vector<std::string> SetLines(const SetVerdict& set) {
  std::vector<std::string> lines;
  const std::string head = "korimo-cli: " + set.name + ": ";
  if (set.noPair) {
    lines.push_back(head + "FAIL (" + NoPairText(Language::English) + ")");
    return lines;
  }
  std::string summary;
  for (const PairVerdict& pair : set.pairs) {
    const std::string name(PairNameEnglish(pair.pair));
    int failed = 0;
    for (const CriterionResult& result : pair.criteria) {
      if (result.pass)
        continue;
      ++failed;
      lines.push_back(head + name + ": " + result.criterion.text +
                      (result.value ? " failed: " + FormatTwoDec(*result.value)
                                    : " not evaluated: " + ReasonText(result, Language::English)));
    }
    summary += (summary.empty() ? "" : "; ") + name + " " +
               (pair.pass ? "passes"
                          : std::to_string(failed) + " of " + std::to_string(pair.criteria.size()) +
                                " failed");
  }
  lines.push_back(head + (set.pass ? "pass (" : "FAIL (") + summary + ")");
  return lines;
}

// The tolerance checks and the criteria sets together.
Verdict VerdictOf(const Comparison& c, const CliOptions& options) {
  Verdict verdict = Evaluate(c, options.tolerances);
  bool evaluated = std::any_of(verdict.checks.begin(), verdict.checks.end(),
                               [](const CheckResult& r) { return r.value.has_value(); });
  bool pass = std::all_of(verdict.checks.begin(), verdict.checks.end(),
                          [](const CheckResult& r) { return r.pass; });
  if (!options.checks.empty()) {
    const VerificationInput input = VerificationInputs(c);
    for (const CriteriaSet& set : options.checks) {
      verdict.sets.push_back(Verify(c, input, set));
      pass = pass && verdict.sets.back().pass;
      for (const PairVerdict& pair : verdict.sets.back().pairs) {
        evaluated =
            evaluated || std::any_of(pair.criteria.begin(), pair.criteria.end(),
                                     [](const CriterionResult& r) { return r.value.has_value(); });
      }
    }
  }
  verdict.pass = evaluated && pass;
  return verdict;
}

class BatchRun {
 public:
  explicit BatchRun(const CliOptions& options) : options_(options), state_(kBatchSurfaces) {
    hooks_.read = [this](DataSet, const std::string& path) { return files_.Read(path); };
  }

  BatchOutcome Execute() {
    BatchOutcome outcome;
    ApplyPanel(state_, options_.panel);
    state_.inputs.sortKey = static_cast<std::int16_t>(options_.sortKey);
    state_.inputs.mode = options_.pairBy;
    // The window's load plan, as a user choosing the files in this order
    // would run it.
    for (std::size_t s = 0; s < options_.files.size(); ++s) {
      if (options_.files[s].empty())
        continue;
      state_.inputs.paths[s] = options_.files[s];
      LoadDataSet(state_, kAllSets[s], hooks_);
    }
    // The results text is the grid alone; the other outputs show every view.
    if (options_.format != OutputFormat::Results)
      korimo::Render(state_);
    const Comparison& c = state_.Current();
    std::vector<std::string>& lines = files_.Lines();
    const bool emptyFiles = ReportEmptyFiles(lines);
    const std::vector<std::string> pairing = PairingLines(c);
    lines.insert(lines.end(), pairing.begin(), pairing.end());
    std::optional<Verdict> verdict;
    if (!options_.tolerances.empty() || !options_.checks.empty()) {
      verdict = VerdictOf(c, options_);
      if (!verdict->pass) {
        const std::vector<std::string> failed =
            FailedCheckLines(*verdict, !options_.tolerances.empty());
        lines.insert(lines.end(), failed.begin(), failed.end());
      }
      for (const SetVerdict& set : verdict->sets) {
        const std::vector<std::string> setLines = SetLines(set);
        lines.insert(lines.end(), setLines.begin(), setLines.end());
      }
    }
    const bool checkFailed =
        (verdict && !verdict->pass) || (options_.strictIds && !pairing.empty());
    outcome.status = Deliver(Render(verdict), outcome);
    if (outcome.status == ExitStatus::Ok && emptyFiles)
      outcome.status = ExitStatus::NoPatches;
    if (outcome.status == ExitStatus::Ok && checkFailed)
      outcome.status = ExitStatus::CheckFailed;
    outcome.diagnostics = std::move(lines);
    return outcome;
  }

 private:
  // Every file given that stored no patches, with why.
  bool ReportEmptyFiles(std::vector<std::string>& lines) const {
    bool any = false;
    for (std::size_t s = 0; s < options_.files.size(); ++s) {
      const std::string& path = options_.files[s];
      const Measurement* read = state_.inputs.Set(kAllSets[s]);
      if (path.empty() || (read != nullptr && read->Stored()))
        continue;
      const FailureReason reason = read != nullptr ? read->failure : FailureReason{};
      lines.push_back("korimo-cli: " + path + ": " + EnglishReason(reason));
      any = true;
    }
    return any;
  }

  std::string Render(const std::optional<Verdict>& verdict) const {
    if (options_.format == OutputFormat::Json)
      return BuildJsonReport(state_, verdict ? &*verdict : nullptr);
    if (options_.format == OutputFormat::Html)
      return BuildHtmlReport(state_, ReportFor(verdict));
    GridContent grid;
    if (state_.shown.grid)
      FillGridContent(state_.shown.grid, state_.shown.gridKey, grid);
    std::string text = BuildResultsText(state_.inputs.paths, grid);
    return options_.encoding == TextEncoding::Cp932 ? Utf8ToCp932(text) : text;
  }

  ReportInput ReportFor(const std::optional<Verdict>& verdict) const {
    ReportInput input;
    input.job = options_.job;
    input.patches = options_.reportPatches;
    input.createdAt = ReportCreationTime();
    input.pairing = PairingForReport(state_);
    if (verdict && !options_.tolerances.empty())
      input.verification = ToleranceVerification(*verdict, state_.Current());
    for (const CriteriaSet& set : options_.checks)
      input.verification.sets.push_back(
          ReportSetOf(BuildVerificationRecord(state_.Current(), set)));
    return input;
  }

  ExitStatus Deliver(std::string bytes, BatchOutcome& outcome) {
    if (!options_.outputPath) {
      outcome.output = std::move(bytes);
      return ExitStatus::Ok;
    }
    std::vector<std::string> inputs = options_.files;
    const std::vector<std::string> criteria = CriteriaFilePaths(options_);
    inputs.insert(inputs.end(), criteria.begin(), criteria.end());
    if (const std::string refusal = OutputRefusal(*options_.outputPath, inputs); !refusal.empty()) {
      files_.Lines().push_back("korimo-cli: " + refusal);
      return ExitStatus::OutputFailed;
    }
    const WriteOutcome written = WriteFileAtomically(*options_.outputPath, bytes);
    if (written.ok())
      return ExitStatus::Ok;
    files_.Lines().push_back("korimo-cli: cannot write " + *options_.outputPath + ": " +
                             written.error);
    return ExitStatus::OutputFailed;
  }

  const CliOptions& options_;
  EngineState state_;
  EngineHooks hooks_;
  FileCache files_;
};

}  // namespace

BatchOutcome RunBatch(const CliOptions& options) {
  return BatchRun(options).Execute();
}

BatchOutcome RunCommandLine(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  BatchOutcome outcome;
  if (!parsed.ok()) {
    const bool run = parsed.options.action == CliAction::RunSheets;
    outcome.status = ExitStatus::Usage;
    outcome.diagnostics = {"korimo-cli: " + parsed.error, run ? RunUsageLine() : UsageLine(),
                           run ? "Try 'korimo-cli run --help' for more information."
                               : "Try 'korimo-cli --help' for more information."};
    return outcome;
  }
  switch (parsed.options.action) {
    case CliAction::Help:
      outcome.output = HelpText();
      return outcome;
    case CliAction::RunHelp:
      outcome.output = RunHelpText();
      return outcome;
    case CliAction::RunSheets:
      return RunSheets(parsed.options.run);
    case CliAction::Version:
      outcome.output = "korimo-cli " + std::string(kVersionText) + "\n";
      return outcome;
    case CliAction::Run:
      break;
  }
  return RunBatch(parsed.options);
}

BatchOutcome RunCommandLineCatching(const std::vector<std::string>& args) {
  BatchOutcome failed;
  failed.status = ExitStatus::RunFailed;
  try {
    return RunCommandLine(args);
  } catch (const std::bad_alloc&) {
    failed.diagnostics = {"korimo-cli: out of memory"};
  } catch (const std::exception& e) {
    failed.diagnostics = {"korimo-cli: " + std::string(e.what())};
  }
  return failed;
}

}  // namespace korimo
