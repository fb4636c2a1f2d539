#include "app/ClearAll.h"

#include "app/Controls.h"

namespace korimo {

namespace {
constexpr int kClearedChartDim = 200;
}

void ClearAll(FormState& state, FormView& view) {
  ComparisonData& d = *state.data;
  d.Lab0 = {};
  d.Lab1 = {};
  d.Lab2 = {};
  for (auto& id : d.PatchId)
    id.clear();
  d.PatchCount = {};
  d.RowLength = {};
  state.CurPatch = {};
  state.PrevPatch = {};
  state.SelX = {};
  state.SelY = {};
  state.chart.Redim(kClearedChartDim, kClearedChartDim);
  state.chart.CellSize = 0;

  for (int set = 0; set < kSets; ++set) {
    view.SetCaption(Ctl::Lb_File, set, "");
    view.SetCaption(Ctl::Lb_NoP, set, "");
  }
  for (int i = 0; i < 4; ++i) {
    view.SetCaption(Ctl::Lb_De, i, "");
    view.SetCaption(Ctl::Lb_De2K, i, "");
  }
  for (int p = 0; p < kPairs; ++p) {
    for (Ctl c : {Ctl::Lb_BestDe, Ctl::Lb_Best2K, Ctl::Lb_WorsDe, Ctl::Lb_Wors2K, Ctl::Lb_GX,
                  Ctl::Lb_PDe, Ctl::Lb_FDe, Ctl::Lb_OPar, Ctl::Lb_UPar}) {
      view.SetCaption(c, p, "");
    }
    view.SetCaption(Ctl::Lb_GY, p, "\r\n\r\n数");
    view.SetCaption(Ctl::Lb_DeBox, p, kAreaHint);
    view.SetAreaBoxVisible(p, false);
  }
  view.SetCaption(Ctl::ChkWorst, 0, "Over");
  view.SetCaption(Ctl::ChkBest, 0, "Under");
}

}  // namespace korimo
