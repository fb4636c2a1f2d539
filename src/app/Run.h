#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/Criteria.h"
#include "app/Inputs.h"
#include "app/PairingMap.h"

namespace korimo {

// A run: one Reference (the OK sheet, or characterization data) against any
// number of sheets, each compared exactly as `korimo-cli REFERENCE SHEET`
// compares it, with the drift from the previous compared sheet and the
// run's statistics, accumulated in run order.

// The eight figures of a single comparison, in the order of its JSON.
enum class RunFigure {
  AvgDeAb,
  MaxDeAb,
  Best10DeAb,
  Pct95DeAb,
  AvgDe00,
  MaxDe00,
  Best10De00,
  Pct95De00
};
inline constexpr int kRunFigures = 8;
inline constexpr std::array<std::string_view, kRunFigures> kRunFigureKeys = {
    "avg_de_ab", "max_de_ab", "best10_de_ab", "pct95_de_ab",
    "avg_de00",  "max_de00",  "best10_de00",  "pct95_de00"};

// The run statistics' figures: the eight, the paper's ⊿E00 and the drift.
inline constexpr int kRunStatistics = kRunFigures + 2;
inline constexpr int kPaperStatistic = kRunFigures;
inline constexpr int kDriftStatistic = kRunFigures + 1;
inline constexpr std::array<std::string_view, kRunStatistics> kRunStatisticKeys = {
    "avg_de_ab", "max_de_ab",   "best10_de_ab", "pct95_de_ab", "avg_de00",
    "max_de00",  "best10_de00", "pct95_de00",   "paper_de00",  "drift_de00"};

// The solids whose ⊿E00 a sheet's row carries, in this order.
inline constexpr std::array<std::string_view, 4> kRunSolids = {"C", "M", "Y", "K"};

// compared: counts in every statistic; excluded: the single comparison
// would warn that the files do not match or that the pairing mode fell
// back, so its figures are shown but count nowhere and the trend has a gap;
// refused: no patches.
enum class SheetStatus { Compared, Excluded, Refused };
std::string_view StatusKey(SheetStatus status);  // "compared", "excluded", "refused"

// The order of a run's sheets.
enum class RunOrder { Given, Name, ModificationTime };

// A sheet as the user named it.
struct SheetSource {
  std::string path;
  std::optional<std::int64_t> mtime;  // seconds since 1970, UTC; none when unreadable
};

// The sheets named by `paths`, with their modification times: a folder
// stands for the files in it (not its subfolders), by name; a path that
// names nothing stays, to be refused when read.
std::vector<SheetSource> SheetSourcesOf(const std::vector<std::string>& paths);

// A list of sheets as saved: one path a line (UTF-8, CR LF or LF, blank
// lines skipped); a relative path is taken from the list's own folder.
std::vector<std::string> ParseSheetList(std::string_view text, const std::string& listPath);

// A list of sheets is a few lines a sheet; a file far larger is no list.
inline constexpr std::size_t kMaxSheetListBytes = 64 << 20;

// Sorts sheets by file name (then path) or by modification time (then name,
// unknown times last); Given keeps them.
void OrderSheets(std::vector<SheetSource>& sheets, RunOrder order);
// Whether `a` comes before `b` in that order.
bool SheetBefore(const SheetSource& a, const SheetSource& b, RunOrder order);

// "2025-01-15T09:30:00Z".
std::string IsoUtcTime(std::int64_t seconds);

struct SheetVerdict {
  bool pass = false;
  std::vector<std::string> failed;  // the criteria that failed or were not evaluated, as written
  // Per criterion of the set, in its order: the statistic it judged; none
  // where it was not evaluated. The trend of each criterion against its limit.
  std::vector<std::optional<double>> values;
};

// One sheet's row. The eight figures are the single comparison's where its
// window shows the label, else none: averages and maxima at the precision
// the labels round (NarrowToSingle gives the 32-bit figure its JSON
// writes), "Best10%" and "95%" as stored. The paper's and the solids' ⊿E00,
// the drift and the statistics are computed in double.
struct SheetRow {
  std::string file;  // as given
  std::optional<std::int64_t> mtime;
  SheetStatus status = SheetStatus::Refused;
  std::string reason;    // the warning or refusal as standard error words it; empty when compared
  std::string reasonJa;  // the same as the window words it
  std::optional<int> paired;
  std::array<std::optional<double>, kRunFigures> figures;
  std::optional<double> paper;
  std::array<std::optional<double>, 4> solids;  // C, M, Y, K
  std::optional<double> drift;
  // Per criteria set of the run, in its order; none when refused.
  std::vector<SheetVerdict> verdicts;
  bool Counts() const { return status == SheetStatus::Compared; }
};

// A run's rows in run order. A row never moves once added, so that a
// window can show the rows of a run still being computed in place, through
// pointers to them (SheetRowRefs).
using SheetRows = std::deque<SheetRow>;
using SheetRowRefs = std::vector<const SheetRow*>;
SheetRowRefs RefsOf(const SheetRows& rows);

struct RunOptions {
  PairingMode mode = PairingMode::Position;
  std::vector<CriteriaSet> checks;
  std::optional<double> minPass;  // percent of compared sheets each set must pass
};

// Mean, standard deviation (n - 1; none below two values), minimum and
// maximum with the sheet (0-based row) where they occur, ties to the
// earliest; none without a value.
struct RunSummary {
  int n = 0;
  std::optional<double> mean;
  std::optional<double> sd;
  std::optional<double> min;
  std::optional<double> max;
  std::optional<int> minSheet;
  std::optional<int> maxSheet;
};

// Per Reference patch over the compared sheets that pair it: mean ⊿E00 and
// the standard deviations of the sheets' L*, a*, b* (n - 1).
struct PatchSummary {
  int sheets = 0;
  std::optional<double> meanDe00;
  std::optional<double> sdL;
  std::optional<double> sdA;
  std::optional<double> sdB;
  // √(s_L² + s_a² + s_b²), for ranking; none below two sheets.
  std::optional<double> Variation() const;
};

struct RunStatistics {
  int given = 0;
  int compared = 0;
  int excluded = 0;
  int refused = 0;
  std::array<RunSummary, kRunStatistics> figures;
  // Per set, 0..1 of compared sheets; none without one.
  std::vector<std::optional<double>> passShare;
  std::vector<int> passed;            // per set, the compared sheets that pass it
  std::vector<PatchSummary> patches;  // per Reference patch
  // Up to ten patches, largest variation first, ties lowest index.
  std::vector<int> mostVariable;
};

inline constexpr int kMostVariablePatches = 10;

// Whether a run passes a criteria set: with a least pass share (percent) the
// count decides, not the rounded share, so that 9 of 10 meets 90% exactly;
// without one every compared sheet must pass. No compared sheet passes nothing.
bool RunPassesSet(const RunStatistics& statistics, std::size_t set,
                  const std::optional<double>& minPass);

// The Reference of a run: its record and where its paper and solids sit
// (from its CMYK values, by the roles of verification).
struct RunReference {
  MeasurementPtr reference;
  std::optional<int> paper;
  std::array<std::optional<int>, 4> solids;
};
RunReference PrepareReference(MeasurementPtr reference);

// Why every sheet of a run whose Reference stored nothing is refused.
std::string NoReferenceReason(Language language);

// One sheet compared with the Reference, as a single comparison of the two
// files compares them, and what the drift and the per-patch statistics need
// of it: per Reference patch the sheet's patch it meets (-1: none), with the
// sheet's colours.
struct SheetComparison {
  SheetRow row;  // without the drift
  MeasurementPtr sheet;
  std::vector<int> sampleOf;
  std::vector<double> de00;  // per Reference patch, where paired
};
SheetComparison CompareSheet(const RunReference& reference, const SheetSource& source,
                             MeasurementPtr sheet, const RunOptions& options);

// Mean ⊿E00 between two sheets over the Reference patches both pair, the
// earlier one as reference; none when they share no patch.
std::optional<double> Drift(const SheetComparison& earlier, const SheetComparison& later);

// Takes the sheets in run order and keeps the rows and the statistics; of
// the sheets' colours only the last compared sheet's, for the drift. The
// per-patch statistics are kept in one pass (Welford).
class RunAccumulator {
 public:
  RunAccumulator(RunReference reference, RunOptions options);

