#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/ChartGeometry.h"
#include "app/Comparison.h"
#include "app/Indices.h"
#include "app/Inputs.h"
#include "app/Raster.h"
#include "app/Surfaces.h"
#include "app/WindowRecord.h"

namespace korimo {

// The pictures the window shows, drawn by the engine and kept until redrawn.
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

// What the window's own controls hold: nothing of it is computed from the
// files.
struct UiState {
  ChartGeometry chart;
  // A Reference load lays the charts out for the comparison it read; the
  // layout is made when first needed (an output of the grid alone never
  // needs it).
  ComparisonPtr layoutFor;
  std::array<ChartMouseState, 2> mouse;
  MenuSource menuSource = MenuSource::None;
  Pair menuIndex = Pair::ReferenceFile1;  // the chart or histogram that opened it
  bool gridHeaderDown = false;
  int gridTopRow = 1;  // the data row the grid shows at its top, as it last reported
  // The set whose file is being read; it stays set when the read ends in an
  // exception, so the face can empty that set.
  std::optional<DataSet> reading;
};

// Where the Under or Over percentage of a pair was last written from: its
// count is over the Reference's patches (a read of the pair's sample file,
// by position) or over the sample's (every other update).
struct PercentShown {
  ComparisonPtr from;  // null: the label is empty
  bool overSampleCount = false;
};

// A picture to draw anew from a comparison once the event is handled.
struct PendingChart {
  ComparisonPtr from;
  DataSet lowerSet = DataSet::Reference;  // whose colours fill the lower halves
};

// Which comparison each kept text and picture of the window was last made
// from. The window's rules write them at different reads of one load, and
// a label a read does not write keeps what it showed: this is that record,
// explicit. Null: what the window shows at start or after clear-all.
struct Shown {
  struct PairViews {
    ComparisonPtr averages;     // Lb_De, Lb_De2K
    ComparisonPtr percentiles;  // "Best10%" and "95%" (written or emptied)
    PercentShown under;         // Lb_UPar
    PercentShown over;          // Lb_OPar
    ComparisonPtr histogram;    // bars and axis captions
    bool histogramPending = false;
    std::optional<PendingChart> chart;  // to be drawn anew
  };
  std::array<PairViews, 2> pairs;
  ComparisonPtr captions;  // the Under/Over check boxes
  ComparisonPtr grid;      // the grid rows, in the order of `gridKey`
  std::int16_t gridKey = 0;
  bool gridPending = false;
  bool swatchesPending = false;
  bool textsPending = true;  // labels and strip: made again
  ComparisonPtr verified;    // the comparison the verification page was made from
  bool verificationPending = true;
};

// Everything the window owns for its whole life: what it was given (the
// inputs), the comparison computed from them, what its controls hold, and
// what it shows (the record and the pictures, rendered once per event).
struct EngineState {
  explicit EngineState(const Surfaces& sizes);

  Surfaces surfaces;
  Inputs inputs;
  ComparisonPtr comparison;
  Shown shown;
  UiState ui;
  WindowRecord record = InitialRecord();
  WindowPictures pictures;

  const Comparison& Current() const { return *comparison; }
  // The chart layout, made now if a load asked for one.
  const ChartGeometry& Chart();
  // The comparison computed anew after an edit of the inputs.
  void Recompute();
};

}  // namespace korimo
