#include "export/RunReport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/SvgCanvas.h"
#include "app/VerificationRecord.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr std::string_view kTitle = "⊿E・⊿E00 推移レポート";

constexpr std::array<std::string_view, kRunStatistics> kStatisticNames = {
    "⊿E 平均",   "⊿E 最大",      "⊿E Best10%", "⊿E 95%",    "⊿E00 平均",
    "⊿E00 最大", "⊿E00 Best10%", "⊿E00 95%",   "紙白 ⊿E00", "ドリフト ⊿E00"};

// Indexed by SheetStatus.
constexpr std::array<std::string_view, 3> kStatusNames = {"比較", "除外", "拒否"};

// The trend's series and the criteria's lines; red is kept for the points
// that fail, grey for the sheets that count nowhere.
constexpr std::array<std::uint32_t, 9> kPalette = {0xBF5F1F, 0x008AE0, 0x3A9D2A, 0xB84F7B, 0x2B5A8C,
                                                   0xA89F1A, 0x009A9A, 0xA556D0, 0x555555};
constexpr std::uint32_t kGap = 0xE4E4E4;
constexpr std::uint32_t kGrid = 0xDDDDDD;
constexpr std::uint32_t kFrame = 0x888888;

constexpr int kPlotWidth = 640;
constexpr int kPlotHeight = 170;
constexpr SvgMargins kPlotMargins = {30, 6, 14, 16};
constexpr double kTickText = 9;
// Up to this many sheets every point is marked; beyond, only the points a
// line cannot show (a value between two gaps) and the failing ones.
constexpr int kMarkEveryPoint = 60;
// A criterion far beyond its limit would flatten all the others: the plot
// stops at three times the limit and such points stand at its top edge.
constexpr double kRatioCeiling = 3;

