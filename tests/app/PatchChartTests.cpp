#include "app/PatchChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <string>
#include <tuple>

#include "app/ThresholdPanel.h"
#include "color/ColorConvert.h"
#include "core/Common.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

// The comparison after a read of a Reference of n patches alone.
ComparisonPtr ReferenceOnly(int n, int rowLength = 0, const Strings& names = {}) {
  auto read = std::make_shared<Measurement>();
  read->lab.resize(static_cast<std::size_t>(n));
  if (rowLength > 0)
    read->rowLength = static_cast<std::int16_t>(rowLength);
  read->ids = {!names.empty(), names};
  Inputs inputs;
  ApplyRead(inputs, DataSet::Reference, read);
  return Comparison::Compute(inputs);
}

// Row length, else the largest number in the identifiers (stopping at "GS0"),
// else the largest divisor of the count not above its rounded root. A shape
// with more rows or columns than the box has pixels would leave every cell 0
// pixels wide; the square-root shape stands in: rows = round(sqrt n) with
// ties to even, columns as many as the patches need.
TEST(ChooseChartShape, RowLengthThenIdentifiersThenDivisorElseTheSquareRoot) {
  Strings ids, numbered;  // A1, A2, .. A22, B1, .. L22; 1, 2, .. 1617
  for (int i = 0; i < 264; ++i)
    ids.push_back(static_cast<char>('A' + i / 22) + std::to_string(1 + i % 22));
  for (int i = 1; i <= 1617; ++i)
    numbered.push_back(std::to_string(i));
  Strings gs0(ids.begin(), ids.begin() + 22);  // m = 22 before "GS0"; 288 = 18 x 16
  gs0.push_back("GS0");
  gs0.resize(288, "X999");
  const std::tuple<int, int, Strings, int, int> shapes[] = {
      {24, 6, {}, 6, 4},           {7, 10, {}, 10, 1},  {264, 0, ids, 22, 12},
      {288, 0, gs0, 18, 16},       {24, 0, {}, 4, 6},   {13, 0, {}, 1, 13},
      {1617, 0, numbered, 40, 41}, {24, 500, {}, 5, 5}, {465, 465, {}, 465, 1},
      {600, 1, {}, 24, 25}};
  for (const auto& [n, rowLength, names, rows, cols] : shapes) {
    ChartGeometry g;
    ChooseChartShape(*ReferenceOnly(n, rowLength, names), kTestSurfaces, g);
    LayoutChart(kTestSurfaces, g);
    EXPECT_EQ((std::array<int, 3>{g.ChartRows, g.ChartCols, g.CellSize > 0}),
              (std::array{rows, cols, 1}))
        << n;
  }
}

// Where cell p starts in 4 x 6 cells of 77 pixels centred in 465 x 465:
// from (1, 78).
std::array<int, 2> Origin(int p) {
  return {1 + p / 4 * 77, 78 + p % 4 * 77};
}

class PatchChartTest : public EngineTest {
 protected:
  const Raster& Picture() const { return state_.pictures.PictPat[0]; }
  // w x h pixels of chart 0 from (x, y), one letter each: K black, W white,
  // R red, B blue, '-' any other colour; each row ends in '|'.
  std::string Sample(int x0, int y0, int w, int h = 1) const {
    std::string letters;
    for (int y = y0; y < y0 + h; ++y) {
      for (int x = x0; x < x0 + w; ++x) {
        const std::uint32_t p = Picture().Pixel(x, y);
        letters += p == kBlack ? 'K' : p == kWhite ? 'W' : p == kRed ? 'R' : p == kBlue ? 'B' : '-';
      }
      letters += '|';
    }
    return letters;
  }
  // The marks of cells of chart 0: U(nder), O(ver), M(aximum); the Under
  // circle has the radius 23, the Over ring 7.7.
  std::string Marks(std::initializer_list<int> cells) const {
    std::string all;
    for (int p : cells) {
      const auto [x, y] = Origin(p);
      const std::string centre = Sample(x + 38, y + 38, 24);
      const std::string corner = Sample(x, y, 6, 6);
      all += centre.starts_with('K') && centre.ends_with("W|") ? "U" : "";
      all += centre.starts_with('W') && centre[8] == 'K' ? "O" : "";
      all += corner.starts_with('R') && corner[5 * 7 + 5] == 'B' ? "M," : ",";
    }
    return all;
  }
};

