#include "export/HtmlReport.h"

#include <algorithm>
#include <numeric>

#include "app/EngineState.h"
#include "app/Histogram.h"
#include "app/Labels.h"
#include "app/PairingMap.h"
#include "app/PatchChart.h"
#include "app/ReadNotes.h"
#include "app/Render.h"
#include "app/SvgCanvas.h"
#include "app/Verification.h"
#include "app/VerificationRecord.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr std::string_view kTitle = "⊿E・⊿E00 比較レポート";
using report::kNotCertified;
constexpr std::array<std::string_view, 3> kRoleNames = {"基準", "File1", "File2"};
constexpr std::array<std::string_view, 2> kPairNames = {"基準–File1", "基準–File2"};
// Bytes of an identifier and of device values that surely fit on one line
// of their columns, in the widest of the page's fonts: a digit takes 0.63
// em, a W 0.93 em. The device column holds "100/100/100/100" on one line, so
// a worst-patch row of CMYK values takes one line, not two.
constexpr std::size_t kOneLineId = 7;
constexpr std::size_t kOneLineDevice = 15;

// The pair's figures and its pictures stay on one page. A row of one line
// cannot split anyway, and asking each row costs print time, so only rows
// whose identifier or device values may wrap ask (class "w").
constexpr std::string_view kStyle = R"(
.pair{break-inside:avoid}
.fig{display:flex;gap:5mm;align-items:flex-start}
.side{display:flex;flex-direction:column;gap:4mm}
.chart svg{width:112mm;height:auto}
.hist svg{width:56mm;height:auto}
.pt{table-layout:fixed;width:100%;font-size:7.5pt}
.pt td{text-align:right;padding:0 .8mm}
.pt td:nth-child(2),.pt td:nth-child(3){text-align:left;word-break:break-all}
.pt tr{break-inside:auto}
.pt tr.w{break-inside:avoid}
)";

std::string Esc(std::string_view text) {
  return EscapeMarkup(text);
}

using report::VerdictWord;

std::string_view SourceName(LabSource source) {
  switch (source) {
    case LabSource::Xyz:
      return "XYZ";
    case LabSource::Spectral:
      return "分光";
    case LabSource::None:  // every read stores L*a*b* columns until told otherwise
    case LabSource::Lab:
      break;
  }
  return "LAB";
}

std::string Conditions(const Measurement& set) {
  std::string text;
  auto add = [&text](std::string_view part) {
    text += text.empty() ? std::string(part) : " / " + std::string(part);
  };
  if (set.illuminant != Illuminant::Unknown)
    add(set.illuminant == Illuminant::D50 ? "D50" : "D65");
  if (set.observer != Observer::Unknown)
    add(set.observer == Observer::Deg2 ? "2°" : "10°");
  if (set.condition != Condition::Unknown)
    add(ConditionName(set.condition));
  return text;
}

// One compared patch of a pair: where it sits in the Reference, and what it
// was compared with.
struct PatchPair {
  int reference = 0;
  PatchDifference difference;
};

// The patches a pair compares, in the Reference's order.
std::vector<PatchPair> PatchPairs(const Comparison& c, Pair pair) {
  const std::vector<PatchDifference> differences = PatchDifferences(c, pair);
  std::vector<PatchPair> patches;
  patches.reserve(differences.size());
  for (std::size_t i = 0; i < differences.size(); ++i) {
    if (differences[i].Paired())
      patches.push_back({static_cast<int>(i), differences[i]});
  }
  return patches;
}

class ReportWriter {
 public:
  ReportWriter(const EngineState& state, const ReportInput& input)
      : state_(state), c_(state.Current()), input_(input) {}

  std::string Build() {
    Head();
    out_ += "<body>";
    Heading();
    Files();
    for (Pair pair : kAllPairs) {
      if (c_.Complete(pair))
        PairFigures(pair);
    }
    Verification();
    PatchTables();
    out_ += "</body></html>\n";
    return std::move(out_);
  }

 private:
  void Head() {
    // The file names head every printed page.
    out_ += report::PageHead(kTitle, input_.job, kStyle, RunningHead());
  }

  std::string RunningHead() const {
    std::string head;
    for (DataSet set : kAllSets) {
      if (!c_.Loaded(set))
        continue;
      head += head.empty() ? "" : "　";
      head += std::string(kRoleNames[Index(set)]) + ": " + FileNameOf(Path(set));
    }
    return head;
  }

  void Heading() {
    out_ += "<h1>" + Esc(kTitle) + "</h1>";
    out_ += report::JobTable(input_.job);
    for (const ReportCriteriaSet& set : input_.verification.sets) {
      out_ += "<p class=\"big\">" + Esc(set.name) + "：" + VerdictWord(set.pass) + "</p>";
    }
    if (!input_.verification.sets.empty())
      out_ += "<p class=\"note\">" + std::string(kNotCertified) + "</p>";
    out_ += report::CreatedLine(input_.createdAt);
  }