// Rows of the sheets table that may take two lines (a date, a reason, a
// long name) ask not to be split; the others cannot be, and asking each of
// a thousand rows costs print time.
constexpr std::string_view kStyle = R"(
.plot svg{width:180mm;height:auto}
.plot figcaption>span{margin-left:3mm;white-space:nowrap;display:inline-block}
.st{table-layout:fixed;width:100%;font-size:6pt;line-height:1.25}
.st th{padding:0 .3mm}
.st td{text-align:right;padding:0 .3mm;white-space:nowrap}
.st td.f{text-align:left;white-space:normal;word-break:break-all}
.st td.v{text-align:center}
.st tr{break-inside:auto}
.st tr.w{break-inside:avoid}
.st tr.x td{color:#777}
.st .r{color:#c40000}
.vt td:nth-child(2),.vt td:nth-child(3){text-align:left;white-space:normal;word-break:break-all}
)";

// Widths in millimetres of the sheets table's fixed columns at 6 pt, in the
// widest of the page's fonts (a digit 0.63 em, a point 0.26 em); the file
// column takes the rest of the 180 mm. A number column holds "124.45" (a
// sheet of another chart order goes that far), the time column a date.
constexpr double kNoWidth = 6;
constexpr double kTimeWidth = 13;
constexpr double kStatusWidth = 5.5;
constexpr double kPairedWidth = 7.2;
constexpr double kNumberWidth = 7.9;
constexpr double kVerdictWidth = 5.5;
constexpr double kPageWidth = 180;
// The widest letter (W, 0.93 em at 6 pt) per display column, and a cell's
// padding.
constexpr double kColumnMm = 1.97;
constexpr double kCellPaddingMm = 0.6;

std::string Esc(std::string_view text) {
  return EscapeMarkup(text);
}

std::string Two(const std::optional<double>& value) {
  return value ? FormatTwoDec(*value) : std::string();
}

std::string SheetNo(const std::optional<int>& row) {
  return row ? std::to_string(*row + 1) : std::string();
}

std::string Directory(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Axis ticks: steps of 1, 2, 2.5 or 5 times a power of ten, about five of
// them up to the largest value.
struct Scale {
  double top = 1;
  double step = 0.2;
  int decimals = 1;
};

Scale NiceScale(double maximum) {
  if (!(maximum > 0) || !std::isfinite(maximum))
    maximum = 1;
  const double magnitude = std::pow(10.0, std::floor(std::log10(maximum / 5)));
  Scale scale;
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

// One plot over the sheets in run order: sheet i at the middle of its slot.
class SheetPlot {
 public:
  SheetPlot(int sheets, double maximum)
      : canvas_(kPlotWidth, kPlotHeight, kWhite, kPlotMargins),
        sheets_(std::max(1, sheets)),
        scale_(NiceScale(maximum)) {}

  // Sheets that count in no statistic stand out as grey slots.
  void Gaps(const std::vector<SheetRow>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].Counts())
        continue;
      const int x1 = static_cast<int>(std::floor(static_cast<double>(i) * kPlotWidth / sheets_));
      const int x2 = static_cast<int>(std::ceil(static_cast<double>(i + 1) * kPlotWidth / sheets_));
      canvas_.FillRect(x1, 0, std::max(x1, x2 - 1), kPlotHeight - 1, kGap);
    }
  }

  void Axes() {
    for (int k = 0; k * scale_.step <= scale_.top * (1 + 1e-9); ++k) {
      const double value = k * scale_.step;
      const int y = static_cast<int>(std::lround(Y(value)));
      if (k > 0)
        canvas_.Line(0, y, kPlotWidth - 1, y, kGrid);
      canvas_.Text(-3, y + 3, FormatDecimals(value, scale_.decimals), TextAnchor::End, kTickText);
    }
    int step = 1;
    for (int m = 1; sheets_ / step > 10; m *= 10) {
      for (int f : {1, 2, 5, 10}) {
        step = f * m;
        if (sheets_ / step <= 10)
          break;
      }
    }
    for (int no = 1; no <= sheets_; ++no) {
      if (no != 1 && no % step != 0)
        continue;
      const int x = static_cast<int>(std::lround(X(no - 1)));
      canvas_.Line(x, kPlotHeight - 3, x, kPlotHeight - 1, kFrame);
      canvas_.Text(X(no - 1), kPlotHeight + 11, std::to_string(no), TextAnchor::Middle, kTickText);
    }
    canvas_.RectOutline(0, 0, kPlotWidth - 1, kPlotHeight - 1, kFrame);
  }

  // A line across the plot, drawn over the grid and under the series.
  void Level(double value) {
    const int y = static_cast<int>(std::lround(Y(value)));
    canvas_.SetLineWidth(2);
    canvas_.Line(0, y, kPlotWidth - 1, y, kBlack);
    canvas_.SetLineWidth(1);
  }

  // A line through the values, broken where a sheet has none; `failing`
  // marks points in red.
  void Series(const std::vector<std::optional<double>>& values, std::uint32_t color,
              const std::vector<bool>& failing = {}) {
    std::vector<SvgPoint> segment;
    auto flush = [&] {
      canvas_.SetLineWidth(1);
      if (segment.size() >= 2)
        canvas_.Polyline(segment, color);
      if (segment.size() == 1 || sheets_ <= kMarkEveryPoint) {
        for (const SvgPoint& p : segment)
          Mark(p, color, 1);
      }
      segment.clear();
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!values[i] || !std::isfinite(*values[i])) {
        flush();
        continue;
      }
      segment.push_back({X(static_cast<int>(i)), Y(*values[i])});
    }
    flush();
    for (std::size_t i = 0; i < values.size() && i < failing.size(); ++i) {
      if (failing[i] && values[i])
        Mark({X(static_cast<int>(i)), Y(*values[i])}, kRed, 2);
    }
  }

  std::string Markup(std::string_view label) const { return canvas_.Markup(label); }

 private:
  double X(int sheet) const { return (sheet + 0.5) * kPlotWidth / sheets_; }
  // Values beyond the scale stand at its top edge.
  double Y(double value) const {
    const double clamped = std::clamp(value, 0.0, scale_.top);
    return (kPlotHeight - 1) * (1 - clamped / scale_.top) + 0.5;
  }

  void Mark(SvgPoint p, std::uint32_t color, int half) {
    const int x = static_cast<int>(std::floor(p.x));
    const int y = static_cast<int>(std::floor(p.y));
    canvas_.FillRect(x - half, y - half, x + half, y + half, color);
  }

  SvgCanvas canvas_;
  int sheets_;
  Scale scale_;
};

double Largest(const std::vector<std::vector<std::optional<double>>>& series) {
  double largest = 0;
  for (const auto& values : series) {
    for (const auto& v : values) {
      if (v && std::isfinite(*v))
        largest = std::max(largest, *v);
    }
  }
  return largest;
}

