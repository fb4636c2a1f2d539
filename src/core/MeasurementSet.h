#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/Measurement.h"
#include "core/ReadFailure.h"

namespace korimo {

// Everything a read learned about one file beyond the L*a*b* values and the
// identifiers the window shows, which stay in ComparisonData. One record per
// data set; a failed read leaves it as a default record with `failure` set.
struct MeasurementSet {
  LabSource source = LabSource::None;
  Illuminant illuminant = Illuminant::Unknown;  // as declared
  Observer observer = Observer::Unknown;        // as declared
  Condition condition = Condition::Unknown;     // as declared
  int spectralStepNm = 0;                       // weighting-table interval used, spectral only

  IdentifierColumn sampleName;  // SAMPLE_NAME / SAMPLENAME
  IdentifierColumn sampleId;    // SAMPLE_ID / SAMPLEID
  DeviceValues device;

  FailureReason failure;  // why the last read stored nothing
};

}  // namespace korimo
