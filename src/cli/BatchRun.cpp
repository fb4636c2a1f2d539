#include "cli/BatchRun.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <new>
#include <optional>
#include <set>
#include <utility>

#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/Hooks.h"
#include "app/OutputGuard.h"
#include "app/ThresholdPanel.h"
#include "app/VerificationRecord.h"
#include "app/Version.h"
#include "cli/AtomicFile.h"
#include "cli/JsonReport.h"
#include "core/Common.h"
#include "core/Encoding.h"
#include "export/HtmlReport.h"
#include "export/ResultsText.h"

namespace korimo {

namespace {

// What the runs of the reader left to tell: the cut at 3000 patches once per
// file (the load driver reads files again), and why each set's last read
// stored nothing.
class ReadLog {
 public:
  void Record(const FileRead& read) {
    if (read.result.cutAt3000 && cut_.insert(read.path).second) {
      lines_.push_back("korimo-cli: " + read.path + ": " + std::string(kTooManyPatchesMessage));
      lines_.push_back("korimo-cli: " + read.path + ": more than " + std::to_string(kMaxPatches) +
                       " patches; the first " + std::to_string(kMaxPatches) + " are used");
    }
    last_[Index(read.set)] = read.result.Reason();
    lastReadStored_ = read.result.patches > 0;
  }
  const FailureReason& LastFailure(DataSet set) const { return last_[Index(set)]; }
  // False when the run's last read stored nothing; it reset the stored
  // averages and maxima.
  bool LastReadStored() const { return lastReadStored_; }
  std::vector<std::string>& Lines() { return lines_; }

 private:
  std::set<std::string> cut_;
  std::array<FailureReason, 3> last_{};
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

// One line per complete pair that the chosen mode did not pair completely.
std::vector<std::string> PairMapLines(const EngineState& state) {
  std::vector<std::string> lines;
  if (state.pairingMode == PairingMode::Position)
    return lines;
  const std::string mode(PairingModeKey(state.pairingMode));
  for (Pair pair : kAllPairs) {
    const PairMap& map = state.Map(pair);
    if (!map.complete)
      continue;
    std::string line = "korimo-cli: " + std::string(PairNameEnglish(pair)) + ": ";
    if (!map.fallbackReason.empty()) {
      lines.push_back(line + "cannot pair by " + mode + " (" + map.fallbackReason +
                      "); patches are compared by position");
      continue;
    }
    if (map.deviceMismatches.value_or(0) > 0) {
      lines.push_back(line + std::to_string(*map.deviceMismatches) + " of " +
                      std::to_string(map.paired) +
                      " patches paired by id have different device values");
      continue;
    }
    if (map.referenceOnly > 0 || map.sampleOnly > 0) {
      lines.push_back(line + "paired by " + mode + " " + std::to_string(map.paired) + " of " +
                      std::to_string(map.paired + map.referenceOnly) + " (" +
                      std::to_string(map.referenceOnly) + " Reference only, " +
                      std::to_string(map.sampleOnly) + " sample only)");
    }
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

std::string_view StatisticWords(Statistic statistic) {
  switch (statistic) {
    case Statistic::Average:
      return "平均";
    case Statistic::Maximum:
      return "最大";
    case Statistic::Best10:
      return "Best10%";
    case Statistic::Pct95:
      break;
  }
  return "95%";
}

// The --tolerance checks as one criteria set of the report, worded as the
// statistics frames word their figures.
ReportVerification ToleranceVerification(const Verdict& verdict, const EngineState& state) {
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
    row.words = std::string("全パッチ ") + (t.metric == Metric::DeAb ? "⊿E " : "⊿E00 ") +
                std::string(StatisticWords(t.statistic));
    row.patches = std::to_string(
        std::min(state.Count(DataSet::Reference), state.Count(SampleOf(check.pair))));
    row.limit = FormatLimit(t.limit);
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
    const std::vector<std::string> pairing =
        state_.pairingMode == PairingMode::Position ? PairingLines(state_) : PairMapLines(state_);
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
    state_.pairingMode = options_.pairBy;
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
                             EnglishReason(log_.LastFailure(kAllSets[s])));
      any = true;
    }
    return any;
  }

  std::string Render(const std::optional<Verdict>& verdict) const {
    if (options_.format == OutputFormat::Json)
      return BuildJsonReport(state_, verdict ? &*verdict : nullptr);
    if (options_.format == OutputFormat::Html)
      return BuildHtmlReport(state_, ReportFor(verdict));
    std::string text = BuildResultsText(state_.record);
    return options_.encoding == TextEncoding::Cp932 ? Utf8ToCp932(text) : text;
  }

  ReportInput ReportFor(const std::optional<Verdict>& verdict) const {
    ReportInput input;
    input.job = options_.job;
    input.patches = options_.reportPatches;
    input.createdAt = ReportCreationTime();
    input.pairing = PairingForReport(state_);
    if (verdict && !options_.tolerances.empty())
      input.verification = ToleranceVerification(*verdict, state_);
    for (const CriteriaSet& set : options_.checks)
      input.verification.sets.push_back(ReportSetOf(BuildVerificationRecord(state_, set)));
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
      log_.Lines().push_back("korimo-cli: " + refusal);
      return ExitStatus::OutputFailed;
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
