#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/ReadFailure.h"

namespace korimo {

// Where a file's L*a*b* came from. None: no file read, or the read failed.
enum class LabSource { None, Lab, Xyz, Spectral };

// What a file declares about how it was measured; Unknown when it says
// nothing (or nothing we recognise).
enum class Illuminant { Unknown, D50, D65 };
enum class Observer { Unknown, Deg2, Deg10 };
enum class Condition { Unknown, M0, M1, M2, M3 };

// The device values of every patch, when the file has them: CMYK (four
// channels) or RGB (three; the fourth slot stays 0). 32-bit, as read.
enum class DeviceSpace { None, Cmyk, Rgb };

struct DeviceValues {
  DeviceSpace space = DeviceSpace::None;
  std::vector<std::array<float, 4>> values;  // one entry per stored patch
  int Channels() const {
    return space == DeviceSpace::Cmyk ? 4 : space == DeviceSpace::Rgb ? 3 : 0;
  }
};

// One identifier column of a file, whole texts as stored (UTF-8).
struct IdentifierColumn {
  bool present = false;
  std::vector<std::string> values;  // one entry per stored patch
};

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
