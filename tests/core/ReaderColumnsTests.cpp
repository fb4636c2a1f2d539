#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "color/ColorDifference.h"
#include "core/MeasurementReader.h"

namespace korimo::testing {
namespace {

struct Read {
  ReadResult result;
  std::unique_ptr<ComparisonData> data = std::make_unique<ComparisonData>();
  const std::array<double, 3>& Lab(int patch) const { return data->Lab0[patch]; }
};

Read ReadText(std::string text) {
  Read read;
  std::FILE* file = fmemopen(text.data(), text.size(), "rb");
  read.result = ReadMeasurementStream(file, 0, *read.data);
  std::fclose(file);
  return read;
}

// A file of `header` lines, the field names and the data lines.
std::string File(const std::string& header, const std::string& names,
                 const std::vector<std::string>& rows) {
  std::string text = header + "BEGIN_DATA_FORMAT\n" + names + "\nEND_DATA_FORMAT\nBEGIN_DATA\n";
  for (const std::string& row : rows)
    text += row + "\n";
  return text + "END_DATA\n";
}

// Bands "R_<nm>" and one row of `value` at each, from `first` to `last`.
std::pair<std::string, std::string> Flat(int first, int last, int step, const std::string& value) {
  std::string names = "SAMPLE_ID";
  std::string row = "1";
  for (int nm = first; nm <= last; nm += step) {
    names += " R_" + std::to_string(nm);
    row += " " + value;
  }
  return {names, row};
}

// CIE L* by the κ/ε form of the formula, apart from the reader's own.
double LightnessOf(double y) {
  constexpr double kEpsilon = 216.0 / 24389.0;
  constexpr double kKappa = 24389.0 / 27.0;
  return y > kEpsilon ? 116.0 * std::cbrt(y) - 16.0 : kKappa * y;
}

void ExpectLab(const Read& read, int patch, double L, double a, double b, double tolerance) {
  EXPECT_NEAR(read.Lab(patch)[0], L, tolerance);
  EXPECT_NEAR(read.Lab(patch)[1], a, tolerance);
  EXPECT_NEAR(read.Lab(patch)[2], b, tolerance);
}

// XYZ on either scale and under the declared white; LAB columns win over XYZ.
TEST(ReaderColumns, ComputesLabFromXyz) {
  const struct {
    std::string header, names, row;
    LabSource source;
    double L, a, b;
  } cases[] = {
      {"", "SAMPLE_ID XYZ_X XYZ_Y XYZ_Z", "1 96.42 100 82.49", LabSource::Xyz, 100, 0, 0},
      {"", "SAMPLE_ID XYZ_X XYZ_Y XYZ_Z", "1 0.9642 1 0.8249", LabSource::Xyz, 100, 0, 0},
      {"OBSERVER \"10 degree\"\n", "SAMPLE_ID XYZ_X XYZ_Y XYZ_Z", "1 96.720 100 81.427",
       LabSource::Xyz, 100, 0, 0},
      {"ILLUMINANT D65\n", "XYZ_Z XYZ_Y XYZ_X", "108.883 100 95.047", LabSource::Xyz, 100, 0, 0},
      {"", "XYZ_X XYZ_Y XYZ_Z", "19.284 20 16.498", LabSource::Xyz, LightnessOf(0.2), 0, 0},
      {"", "XYZ_X XYZ_Y XYZ_Z", "x - ,", LabSource::Xyz, 0, 0, 0},
      {"ILLUMINANT F2\n", "XYZ_X XYZ_Y XYZ_Z LAB_L LAB_A LAB_B", "1 2 3 50 1 -1", LabSource::Lab,
       50, 1, -1},
  };
  for (const auto& c : cases) {
    const Read read = ReadText(File(c.header, c.names, {c.row}));
    ASSERT_EQ(read.result.patches, 1) << c.row;
    EXPECT_EQ(read.result.info.source, c.source) << c.row;
    SCOPED_TRACE(c.row);
    ExpectLab(read, 0, c.L, c.a, c.b, 2e-4);
  }
}

// Fractions or percent, 5/10/20 nm, 380–730 or 400–700, pairs with decimal
// commas, 10°: a 50 % grey is L* = 116·0.5^(1/3) − 16 on every table.
TEST(ReaderColumns, ComputesLabFromSpectra) {
  const double grey = LightnessOf(0.5);
  std::string pairNames = "SAMPLE_ID";
  std::string pairRow = "1";
  for (int nm = 380; nm <= 730; nm += 10) {
    pairNames += " SPECTRAL_NM SPECTRAL_DEC";
    pairRow += " " + std::to_string(nm) + " 0,5";
  }
  const auto [names10, half10] = Flat(380, 730, 10, "0.5");
  const struct {
    std::string header;
    std::pair<std::string, std::string> file;
    int step;
    Observer observer;
  } cases[] = {
      {"", Flat(380, 730, 10, "0.5"), 10, Observer::Unknown},
      {"", Flat(380, 730, 10, "50"), 10, Observer::Unknown},
      {"", Flat(400, 700, 10, "50,0"), 10, Observer::Unknown},
      {"", Flat(380, 730, 5, "0.5"), 10, Observer::Unknown},
      {"", Flat(380, 720, 20, "0.5"), 20, Observer::Unknown},
      {"", {pairNames, pairRow}, 10, Observer::Unknown},
      {"WEIGHTING_FUNCTION \"OBSERVER, 10 degree\"\n", Flat(360, 780, 10, "0.5"), 10,
       Observer::Deg10},
      {"", Flat(300, 830, 1, "0.5"), 10, Observer::Unknown},
  };
  for (const auto& c : cases) {
    const Read read = ReadText(File(c.header, c.file.first, {c.file.second}));
    ASSERT_EQ(read.result.patches, 1) << c.file.first.substr(0, 40);
    EXPECT_EQ(read.result.info.source, LabSource::Spectral);
    EXPECT_EQ(read.result.info.spectralStepNm, c.step);
    EXPECT_EQ(read.result.info.observer, c.observer);
    ExpectLab(read, 0, grey, 0, 0, 2e-4);
  }
  // A cell that is no number reads as 0.
  std::string holed = half10;
  holed.replace(holed.find(" 0.5"), 4, " n/a");
  const Read hole = ReadText(File("", names10, {half10, holed}));
  EXPECT_LT(hole.Lab(1)[0], hole.Lab(0)[0]);
}

TEST(ReaderColumns, RefusesFilesWithoutUsableColour) {
  const auto [bandNames, bandRow] = Flat(380, 730, 10, "0.5");
  const auto [narrowNames, narrowRow] = Flat(420, 730, 10, "0.5");
  std::string gapNames = bandNames;
  gapNames.erase(gapNames.find(" R_550"), 6);
  const struct {
    std::string file;
    ReadFailure failure;
    std::string english;
  } cases[] = {
      {File("", "SAMPLE_ID CMYK_C CMYK_M CMYK_Y CMYK_K", {"1 0 0 0 0"}),
       ReadFailure::NoColourColumns, "no LAB_L/LAB_A/LAB_B, XYZ or spectral columns"},
      {File("", "SAMPLE_ID XYZ_X", {"1 20"}), ReadFailure::NoColourColumns, ""},
      {File("ILLUMINANT \"F2\"\n", "XYZ_X XYZ_Y XYZ_Z", {"1 2 3"}), ReadFailure::UnknownIlluminant,
       "illuminant F2: no weighting table"},
      {File("", narrowNames, {narrowRow}), ReadFailure::SpectralNarrow, ""},
      {File("", gapNames, {bandRow}), ReadFailure::SpectralGap, "no spectral band at 550 nm"},
  };
  for (const auto& c : cases) {
    const Read read = ReadText(c.file);
    EXPECT_EQ(read.result.patches, 0) << c.file;
    EXPECT_EQ(read.result.failure, c.failure) << c.file;
    EXPECT_EQ(read.result.info.source, LabSource::None);
    EXPECT_TRUE(read.data->FileId[0][0].empty());
    if (!c.english.empty()) {
      EXPECT_EQ(EnglishReason(read.result.Reason()), c.english);
    }
  }
}

TEST(ReaderColumns, KeepsDeviceValuesAndBothIdentifiers) {
  const Read cmyk = ReadText(File("MEASUREMENT_CONDITION M1\n",
                                  "SAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B CMYK_C CMYK_M CMYK_Y "
                                  "CMYK_K",
                                  {"1 A1 50 0 0 10,5 20 30 40", "2 A2 50 0 0 x 0 0 100"}));
  const MeasurementSet& set = cmyk.result.info;
  EXPECT_EQ(set.source, LabSource::Lab);
  EXPECT_EQ(set.condition, Condition::M1);
  EXPECT_EQ(set.device.space, DeviceSpace::Cmyk);
  ASSERT_EQ(set.device.values.size(), 2U);
  EXPECT_EQ(set.device.values[0], (std::array<float, 4>{10.5F, 20, 30, 40}));
  EXPECT_EQ(set.device.values[1], (std::array<float, 4>{0, 0, 0, 100}));
  EXPECT_EQ(set.sampleId.values, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(set.sampleName.values, (std::vector<std::string>{"A1", "A2"}));
}

// Characterization data with both XYZ and L*a*b*: without its LAB columns a
// file reads its XYZ, as the κ/ε arithmetic gives it and within what two
// decimals of XYZ allow of the file's own L*a*b*: about ΔE00 0.4, at most
// 0.402 on TR006's darkest three-colour patch (Y = 1.24 ± 0.005).
TEST(ReaderColumns, RealFilesAgreeWithTheirOwnLab) {
  const std::filesystem::path folder = "/usr/share/color/icc";
  if (!std::filesystem::exists(folder / "FOGRA39L.ti3"))
    GTEST_SKIP() << "icc-profiles-free is not installed";
  int files = 0;
  for (const char* name : {"FOGRA28L.ti3", "FOGRA29L.ti3", "FOGRA30L.ti3", "FOGRA39L.ti3",
                           "FOGRA40L.ti3", "TR002.ti3", "TR003.ti3", "TR005.ti3", "TR006.ti3"}) {
    std::ifstream in(folder / name, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    std::string text = whole.str();
    const Read withLab = ReadText(text);
    text.replace(text.find("LAB_L LAB_A LAB_B"), 17, "L A B");
    const Read withoutLab = ReadText(text);
    const int n = withLab.result.patches;
    ASSERT_GT(n, 900) << name;
    ASSERT_EQ(withoutLab.result.patches, n) << name;
    EXPECT_EQ(withoutLab.result.info.source, LabSource::Xyz);
    EXPECT_EQ(withoutLab.result.info.illuminant, Illuminant::D50) << name;
    std::size_t data = text.find("\nBEGIN_DATA");
    while (text.compare(data + 11, 7, "_FORMAT") == 0)
      data = text.find("\nBEGIN_DATA", data + 1);
    std::istringstream rows(text.substr(data + 11));
    rows.ignore(1000, '\n');
    double worst = 0;
    for (int i = 0; i < n; ++i) {
      std::string id;
      double device = 0;
      double X = 0;
      double Y = 0;
      double Z = 0;
      rows >> id >> device >> device >> device >> device >> X >> Y >> Z;
      rows.ignore(1000, '\n');
      const double fy = (LightnessOf(static_cast<float>(Y) / 100.0) + 16) / 116;
      const double fx = (LightnessOf(static_cast<float>(X) / 96.42) + 16) / 116;
      const double fz = (LightnessOf(static_cast<float>(Z) / 82.49) + 16) / 116;
      ExpectLab(withoutLab, i, 116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz), 1e-4);
      const auto& own = withLab.Lab(i);
      const auto& computed = withoutLab.Lab(i);
      worst =
          std::max(worst, Ciede2000(own[0], own[1], own[2], computed[0], computed[1], computed[2]));
    }
    EXPECT_LE(worst, 0.405) << name;
    ++files;
  }
  EXPECT_EQ(files, 9);
}

}  // namespace
}  // namespace korimo::testing
