#include "app/RunView.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "app/Canvas.h"
#include "app/VerificationRecord.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kPaperColumn = kRunFirstFigureColumn + kRunFigures;
constexpr int kFirstSolidColumn = kPaperColumn + 1;
constexpr int kDriftColumn = kFirstSolidColumn + static_cast<int>(kRunSolids.size());
static_assert(kDriftColumn + 1 == kRunVerdictColumn && kRunReasonColumn + 1 == kRunColumns);

constexpr std::string_view kPassMark = "合";
constexpr std::string_view kFailMark = "否";
constexpr std::string_view kNone = "—";

// Up to this many sheets every point is marked; beyond, only the points a
// line cannot show (a value between two gaps) and the failing ones.
constexpr int kMarkEveryPoint = 60;
// A criterion far beyond its limit would flatten all the others: the plot
// stops at three times the limit and such points stand at its top edge.
constexpr double kRatioCeiling = 3;
// The criteria plot shows a little above the limit line even when every
// value lies below it.
constexpr double kRatioFloor = 1.2;
// No more sheet numbers under a plot than this.
constexpr int kMostSheetTicks = 10;

std::string TwoOrNone(const std::optional<double>& value) {
  return value ? FormatTwoDec(*value) : std::string(kNone);
}

// "2025-01-15 09:30:00"
std::string TimeText(const std::optional<std::int64_t>& mtime) {
  if (!mtime)
    return {};
  std::string text = IsoUtcTime(*mtime);
  if (text.size() < 20)
    return text;
  text[10] = ' ';
  text.pop_back();
  return text;
}

std::string SetLabel(std::size_t set, std::size_t sets) {
  return sets > 1 ? "［" + std::to_string(set + 1) + "］" : std::string();
}

std::string ReasonText(const SheetRow& row, const RunOptions& options) {
  if (!row.Counts())
    return row.reasonJa;
  std::string text;
  for (std::size_t s = 0; s < row.verdicts.size() && s < options.checks.size(); ++s) {
    if (row.verdicts[s].failed.empty())
      continue;
    text += (text.empty() ? "" : "　") + SetLabel(s, options.checks.size()) +
            std::string(kFailMark) + ": " + FailedCriteriaWords(options.checks[s], row.verdicts[s]);
  }
  return text;
}

std::optional<double> NumberOf(const SheetRow& row, int column) {
  if (column == 4) {
    std::optional<double> paired;
    if (row.paired)
      paired.emplace(*row.paired);
    return paired;
  }
  if (column >= kRunFirstFigureColumn && column < kPaperColumn)
    return row.figures[static_cast<std::size_t>(column - kRunFirstFigureColumn)];
  if (column == kPaperColumn)
    return row.paper;
  if (column >= kFirstSolidColumn && column < kDriftColumn)
    return row.solids[static_cast<std::size_t>(column - kFirstSolidColumn)];
  if (column == kDriftColumn)
    return row.drift;
  return std::nullopt;
}

double Largest(const std::vector<TrendSeries>& series) {
  double largest = 0;
  for (const TrendSeries& s : series) {
    for (const auto& v : s.values) {
      if (v && std::isfinite(*v))
        largest = std::max(largest, *v);
    }
  }
  return largest;
}

std::vector<bool> GapsOf(const SheetRowRefs& rows) {
  std::vector<bool> gaps;
  gaps.reserve(rows.size());
  for (const SheetRow* row : rows)
    gaps.push_back(!row->Counts());
  return gaps;
}

// Every sheet's number up to ten sheets; beyond, those of steps of 1, 2 or
// 5 times a power of ten, and the first.
int SheetTickStep(int sheets) {
  int step = 1;
  for (int m = 1; sheets / step > kMostSheetTicks; m *= 10) {
    for (int f : {1, 2, 5, 10}) {
      step = f * m;
      if (sheets / step <= kMostSheetTicks)
        break;
    }
  }
  return step;
}

int Column(const TrendPoint& p) {
  return static_cast<int>(std::floor(p.x));
}

