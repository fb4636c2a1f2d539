#include "export/RunReport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/RunView.h"
#include "app/SvgCanvas.h"
#include "app/VerificationRecord.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr std::string_view kTitle = "⊿E・⊿E00 推移レポート";

constexpr int kPlotWidth = 640;
constexpr int kPlotHeight = 170;
constexpr SvgMargins kPlotMargins = {30, 6, 14, 16};
constexpr double kTickText = 9;

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

std::string SheetNo(const std::optional<int>& row) {
  return row ? std::to_string(*row + 1) : std::string();
}

std::string Directory(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void Mark(SvgCanvas& canvas, const TrendPoint& p, std::uint32_t color, int half) {
  const int x = static_cast<int>(std::floor(p.x));
  const int y = static_cast<int>(std::floor(p.y));
  canvas.FillRect(x - half, y - half, x + half, y + half, color);
}

// A trend chart as the page's vector picture: the grey slots of the sheets
// that count nowhere, the grid and its ticks, the limit line, then each
// series' lines and points, its failing points in red over them.
std::string PlotMarkup(const TrendChart& chart) {
  const TrendLayout layout = LayOutTrend(chart, kPlotWidth, kPlotHeight);
  SvgCanvas canvas(kPlotWidth, kPlotHeight, kWhite, kPlotMargins);
  for (const auto& [x1, x2] : layout.gaps)
    canvas.FillRect(x1, 0, x2, kPlotHeight - 1, kTrendGap);
  for (std::size_t k = 0; k < layout.valueTicks.size(); ++k) {
    const TrendTick& tick = layout.valueTicks[k];
    if (k > 0)
      canvas.Line(0, tick.at, kPlotWidth - 1, tick.at, kTrendGrid);
    canvas.Text(-3, tick.at + 3, tick.text, TextAnchor::End, kTickText);
  }
  for (const TrendTick& tick : layout.sheetTicks) {
    canvas.Line(tick.at, kPlotHeight - 3, tick.at, kPlotHeight - 1, kTrendFrame);
    canvas.Text(tick.exact, kPlotHeight + 11, tick.text, TextAnchor::Middle, kTickText);
  }
  canvas.RectOutline(0, 0, kPlotWidth - 1, kPlotHeight - 1, kTrendFrame);
  if (layout.levelRow) {
    canvas.SetLineWidth(2);
    canvas.Line(0, *layout.levelRow, kPlotWidth - 1, *layout.levelRow, kBlack);
    canvas.SetLineWidth(1);
  }
  std::vector<SvgPoint> points;
  for (const TrendLine& line : layout.lines) {
    for (const TrendSegment& segment : line.segments) {
      canvas.SetLineWidth(1);
      if (segment.points.size() >= 2) {
        points.clear();
        for (const TrendPoint& p : segment.points)
          points.push_back({p.x, p.y});
        canvas.Polyline(points, line.color);
      }
      if (segment.marked) {
        for (const TrendPoint& p : segment.points)
          Mark(canvas, p, line.color, kTrendMark);
      }
    }
    for (const TrendPoint& p : line.failing)
      Mark(canvas, p, kRed, kTrendFailingMark);
  }
  return canvas.Markup(chart.title);
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
      const SheetRowRefs rows = RefsOf(data_.rows);
      Figure(FigureTrend(rows, input_.metric));
      for (std::size_t s = 0; s < sets_.size(); ++s)
        Figure(CriteriaTrend(rows, sets_[s], s, SetLabel(s)));
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
    for (std::size_t i = 0; i < kTrendPalette.size(); ++i)
      css += ".c" + std::to_string(i) + "{color:" + CssColor(kTrendPalette[i]) + "}";
    css += ".cg{color:" + CssColor(kTrendGap) + "}.cr{color:" + CssColor(kRed) + "}\n";
    return css;
  }

  static std::string Key(std::string_view cls, std::string_view caption) {
    return "<span><span class=\"" + std::string(cls) + "\">■</span> " + Esc(caption) + "</span>";
  }

  std::string RunningHead() const {
    return "基準: " + FileNameOf(std::string(data_.referencePath)) + "　シート " +
           std::to_string(stats_.given) + " 枚";
  }

  std::string SetLabel(std::size_t s) const {
    return sets_.size() > 1 ? "［" + std::to_string(s + 1) + "］" : std::string();
  }

  void Heading() {
    out_ += "<h1>" + Esc(kTitle) + "</h1>" + report::JobTable(input_.job);
    for (std::size_t s = 0; s < sets_.size(); ++s) {
      out_ += "<p class=\"big\">" + SetLabel(s) + Esc(sets_[s].name) + "：";
      if (stats_.compared == 0) {
        out_ += std::string(kNoComparedSheet) + "</p>";
        continue;
      }
      const std::optional<double>& minPass = data_.options.minPass;
      const bool pass = RunPassesSet(stats_, s, minPass);
      out_ += report::VerdictWord(pass) + "</p><p>" + PassShareText(stats_, s);
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
    out_ += "<td class=\"path\"><b>" + Esc(FileNameOf(path)) + "</b><br>" + Esc(path);
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
  static std::string CommonFolder(const SheetRows& rows) {
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

  // The keys of a plot under it, in the colours of the page's style.
  void Figure(const TrendChart& chart) {
    out_ += "<figure class=\"plot\">" + PlotMarkup(chart) + "<figcaption>" + Esc(chart.title);
    for (const TrendKey& key : chart.keys) {
      switch (key.kind) {
        case TrendKey::Kind::Series:
          out_ += Key("c" + std::to_string(key.palette % kTrendPalette.size()), key.caption);
          break;
        case TrendKey::Kind::Gap:
          out_ += Key("cg", key.caption);
          break;
        case TrendKey::Kind::Failing:
          out_ += Key("cr", key.caption);
          break;
      }
    }
    out_ += "　" + chart.note + "</figcaption></figure>";
  }

  void Statistics() {
    out_ +=
        "<div class=\"keep\"><h2>統計</h2><table class=\"num\"><thead><tr><th rowspan=\"2\">"
        "<th rowspan=\"2\">枚数<th rowspan=\"2\">平均<th rowspan=\"2\">標準偏差<th "
        "colspan=\"2\">最小"
        "<th colspan=\"2\">最大<tr><th>値<th>No.<th>値<th>No.</thead>";
    for (int k = 0; k < kRunStatistics; ++k) {
      const RunSummary& f = stats_.figures[static_cast<std::size_t>(k)];
      out_ += "<tr><th>" + std::string(kRunStatisticNames[static_cast<std::size_t>(k)]) + "<td>" +
              std::to_string(f.n) + "<td>" + TwoOrBlank(f.mean) + "<td>" + TwoOrBlank(f.sd) +
              "<td>" + TwoOrBlank(f.min) + "<td>" + SheetNo(f.minSheet) + "<td>" +
              TwoOrBlank(f.max) + "<td>" + SheetNo(f.maxSheet) + "</tr>";
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
              std::to_string(p.sheets) + "<td>" + TwoOrBlank(p.meanDe00) + "<td>" +
              TwoOrBlank(p.sdL) + "<td>" + TwoOrBlank(p.sdA) + "<td>" + TwoOrBlank(p.sdB) + "</tr>";
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
              std::string(kSheetStatusNames[static_cast<std::size_t>(row.status)]) + "<td>" +
              (row.paired ? std::to_string(*row.paired) : "");
      for (const auto& figure : row.figures)
        out_ += "<td>" + TwoOrBlank(figure);
      if (paper)
        out_ += "<td>" + TwoOrBlank(row.paper);
      for (std::size_t k = 0; k < solids.size(); ++k) {
        if (solids[k])
          out_ += "<td>" + TwoOrBlank(row.solids[k]);
      }
      out_ += "<td>" + TwoOrBlank(row.drift);
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
    note += Esc(FailedCriteriaWords(sets_[s], verdict));
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