class RunReportWriter {
 public:
  RunReportWriter(const RunReportData& data, const RunReportInput& input)
      : data_(data),
        input_(input),
        stats_(data.statistics),
        sets_(data.options.checks),
        folder_(CommonFolder(data.rows)) {}

  std::string Build() {
    out_.reserve(4096 + data_.rows.size() * 320);
    out_ += report::PageHead(kTitle, input_.job, std::string(kStyle) + Legend(), RunningHead());
    out_ += "<body>";
    Heading();
    Reference();
    Counts();
    out_ += "<h2>推移</h2>";
    if (data_.rows.empty()) {
      out_ += "<p>シートがありません。</p>";
    } else {
      Trend();
      for (std::size_t s = 0; s < sets_.size(); ++s)
        CriteriaTrend(s);
    }
    Statistics();
    MostVariable();
    Sheets();
    out_ += "</body></html>\n";
    return std::move(out_);
  }

 private:
  static std::string Legend() {
    std::string css;
    for (std::size_t i = 0; i < kPalette.size(); ++i)
      css += ".c" + std::to_string(i) + "{color:" + CssColor(kPalette[i]) + "}";
    css += ".cg{color:" + CssColor(kGap) + "}.cr{color:" + CssColor(kRed) + "}\n";
    return css;
  }

  static std::string Key(std::string_view cls, std::string_view caption) {
    return "<span><span class=\"" + std::string(cls) + "\">■</span> " + Esc(caption) + "</span>";
  }

  std::string RunningHead() const {
    return "基準: " + report::FileName(std::string(data_.referencePath)) + "　シート " +
           std::to_string(stats_.given) + " 枚";
  }

  std::string SetLabel(std::size_t s) const {
    return sets_.size() > 1 ? "［" + std::to_string(s + 1) + "］" : std::string();
  }

  void Heading() {
    out_ += "<h1>" + Esc(kTitle) + "</h1>" + report::JobTable(input_.job);
    for (std::size_t s = 0; s < sets_.size(); ++s) {
      const int passed = s < stats_.passed.size() ? stats_.passed[s] : 0;
      const int compared = stats_.compared;
      out_ += "<p class=\"big\">" + SetLabel(s) + Esc(sets_[s].name) + "：";
      if (compared == 0) {
        out_ += "判定できません（比較したシートがありません）</p>";
        continue;
      }
      const std::optional<double>& minPass = data_.options.minPass;
      const bool pass = RunPassesSet(stats_, s, minPass);
      out_ += report::VerdictWord(pass) + "</p><p>合格率 ";
      const std::optional<double> share =
          s < stats_.passShare.size() ? stats_.passShare[s] : std::nullopt;
      out_ += share ? FormatDecimals(*share * 100, 1) + "%" : std::string("—");
      out_ += "（" + std::to_string(passed) + " / " + std::to_string(compared) + " 枚）";
      if (minPass)
        out_ += "　下限 " + ShortestDecimal(*minPass) + "%";
      out_ += "</p>";
    }
    if (!sets_.empty())
      out_ += "<p class=\"note\">" + std::string(report::kNotCertified) + "</p>";
    out_ += report::CreatedLine(input_.createdAt);
  }

  void Reference() {
    const std::string path(data_.referencePath);
    out_ += "<h2>基準</h2><table><thead><tr><th>ファイル<th>パッチ数<th>対応</thead><tr>";
    out_ += "<td class=\"path\"><b>" + Esc(report::FileName(path)) + "</b><br>" + Esc(path);
    out_ += "<td class=\"num\">" +
            (data_.reference != nullptr ? std::to_string(data_.reference->Count()) : "") + "<td>";
    for (const PairingModeName& name : kPairingModes) {
      if (name.mode == data_.options.mode)
        out_ += name.caption;
    }
    out_ += "</tr></table>";
  }

  void Counts() {
    out_ +=
        "<h2>シート</h2><table class=\"num\"><thead><tr><th>指定<th>比較<th>除外<th>拒否"
        "</thead><tr><td>" +
        std::to_string(stats_.given) + "<td>" + std::to_string(stats_.compared) + "<td>" +
        std::to_string(stats_.excluded) + "<td>" + std::to_string(stats_.refused) + "</tr></table>";
    if (!folder_.empty())
      out_ += "<p>フォルダ: <span class=\"path\">" + Esc(folder_) + "</span></p>";
    out_ +=
        "<p class=\"note\">除外: ファイルが基準と合わないか対応の方法が切り替わったシート。"
        "数値は示しますが統計には含めません。拒否: パッチを読めなかったシート。</p>";
  }