// Per pixel column the first, the highest, the lowest and the last point, in
// their order: a line through them covers the pixels a line through all of
// them covers.
void ThinToPixels(std::vector<TrendPoint>& points) {
  std::vector<TrendPoint> kept;
  for (std::size_t first = 0; first < points.size();) {
    std::size_t end = first, low = first, high = first;
    for (; end < points.size() && Column(points[end]) == Column(points[first]); ++end) {
      low = points[end].y > points[low].y ? end : low;
      high = points[end].y < points[high].y ? end : high;
    }
    std::array<std::size_t, 4> at = {first, low, high, end - 1};
    std::sort(at.begin(), at.end());
    for (std::size_t k = 0; k < at.size(); ++k) {
      if (k == 0 || at[k] != at[k - 1])
        kept.push_back(points[at[k]]);
    }
    first = end;
  }
  points = std::move(kept);
}

// Each failing point's pixel once.
void OnePerPixel(std::vector<TrendPoint>& points) {
  std::set<std::pair<int, int>> seen;
  std::erase_if(points, [&seen](const TrendPoint& p) {
    return !seen.emplace(Column(p), static_cast<int>(std::floor(p.y))).second;
  });
}

TrendLine LayOutSeries(const TrendLayout& layout, const TrendSeries& series, TrendDetail detail) {
  TrendLine line;
  line.color = series.color;
  TrendSegment segment;
  const auto flush = [&] {
    if (segment.points.empty())
      return;
    segment.marked = segment.points.size() == 1 || layout.sheets <= kMarkEveryPoint;
    if (detail == TrendDetail::Pixels && !segment.marked)
      ThinToPixels(segment.points);
    line.segments.push_back(std::move(segment));
    segment = {};
  };
  for (std::size_t i = 0; i < series.values.size(); ++i) {
    const std::optional<double>& v = series.values[i];
    if (!v || !std::isfinite(*v)) {
      flush();
      continue;
    }
    segment.points.push_back({layout.X(static_cast<int>(i)), layout.Y(*v)});
  }
  flush();
  for (std::size_t i = 0; i < series.values.size() && i < series.failing.size(); ++i) {
    if (series.failing[i] && series.values[i])
      line.failing.push_back({layout.X(static_cast<int>(i)), layout.Y(*series.values[i])});
  }
  if (detail == TrendDetail::Pixels)
    OnePerPixel(line.failing);
  return line;
}

}  // namespace

std::string TwoOrBlank(const std::optional<double>& value) {
  return value ? FormatTwoDec(*value) : std::string();
}

std::string RunColumnHeading(int column) {
  if (column >= kRunFirstFigureColumn && column < kPaperColumn)
    return std::string(
        kRunStatisticNames[static_cast<std::size_t>(column - kRunFirstFigureColumn)]);
  if (column >= kFirstSolidColumn && column < kDriftColumn)
    return "ベタ " + std::string(kRunSolids[static_cast<std::size_t>(column - kFirstSolidColumn)]);
  switch (column) {
    case 0:
      return "No.";
    case kRunFileColumn:
      return "ファイル";
    case 2:
      return "時刻 UTC";
    case 3:
      return "状態";
    case 4:
      return "パッチ";
    case kPaperColumn:
      return "紙白";
    case kDriftColumn:
      return "ドリフト";
    case kRunVerdictColumn:
      return "判定";
    case kRunReasonColumn:
      return "理由";
    default:
      return {};
  }
}

bool RunColumnIsText(int column) {
  return column == kRunFileColumn || column == kRunReasonColumn;
}

std::string RunCellText(const SheetRow& row, int no, int column, const RunOptions& options) {
  switch (column) {
    case 0:
      return std::to_string(no);
    case kRunFileColumn:
      return FileNameOf(row.file);
    case 2:
      return TimeText(row.mtime);
    case 3:
      return std::string(kSheetStatusNames[static_cast<std::size_t>(row.status)]);
    case 4:
      return row.paired ? std::to_string(*row.paired) : std::string();
    case kRunVerdictColumn:
      if (options.checks.empty() || row.verdicts.empty())
        return {};
      return std::string(row.verdicts.front().pass ? kPassMark : kFailMark);
    case kRunReasonColumn:
      return ReasonText(row, options);
    default:
      return TwoOrBlank(NumberOf(row, column));
  }
}