  void Files() {
    out_ +=
        "<h2>ファイル</h2><table><thead><tr><th>役割<th>ファイル<th>パッチ数<th>L*a*b*"
        "<th>測定条件</thead>";
    for (DataSet set : kAllSets) {
      const std::string& path = Path(set);
      if (path.empty())
        continue;
      static const Measurement kUnread;
      const Measurement& info = c_.Set(set) != nullptr ? *c_.Set(set) : kUnread;
      out_ += "<tr><td>" + std::string(kRoleNames[Index(set)]) + "<td class=\"path\"><b>" +
              Esc(FileNameOf(path)) + "</b><br>" + Esc(path) + "<td class=\"num\">" +
              std::to_string(c_.Count(set)) + "<td>" +
              (c_.Loaded(set) ? std::string(SourceName(info.source)) : "読み込めません") + "<td>" +
              Esc(Conditions(info)) + "</tr>";
    }
    out_ += "</table>";
    std::string modes;
    for (Pair pair : kAllPairs) {
      if (c_.Complete(pair) && !input_.pairing.mode[Index(pair)].empty()) {
        modes += modes.empty() ? "" : "　";
        modes +=
            std::string(kPairNames[Index(pair)]) + ": " + Esc(input_.pairing.mode[Index(pair)]);
      }
    }
    if (!modes.empty())
      out_ += "<p>対応: " + modes + "</p>";
    for (const std::string& line : input_.pairing.strip)
      out_ += "<p class=\"fail\">" + Esc(line) + "</p>";
  }

  // The chart beside its figures and histogram: stacked, a pair took 40 mm
  // more of the page, and two pairs and one set's verdicts no longer fitted
  // on two pages.
  void PairFigures(Pair pair) {
    const std::size_t p = Index(pair);
    const std::string name(kPairNames[p]);
    const Shown::PairViews& views = state_.shown.pairs[p];
    const FrameTexts t = FrameTextsOf(views.averages.get(), views.percentiles.get(), pair);
    const std::string metric = state_.inputs.panel.metric == Metric::DeAb ? "⊿E" : "⊿E00";
    out_ += "<section class=\"pair\"><h2>" + name + "</h2><div class=\"fig\">";
    SvgCanvas chart(state_.surfaces.chartWidth, state_.surfaces.chartHeight, kWhite);
    PaintChart({c_, state_.ui.chart, pair, SampleOf(pair), 0, CellSelection::Omitted}, chart);
    const std::string chartTitle = "パッチチャート " + name + "（" + metric + "）";
    out_ += "<figure class=\"chart\">" + chart.Markup(chartTitle) + "<figcaption>" + chartTitle +
            "</figcaption></figure><div class=\"side\">";
    out_ += "<table class=\"num\"><thead><tr><th><th>平均<th>最大<th>Best10%<th>95%</thead>";
    out_ += "<tr><th>⊿E<td>" + Esc(t.de[0]) + "<td>" + Esc(t.de[1]) + "<td>" + Esc(t.de[2]) +
            "<td>" + Esc(t.de[3]) + "</tr>";
    out_ += "<tr><th>⊿E00<td>" + Esc(t.de00[0]) + "<td>" + Esc(t.de00[1]) + "<td>" +
            Esc(t.de00[2]) + "<td>" + Esc(t.de00[3]) + "</tr></table>";
    SvgCanvas histogram(state_.surfaces.histogramWidth, state_.surfaces.histogramHeight, kWhite,
                        {kHistogramCaptionLeft, 2, 6, kHistogramCaptionBottom});
    PaintHistogram(HistogramShown(pair), histogram);
    const std::string histogramTitle = "ヒストグラム " + name + "（" + metric + "）";
    out_ += "<figure class=\"hist\">" + histogram.Markup(histogramTitle) + "<figcaption>" +
            histogramTitle + "</figcaption></figure></div></div></section>";
  }

  void Verification() {
    const ReportVerification& v = input_.verification;
    if (v.sets.empty())
      return;
    out_ += "<h2>判定</h2>";
    for (const ReportCriteriaSet& set : v.sets) {
      out_ += "<div class=\"keep\"><h3>" + Esc(set.name) + "</h3>";
      if (!set.reason.empty())
        out_ += "<p>" + VerdictWord(false) + " " + Esc(set.reason) + "</p>";
      for (const ReportPairVerdict& pv : set.pairs)
        PairVerdict(pv);
      out_ += "<p class=\"note\">" + std::string(kNotCertified) + "</p></div>";
    }
  }

