#include "app/ClearAll.h"

#include <gtest/gtest.h>

#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

class ClearAllTest : public EngineTest {};

// Everything a user sees goes back to the start, except the grid's sort
// order and the panel; the thresholds and differences stay in the data.
TEST_F(ClearAllTest, ReturnsTheWindowToItsStartUpState) {
  LoadPair(Same(20, 1), 4);
  Choose(DataSet::File2, Chart("f2.txt", Offsets(Same(20, 2)), 4));
  SldBest_Change(state_, 5);
  state_.GridSortKey = -9;
  state_.mouse[0] = {3, 4, 0, 0, {5, 6}, {7, 8}};
  state_.record.Sh_Box[1].visible = true;
  state_.record.Menu_EditSub_Enabled = true;
  const float over = data().OverDeAb;
  But_Clear_Click(state_);

  const WindowRecord start = InitialRecord();
  const std::array<std::string, 2> none{}, countAxis{"\r\n\r\n数", "\r\n\r\n数"};
  EXPECT_EQ(record().Lb_File, start.Lb_File);
  EXPECT_EQ(record().Lb_NoP, start.Lb_NoP);
  EXPECT_EQ(record().Lb_De, start.Lb_De);
  EXPECT_EQ(record().Lb_Wors2K, none);
  EXPECT_EQ(record().Lb_GY, countAxis);  // not the design captions
  EXPECT_EQ(record().Lb_GX, none);
  EXPECT_EQ(record().Lb_DeBox, start.Lb_DeBox);
  EXPECT_EQ(record().Lb_UPar, none);
  EXPECT_EQ((std::pair{record().ChkBest, record().ChkWorst}),
            (std::pair{start.ChkBest, start.ChkWorst}));
  EXPECT_FALSE(record().Sh_Box[0].visible || record().Sh_Box[1].visible);
  EXPECT_FALSE(record().Menu_EditSub_Enabled);
  EXPECT_EQ(record().FlexG.RowCount(), 0u);

  EXPECT_EQ(data().PatchCount, (std::array<std::int16_t, 3>{0, 0, 0}));
  EXPECT_EQ(data().RowLength[0], 0);
  EXPECT_EQ(data().Lab1[0][0], 0.0);
  EXPECT_EQ(data().PatchId[0], "");
  EXPECT_EQ((std::array{state_.mouse[0].PrevPatch, state_.mouse[0].SelX[1]}),
            (std::array<std::int16_t, 2>{0, 0}));
  EXPECT_EQ(state_.chart.CellSize, 0);
  EXPECT_EQ(state_.GridSortKey, -9);  // kept
  EXPECT_EQ(state_.panel.under, 5);   // kept
  EXPECT_EQ(data().OverDeAb, over);   // kept
  for (const Raster* picture :
       {&state_.pictures.PictPat[0], &state_.pictures.PictG[1], &state_.pictures.PictD})
    EXPECT_EQ(std::count(picture->Pixels().begin(), picture->Pixels().end(), picture->Background()),
              static_cast<long>(picture->Pixels().size()));
}

}  // namespace
}  // namespace korimo::testing