bool RunRowBefore(const SheetRow& a, const SheetRow& b, int column, bool descending) {
  const auto ordered = [descending](const auto& x, const auto& y) {
    return descending ? y < x : x < y;
  };
  switch (column) {
    case kRunFileColumn: {
      const std::string na = FileNameOf(a.file), nb = FileNameOf(b.file);
      return na != nb ? ordered(na, nb) : ordered(a.file, b.file);
    }
    case 2:
      if (!a.mtime || !b.mtime)
        return a.mtime.has_value() && !b.mtime.has_value();
      return ordered(*a.mtime, *b.mtime);
    case 3:
      return ordered(static_cast<int>(a.status), static_cast<int>(b.status));
    case kRunVerdictColumn: {
      const bool ja = !a.verdicts.empty(), jb = !b.verdicts.empty();
      if (!ja || !jb)
        return ja && !jb;
      return ordered(a.verdicts.front().pass ? 0 : 1, b.verdicts.front().pass ? 0 : 1);
    }
    case kRunReasonColumn:
      return ordered(a.reasonJa, b.reasonJa);
    default: {
      const std::optional<double> va = NumberOf(a, column), vb = NumberOf(b, column);
      if (!va || !vb)
        return va.has_value() && !vb.has_value();
      return ordered(*va, *vb);
    }
  }
}

std::string FailedCriteriaWords(const CriteriaSet& set, const SheetVerdict& verdict) {
  std::string text;
  for (std::size_t k = 0; k < verdict.failed.size(); ++k) {
    std::string words = verdict.failed[k];
    for (const Criterion& c : set.criteria) {
      if (c.text == verdict.failed[k]) {
        words = c.Words();
        break;
      }
    }
    text += (k == 0 ? "" : "、") + words;
  }
  return text;
}

std::string PassShareText(const RunStatistics& statistics, std::size_t set) {
  const int passed = set < statistics.passed.size() ? statistics.passed[set] : 0;
  const std::optional<double> share =
      set < statistics.passShare.size() ? statistics.passShare[set] : std::nullopt;
  return "合格率 " + (share ? FormatDecimals(*share * 100, 1) + "%" : std::string(kNone)) + "（" +
         std::to_string(passed) + " / " + std::to_string(statistics.compared) + " 枚）";
}

RunStatisticsTexts RunStatisticsTextsOf(const RunStatistics& statistics,
                                        const RunOptions& options) {
  RunStatisticsTexts t;
  t.counts = "指定 " + std::to_string(statistics.given) + "　比較 " +
             std::to_string(statistics.compared) + "　除外 " + std::to_string(statistics.excluded) +
             "　拒否 " + std::to_string(statistics.refused);
  if (!options.checks.empty()) {
    t.setName = options.checks.front().name;
    t.pass = RunPassesSet(statistics, 0, options.minPass);
    t.verdict = statistics.compared == 0 ? kNoComparedSheet : t.pass ? kPassOverall : kFailOverall;
    if (statistics.compared > 0)
      t.share = PassShareText(statistics, 0);
  }
  for (std::size_t k = 0; k < statistics.figures.size(); ++k) {
    const RunSummary& f = statistics.figures[k];
    t.figures[k] = {TwoOrBlank(f.mean), TwoOrBlank(f.sd), TwoOrBlank(f.min), TwoOrBlank(f.max)};
    t.sheets[k] = {f.minSheet ? "No. " + std::to_string(*f.minSheet + 1) : std::string(),
                   f.maxSheet ? "No. " + std::to_string(*f.maxSheet + 1) : std::string()};
  }
  return t;
}

std::uint32_t TrendKeyColor(const TrendKey& key) {
  switch (key.kind) {
    case TrendKey::Kind::Gap:
      return kTrendGap;
    case TrendKey::Kind::Failing:
      return kRed;
    case TrendKey::Kind::Series:
      break;
  }
  return kTrendPalette[key.palette % kTrendPalette.size()];
}

