#include "app/ClearAll.h"

#include <gtest/gtest.h>

#include "app/ChartMouse.h"
#include "app/LoadDriver.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"
#include "support/WindowDifferences.h"

namespace korimo::testing {
namespace {

std::vector<std::int16_t> Mouse(const std::array<ChartMouseState, 2>& mouse) {
  std::vector<std::int16_t> all;
  for (const ChartMouseState& m : mouse)
    all.insert(all.end(), {m.CurPatch, m.PrevPatch, m.DragX0, m.DragY0, m.SelX[0], m.SelX[1],
                           m.SelY[0], m.SelY[1]});
  return all;
}

// Every part of two engines' states that differs, by name.
Strings Differences(const EngineState& a, const EngineState& b) {
  Strings out = ShownDifferences(a, b);
  KORIMO_DIFFERING(s.inputs.paths, s.inputs.sets, s.inputs.mode, s.inputs.panel, s.inputs.sortKey,
                   s.inputs.criteria.has_value(), s.inputs.history.basis.has_value(),
                   s.inputs.history.figuresReset, s.inputs.history.thresholdsTaken,
                   s.inputs.history.thresholdsReset, s.inputs.history.idLayers,
                   s.inputs.history.rowLength, StoredFigures(s.Current()));
  KORIMO_DIFFERING(DrawnHistograms(s.shown), s.shown.gridKey, s.ui.chart.ChartRows,
                   s.ui.chart.ChartCols, s.ui.chart.CellSize, bool(s.ui.layoutFor),
                   Mouse(s.ui.mouse), s.ui.menuSource, s.ui.menuIndex, s.ui.gridHeaderDown,
                   s.ui.gridTopRow, s.ui.reading);
  return out;
}

// After three loads, areas, a hover, a click, a sort, a scroll, a menu, a
// mode change and a criteria set, clear-all leaves what a fresh engine has,
// but for what it keeps: the sort and its mark, the panel, the stored
// figures and thresholds, the criteria set (whose page now has no pair) and
// the histograms' counts; the histograms' captions are those of an empty
// scale; the grid's top row and the menu's origin are the face's to report.
// A load then draws what it draws on a fresh engine.
TEST(ClearAll, LeavesAFreshEngineButForWhatItKeeps) {
  Engine used;
  const std::vector<Patch> sample = Offsets(Engine::Same(20, 1.5));
  used.Choose(DataSet::Reference, used.Chart("ref.txt", Flat(20), 4));
  used.Choose(DataSet::File1, used.Chart("f1.txt", sample, 4));
  used.Choose(DataSet::File2, used.Chart("f2.txt", Offsets({1, 2, 3})));
  used.Do(SldBest_Change, 5);
  used.Do(PictPat_MouseMove, Pair::ReferenceFile1, 100.0f, 100.0f);
  used.Do(PictPat_MouseUp, Pair::ReferenceFile1, MouseButton::Left, 100.0f, 100.0f);
  for (Pair chart : kAllPairs) {
    used.Do(PictPat_MouseDown, chart, Modifiers{true, false, false}, 10.0f, 90.0f);
    used.Do(PictPat_MouseMove, chart, 300.0f, 300.0f);
    used.Do(PictPat_MouseUp, chart, MouseButton::Left, 300.0f, 300.0f);
  }
  used.Do(FlexG_MouseDown, true);
  used.Do(FlexG_Click, 9);
  used.Do(FlexG_Scroll, 3);
  used.Do(FlexG_MouseUp, MouseButton::Right);
  used.Do(ChangePairingMode, PairingMode::Id);
  used.Do(ChooseCriteriaSet, *FindBuiltInSet("iso12647-7-2016"));
  const auto kept = [&s = used.state_] {
    return std::tuple(s.record.FlexG_Headings, s.inputs.panel, s.inputs.sortKey,
                      StoredFigures(s.Current()), s.inputs.criteria->name,
                      DrawnHistograms(s.shown));
  };
  const auto before = kept();
  used.Do(But_Clear_Click);
  EngineState fresh(kTestSurfaces);
  Render(fresh);
  EXPECT_EQ(Differences(used.state_, fresh),
            (Strings{"record.Lb_GX", "record.Lb_GY", "record.FlexG_Headings", "record.verification",
                     "inputs.panel", "inputs.sortKey", "inputs.criteria.has_value()",
                     "inputs.history.basis.has_value()", "inputs.history.thresholdsTaken",
                     "StoredFigures(Current())", "DrawnHistograms(shown)", "shown.gridKey",
                     "ui.menuSource", "ui.gridTopRow"}));
  EXPECT_EQ(kept(), before);
  EXPECT_EQ(used.record().Lb_GY[0], "\r\n\r\n数");
  Engine anew;
  for (Engine* e : {&used, &anew})
    e->Choose(DataSet::File1, e->Chart("f1.txt", sample, 4));
  EXPECT_EQ(used.state_.pictures.PictPat[0].Pixels(), anew.state_.pictures.PictPat[0].Pixels());
}

}  // namespace
}  // namespace korimo::testing
