#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Criteria.h"
#include "app/Indices.h"
#include "app/Run.h"

namespace korimo {

// What a run shows, made from its rows and statistics: the cells of the
// sheets table, the texts of the statistics frame, the trend plots and what
// a point of them tells. The window's run page and the run report show the
// same texts and draw the same plots.

// Indexed by SheetStatus.
inline constexpr std::array<std::string_view, 3> kSheetStatusNames = {"比較", "除外", "拒否"};

// In the order of RunStatistics::figures.
inline constexpr std::array<std::string_view, kRunStatistics> kRunStatisticNames = {
    "⊿E 平均",   "⊿E 最大",      "⊿E Best10%", "⊿E 95%",    "⊿E00 平均",
    "⊿E00 最大", "⊿E00 Best10%", "⊿E00 95%",   "紙白 ⊿E00", "ドリフト ⊿E00"};

// A set's verdict over a run without a compared sheet.
inline constexpr std::string_view kNoComparedSheet = "判定できません（比較したシートがありません）";

// A figure as shown, two decimals; blank where there is none.
std::string TwoOrBlank(const std::optional<double>& value);

// --- The sheets table: a row per sheet in run order.

// No., file, time, status, paired patches, the eight figures, the paper's
// and the solids' ⊿E00, the drift, the verdict of the run's first criteria
// set and the reason a sheet counts nowhere or failed.
inline constexpr int kRunColumns = 21;
inline constexpr int kRunFileColumn = 1;
inline constexpr int kRunFirstFigureColumn = 5;
inline constexpr int kRunVerdictColumn = 19;
inline constexpr int kRunReasonColumn = 20;

std::string RunColumnHeading(int column);

// A cell's text; `no` is the sheet's 1-based place in the run. Numbers as
// every output of a run writes them, two decimals, empty where none.
std::string RunCellText(const SheetRow& row, int no, int column, const RunOptions& options);

// Whether the column reads from the left (names and reasons).
bool RunColumnIsText(int column);

// Whether `a` sorts before `b` by `column`; sheets without a value follow
// the others in either direction, and equal keys tell nothing (the caller
// keeps run order among them).
bool RunRowBefore(const SheetRow& a, const SheetRow& b, int column, bool descending);

// The criteria a sheet failed or could not be evaluated on, as the
// verification page words them, joined by "、".
std::string FailedCriteriaWords(const CriteriaSet& set, const SheetVerdict& verdict);

// --- The statistics frame.

inline constexpr std::array<std::string_view, 4> kRunSummaryHeadings = {"平均", "標準偏差", "最小",
                                                                        "最大"};

struct RunStatisticsTexts {
  std::string counts;  // "指定 31　比較 29　除外 1　拒否 1"
  // With a criteria set, else empty: its name, the run's verdict ("合格",
  // "不合格" or why there is none) and "合格率 93.1%（27 / 29 枚）".
  std::string setName;
  std::string verdict;
  bool pass = false;
  std::string share;
  // Per statistic: mean, sd, minimum, maximum; and the sheets of the
  // minimum and maximum ("No. 17").
  std::array<std::array<std::string, 4>, kRunStatistics> figures;
  std::array<std::array<std::string, 2>, kRunStatistics> sheets;
};
RunStatisticsTexts RunStatisticsTextsOf(const RunStatistics& statistics, const RunOptions& options);

// "合格率 93.1%（27 / 29 枚）" of set `set`, "—" for the share without a
// compared sheet.
std::string PassShareText(const RunStatistics& statistics, std::size_t set);

// --- The trend plots: one slot per sheet in run order.

// A line per series in turn; red is kept for the points that fail, grey for
// the sheets that count nowhere.
inline constexpr std::array<std::uint32_t, 9> kTrendPalette = {
    0xBF5F1F, 0x008AE0, 0x3A9D2A, 0xB84F7B, 0x2B5A8C, 0xA89F1A, 0x009A9A, 0xA556D0, 0x555555};
inline constexpr std::uint32_t kTrendGap = 0xE4E4E4;
inline constexpr std::uint32_t kTrendGrid = 0xDDDDDD;
inline constexpr std::uint32_t kTrendFrame = 0x888888;
// Half the side of a point's square, and of a failing point's.
inline constexpr int kTrendMark = 1;
inline constexpr int kTrendFailingMark = 2;

struct TrendSeries {
  std::vector<std::optional<double>> values;  // per sheet; none breaks the line
  std::vector<bool> failing;                  // per sheet: a red point
  std::uint32_t color = 0;
};

struct TrendKey {
  enum class Kind { Series, Gap, Failing };
  Kind kind = Kind::Series;
  std::size_t palette = 0;  // of a series
  std::string caption;
};
std::uint32_t TrendKeyColor(const TrendKey& key);

struct TrendChart {
  std::string title;
  std::vector<bool> gaps;  // per sheet: counts in no statistic
  std::vector<TrendSeries> series;
  double maximum = 1;           // the axis reaches at least this
  std::optional<double> level;  // a line across: the limit
  std::vector<TrendKey> keys;
  std::string note;  // after the keys
};

// The ⊿E00 average and 95% (⊿E with `metric` DeAb) and the drift of the
// compared sheets.
TrendChart FigureTrend(const SheetRowRefs& rows, Metric metric);

// Each criterion of the run's set `set` over its limit, so that every
// criterion shares one limit line at 1; the points of a failed criterion in
// red. `label` goes before the set's name.
TrendChart CriteriaTrend(const SheetRowRefs& rows, const CriteriaSet& set, std::size_t setIndex,
                         std::string_view label = {});

// Ticks of 1, 2, 2.5 or 5 times a power of ten, about five of them up to
// `maximum`.
struct AxisScale {
  double top = 1;
  double step = 0.2;
  int decimals = 1;
};
AxisScale NiceScale(double maximum);

struct TrendPoint {
  double x = 0;
  double y = 0;
};
struct TrendTick {
  int at = 0;        // the pixel row (values) or column (sheets)
  double exact = 0;  // the same unrounded
  std::string text;
};
struct TrendSegment {
  std::vector<TrendPoint> points;
  bool marked = false;  // each point drawn as a square
};
struct TrendLine {
  std::uint32_t color = 0;
  std::vector<TrendSegment> segments;
  std::vector<TrendPoint> failing;
};

// How much of a long run a layout keeps: every sheet's point (a printed
// page), or per pixel column of a line the points a line through all of
// them would reach, and each failing point's pixel once (a screen).
enum class TrendDetail { Sheets, Pixels };

// A chart laid out on a plot of width x height pixels: sheet i at the
// middle of its slot, values beyond the axis at its top edge.
struct TrendLayout {
  int width = 0;
  int height = 0;
  int sheets = 1;
  AxisScale scale;
  std::vector<std::pair<int, int>> gaps;  // pixel columns from, to
  std::vector<TrendTick> valueTicks;      // the first, 0, draws no grid line
  std::vector<TrendTick> sheetTicks;
  std::optional<int> levelRow;
  std::vector<TrendLine> lines;

  double X(int sheet) const;
  double Y(double value) const;
  // The sheet whose slot holds pixel column x; none outside the plot.
  std::optional<int> SheetAt(double x) const;
};
TrendLayout LayOutTrend(const TrendChart& chart, int width, int height,
                        TrendDetail detail = TrendDetail::Sheets);

// What a hovered point tells: the sheet, its status, the plotted figures and,
// with a criteria set, each criterion's value against its limit.
std::string TrendPointText(const SheetRow& row, int no, Metric metric, const RunOptions& options);

}  // namespace korimo