TrendChart FigureTrend(const SheetRowRefs& rows, Metric metric) {
  const bool de00 = metric == Metric::De00;
  const std::string name = de00 ? "⊿E00" : "⊿E";
  const auto avg = static_cast<std::size_t>(de00 ? RunFigure::AvgDe00 : RunFigure::AvgDeAb);
  const auto pct = static_cast<std::size_t>(de00 ? RunFigure::Pct95De00 : RunFigure::Pct95DeAb);
  TrendChart chart;
  chart.title = "推移 " + name + "（平均・95%）とドリフト（⊿E00）";
  chart.gaps = GapsOf(rows);
  chart.series.resize(3);
  for (TrendSeries& series : chart.series)
    series.values.reserve(rows.size());
  for (const SheetRow* row : rows) {
    const bool counts = row->Counts();
    chart.series[0].values.push_back(counts ? row->figures[avg] : std::nullopt);
    chart.series[1].values.push_back(counts ? row->figures[pct] : std::nullopt);
    chart.series[2].values.push_back(counts ? row->drift : std::nullopt);
  }
  for (std::size_t k = 0; k < chart.series.size(); ++k)
    chart.series[k].color = kTrendPalette[k];
  chart.maximum = std::max(1.0, Largest(chart.series));
  chart.keys = {{TrendKey::Kind::Series, 0, name + " 平均"},
                {TrendKey::Kind::Series, 1, name + " 95%"},
                {TrendKey::Kind::Series, 2, "ドリフト"},
                {TrendKey::Kind::Gap, 0, "除外・拒否"}};
  chart.note = "横軸: シート No.";
  return chart;
}

TrendChart CriteriaTrend(const SheetRowRefs& rows, const CriteriaSet& set, std::size_t setIndex,
                         std::string_view label) {
  TrendChart chart;
  chart.title = std::string(label) + set.name + "：値 ÷ 許容値";
  chart.gaps = GapsOf(rows);
  chart.series.resize(set.criteria.size());
  for (const SheetRow* row : rows) {
    const SheetVerdict* verdict =
        row->Counts() && setIndex < row->verdicts.size() ? &row->verdicts[setIndex] : nullptr;
    for (std::size_t c = 0; c < set.criteria.size(); ++c) {
      const Criterion& criterion = set.criteria[c];
      std::optional<double> ratio;
      if (verdict != nullptr && c < verdict->values.size() && verdict->values[c]) {
        const double value = *verdict->values[c];
        // A limit of 0 is met only by 0, which stands on the line.
        ratio = criterion.limit > 0 ? value / criterion.limit : value > 0 ? kRatioCeiling : 1.0;
      }
      chart.series[c].values.push_back(ratio);
      chart.series[c].failing.push_back(verdict != nullptr &&
                                        std::find(verdict->failed.begin(), verdict->failed.end(),
                                                  criterion.text) != verdict->failed.end());
    }
  }
  for (std::size_t c = 0; c < chart.series.size(); ++c) {
    chart.series[c].color = kTrendPalette[c % kTrendPalette.size()];
    chart.keys.push_back({TrendKey::Kind::Series, c, set.criteria[c].Words()});
  }
  chart.maximum = std::clamp(Largest(chart.series), kRatioFloor, kRatioCeiling);
  chart.level = 1.0;
  chart.keys.push_back({TrendKey::Kind::Failing, 0, "不合格"});
  chart.note = "黒線: 許容値";
  return chart;
}

AxisScale NiceScale(double maximum) {
  if (!(maximum > 0) || !std::isfinite(maximum))
    maximum = 1;
  const double magnitude = std::pow(10.0, std::floor(std::log10(maximum / 5)));
  AxisScale scale;
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    scale.step = m * magnitude;
    if (scale.step * 5 >= maximum * (1 - 1e-12))
      break;
  }
  scale.top = std::ceil(maximum / scale.step - 1e-9) * scale.step;
  const int digits = -static_cast<int>(std::floor(std::log10(scale.step) + 1e-9));
  const bool quarter = std::fmod(scale.step / std::pow(10.0, -digits), 1.0) > 0.25;
  scale.decimals = std::max(0, digits + (quarter ? 1 : 0));
  return scale;
}

