#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/MeasurementSet.h"

namespace korimo {

// One reflectance column: a named band (SPECTRAL_NM380, R_380, nm380, …) or
// the value of a SPECTRAL_NM/SPECTRAL_DEC pair, whose wavelength the data
// lines hold.
struct BandColumn {
  int nm = 0;        // 0 for a pair until its first data line is read
  int column = 0;    // 1-based field number of the value
  int nmColumn = 0;  // pairs: field number of the wavelength; 0 for named bands
};

// The columns a read takes beyond LAB_L/LAB_A/LAB_B, from the one line
// before BEGIN_DATA that names the most known columns. Field numbers are
// 1-based; 0: absent.
struct ExtraColumns {
  std::array<int, 3> xyz{};
  std::vector<BandColumn> bands;
  DeviceSpace deviceSpace = DeviceSpace::None;
  std::array<int, 4> device{};
  int sampleName = 0;
  int sampleId = 0;

  bool AllXyz() const { return xyz[0] != 0 && xyz[1] != 0 && xyz[2] != 0; }
};

// What a file declares about how it was measured.
struct Declarations {
  Illuminant illuminant = Illuminant::Unknown;
  std::string otherIlluminant;  // a named illuminant other than D50 or D65
  Observer observer = Observer::Unknown;
  Condition condition = Condition::Unknown;
};

// The wavelength of a band column name, or 0 when the name is no band.
int BandWavelength(std::string_view name);

// Fed the lines before BEGIN_DATA, one at a time; apart from the header pass
// of the LAB and identifier columns, whose rules it leaves alone.
class HeaderScan {
 public:
  void Feed(std::string_view line);
  const ExtraColumns& Columns() const { return best_; }
  Declarations Declared() const;

 private:
  void ScanColumns(std::string_view line);
  void ScanKeyword(std::string_view line);

  static constexpr std::size_t kLevels = 5;  // sources of a declaration, first first
  ExtraColumns best_;
  int bestNames_ = 0;
  std::array<std::string, kLevels> illuminant_;
  std::array<Observer, kLevels> observer_{};
  Condition keyedCondition_ = Condition::Unknown;
  Condition wordCondition_ = Condition::Unknown;
};

}  // namespace korimo
