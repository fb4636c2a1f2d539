#pragma once

#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/EngineState.h"
#include "app/Histogram.h"
#include "support/EngineDriver.h"

namespace korimo::testing {

// The texts of top-level comma-separated expressions, without "s.".
inline Strings ExpressionNames(std::string_view list) {
  Strings names(1);
  int depth = 0;
  for (char c : list) {
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (c == ',' && depth == 0)
      names.emplace_back();
    else if (c != ' ')
      names.back() += c;
  }
  for (std::string& name : names) {
    for (std::size_t at = 0; (at = name.find("s.", at)) != std::string::npos; ++at) {
      if (at == 0 || name[at - 1] == '(')
        name.erase(at, 2);
    }
  }
  return names;
}

template <class T, std::size_t... I>
void Differing(Strings& out, const Strings& names, const T& x, const T& y,
               std::index_sequence<I...>) {
  ((std::get<I>(x) == std::get<I>(y) ? void() : out.push_back(names[I])), ...);
}

// Adds to `out` the names of the expressions of an EngineState `s` whose
// values differ between the states `a` and `b`.
#define KORIMO_DIFFERING(...)                                                  \
  [&](auto of) {                                                               \
    Differing(out, ExpressionNames(#__VA_ARGS__), of(a), of(b),                \
              std::make_index_sequence<std::tuple_size_v<decltype(of(a))>>()); \
  }([](const EngineState& s) { return std::tuple(__VA_ARGS__); })

// A hidden frame shows nothing, wherever it stands.
inline std::array<AreaFrame, 2> Frames(const WindowRecord& r) {
  return {r.Sh_Box[0].visible ? r.Sh_Box[0] : AreaFrame{},
          r.Sh_Box[1].visible ? r.Sh_Box[1] : AreaFrame{}};
}

inline Strings GridRows(const WindowRecord& r) {
  Strings rows;
  for (std::size_t i = 0; i < r.FlexG.RowCount(); ++i)
    for (std::size_t c = 0; c < static_cast<std::size_t>(kGridCols); ++c)
      rows.emplace_back(r.FlexG.Row(i)[c]);
  return rows;
}

// The stored figures of both pairs and the thresholds.
inline std::vector<float> StoredFigures(const Comparison& c) {
  std::vector<float> all;
  for (Pair p : kAllPairs)
    all.insert(all.end(), {c.AvgDeAb(p), c.AvgDe00(p), c.MaxDeAb(p), c.MaxDe00(p), c.Best10DeAb(p),
                           c.Best10De00(p), c.Pct95DeAb(p), c.Pct95De00(p)});
  const Thresholds t = c.CurrentThresholds();
  all.insert(all.end(), {t.underDeAb, t.overDeAb, t.underDe00, t.overDe00});
  return all;
}

// The bin counts of each histogram as last drawn, which its copy and save
// write; none before it is drawn.
inline std::vector<HistCounts> DrawnHistograms(const Shown& s) {
  std::vector<HistCounts> drawn;
  for (Pair p : kAllPairs) {
    if (s.pairs[Index(p)].histogram)
      drawn.push_back(HistogramOf(*s.pairs[Index(p)].histogram, p).counts);
  }
  return drawn;
}

// Every text and shape the window shows, and every picture, that differs
// between two engines, by name.
inline Strings ShownDifferences(const EngineState& a, const EngineState& b) {
  Strings out;
  KORIMO_DIFFERING(
      s.record.Caption, s.record.Lb_File, s.record.Lb_NoP, s.record.Lb_De, s.record.Lb_De2K,
      s.record.Lb_BestDe, s.record.Lb_Best2K, s.record.Lb_WorsDe, s.record.Lb_Wors2K,
      s.record.Lb_GX, s.record.Lb_GY, s.record.Lb_PDe, s.record.Lb_FDe, s.record.Lb_DeBox,
      s.record.Lb_UPar, s.record.Lb_OPar, s.record.ChkBest, s.record.ChkWorst, s.record.Lb_Pairing,
      s.record.Lb_PairingTip, s.record.Lb_ReadFailure, s.record.Lb_Conditions, s.record.Lb_FileTip,
      s.record.Menu_EditSub_Enabled, s.record.FlexG_Headings, s.record.verification,
      Frames(s.record), s.record.areaFigures[0].has_value(), s.record.areaFigures[1].has_value(),
      GridRows(s.record), s.pictures.PictPat[0].Pixels(), s.pictures.PictPat[1].Pixels(),
      s.pictures.PictG[0].Pixels(), s.pictures.PictG[1].Pixels(), s.pictures.PictD.Pixels());
  return out;
}

}  // namespace korimo::testing