// Largest 4.5: scale 5, Under below 0.5, Over above 3.75 (both strict), and
// every patch at the maximum carries the maximum mark.
TEST_F(PatchChartTest, HalvesAndMarks) {
  std::vector<double> d = {0.25, 0.5, 3.75, 4.0, 4.5, 4.5};
  d.resize(24, 1.0);
  LoadPair(d, 4);
  EXPECT_EQ(Marks({0, 1, 2, 3, 4, 5, 6, 23}), "U,,,O,OM,OM,,,");
  // Reference above, File1 from the middle row down, cells abutting inside the background.
  const auto [x, y] = Origin(2);
  const Raster& p = Picture();
  const std::uint32_t bg = p.Background();
  const auto grey = [](double L) { return LabToRgb(L, 0, 0); };
  EXPECT_EQ(
      (std::vector{p.Pixel(x, y), p.Pixel(x + 76, y + 37), p.Pixel(x, y + 38),
                   p.Pixel(x + 76, y + 76), p.Pixel(x, y + 77), p.Pixel(0, 200), p.Pixel(463, 200),
                   p.Pixel(200, 77), p.Pixel(200, 386)}),
      (std::vector{grey(50), grey(50), grey(53.75f), grey(53.75f), grey(50), bg, bg, bg, bg}));
  // Over: white centre, black ring of radius 7.7 five pixels wide.
  const auto [x3, y3] = Origin(3);
  EXPECT_EQ(Sample(x3 + 38 - 11, y3 + 38, 23), "-KKKKK----WWW----KKKKK-|");
  // The checks take the marks away; only the maximum stays.
  Do(ChkBest_Click, false);
  Do(ChkWorst_Click, false);
  EXPECT_EQ(Marks({0, 3, 4}), ",,M,");
}

// The identifier walk of the chart shape, on identifiers far longer than a
// reader stores: rows of the chart of one patch named `id`, in a box of any size.
int RowsFor(const std::string& id) {
  Surfaces huge = kTestSurfaces;
  huge.chartWidth = huge.chartHeight = 32767;
  ChartGeometry g;
  ChooseChartShape(*ReferenceOnly(1, 0, {id}), huge, g);
  return g.ChartRows;
}

// The walk as written: the number from every digit to the end, the largest
// taken; a single patch falls back to 1 row when there is none.
int RowsByDefinition(const std::string& id) {
  int m = 0;
  for (std::size_t d = 0; d < id.size(); ++d) {
    if (id[d] >= '0' && id[d] <= '9')
      m = std::max(m, static_cast<int>(ParseInteger(std::string_view(id).substr(d))));
  }
  return std::max(m, 1);
}

TEST(ChartShapeScan, TheLargestNumberFromAnyDigitAsParsingFromEachDigitGives) {
  const std::string zeros = "P" + std::string(400, '0') + "7";
  const std::pair<std::string, int> known[] = {
      {"A12", 12}, {"X1.5e3", 5000}, {"ID12345678e-4", 1235}, {"Z99999e-1", 10000},
      {zeros, 7},  {"Q40000", 1},    {"Q32768", 2768},        {"1.2.3", 3}};
  for (const auto& [id, rows] : known)
    EXPECT_EQ(RowsFor(id), rows) << id;
  std::mt19937 random(21);
  const std::string alphabet = "0123456789012345678901234..eE+- A";
  for (int i = 0; i < 20000; ++i) {
    std::string id(random() % 14, ' ');
    for (char& c : id)
      c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(RowsFor(id), RowsByDefinition(id)) << "'" << id << "'";
  }
}

// Parsing from every digit of a 1 MB identifier took 97 s.
TEST(ChartShapeScan, AMegabyteIdentifierTakesLinearTime) {
  for (const std::string& tail : {std::string(), std::string("e-999999"), std::string(".5e3")}) {
    const std::string id = std::string(1 << 20, '1') + tail;
    const auto start = std::chrono::steady_clock::now();
    RowsFor(id);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << tail;
  }
}

}  // namespace
}  // namespace korimo::testing
