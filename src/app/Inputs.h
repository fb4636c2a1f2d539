#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Criteria.h"
#include "app/Indices.h"
#include "app/PairingMap.h"
#include "app/PanelSettings.h"
#include "core/Measurement.h"

namespace korimo {

using MeasurementPtr = std::shared_ptr<const Measurement>;
using MeasurementSets = std::array<MeasurementPtr, 3>;  // per data set; null: none read

// The files a comparison was computed from: the sets as they stood at the
// read whose patch count is the comparison range by position.
struct CompareBasis {
  MeasurementSets sets;
  DataSet set = DataSet::Reference;  // the read that set the figures
  int count = 0;                     // its patch count m
  PairingMode mode = PairingMode::Position;
};

// What the window's figures depend on beyond the files: the order of the
// reads that made them.
struct ReadHistory {
  // The last read that stored patches, or change of pairing mode; none
  // before the first. Clear-all keeps it, as it keeps the figures.
  std::optional<CompareBasis> basis;
  // The last read stored nothing: the stored averages and maxima read 0
  // until the next comparison.
  bool figuresReset = false;
  // Whether the thresholds were ever taken (they are 0 until then), and
  // whether the maxima read 0 when they were last taken.
  bool thresholdsTaken = false;
  bool thresholdsReset = false;
  // Reads whose identifiers the shown list layers, oldest first: every read
  // with an identifier column since the last read of the Reference, which
  // empties the list. A read covered whole by a later one is dropped.
  std::vector<MeasurementPtr> idLayers;
  // LGOROWLENGTH per data set as last read (a file without it leaves it).
  std::array<std::optional<std::int16_t>, 3> rowLength;
};

// Everything the comparison and the views are computed from: the files
// chosen and read, the settings, and the order of the reads.
struct Inputs {
  std::array<std::string, 3> paths;  // chosen per data set; empty: no file
  MeasurementSets sets;              // as last read
  PairingMode mode = PairingMode::Position;
  PanelSettings panel;
  std::int16_t sortKey = 0;  // |key| = grid column code, negative = descending
  std::optional<CriteriaSet> criteria;
  ReadHistory history;

  const Measurement* Set(DataSet set) const { return sets[Index(set)].get(); }
  int Count(DataSet set) const;
  bool Chosen(DataSet set) const { return !paths[Index(set)].empty(); }
};

// A read of `set` into the inputs, stored patches or not.
void ApplyRead(Inputs& inputs, DataSet set, MeasurementPtr read);

// A read that ended in an exception (memory ran out): the set is left empty,
// as after a read that stored nothing.
void ApplyAbandonedRead(Inputs& inputs, DataSet set);

// Another pairing mode: the comparison of the read that set the figures is
// made again on the files as they stand, when that read's file still has
// patches; otherwise the figures stay as that read left them.
void ApplyPairingMode(Inputs& inputs, PairingMode mode);

// The thresholds are taken again from the maxima as they stand.
void ApplyThresholdUpdate(Inputs& inputs);

// Clear-all: no file chosen or read, position mode. The figures, thresholds,
// panel, sort key and criteria set stay.
void ApplyClearAll(Inputs& inputs);

// The identifier shown for patch i: that of the last read covering it since
// the Reference was read; empty past them.
const std::string& LayeredId(const std::vector<MeasurementPtr>& layers, int patch);

}  // namespace korimo