  // The next sheet of the run; its row gains the drift from the last
  // compared sheet.
  const SheetRow& Add(SheetComparison sheet);
  // The same with the drift computed elsewhere from the same two sheets
  // (ComputeRun does it on its workers).
  const SheetRow& Add(SheetComparison sheet, std::optional<double> drift);

  const SheetRows& Rows() const { return rows_; }
  // The last compared sheet's colours and pairing, from which the next
  // compared sheet's drift is taken; null before the first.
  const SheetComparison* LastCompared() const { return lastCompared_ ? &*lastCompared_ : nullptr; }
  RunStatistics Statistics() const;
  const RunReference& Reference() const { return reference_; }
  const RunOptions& Options() const { return options_; }

 private:
  struct Welford {
    long long n = 0;
    double mean = 0;
    double m2 = 0;
    void Add(double x);
    std::optional<double> Sd() const;
  };
  struct PatchAccumulator {
    Welford de00;
    Welford L, a, b;
  };

  RunReference reference_;
  RunOptions options_;
  SheetRows rows_;
  std::optional<SheetComparison> lastCompared_;  // without its row
  std::vector<PatchAccumulator> patches_;
};

// Reads and compares sheets, and computes their drift, on `threads` worker
// threads, and hands them to the accumulator on the calling thread in run
// order, whatever order the reads complete in; a few sheets ahead of the
// accumulator at most. An accumulator that already holds sheets is
// continued: the first new compared sheet drifts from its last one. `progress` is called on the
// calling thread after each sheet; once `cancel` is set the run stops soon, the accumulator holding
// the sheets handed so far.
struct RunProgress {
  int done = 0;
  int total = 0;
};
void ComputeRun(std::span<const SheetSource> sheets, RunAccumulator& accumulator, int threads,
                const std::function<void(const RunProgress&)>& progress = {},
                const std::atomic<bool>* cancel = nullptr);

}  // namespace korimo