double TrendLayout::X(int sheet) const {
  return (sheet + 0.5) * width / sheets;
}

double TrendLayout::Y(double value) const {
  const double clamped = std::clamp(value, 0.0, scale.top);
  return (height - 1) * (1 - clamped / scale.top) + 0.5;
}

std::optional<int> TrendLayout::SheetAt(double x) const {
  if (!(x >= 0 && x < width))
    return std::nullopt;
  return std::min(sheets - 1, static_cast<int>(std::floor(x * sheets / width)));
}

TrendLayout LayOutTrend(const TrendChart& chart, int width, int height, TrendDetail detail) {
  TrendLayout layout;
  layout.width = std::max(1, width);
  layout.height = std::max(1, height);
  layout.sheets = std::max(1, static_cast<int>(chart.gaps.size()));
  layout.scale = NiceScale(chart.maximum);
  const int n = layout.sheets;
  for (std::size_t i = 0; i < chart.gaps.size(); ++i) {
    if (!chart.gaps[i])
      continue;
    const int x1 = static_cast<int>(std::floor(static_cast<double>(i) * layout.width / n));
    const int x2 = static_cast<int>(std::ceil(static_cast<double>(i + 1) * layout.width / n));
    layout.gaps.emplace_back(x1, std::max(x1, x2 - 1));
  }
  const AxisScale& s = layout.scale;
  for (int k = 0; k * s.step <= s.top * (1 + 1e-9); ++k) {
    const double value = k * s.step;
    const double y = layout.Y(value);
    layout.valueTicks.push_back(
        {static_cast<int>(std::lround(y)), y, FormatDecimals(value, s.decimals)});
  }
  const int step = SheetTickStep(n);
  for (int no = 1; no <= n; ++no) {
    if (no != 1 && no % step != 0)
      continue;
    const double x = layout.X(no - 1);
    layout.sheetTicks.push_back({static_cast<int>(std::lround(x)), x, std::to_string(no)});
  }
  if (chart.level)
    layout.levelRow = static_cast<int>(std::lround(layout.Y(*chart.level)));
  for (const TrendSeries& series : chart.series)
    layout.lines.push_back(LayOutSeries(layout, series, detail));
  return layout;
}

std::string TrendPointText(const SheetRow& row, int no, Metric metric, const RunOptions& options) {
  const bool de00 = metric == Metric::De00;
  const auto at = [&row](RunFigure f) { return row.figures[static_cast<std::size_t>(f)]; };
  std::string text = "No. " + std::to_string(no) + "　" + FileNameOf(row.file) + "　" +
                     std::string(kSheetStatusNames[static_cast<std::size_t>(row.status)]);
  if (!row.Counts() && !row.reasonJa.empty())
    text += "\n" + row.reasonJa;
  if (row.status == SheetStatus::Refused)
    return text;
  text += "\n" + std::string(de00 ? "⊿E00" : "⊿E") + " 平均 " +
          TwoOrNone(at(de00 ? RunFigure::AvgDe00 : RunFigure::AvgDeAb)) + "　95% " +
          TwoOrNone(at(de00 ? RunFigure::Pct95De00 : RunFigure::Pct95DeAb)) + "　ドリフト " +
          TwoOrNone(row.drift);
  if (options.checks.empty() || row.verdicts.empty())
    return text;
  const CriteriaSet& set = options.checks.front();
  const SheetVerdict& verdict = row.verdicts.front();
  for (std::size_t c = 0; c < set.criteria.size(); ++c) {
    const Criterion& criterion = set.criteria[c];
    const std::string value =
        c < verdict.values.size() ? TwoOrNone(verdict.values[c]) : std::string(kNone);
    const bool failed = std::find(verdict.failed.begin(), verdict.failed.end(), criterion.text) !=
                        verdict.failed.end();
    text += "\n" + criterion.Words() + " " + value + "（許容値 " +
            ShortestDecimal(criterion.limit) + "）" + (failed ? "　" + std::string(kFailMark) : "");
  }
  return text;
}

}  // namespace korimo
