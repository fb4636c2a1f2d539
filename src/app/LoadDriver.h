#pragma once

#include <array>
#include <string>

#include "app/FormState.h"
#include "app/FormView.h"
#include "app/Platform.h"
#include "app/ThresholdPanel.h"
#include "core/Common.h"

namespace korimo {

// Every change of a data set goes through here: read the file, recompare
// both pairs, show the statistics, re-read the other sample file where its
// figures depend on it, and refresh the views in a fixed order.
class LoadDriver {
 public:
  LoadDriver(FormState& state, FormView& view, Platform& platform, ThresholdPanel& thresholds)
      : state_(state), view_(view), platform_(platform), thresholds_(thresholds) {}

  // Loads data set `set` from the path shown in Lb_File(set).
  void LoadDataSet(int set);
  // Reads one file and recomputes both pairs; the patch count it stored.
  int ReadAndCompare(int set, const std::string& path);

 private:
  void ClearPatchInfo(int set);
  // Sums and maxima of both metrics, gathered while the patches are compared.
  struct MetricStats {
    RunningStat deAb;
    RunningStat de00;
  };
  using PairStats = std::array<MetricStats, kPairs>;

  void ShowAveragesAndMaxima(const PairStats& stats, int m);
  void ShowPercentiles();
  void RefreshOrHideArea(int chart);
  bool ReloadAndRedraw(int set);
  std::string PathOf(int set) const { return view_.Caption(Ctl::Lb_File, set); }

  FormState& state_;
  FormView& view_;
  Platform& platform_;
  ThresholdPanel& thresholds_;
};

}  // namespace korimo