  void PairVerdict(const ReportPairVerdict& pv) {
    out_ += "<table><thead><tr><th colspan=\"5\">" + std::string(kPairNames[Index(pv.pair)]) +
            "</tr><tr><th>基準<th>パッチ数<th>値<th>許容値<th>判定</thead>";
    for (const ReportCriterion& c : pv.criteria) {
      out_ += "<tr><td>" + Esc(c.words) + "<td class=\"num\">" + Esc(c.patches) +
              "<td class=\"num\">" + Esc(c.value) + "<td class=\"num\">" + Esc(c.limit) +
              "<td class=\"" + (c.pass ? "pass" : "fail") + "\">" + Esc(c.verdict) + "</tr>";
    }
    out_ += "</table><p class=\"big\">" + std::string(kPairNames[Index(pv.pair)]) + "：" +
            VerdictWord(pv.pass) + "</p>";
    for (const std::string& note : pv.notes)
      out_ += "<p class=\"note\">" + Esc(note) + "</p>";
  }

  void PatchTables() {
    for (Pair pair : kAllPairs) {
      if (!c_.Complete(pair))
        continue;
      std::vector<PatchPair> patches = PatchPairs(c_, pair);
      const PairComparison& compared = c_.PairOf(pair);
      // Largest ⊿E00 first; equal ones in patch order.
      std::vector<PatchPair> worst = patches;
      std::stable_sort(worst.begin(), worst.end(), [&](const PatchPair& a, const PatchPair& b) {
        return compared.StoredDe00(a.reference) > compared.StoredDe00(b.reference);
      });
      worst.resize(std::min<std::size_t>(worst.size(), kReportWorstPatches));
      PatchTable(pair, "⊿E00 の大きいパッチ " + std::to_string(worst.size()), worst);
    }
    if (input_.patches != ReportPatches::All)
      return;
    for (Pair pair : kAllPairs) {
      if (c_.Complete(pair))
        PatchListing(pair, PatchPairs(c_, pair));
    }
  }

  // Every patch as lines of aligned columns, quick to print at any length.
  void PatchListing(Pair pair, const std::vector<PatchPair>& rows) {
    const std::size_t p = Index(pair);
    const int s = static_cast<int>(Index(SampleOf(pair)));
    const std::string n = std::to_string(s);
    const PairComparison& compared = c_.PairOf(pair);
    std::vector<std::vector<std::string>> lines = {{"No.", "ID", "デバイス値", "L0", "a0", "b0",
                                                    "L" + n, "a" + n, "b" + n, "⊿E", "⊿E00", "ΔL*",
                                                    "ΔC*", "ΔH*"}};
    for (const PatchPair& row : rows) {
      const auto& a = c_.Lab(DataSet::Reference, row.reference);
      const auto& b = c_.Lab(SampleOf(pair), row.difference.sample);
      const PatchDifference& parts = row.difference;
      std::vector<std::string> line = {std::to_string(row.reference + 1),
                                       ReferenceId(row.reference),
                                       DeviceText(c_.Set(DataSet::Reference), row.reference)};
      for (double v :
           {static_cast<double>(a[0]), static_cast<double>(a[1]), static_cast<double>(a[2]),
            static_cast<double>(b[0]), static_cast<double>(b[1]), static_cast<double>(b[2]),
            static_cast<double>(compared.StoredDeAb(row.reference)),
            static_cast<double>(compared.StoredDe00(row.reference)), parts.dl, parts.dc, parts.dh})
        line.push_back(FormatTwoDec(v));
      lines.push_back(std::move(line));
    }
    out_ += "<h2>" + std::string(kPairNames[p]) + "：全パッチ</h2><pre class=\"all\">";
    // Identifier and device values read from the left, figures from the right.
    out_ += report::AlignedLines(lines, {false, true, true});
    out_ += "</pre>";
  }

