#include "core/HeaderScan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korimo::testing {
namespace {

Declarations Scan(const std::vector<std::string>& lines) {
  HeaderScan scan;
  for (const std::string& line : lines)
    scan.Feed(line);
  return scan.Declared();
}

// Each source of the illuminant in turn, and the first found wins in the
// order the sources rank, not in file order; a lamp is no illuminant.
TEST(HeaderScan, TakesTheIlluminantFromItsSources) {
  const struct {
    std::vector<std::string> lines;
    Illuminant illuminant;
    std::string other;
  } cases[] = {
      {{"WEIGHTING_FUNCTION \"ILLUMINANT, D65\""}, Illuminant::D65, ""},
      {{"WEIGHTING_FUNCTION \"ILLUMINANT. D65\""}, Illuminant::D65, ""},
      {{"WEIGHTING_FUNCTION \"ILLUMINANT,\tD65\""}, Illuminant::D65, ""},
      {{"ILLUMINANT \"D50\"", "WEIGHTING_FUNCTION \"ILLUMINANT, D65\""}, Illuminant::D65, ""},
      {{"illuminant d65"}, Illuminant::D65, ""},
      {{"ILLUMINATION_NAME \"D65\"", "INSTRUMENTATION \"D50, 2 degree\""}, Illuminant::D65, ""},
      {{"MEASUREMENT_SOURCE \"Illumination=D65 ObserverAngle=2degree\""}, Illuminant::D65, ""},
      {{"MEASUREMENT_SOURCE \"A\""}, Illuminant::Unknown, ""},
      {{"MEASUREMENT_SOURCE \"GAS-FILLED TUNGSTEN\""}, Illuminant::Unknown, ""},
      {{"INSTRUMENTATION \"SpectroScan, D65, 10 degree\""}, Illuminant::D65, ""},
      {{"INSTRUMENTATION \"XD50 serial 12D65\""}, Illuminant::Unknown, ""},
      {{"ILLUMINANT \"F2\""}, Illuminant::Unknown, "F2"},
      {{"ILLUMINANT \"F2\"", "INSTRUMENTATION \"D50\""}, Illuminant::Unknown, "F2"},
      {{"ORIGINATOR \"D65 Labs\""}, Illuminant::Unknown, ""},
  };
  for (const auto& c : cases) {
    const Declarations d = Scan(c.lines);
    EXPECT_EQ(d.illuminant, c.illuminant) << c.lines.front();
    EXPECT_EQ(d.otherIlluminant, c.other) << c.lines.front();
  }
}

TEST(HeaderScan, TakesTheObserverAsTwoOrTenStandingAlone) {
  const struct {
    std::vector<std::string> lines;
    Observer observer;
  } cases[] = {
      {{"WEIGHTING_FUNCTION \"OBSERVER, 10 degree\""}, Observer::Deg10},
      {{"OBSERVER \"10\""}, Observer::Deg10},
      {{"OBSERVER \"CIE 2 degree\""}, Observer::Deg2},
      {{"OBSERVER \"2.0\""}, Observer::Deg2},
      {{"OBSERVER \"CIE 1964 10 degree\""}, Observer::Deg10},
      {{"OBSERVER \"2.5\""}, Observer::Unknown},
      {{"OBSERVER_ANGLE 10"}, Observer::Deg10},
      {{"MEASUREMENT_SOURCE \"Illumination=D50 ObserverAngle=10degree\""}, Observer::Deg10},
      {{"INSTRUMENTATION \"D50, 10°, 45/0\""}, Observer::Deg10},
      {{"INSTRUMENTATION \"serial 210 2010 geometry 45/0\""}, Observer::Unknown},
      {{"INSTRUMENTATION \"D50, 2 degree\"", "OBSERVER \"10\""}, Observer::Deg10},
      {{"CREATED \"10 degree\""}, Observer::Unknown},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Scan(c.lines).observer, c.observer) << c.lines.front();
}

TEST(HeaderScan, TakesTheConditionFromKeysBeforeWords) {
  const struct {
    std::vector<std::string> lines;
    Condition condition;
  } cases[] = {
      {{"XRITE_OPTIONS \"MeasurementCondition=M1;Filter=UVcut\""}, Condition::M1},
      {{"MEASUREMENT_GEOMETRY \"45/0 M0\"", "VENDOR \"Measurement_Condition=M2\""}, Condition::M2},
      {{"MEASUREMENT_CONDITION \"M3\""}, Condition::M3},
      {{"FILTER \"UV-cut (M2)\""}, Condition::M2},
      {{"INSTRUMENTATION \"i1Pro M1\""}, Condition::M1},
      {{"DESCRIPTOR \"M1\""}, Condition::Unknown},
      {{"FILTER \"M12\""}, Condition::Unknown},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Scan(c.lines).condition, c.condition) << c.lines.front();
}

TEST(HeaderScan, ReadsBandNamesAsFoundInFiles) {
  const struct {
    const char* name;
    int nm;
  } cases[] = {
      {"SPECTRAL_NM380", 380},
      {"SPECTRAL_NM_380", 380},
      {"SPECTRAL_380", 380},
      {"SPEC_380", 380},
      {"NM_380", 380},
      {"nm380", 380},
      {"R_380", 380},
      {"spectral_nm_730", 730},
      {"SPECTRAL_NM", 0},
      {"SPECTRAL_DEC", 0},
      {"R_38O", 0},
      {"RGB_R", 0},
      {"NM_12345", 0},
      {"R_", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BandWavelength(c.name), c.nm) << c.name;
}

// The line naming the most known columns is the field-name line; pairs of
// SPECTRAL_NM and SPECTRAL_DEC become bands whose wavelength the data holds.
TEST(HeaderScan, FindsColumnsOnTheFieldNameLine) {
  HeaderScan scan;
  scan.Feed("KEYWORD \"XYZ_X\"");
  scan.Feed(
      "SAMPLE_ID SAMPLE_NAME RGB_R RGB_G RGB_B XYZ_X XYZ_Y XYZ_Z SPECTRAL_NM SPECTRAL_DEC "
      "SPECTRAL_NM SPECTRAL_DEC R_700");
  const ExtraColumns& c = scan.Columns();
  EXPECT_EQ(c.xyz, (std::array<int, 3>{6, 7, 8}));
  EXPECT_EQ(c.deviceSpace, DeviceSpace::Rgb);
  EXPECT_EQ(c.device, (std::array<int, 4>{3, 4, 5, 0}));
  EXPECT_EQ(c.sampleId, 1);
  EXPECT_EQ(c.sampleName, 2);
  ASSERT_EQ(c.bands.size(), 3U);
  EXPECT_EQ(c.bands[0].column, 10);
  EXPECT_EQ(c.bands[0].nmColumn, 9);
  EXPECT_EQ(c.bands[1].column, 12);
  EXPECT_EQ(c.bands[2].nm, 700);
  EXPECT_EQ(c.bands[2].nmColumn, 0);
}

}  // namespace
}  // namespace korimo::testing
