#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/ChartGeometry.h"
#include "app/Criteria.h"
#include "app/Indices.h"
#include "app/Pairing.h"
#include "app/PairingMap.h"
#include "app/PanelSettings.h"
#include "app/Raster.h"
#include "app/Surfaces.h"
#include "app/VerificationRecord.h"
#include "app/WindowRecord.h"
#include "core/ComparisonData.h"
#include "core/MeasurementSet.h"

namespace korimo {

using HistCounts = std::array<std::int32_t, 11>;
using HistValues = std::array<float, 11>;

// The pictures the window shows, drawn by the engine.
struct WindowPictures {
  std::array<Raster, 2> PictPat;  // patch chart per pair
  std::array<Raster, 2> PictG;    // histogram per pair
  Raster PictD;                   // swatch strip beside the grid
};

// Hover, selection and area drag of one chart.
struct ChartMouseState {
  std::int16_t CurPatch = 0;   // patch last hovered
  std::int16_t PrevPatch = 0;  // selected patch + 1, 0 = none
  std::int16_t DragX0 = 0;     // start of a drag in progress; both 0: none
  std::int16_t DragY0 = 0;
  std::array<std::int16_t, 2> SelX{};  // 0: drag start, 1: release point
  std::array<std::int16_t, 2> SelY{};
  bool Dragging() const { return DragX0 != 0 || DragY0 != 0; }
};

// Everything the window owns for its whole life: the comparison, the
// window-level values and what it shows. The procedures of this layer are
// the only ones that change it.
struct EngineState {
  explicit EngineState(const Surfaces& sizes);

  std::unique_ptr<ComparisonData> data = std::make_unique<ComparisonData>();
  // What each file's last read learned beyond L*a*b* and the shown identifiers.
  std::array<MeasurementSet, 3> sets;
  Surfaces surfaces;
  PanelSettings panel;
  ChartGeometry chart;
  std::array<ChartMouseState, 2> mouse;

  std::int16_t GridSortKey = 0;  // |key| = column code, negative = descending
  bool GridHeaderDown = false;
  int gridTopRow = 1;  // the data row the grid shows at its top, as it last reported

  MenuSource menuSource = MenuSource::None;
  Pair menuIndex = Pair::ReferenceFile1;  // the chart or histogram that opened it

  std::array<HistCounts, 2> HistCount{};  // per pair
  std::array<HistValues, 2> HistValue{};

  std::array<PairCheck, 2> pairing;  // whether each pair's files match, after the last load

  // Which sample patch each Reference patch meets, per pair; rebuilt after
  // every read and every change of mode, and read by every procedure that
  // walks a pair's patches.
  PairingMode pairingMode = PairingMode::Position;
  std::array<PairMap, 2> maps;
  // The read the position mode's figures follow: its set and patch count
  // (the comparison range and divisor), and a serial that tells whether a
  // read came after `positionFigures` was kept.
  struct LastCompare {
    DataSet set = DataSet::Reference;
    int count = 0;
    std::uint64_t serial = 0;
  } lastCompare;
  // What position mode showed when the mode last changed away from it. Its
  // percentages and kept texts follow the order of earlier reads, which a
  // comparison of the final files cannot tell; going back restores them.
  struct PositionFigures {
    std::uint64_t serial = 0;
    bool kept = false;
    PanelSettings panel;  // the figures hold for this panel only
    std::array<std::string, 4> Lb_De, Lb_De2K;
    std::array<std::string, 2> Lb_BestDe, Lb_Best2K, Lb_WorsDe, Lb_Wors2K, Lb_UPar, Lb_OPar;
    std::array<std::string, 2> Lb_PDe, Lb_FDe;
    std::string ChkBest, ChkWorst;
    // Charts, histograms and areas were drawn between the reads of a load.
    std::array<std::string, 2> Lb_GX, Lb_GY, Lb_DeBox;
    std::array<AreaFrame, 2> Sh_Box{};
    std::array<HistCounts, 2> HistCount{};
    std::array<HistValues, 2> HistValue{};
    std::array<Raster, 2> PictPat, PictG;
    PairFloats AvgDeAb{}, AvgDe00{}, MaxDeAb{}, MaxDe00{};
    PairFloats Best10DeAb{}, Best10De00{}, Pct95DeAb{}, Pct95De00{};
    float UnderDeAb = 0, OverDeAb = 0, UnderDe00 = 0, OverDe00 = 0;
  } positionFigures;

  // Each pair's differences with the colours they were computed from. The
  // formulas are pure, so the same colours give the same bits: a read that
  // leaves a pair's two sets as they were (the other file's, or a Reference
  // read before any file) takes them from here. Two pairs with the same
  // colours share one computation.
  struct PairDifferences {
    std::vector<double> colours;  // the Reference's n colours, then the file's
    std::vector<double> deAb, de00;
  };
  std::array<std::shared_ptr<const PairDifferences>, 2> differences;

  // The criteria set the verification page checks against (none: nullopt),
  // and what the page shows, rebuilt after every load and change of set.
  std::optional<CriteriaSet> criteria;
  VerificationRecord verification;

  WindowRecord record = InitialRecord();
  WindowPictures pictures;

  // The set whose file is being read and compared; it stays set when the
  // read ends in an exception, so the face can empty that set.
  std::optional<DataSet> reading;

  // Counts the reads, so the grid knows when its cell texts are stale.
  std::uint64_t dataRevision = 1;
  std::uint64_t gridCellsRevision = 0;
  std::vector<CellValues> gridCellValues;  // per patch: what its cell texts show

  ComparisonData& Data() { return *data; }
  const ComparisonData& Data() const { return *data; }
  ChartMouseState& Mouse(Pair p) { return mouse[Index(p)]; }
  const ChartMouseState& Mouse(Pair p) const { return mouse[Index(p)]; }
  Raster& ChartPicture(Pair p) { return pictures.PictPat[Index(p)]; }
  Raster& HistogramPicture(Pair p) { return pictures.PictG[Index(p)]; }
  bool Loaded(DataSet set) const { return data->IsLoaded(static_cast<int>(Index(set))); }
  bool Complete(Pair pair) const { return Loaded(DataSet::Reference) && Loaded(SampleOf(pair)); }
  int Count(DataSet set) const { return data->PatchCount[Index(set)]; }
  const PairMap& Map(Pair pair) const { return maps[Index(pair)]; }
};

}  // namespace korimo
