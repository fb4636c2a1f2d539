#include "app/ClearAll.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/ChartMouse.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

// What clear-all leaves: every text, frame and figure, the data and the mouse.
auto Leftover(const EngineState& s) {
  const WindowRecord& r = s.record;
  const ComparisonData& d = s.Data();
  return std::tuple(
      std::tuple(r.Lb_File, r.Lb_NoP, r.Lb_De, r.Lb_De2K, r.Lb_BestDe, r.Lb_Best2K, r.Lb_WorsDe,
                 r.Lb_Wors2K, r.Lb_GX, r.Lb_GY, r.Lb_PDe, r.Lb_FDe, r.Lb_DeBox, r.Lb_UPar),
      std::tuple(r.Lb_OPar, r.ChkBest, r.ChkWorst, r.Lb_Pairing, r.Lb_PairingTip,
                 r.Sh_Box[0].visible, r.Sh_Box[1].visible, r.Menu_EditSub_Enabled,
                 r.FlexG.RowCount(), s.pairing[0].complete),
      std::tuple(d.PatchCount, d.RowLength, d.Lab0, d.Lab1, d.Lab2, d.PatchId, d.FileId,
                 d.HasIdColumn, s.chart.CellSize, s.mouse[0].PrevPatch, s.mouse[0].SelX,
                 s.mouse[1].SelY));
}

// After loads, a click, an area and a menu, clear-all leaves what it leaves on
// a fresh engine; only the grid's sort order and the panel's sliders stay.
class ClearAllTest : public EngineTest {};

TEST_F(ClearAllTest, LeavesWhatItLeavesOnAFreshEngine) {
  EngineState fresh(kTestSurfaces);
  But_Clear_Click(fresh);
  LoadPair(Same(20, 1), 4);
  Choose(DataSet::File2, Chart("f2.txt", Offsets({1, 2, 3}), 4));
  SldBest_Change(state_, 5);
  PictPat_MouseUp(state_, Pair::ReferenceFile1, MouseButton::Left, 100, 100);
  PictPat_MouseDown(state_, Pair::ReferenceFile2, {true, false, false}, 10, 90);
  PictPat_MouseMove(state_, Pair::ReferenceFile2, 300, 300);
  PictPat_MouseUp(state_, Pair::ReferenceFile2, MouseButton::Left, 300, 300);
  FlexG_MouseUp(state_, MouseButton::Right);
  state_.GridSortKey = -9;
  But_Clear_Click(state_);
  EXPECT_EQ(Leftover(state_), Leftover(fresh));
  EXPECT_EQ((std::pair{state_.GridSortKey, state_.panel.under}),
            (std::pair<std::int16_t, int>{-9, 5}));
}

}  // namespace
}  // namespace korimo::testing
