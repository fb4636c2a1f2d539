#include "cli/BatchRun.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <set>
#include <utility>

#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/Hooks.h"
#include "app/ThresholdPanel.h"
#include "app/Version.h"
#include "cli/AtomicFile.h"
#include "cli/JsonReport.h"
#include "core/Common.h"
#include "core/Encoding.h"
#include "export/ResultsText.h"

namespace korimo {

namespace {

std::string_view Reason(ReadFailure failure) {
  switch (failure) {
    case ReadFailure::None:
      break;
    case ReadFailure::Missing:
      return "no such file";
    case ReadFailure::NotRegularFile:
      return "not a regular file";
    case ReadFailure::Unreadable:
      return "cannot be read";
    case ReadFailure::NoBeginData:
      return "no BEGIN_DATA line";
    case ReadFailure::NoDataLines:
      return "no data lines after BEGIN_DATA";
  }
  return "no patches read";
}

// What the runs of the reader left to tell: the cut at 3000 patches once per
// file (the load driver reads files again), and why each set's last read
// stored nothing.
class ReadLog {
 public:
  void Record(const FileRead& read) {
    if (read.result.cutAt3000 && cut_.insert(read.path).second)
      lines_.push_back("korimo-cli: " + read.path + ": " + std::string(kTooManyPatchesMessage));
    last_[Index(read.set)] = read.result.failure;
    lastReadStored_ = read.result.patches > 0;
  }
  ReadFailure LastFailure(DataSet set) const { return last_[Index(set)]; }
  // False when the run's last read stored nothing; it reset the stored
  // averages and maxima.
  bool LastReadStored() const { return lastReadStored_; }
  std::vector<std::string>& Lines() { return lines_; }

