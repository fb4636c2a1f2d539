#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ReadFailure.h"

namespace korimo {

// At most this many patches are read from one file.
inline constexpr int kMaxPatches = 3000;

// Where a file's L*a*b* came from. None: the read stored nothing.
enum class LabSource { None, Lab, Xyz, Spectral };

// What a file declares about how it was measured; Unknown when it says
// nothing (or nothing we recognise).
enum class Illuminant { Unknown, D50, D65 };
enum class Observer { Unknown, Deg2, Deg10 };
enum class Condition { Unknown, M0, M1, M2, M3 };

// The file formats the reader recognises by content.
enum class FileFormat { Cgats, Cxf3 };

// L*, a*, b* of one patch as stored: 32-bit, read from the file or computed
// in double and narrowed once. Every figure is computed from these values.
using LabValue = std::array<float, 3>;

// The device values of every patch, when the file has them: CMYK (four
// channels) or RGB (three; the fourth slot stays 0). 32-bit, as read.
enum class DeviceSpace { None, Cmyk, Rgb };

struct DeviceValues {
  DeviceSpace space = DeviceSpace::None;
  std::vector<std::array<float, 4>> values;  // one entry per stored patch
  // The top of an RGB scale a file states (CxF3's MaxRange); 0: not stated.
  float maxRange = 0;
  int Channels() const {
    return space == DeviceSpace::Cmyk ? 4 : space == DeviceSpace::Rgb ? 3 : 0;
  }
};

// One identifier column of a file, whole texts as stored (UTF-8).
struct IdentifierColumn {
  bool present = false;
  std::vector<std::string> values;  // one entry per stored patch

  bool operator==(const IdentifierColumn&) const = default;
};

// Everything one read of one file yields, whatever its format: one plain
// value, returned by the reader and never changed afterwards. A read that
// stores nothing has no patches and says why in `failure`.
struct Measurement {
  std::string path;  // as given
  FileFormat format = FileFormat::Cgats;

  std::vector<LabValue> lab;  // per patch, in file order

  // The identifiers the window shows and pairs by position: the name column
  // (SAMPLE_NAME), else SAMPLE_ID. Absent when the file has neither. CxF3
  // files name a patch once, by its Object's Name, which fills all three.
  IdentifierColumn ids;
  IdentifierColumn sampleName;  // SAMPLE_NAME / SAMPLENAME
  IdentifierColumn sampleId;    // SAMPLE_ID / SAMPLEID

  // LGOROWLENGTH, when the header carries it: also after a read that stored
  // nothing, since the header is read before the data.
  std::optional<std::int16_t> rowLength;

  DeviceValues device;

  LabSource source = LabSource::None;
  Illuminant illuminant = Illuminant::Unknown;  // as declared
  Observer observer = Observer::Unknown;        // as declared
  Condition condition = Condition::Unknown;     // as declared
  int spectralStepNm = 0;                       // weighting-table interval used, spectra only
  std::string colorSpecification;               // CxF3: the ColorSpecification read under

  bool cutAt3000 = false;  // the file held more patches; the first 3000 are kept
  FailureReason failure;   // why nothing was stored; None when patches were

  int Count() const { return static_cast<int>(lab.size()); }
  bool Stored() const { return !lab.empty(); }
};

// "M0" … "M3"; empty for Unknown.
std::string_view ConditionName(Condition condition);

// Whether two reads yielded the same record: what a file read again
// unchanged gives.
bool SameMeasurement(const Measurement& a, const Measurement& b);

}  // namespace korimo