  // When every sheet lies in one folder, it is named once and the table
  // names the files only.
  static std::string CommonFolder(const std::vector<SheetRow>& rows) {
    if (rows.empty())
      return {};
    const std::string first = Directory(rows.front().file);
    for (const SheetRow& row : rows) {
      if (Directory(row.file) != first)
        return {};
    }
    return first;
  }

  std::string Shown(const SheetRow& row) const {
    return folder_.empty() ? row.file : row.file.substr(folder_.size());
  }

  void Trend() {
    const bool de00 = input_.metric == Metric::De00;
    const std::string metric = de00 ? "⊿E00" : "⊿E";
    const auto avg = static_cast<std::size_t>(de00 ? RunFigure::AvgDe00 : RunFigure::AvgDeAb);
    const auto pct = static_cast<std::size_t>(de00 ? RunFigure::Pct95De00 : RunFigure::Pct95DeAb);
    std::vector<std::vector<std::optional<double>>> series(3);
    for (const SheetRow& row : data_.rows) {
      const bool counts = row.Counts();
      series[0].push_back(counts ? row.figures[avg] : std::nullopt);
      series[1].push_back(counts ? row.figures[pct] : std::nullopt);
      series[2].push_back(counts ? row.drift : std::nullopt);
    }
    SheetPlot plot(static_cast<int>(data_.rows.size()), std::max(1.0, Largest(series)));
    plot.Gaps(data_.rows);
    plot.Axes();
    for (std::size_t k = 0; k < series.size(); ++k)
      plot.Series(series[k], kPalette[k]);
    const std::string title = "推移 " + metric + "（平均・95%）とドリフト（⊿E00）";
    out_ += "<figure class=\"plot\">" + plot.Markup(title) + "<figcaption>" + title +
            Key("c0", metric + " 平均") + Key("c1", metric + " 95%") + Key("c2", "ドリフト") +
            Key("cg", "除外・拒否") + "　横軸: シート No.</figcaption></figure>";
  }

  // Each criterion's value over its limit: every criterion shares one limit
  // line at 1.
  void CriteriaTrend(std::size_t s) {
    const CriteriaSet& set = sets_[s];
    std::vector<std::vector<std::optional<double>>> series(set.criteria.size());
    std::vector<std::vector<bool>> failing(set.criteria.size());
    for (const SheetRow& row : data_.rows) {
      const SheetVerdict* verdict =
          row.Counts() && s < row.verdicts.size() ? &row.verdicts[s] : nullptr;
      for (std::size_t c = 0; c < set.criteria.size(); ++c) {
        const Criterion& criterion = set.criteria[c];
        std::optional<double> ratio;
        if (verdict != nullptr && c < verdict->values.size() && verdict->values[c]) {
          const double value = *verdict->values[c];
          // A limit of 0 is met only by 0, which stands on the line.
          ratio = criterion.limit > 0 ? value / criterion.limit : value > 0 ? kRatioCeiling : 1.0;
        }
        series[c].push_back(ratio);
        failing[c].push_back(verdict != nullptr &&
                             std::find(verdict->failed.begin(), verdict->failed.end(),
                                       criterion.text) != verdict->failed.end());
      }
    }
    SheetPlot plot(static_cast<int>(data_.rows.size()),
                   std::clamp(Largest(series), 1.2, kRatioCeiling));
    plot.Gaps(data_.rows);
    plot.Axes();
    plot.Level(1.0);
    for (std::size_t c = 0; c < series.size(); ++c)
      plot.Series(series[c], kPalette[c % kPalette.size()], failing[c]);
    const std::string title = SetLabel(s) + set.name + "：値 ÷ 許容値";
    out_ += "<figure class=\"plot\">" + plot.Markup(title) + "<figcaption>" + Esc(title);
    for (std::size_t c = 0; c < set.criteria.size(); ++c)
      out_ += Key("c" + std::to_string(c % kPalette.size()), set.criteria[c].Words());
    out_ += Key("cr", "不合格") + "　黒線: 許容値</figcaption></figure>";
  }