 private:
  std::set<std::string> cut_;
  std::array<ReadFailure, 3> last_{};
  bool lastReadStored_ = true;
  std::vector<std::string> lines_;
};

std::string_view PairNameEnglish(Pair pair) {
  return pair == Pair::ReferenceFile1 ? "Reference-File1" : "Reference-File2";
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// One line per pair whose files do not match: the counts, or how many
// identifiers differ and the first difference.
std::vector<std::string> PairingLines(const EngineState& state) {
  std::vector<std::string> lines;
  const ComparisonData& d = state.Data();
  for (Pair pair : kAllPairs) {
    const PairCheck& check = state.pairing[Index(pair)];
    if (!check.Mismatch())
      continue;
    std::string line = "korimo-cli: " + std::string(PairNameEnglish(pair)) + ": ";
    if (check.idMismatches > 0) {
      const int first = check.firstMismatches.front();
      line += std::to_string(check.idMismatches) + " of " +
              std::to_string(std::min(check.referenceCount, check.sampleCount)) +
              " identifiers differ, first at No. " + std::to_string(first + 1) + " (" +
              Quoted(d.FileId[0][static_cast<std::size_t>(first)]) + " vs " +
              Quoted(d.FileId[Index(SampleOf(pair))][static_cast<std::size_t>(first)]) + ")";
      if (check.countsDiffer)
        line += "; ";
    }
    if (check.countsDiffer) {
      line += "patch counts differ (" + std::to_string(check.referenceCount) + " vs " +
              std::to_string(check.sampleCount) + ")";
    }
    lines.push_back(line + "; patches are compared by position");
  }
  return lines;
}

std::string FormatLimit(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::vector<std::string> FailedCheckLines(const Verdict& verdict, bool tolerances) {
  std::vector<std::string> lines;
  for (const CheckResult& check : verdict.checks) {
    if (check.pass)
      continue;
    std::string line =
        "korimo-cli: " + std::string(PairNameEnglish(check.pair)) + ": " + check.tolerance.text;
    line += check.value ? " failed: " + FormatLimit(*check.value)
                        : " not evaluated (best10 and pct95 need 15 Reference patches, and "
                          "every figure a last read that stored patches)";
    lines.push_back(line);
  }
  if (tolerances && verdict.checks.empty())
    lines.push_back("korimo-cli: no complete pair to check the tolerances on");
  return lines;
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
Verdict VerdictOf(const EngineState& state, const CliOptions& options, bool figuresCurrent) {
  Verdict verdict = Evaluate(state, options.tolerances, figuresCurrent);
  bool evaluated = std::any_of(verdict.checks.begin(), verdict.checks.end(),
                               [](const CheckResult& c) { return c.value.has_value(); });
  bool pass = std::all_of(verdict.checks.begin(), verdict.checks.end(),
                          [](const CheckResult& c) { return c.pass; });
  if (!options.checks.empty()) {
    const VerificationInput input = VerificationInputs(state);
    for (const CriteriaSet& set : options.checks) {
      verdict.sets.push_back(Verify(state, input, set));
      pass = pass && verdict.sets.back().pass;
      for (const PairVerdict& pair : verdict.sets.back().pairs) {
        evaluated =
            evaluated || std::any_of(pair.criteria.begin(), pair.criteria.end(),
                                     [](const CriterionResult& c) { return c.value.has_value(); });
      }
    }
  }
  verdict.pass = evaluated && pass;
  return verdict;
}

class BatchRun {
 public:
  explicit BatchRun(const CliOptions& options) : options_(options), state_(kBatchSurfaces) {
    hooks_.fileRead = [this](const FileRead& read) { log_.Record(read); };
  }

  BatchOutcome Execute() {
    BatchOutcome outcome;
    SetUpPanel();
    ChooseFiles();
    const bool emptyFiles = ReportEmptyFiles();
    std::vector<std::string>& lines = log_.Lines();
    const std::vector<std::string> pairing = PairingLines(state_);
    lines.insert(lines.end(), pairing.begin(), pairing.end());
    std::optional<Verdict> verdict;
    if (!options_.tolerances.empty() || !options_.checks.empty()) {
      verdict = VerdictOf(state_, options_, log_.LastReadStored());
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
  // Handlers run only for a control the user would have touched.
  void SetUpPanel() {
    const PanelSettings& wanted = options_.panel;
    const PanelSettings start;
    if (wanted.metric != start.metric)
      Opt_de_Click(state_, wanted.metric);
    SldBest_Change(state_, wanted.under);
    SldWorst_Change(state_, wanted.over);
    state_.GridSortKey = static_cast<std::int16_t>(options_.sortKey);
  }

  void ChooseFiles() {
    for (std::size_t s = 0; s < options_.files.size(); ++s) {
      if (!options_.files[s].empty())
        ChooseFile(state_, kAllSets[s], options_.files[s], hooks_);
    }
  }

  // The load driver re-reads files, so only the final count of each set says
  // whether its file was usable.
  bool ReportEmptyFiles() {
    bool any = false;
    for (std::size_t s = 0; s < options_.files.size(); ++s) {
      const std::string& path = options_.files[s];
      if (path.empty() || state_.Loaded(kAllSets[s]))
        continue;
      log_.Lines().push_back("korimo-cli: " + path + ": " +
                             std::string(Reason(log_.LastFailure(kAllSets[s]))));
      any = true;
    }
    return any;
  }

  std::string Render(const std::optional<Verdict>& verdict) const {
    if (options_.format == OutputFormat::Json)
      return BuildJsonReport(state_, verdict ? &*verdict : nullptr);
    std::string text = BuildResultsText(state_.record);
    return options_.encoding == TextEncoding::Cp932 ? Utf8ToCp932(text) : text;
  }

  ExitStatus Deliver(std::string bytes, BatchOutcome& outcome) {
    if (!options_.outputPath) {
      outcome.output = std::move(bytes);
      return ExitStatus::Ok;
    }
    const WriteOutcome written = WriteFileAtomically(*options_.outputPath, bytes);
    if (written.ok())
      return ExitStatus::Ok;
    log_.Lines().push_back("korimo-cli: cannot write " + *options_.outputPath + ": " +
                           written.error);
    return ExitStatus::OutputFailed;
  }

  const CliOptions& options_;
  EngineState state_;
  EngineHooks hooks_;
  ReadLog log_;
};

}  // namespace

BatchOutcome RunBatch(const CliOptions& options) {
  return BatchRun(options).Execute();
}

BatchOutcome RunCommandLine(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
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
  return RunBatch(parsed.options);
}

}  // namespace korimo
