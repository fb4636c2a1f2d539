#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <cstdint>
#include <optional>

#include "core/Measurement.h"

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

// The LAB and identifier columns the way the window's header pass finds
// them: field numbers (1-based; 0 absent) from the lines up to the one that
// names L*. A name that stands after the last of the three LAB columns on
// that line is not seen, and a final one-character field is never examined.
struct LabColumns {
  int l = 0;
  int a = 0;
  int b = 0;
  int name = 0;      // SAMPLE_NAME
  int sampleId = 0;  // SAMPLE_ID, used when there is no name column
  bool AllLab() const { return l != 0 && a != 0 && b != 0; }
  int Identifier() const { return name != 0 ? name : sampleId; }
  bool operator==(const LabColumns&) const = default;
};

// The wavelength of a band column name, or 0 when the name is no band.
int BandWavelength(std::string_view name);

// One walk over the lines of a file's header: keywords, every known column,
// the declarations, and the LAB search, whose rules differ: it goes on past
// BEGIN_DATA until a line names L*, and it alone reads LGOROWLENGTH.
class HeaderScan {
 public:
  // A line before BEGIN_DATA.
  void Feed(std::string_view line);
  // A line from BEGIN_DATA on, while the LAB search goes on; true when the
  // line changed the LAB or identifier columns.
  bool FeedData(std::string_view line);

  bool LabSearchDone() const { return lab_.l != 0; }
  const LabColumns& Lab() const { return lab_; }
  const std::optional<std::int16_t>& RowLength() const { return rowLength_; }
  const ExtraColumns& Columns() const { return best_; }
  Declarations Declared() const;

 private:
  void ScanColumns(std::string_view line, bool extra);
  void ScanKeyword(std::string_view line);

  static constexpr std::size_t kLevels = 5;  // sources of a declaration, first first
  LabColumns lab_;
  std::optional<std::int16_t> rowLength_;
  ExtraColumns best_;
  int bestNames_ = 0;
  std::array<std::string, kLevels> illuminant_;
  std::array<Observer, kLevels> observer_{};
  Condition keyedCondition_ = Condition::Unknown;
  Condition wordCondition_ = Condition::Unknown;
};

}  // namespace korimo