  void Statistics() {
    out_ +=
        "<div class=\"keep\"><h2>統計</h2><table class=\"num\"><thead><tr><th rowspan=\"2\">"
        "<th rowspan=\"2\">枚数<th rowspan=\"2\">平均<th rowspan=\"2\">標準偏差<th "
        "colspan=\"2\">最小"
        "<th colspan=\"2\">最大<tr><th>値<th>No.<th>値<th>No.</thead>";
    for (int k = 0; k < kRunStatistics; ++k) {
      const RunSummary& f = stats_.figures[static_cast<std::size_t>(k)];
      out_ += "<tr><th>" + std::string(kStatisticNames[static_cast<std::size_t>(k)]) + "<td>" +
              std::to_string(f.n) + "<td>" + Two(f.mean) + "<td>" + Two(f.sd) + "<td>" +
              Two(f.min) + "<td>" + SheetNo(f.minSheet) + "<td>" + Two(f.max) + "<td>" +
              SheetNo(f.maxSheet) + "</tr>";
    }
    out_ +=
        "</table><p class=\"note\">比較したシートについて。標準偏差は n − 1 で割ったもの。"
        "No. はシート一覧の番号。</p></div>";
  }

  void MostVariable() {
    if (stats_.mostVariable.empty())
      return;
    out_ += "<div class=\"keep\"><h2>ばらつきの大きいパッチ " +
            std::to_string(stats_.mostVariable.size()) +
            "</h2><table class=\"num vt\"><thead><tr><th>No.<th>ID<th>デバイス値<th>枚数"
            "<th>平均 ⊿E00<th>s L*<th>s a*<th>s b*</thead>";
    for (int patch : stats_.mostVariable) {
      if (patch < 0 || static_cast<std::size_t>(patch) >= stats_.patches.size())
        continue;
      const PatchSummary& p = stats_.patches[static_cast<std::size_t>(patch)];
      const Measurement* ref = data_.reference;
      const bool named = ref != nullptr && static_cast<std::size_t>(patch) < ref->ids.values.size();
      out_ += "<tr><td>" + std::to_string(patch + 1) + "<td>" +
              (named ? Esc(ref->ids.values[static_cast<std::size_t>(patch)]) : "") + "<td>" +
              (ref != nullptr ? Esc(DeviceText(ref, patch)) : "") + "<td>" +
              std::to_string(p.sheets) + "<td>" + Two(p.meanDe00) + "<td>" + Two(p.sdL) + "<td>" +
              Two(p.sdA) + "<td>" + Two(p.sdB) + "</tr>";
    }
    out_ +=
        "</table><p class=\"note\">基準の各パッチについて、それを対応づけた比較シートでの"
        "平均 ⊿E00 と L*・a*・b* の標準偏差 s。ばらつき √(s L*² + s a*² + s b*²) "
        "の大きい順。</p></div>";
  }

