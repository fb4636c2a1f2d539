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
      {{"ILLUMINANT \"D50\"", "WEIGHTING_FUNCTION \"ILLUMINANT, D65\""}, Illuminant::D65, ""},
      {{"ILLUMINATION_NAME \"D65\"", "INSTRUMENTATION \"D50, 2 degree\""}, Illuminant::D65, ""},
      {{"MEASUREMENT_SOURCE \"Illumination=D65 ObserverAngle=2degree\""}, Illuminant::D65, ""},
      {{"MEASUREMENT_SOURCE \"GAS-FILLED TUNGSTEN\""}, Illuminant::Unknown, ""},
      {{"INSTRUMENTATION \"SpectroScan, D65, 10 degree\""}, Illuminant::D65, ""},
      {{"ILLUMINANT \"F2\""}, Illuminant::Unknown, "F2"},
      {{"ORIGINATOR \"D65 Labs\""}, Illuminant::Unknown, ""},
  };
  for (const auto& c : cases) {
    const Declarations d = Scan(c.lines);
    EXPECT_EQ(d.illuminant, c.illuminant) << c.lines.front();
    EXPECT_EQ(d.otherIlluminant, c.other) << c.lines.front();
  }
}

TEST(HeaderScan, TakesTheObserverAsTwoOrTenStandingAlone) {
  const std::pair<std::vector<std::string>, Observer> cases[] = {
      {{"WEIGHTING_FUNCTION \"OBSERVER, 10 degree\""}, Observer::Deg10},
      {{"INSTRUMENTATION \"D50, 2 degree\"", "OBSERVER \"10\""}, Observer::Deg10},
      {{"OBSERVER \"CIE 2 degree\""}, Observer::Deg2},
      {{"OBSERVER \"2.5\""}, Observer::Unknown},
      {{"MEASUREMENT_SOURCE \"Illumination=D50 ObserverAngle=10degree\""}, Observer::Deg10},
      {{"INSTRUMENTATION \"serial 210 2010 geometry 45/0\""}, Observer::Unknown},
      {{"CREATED \"10 degree\""}, Observer::Unknown},
  };
  for (const auto& [lines, observer] : cases)
    EXPECT_EQ(Scan(lines).observer, observer) << lines.front();
}

TEST(HeaderScan, TakesTheConditionFromKeysBeforeWords) {
  const std::pair<std::vector<std::string>, Condition> cases[] = {
      {{"XRITE_OPTIONS \"MeasurementCondition=M1;Filter=UVcut\""}, Condition::M1},
      {{"MEASUREMENT_GEOMETRY \"45/0 M0\"", "VENDOR \"Measurement_Condition=M2\""}, Condition::M2},
      {{"MEASUREMENT_CONDITION \"M3\""}, Condition::M3},
      {{"DESCRIPTOR \"M1\""}, Condition::Unknown},
      {{"FILTER \"M12\""}, Condition::Unknown},
  };
  for (const auto& [lines, condition] : cases)
    EXPECT_EQ(Scan(lines).condition, condition) << lines.front();
}

TEST(HeaderScan, ReadsBandNamesAsFoundInFiles) {
  const std::pair<const char*, int> cases[] = {
      {"SPECTRAL_NM380", 380}, {"SPEC_380", 380}, {"NM_380", 380}, {"R_380", 380},
      {"SPECTRAL_NM", 0},      {"R_38O", 0},      {"NM_12345", 0},
  };
  for (const auto& [name, nm] : cases)
    EXPECT_EQ(BandWavelength(name), nm) << name;
}

}  // namespace
}  // namespace korimo::testing