  void PatchTable(Pair pair, const std::string& title, const std::vector<PatchPair>& rows) {
    const std::size_t p = Index(pair);
    const std::size_t s = Index(SampleOf(pair));
    const std::string sample(kRoleNames[s]);
    out_ += "<h2>" + std::string(kPairNames[p]) + "：" + title + "</h2>";
    out_ +=
        "<table class=\"pt\"><colgroup><col style=\"width:6%\"><col style=\"width:11%\">"
        "<col style=\"width:15%\"><col span=\"11\"></colgroup><thead><tr><th rowspan=\"2\">"
        "No.<th rowspan=\"2\">ID<th rowspan=\"2\">デバイス値<th colspan=\"3\">基準"
        "<th colspan=\"3\">" +
        sample +
        "<th rowspan=\"2\">⊿E<th rowspan=\"2\">⊿E00<th rowspan=\"2\">ΔL*"
        "<th rowspan=\"2\">ΔC*<th rowspan=\"2\">ΔH*<tr><th>L*<th>a*<th>b*<th>L*<th>a*"
        "<th>b*</thead>";
    const PairComparison& compared = c_.PairOf(pair);
    for (const PatchPair& row : rows) {
      const auto& a = c_.Lab(DataSet::Reference, row.reference);
      const auto& b = c_.Lab(SampleOf(pair), row.difference.sample);
      const PatchDifference& parts = row.difference;
      // Omitted end tags keep a 3000-row table small and quick to lay out.
      const std::string& id = ReferenceId(row.reference);
      const std::string device = DeviceText(c_.Set(DataSet::Reference), row.reference);
      out_ +=
          id.size() > kOneLineId || device.size() > kOneLineDevice ? "<tr class=\"w\">" : "<tr>";
      out_ += "<td>" + std::to_string(row.reference + 1) + "<td>" + Esc(id) + "<td>" + Esc(device);
      for (double v : {a[0], a[1], a[2], b[0], b[1], b[2]})
        out_ += "<td>" + FormatTwoDec(v);
      out_ += "<td>" + FormatTwoDec(compared.StoredDeAb(row.reference)) + "<td>" +
              FormatTwoDec(compared.StoredDe00(row.reference));
      for (double v : {parts.dl, parts.dc, parts.dh})
        out_ += "<td>" + FormatTwoDec(v);
      out_ += "\n";
    }
    out_ += "</table><p class=\"note\">ΔL*・ΔC* は " + sample + " − 基準。</p>";
  }

  const std::string& Path(DataSet set) const { return state_.inputs.paths[Index(set)]; }

  // The Reference file's own identifier of a patch.
  const std::string& ReferenceId(int patch) const {
    static const std::string kNone;
    const Measurement* ref = c_.Set(DataSet::Reference);
    if (ref == nullptr || static_cast<std::size_t>(patch) >= ref->ids.values.size())
      return kNone;
    return ref->ids.values[static_cast<std::size_t>(patch)];
  }

  // The pair's histogram as the window last drew it.
  HistogramView HistogramShown(Pair pair) const {
    const ComparisonPtr& drawn = state_.shown.pairs[Index(pair)].histogram;
    if (drawn)
      return HistogramOf(*drawn, pair);
    HistogramView view;
    view.gx = state_.record.Lb_GX[Index(pair)];
    view.gy = state_.record.Lb_GY[Index(pair)];
    return view;
  }

  const EngineState& state_;
  const Comparison& c_;
  const ReportInput& input_;
  std::string out_;
};

}  // namespace

std::string BuildHtmlReport(const EngineState& state, const ReportInput& input) {
  return ReportWriter(state, input).Build();
}

ReportPairing PairingForReport(const EngineState& state) {
  ReportPairing pairing;
  for (Pair pair : kAllPairs) {
    const PairingMode mode = state.Current().PairOf(pair).map.mode;
    for (const PairingModeName& name : kPairingModes) {
      if (name.mode == mode)
        pairing.mode[Index(pair)] = name.caption;
    }
  }
  auto add = [&pairing](const auto& lines) {
    for (const std::string& line : lines) {
      if (!line.empty())
        pairing.strip.push_back(line);
    }
  };
  std::array<std::string, 3> refused;
  for (DataSet set : kAllSets) {
    const Measurement* m = state.inputs.Set(set);
    if (m != nullptr && !m->Stored())
      refused[Index(set)] = ReadFailureLine(set, m->failure);
  }
  std::array<std::string, 2> lines;
  std::array<std::string, 2> conditions;
  for (Pair pair : kAllPairs) {
    const PairingTexts t = PairingTextsOf(state.Current(), pair);
    lines[Index(pair)] = t.line;
    conditions[Index(pair)] = t.conditions;
  }
  add(refused);
  add(lines);
  add(conditions);
  return pairing;
}

ReportCriteriaSet ReportSetOf(const VerificationRecord& record) {
  ReportCriteriaSet set;
  set.name = record.setName;
  set.reason = record.message;
  set.pass = !record.pairs.empty();
  for (const PairVerificationPage& page : record.pairs) {
    ReportPairVerdict pair;
    pair.pair = page.pair;
    pair.pass = page.pass;
    for (const VerificationRow& row : page.rows) {
      pair.criteria.push_back({row.criterion, row.patches, row.value, row.limit, row.verdict,
                               row.mark == VerdictMark::Pass});
    }
    if (!page.note.empty())
      pair.notes.push_back(page.note);
    set.pass = set.pass && page.pass;
    set.pairs.push_back(std::move(pair));
  }
  return set;
}

}  // namespace korimo
