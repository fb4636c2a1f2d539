#include "app/ClearAll.h"

#include "app/VerificationRecord.h"

namespace korimo {

void But_Clear_Click(EngineState& state) {
  ComparisonData& d = state.Data();
  d.Lab0.clear();
  d.Lab1.clear();
  d.Lab2.clear();
  d.PatchId.clear();
  for (IdTable& ids : d.FileId)
    ids.clear();
  d.HasIdColumn = {};
  state.pairing = {};
  state.sets = {};
  // A new comparison starts by position, as at start-up.
  state.pairingMode = PairingMode::Position;
  state.maps = {};
  state.lastCompare = {DataSet::Reference, 0, state.lastCompare.serial + 1};
  state.positionFigures.kept = false;
  d.PatchCount = {};
  d.RowLength = {};
  ++state.dataRevision;
  for (ChartMouseState& m : state.mouse) {
    m.CurPatch = 0;
    m.PrevPatch = 0;
    m.SelX = {};
    m.SelY = {};
  }
  state.chart.Redim(ChartGeometry::kClearedDim, ChartGeometry::kClearedDim);
  state.chart.CellSize = 0;

  WindowRecord& r = state.record;
  r.Lb_File = {};
  r.Lb_NoP = {};
  r.Lb_De = {};
  r.Lb_De2K = {};
  for (Raster& picture : state.pictures.PictPat)
    picture.Clear();
  for (Raster& picture : state.pictures.PictG)
    picture.Clear();
  r.Lb_BestDe = {};
  r.Lb_Best2K = {};
  r.Lb_WorsDe = {};
  r.Lb_Wors2K = {};
  r.Lb_GY.fill(std::string(kCountAxisEmpty));
  r.Lb_GX = {};
  r.Lb_PDe = {};
  r.Lb_FDe = {};
  r.Lb_DeBox.fill(std::string(kAreaHint));
  r.Lb_OPar = {};
  r.Lb_UPar = {};
  r.FlexG.cells.clear();
  r.FlexG.order.clear();
  ++r.FlexG.revision;
  state.pictures.PictD.Clear();
  for (AreaFrame& frame : r.Sh_Box)
    frame.visible = false;
  r.Menu_EditSub_Enabled = false;
  r.ChkWorst = kOverCaption;
  r.ChkBest = kUnderCaption;
  r.Lb_Pairing = {};
  r.Lb_PairingTip = {};
  r.Lb_ReadFailure = {};
  r.Lb_Conditions = {};
  r.Lb_FileTip = {};
  state.sets = {};
  UpdateVerification(state);
}

}  // namespace korimo