  void Sheets() {
    bool paper = false;
    std::array<bool, 4> solids{};
    for (const SheetRow& row : data_.rows) {
      paper = paper || row.paper.has_value();
      for (std::size_t k = 0; k < solids.size(); ++k)
        solids[k] = solids[k] || row.solids[k].has_value();
    }
    const int solidCount = static_cast<int>(std::count(solids.begin(), solids.end(), true));

    const int numbers = kRunFigures + (paper ? 1 : 0) + solidCount + 1;
    const double fileWidth = kPageWidth - kNoWidth - kTimeWidth - kStatusWidth - kPairedWidth -
                             numbers * kNumberWidth -
                             static_cast<double>(sets_.size()) * kVerdictWidth;
    const auto oneLine = static_cast<std::size_t>((fileWidth - kCellPaddingMm) / kColumnMm);
    auto col = [](double mm, int span = 1) {
      return "<col" + (span > 1 ? " span=\"" + std::to_string(span) + "\"" : std::string()) +
             " style=\"width:" + ShortestDecimal(mm) + "mm\">";
    };
    out_ += "<h2>シート一覧</h2><table class=\"st\"><colgroup>" + col(kNoWidth) + "<col>" +
            col(kTimeWidth) + col(kStatusWidth) + col(kPairedWidth) + col(kNumberWidth, numbers);
    if (!sets_.empty())
      out_ += col(kVerdictWidth, static_cast<int>(sets_.size()));
    out_ +=
        "</colgroup><thead><tr><th rowspan=\"2\">No.<th rowspan=\"2\">ファイル"
        "<th rowspan=\"2\">時刻 UTC<th rowspan=\"2\">状態<th rowspan=\"2\">パッチ"
        "<th colspan=\"4\">⊿E<th colspan=\"4\">⊿E00";
    if (paper)
      out_ += "<th rowspan=\"2\">紙白";
    if (solidCount > 0)
      out_ += "<th colspan=\"" + std::to_string(solidCount) + "\">ベタ ⊿E00";
    out_ += "<th rowspan=\"2\">ドリフト";
    for (std::size_t s = 0; s < sets_.size(); ++s)
      out_ += "<th rowspan=\"2\">判定" + SetLabel(s);
    out_ += "<tr>";
    for (int twice = 0; twice < 2; ++twice)
      out_ += "<th>平均<th>最大<th>Best<wbr>10%<th>95%";
    for (std::size_t k = 0; k < solids.size(); ++k) {
      if (solids[k])
        out_ += "<th>" + std::string(kRunSolids[k]);
    }
    out_ += "</thead>";

    std::string previousDate;
    for (std::size_t i = 0; i < data_.rows.size(); ++i) {
      const SheetRow& row = data_.rows[i];
      // The date where it changes, the time of day on every row.
      std::string time;
      bool twoLines = false;
      if (row.mtime) {
        const std::string stamp = report::UtcTime(*row.mtime, true);
        const std::string date = stamp.substr(0, 10);
        time = (date != previousDate ? date + "<br>" : std::string()) + stamp.substr(11);
        twoLines = date != previousDate;
        previousDate = date;
      }
      std::string notes;
      if (!row.Counts() && !row.reasonJa.empty())
        notes += "<br><span class=\"r\">" + Esc(row.reasonJa) + "</span>";
      for (std::size_t s = 0; s < row.verdicts.size() && s < sets_.size(); ++s)
        notes += FailedNote(s, row.verdicts[s]);
      const std::string shown = Shown(row);
      const bool wraps = twoLines || !notes.empty() || report::DisplayWidth(shown) > oneLine;
      std::string cls = wraps ? "w" : "";
      if (!row.Counts())
        cls += cls.empty() ? "x" : " x";
      out_ += cls.empty() ? "<tr>" : "<tr class=\"" + cls + "\">";
      out_ += "<td>" + std::to_string(i + 1) + "<td class=\"f\">" + Esc(shown) + notes + "<td>" +
              time + "<td class=\"v\">" +
              std::string(kStatusNames[static_cast<std::size_t>(row.status)]) + "<td>" +
              (row.paired ? std::to_string(*row.paired) : "");
      for (const auto& figure : row.figures)
        out_ += "<td>" + Two(figure);
      if (paper)
        out_ += "<td>" + Two(row.paper);
      for (std::size_t k = 0; k < solids.size(); ++k) {
        if (solids[k])
          out_ += "<td>" + Two(row.solids[k]);
      }
      out_ += "<td>" + Two(row.drift);
      for (std::size_t s = 0; s < sets_.size(); ++s) {
        out_ += "<td class=\"v\">";
        if (s < row.verdicts.size())
          out_ += row.verdicts[s].pass ? "<span class=\"pass\">合</span>"
                                       : "<span class=\"fail\">否</span>";
      }
      out_ += "\n";
    }
    out_ += "</table><p class=\"note\">ドリフト: 前の比較シートとの平均 ⊿E00。</p>";
  }

  // The criteria a sheet failed, as the verification page words them.
  std::string FailedNote(std::size_t s, const SheetVerdict& verdict) const {
    if (verdict.failed.empty())
      return {};
    std::string note = "<br><span class=\"r\">" + SetLabel(s) + "否: ";
    for (std::size_t k = 0; k < verdict.failed.size(); ++k) {
      std::string words = verdict.failed[k];
      for (const Criterion& c : sets_[s].criteria) {
        if (c.text == verdict.failed[k]) {
          words = c.Words();
          break;
        }
      }
      note += (k == 0 ? "" : "、") + Esc(words);
    }
    return note + "</span>";
  }

  const RunReportData& data_;
  const RunReportInput& input_;
  const RunStatistics& stats_;
  const std::vector<CriteriaSet>& sets_;
  std::string folder_;
  std::string out_;
};

}  // namespace

std::string BuildRunReport(const RunReportData& data, const RunReportInput& input) {
  return RunReportWriter(data, input).Build();
}

}  // namespace korimo
