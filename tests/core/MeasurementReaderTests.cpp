#include "core/MeasurementReader.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "color/ColorDifference.h"
#include "core/Cxf3Reader.h"
#include "core/Utf8.h"
#include "support/TestCharts.h"

#if defined(__SANITIZE_ADDRESS__)
// Each pass over a file holds its own 64 MiB line buffer; AddressSanitizer
// would keep every freed one in its 256 MB quarantine, which measures the
// sanitizer rather than the reader.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16";
}
#endif

namespace korimo::testing {
namespace {

constexpr LabValue kFirst{95.12f, -0.48f, 2.33f};  // what "95.12 -0.48 2.33" reads as
constexpr LabValue kZero{0, 0, 0};
constexpr auto kDrop = std::nullopt;

class ReaderTest : public ::testing::Test {
 protected:
  using Edits = std::vector<std::pair<int, std::optional<std::string>>>;

  // The valid file every bad-input case starts from, with lines replaced or
  // dropped (kDrop), joined with `eol`.
  static std::string File(const Edits& edits = {}, const std::string& eol = "\r\n") {
    std::vector<std::optional<std::string>> lines = {"CGATS.17",
                                                     "LGOROWLENGTH 6",
                                                     "BEGIN_DATA_FORMAT",
                                                     "SAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B",
                                                     "END_DATA_FORMAT",
                                                     "BEGIN_DATA",
                                                     "1 A1 95.12 -0.48 2.33",
                                                     "2 A2 50 10 -20",
                                                     "END_DATA"};
    for (const auto& [line, text] : edits) {
      lines.resize(std::max<std::size_t>(lines.size(), line + 1));
      lines[line] = text;
    }
    std::string out;
    for (const auto& l : lines)
      out += l ? *l + eol : "";
    return out;
  }

#if defined(__SANITIZE_ADDRESS__)
  static constexpr long kReadGrowthLimitKb = 200 * 1024;  // freed blocks stay in quarantine a while
#else
  static constexpr long kReadGrowthLimitKb = 100 * 1024;
#endif

  // Any file reads in bounded time and memory: lines are cut at 64 MiB, and
  // holding a 150 MB line whole, or growing a copy towards the cut by
  // doubling, would cost over 100 MiB. A read stores patches or says why
  // not, never both.
  int Check(Measurement m) {
    EXPECT_LT(std::chrono::steady_clock::now() - start_, std::chrono::minutes(1));  // sanitizers
    EXPECT_LT(PeakRssKb() - peakBefore_, kReadGrowthLimitKb);
    EXPECT_NE(m.Stored(), m.failure.code != ReadFailure::None);
    last_ = std::move(m);
    return last_.Count();
  }
  int Read(const std::string& path) {
    start_ = std::chrono::steady_clock::now();
    return Check(ReadMeasurementFile(path, Notice()));
  }
  // The bytes read from memory as the reader reads an open file.
  int ReadBytes(std::string bytes) {
    start_ = std::chrono::steady_clock::now();
    std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    Measurement m = ReadMeasurementStream(file, Notice());
    std::fclose(file);
    return Check(std::move(m));
  }
  TooManyPatchesNotice Notice() {
    return [this](std::string_view m) { messages_.emplace_back(m); };
  }

  TempDir dir_{"reader"};
  std::vector<std::string> messages_;
  Measurement last_;
  long peakBefore_ = PeakRssKb();
  std::chrono::steady_clock::time_point start_;
};

std::optional<std::int16_t> RowLength(int value) {
  return value < 0 ? std::nullopt : std::optional(static_cast<std::int16_t>(value));
}

// One change per case: what, the file, patches read, the patch checked, its
// identifier and L*a*b*, and the row length (-1: none). A refused file still
// carries its header's row length. Line ends, a byte order mark, quotes and
// decimal commas, identifiers in either encoding, a name column after L*a*b*,
// a misnamed LAB column and a missing BEGIN_DATA are in the goldens.
TEST_F(ReaderTest, HeaderAndDataRules) {
  const std::string tabs = "SAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B";
  const LabValue a2{50, 10, -20}, shifted{0, 95.12f, -0.48f}, nonNumbers{95.12f, 0, 0};
  const struct {
    const char* what;
    std::string bytes;
    int count = 2;
    LabValue lab = kFirst;
    std::string id = "A1";
    int rowLength = 6;
    std::size_t patch = 0;
  } cases[] = {
      {"valid", File()},
      {"tabs", File({{3, tabs}, {6, "1\tA1\t95.12\t-0.48\t2.33"}})},
      {"padding", File({{3, "SAMPLE_ID  SAMPLE_NAME LAB_L \t LAB_A  LAB_B"},
                        {6, "1  A1 95.12   -0.48 2.33  "}})},
      {"double tab shifts the values", File({{3, tabs}, {6, "1\tA1\t\t95.12\t-0.48\t2.33"}}), 2,
       shifted},
      {"one-sided quotes", File({{6, "1 \"A1 95.12\" -0.48 2.33"}})},
      {"non-numbers read as 0", File({{6, "1 A1 95.12 x 1e39"}}), 2, nonNumbers},
      {"blank data line", File({{6, "\r\n1 A1 95.12 -0.48 2.33"}}), 3, kZero, ""},
      {"quoted row length", File({{1, "LGOROWLENGTH \"6\""}}), 2, kFirst, "A1", 0},
      {"row length 6.5 to even", File({{1, "LGOROWLENGTH 6.5"}})},
      {"lower-case keyword", File({{1, "lgorowlength 6"}}), 2, kFirst, "A1", -1},
      {"no keyword", File({{1, kDrop}}), 2, kFirst, "A1", -1},
      {"lower-case end_data ends", File({{7, "end_data"}}), 1},
      {"indented END_DATA is data", File({{7, " END_DATA"}, {8, "3 A3 1 2 3"}}), 3, kZero, "", 6,
       1},
      {"no END_DATA", File({{8, kDrop}}), 2, a2, "A2", 6, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(ReadBytes(c.bytes), c.count);
    EXPECT_EQ(last_.rowLength, RowLength(c.rowLength));
    EXPECT_EQ(last_.ids.values.at(c.patch), c.id);
    EXPECT_EQ(last_.lab.at(c.patch), c.lab);
  }
  const std::pair<std::string, ReadFailure> refused[] = {
      {File({{3, "SAMPLE_ID\tSAMPLE_NAME\t LAB_L\tLAB_A\tLAB_B"}}), ReadFailure::NoColourColumns},
      {File({{3, ""}}), ReadFailure::NoColourColumns},
      {File({{5, "  BEGIN_DATA"}}), ReadFailure::NoBeginData},
      {File({{6, "END_DATA"}}), ReadFailure::NoDataLines},
  };
  for (const auto& [bytes, failure] : refused) {
    EXPECT_EQ(ReadBytes(bytes), 0) << bytes;
    EXPECT_EQ(last_.failure.code, failure) << bytes;
    EXPECT_EQ(last_.rowLength, RowLength(6)) << bytes;
  }
  EXPECT_TRUE(messages_.empty());
}

// The L* column may be named only on the BEGIN_DATA line or after it: the
// header's search goes on through the data, and the data section is then read
// from its first line with the columns found, a naming line being a patch
// like any other.
TEST_F(ReaderTest, ColumnsNamedAfterBeginDataServeTheWholeDataSection) {
  const std::string names = "SAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B\n";
  const std::string first = "1 A1 95.12 -0.48 2.33\n";
  const struct {
    std::string file;
    std::vector<std::string> ids;
    std::vector<LabValue> lab;
    int rowLength;
  } cases[] = {
      {"BEGIN_DATA\nLGOROWLENGTH 8\n" + first + names + "LGOROWLENGTH 9\n2 A2 50 10 -20\n",
       {"8", "A1", "SAMPLE_NAME", "9", "A2"},
       {kZero, kFirst, kZero, kZero, {50, 10, -20}},
       8},
      {"BEGIN_DATA\n" + first + "END_DATA\n" + names, {"A1"}, {kFirst}, -1},
      {"BEGIN_DATA " + names + first, {"95.12"}, {{-0.48f, 2.33f, 0}}, -1},
      // Only the name, of an XYZ file.
      {"XYZ_X XYZ_Y XYZ_Z\nBEGIN_DATA\n96.42 100 82.49\nEND_DATA\nx SAMPLE_NAME\n",
       {"100"},
       {{100, 0, 0}},
       -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(ReadBytes(c.file), static_cast<int>(c.ids.size()));
    EXPECT_EQ(last_.ids.values, c.ids);
    EXPECT_EQ(last_.rowLength, RowLength(c.rowLength));
    for (std::size_t i = 0; i < c.lab.size(); ++i) {
      for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(last_.lab[i][k], c.lab[i][k], 1e-5) << i;
    }
  }
}

// Files nobody would write on purpose read as 0 to 3000 patches. (A file of
// exactly 3000 patches is read without a message in the goldens.)
TEST_F(ReaderTest, HostileFiles) {
  const std::string path = dir_.File("hostile.txt");
  std::string block(1 << 20, ' ');
  std::mt19937 rng(20261206);
  std::generate(block.begin(), block.end(), [&] { return static_cast<char>(rng()); });
  for (const int mebibytes : {200, 150}) {  // random bytes, then without line breaks
    std::ofstream out(path, std::ios::binary);
    out << "CGATS.17\n";  // the long line then starts off a chunk boundary
    for (int m = 0; m < mebibytes; ++m)
      out << block;
    out.close();
    EXPECT_EQ(Read(path), 0);
    std::replace(block.begin(), block.end(), '\n', ' ');
    std::replace(block.begin(), block.end(), '\r', ' ');
  }
  std::string million = "SAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\nBEGIN_DATA\n";
  for (int i = 0; i < 1000000; ++i)
    million += "P" + std::to_string(i) + "\t50\t1\t2\n";
  EXPECT_EQ(ReadBytes(million), kMaxPatches);  // the first 3000, with one message
  EXPECT_EQ(messages_, std::vector<std::string>{std::string(kTooManyPatchesMessage)});
  EXPECT_EQ((std::tuple{last_.cutAt3000, last_.ids.values.back()}), (std::tuple{true, "P2999"}));
  ASSERT_EQ(ReadBytes("SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n" +
                      std::string("A\0B 1e39 -0 1e-45\r\n\x87\r\n", 22) +  // truncated CP932
                      "\xFF\xFE\x80 4 nan inf\r\n\xE3\x81 3.4028235e38 -1e39 0x1p4\r\nEND_DATA"),
            4);
  for (const std::string& id : last_.ids.values)
    EXPECT_TRUE(IsValidUtf8(id)) << id;
  EXPECT_EQ((std::tuple{last_.lab[0][0], std::signbit(last_.lab[0][1]), last_.lab[0][2] > 0}),
            (std::tuple{0.0f, true, true}));
  EXPECT_EQ((std::pair{last_.lab[2], last_.lab[3]}),
            (std::pair{LabValue{4, 0, 0}, LabValue{3.4028235e38f, 0, 0}}));
  WriteChart(path, {{"A1", 50, 0, 0}});
  std::filesystem::permissions(path, std::filesystem::perms::none);
  const bool root = ::geteuid() == 0;  // root reads any file regardless
  const std::pair<std::string, ReadFailure> unreadable[] = {
      {dir_.path().string(), ReadFailure::NotRegularFile},
      {"/dev/zero", ReadFailure::NotRegularFile},  // never ends
      {path, root ? ReadFailure::None : ReadFailure::Unreadable},
      {dir_.File("vanished.txt"), ReadFailure::Missing},
  };
  for (const auto& [file, failure] : unreadable) {
    EXPECT_EQ(Read(file), failure == ReadFailure::None ? 1 : 0) << file;
    EXPECT_EQ(last_.failure.code, failure) << file;
    EXPECT_EQ(last_.path, file);
  }
}

// CxF3 is told by its content, whatever the file is called, from a path or a
// stream, and the bundled sample holds the chart of its CGATS twin; a file larger than the XML
// parser may take is refused unread (a sparse terabyte: reading it would fail).
TEST_F(ReaderTest, ReadsCxf3FilesByTheirContent) {
  const std::string cxf = ReadAll(KORIMO_SAMPLES_DIR "/small-reference.cxf");
  const std::string path = dir_.Write("chart.txt", cxf);
  EXPECT_EQ(Read(path), 24);
  EXPECT_TRUE(SameMeasurement(last_, ReadCxf3(cxf, path, {})));
  EXPECT_EQ(ReadBytes(cxf), 24);
  EXPECT_TRUE(SameMeasurement(last_, ReadCxf3(cxf, "", {})));
  const Measurement twin = ReadMeasurementFile(KORIMO_SAMPLES_DIR "/small-reference.txt");
  EXPECT_EQ((std::tuple{last_.format, last_.ids.values, last_.lab}),
            (std::tuple{FileFormat::Cxf3, twin.ids.values, twin.lab}));
  std::filesystem::resize_file(path, std::uintmax_t{1} << 40);
  EXPECT_EQ(Read(path), 0);
  EXPECT_EQ((std::tuple{last_.failure.code, last_.format, last_.path}),
            (std::tuple{ReadFailure::CxfTooLarge, FileFormat::Cxf3, path}));
}

// A file of `header` lines, the field names and the data lines.
std::string ColumnFile(const std::string& header, const std::string& names,
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

// CIE 15 in double, apart from the reader: f(t) = t^(1/3) above (24/116)³,
// else (841/108) t + 16/116; L* = 116 f(Y/Yn) − 16, a* = 500 (f(X/Xn) −
// f(Y/Yn)), b* = 200 (f(Y/Yn) − f(Z/Zn)). Stored as 32-bit values once.
LabValue CieLab(const std::array<double, 3>& xyz, const std::array<double, 3>& white) {
  const auto f = [](double t) {
    return t > std::pow(24.0 / 116.0, 3) ? std::cbrt(t) : 841.0 / 108.0 * t + 16.0 / 116.0;
  };
  const double fx = f(xyz[0] / white[0]), fy = f(xyz[1] / white[1]), fz = f(xyz[2] / white[2]);
  return {static_cast<float>(116 * fy - 16), static_cast<float>(500 * (fx - fy)),
          static_cast<float>(200 * (fy - fz))};
}

// XYZ on either scale and under the declared white (ICC D50; CIE 15 D65 and
// 10°); LAB columns win over XYZ. Every value is the 32-bit value of the
// formula worked in double: a computed value is narrowed once and kept so.
TEST_F(ReaderTest, ComputesLabFromXyz) {
  const std::array<double, 3> d50{96.42, 100, 82.49}, d65{95.047, 100, 108.883};
  const std::array<double, 3> d50Deg10{96.720, 100, 81.427};
  const std::string xyz = "XYZ_X XYZ_Y XYZ_Z", zyx = "XYZ_Z XYZ_Y XYZ_X";
  const struct {
    std::string header, names, row;
    std::array<float, 3> read;  // X, Y, Z as 32-bit values
    double scale;
    std::array<double, 3> white;
  } cases[] = {
      {"", xyz, "41.24 21.26 1.93", {41.24f, 21.26f, 1.93f}, 1, d50},
      {"", xyz, "0.4124 0.2126 0.0193", {0.4124f, 0.2126f, 0.0193f}, 100, d50},
      {"OBSERVER 10\n", xyz, "18.05 7.22 95.05", {18.05f, 7.22f, 95.05f}, 1, d50Deg10},
      {"ILLUMINANT D65\n", zyx, "1.93 21.26 41.24", {41.24f, 21.26f, 1.93f}, 1, d65},
      {"", xyz, "0.5 2.5 0.43", {0.5f, 2.5f, 0.43f}, 1, d50},
      {"", xyz, "x - ,", {0, 0, 0}, 1, d50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    ASSERT_EQ(ReadBytes(ColumnFile(c.header, c.names, {c.row})), 1);
    EXPECT_EQ(last_.source, LabSource::Xyz);
    const auto& [x, y, z] = c.read;
    EXPECT_EQ(last_.lab[0], CieLab({x * c.scale, y * c.scale, z * c.scale}, c.white));
  }
  ReadBytes(ColumnFile("ILLUMINANT F2\n", xyz + " LAB_L LAB_A LAB_B", {"1 2 3 50 1 -1"}));
  EXPECT_EQ((std::pair{last_.source, last_.lab[0]}),
            (std::pair{LabSource::Lab, LabValue{50, 1, -1}}));
}

double LightnessOf(double y) {
  return CieLab({y, y, y}, {1, 1, 1})[0];
}

// Fractions or percent, 5/10/20 nm, 380–730, 400–700 or wider, pairs with
// decimal commas: a 50 % grey is L* = 116·0.5^(1/3) − 16 on every table.
// Coloured spectra are checked against L*a*b* computed apart from the program
// in Cxf3ReaderTests, and read from CGATS to the last bit in the golden
// computed-json.
TEST_F(ReaderTest, ComputesLabFromSpectra) {
  const double grey = LightnessOf(0.5);
  std::string pairNames = "SAMPLE_ID";
  std::string pairRow = "1";
  for (int nm = 380; nm <= 730; nm += 10) {
    pairNames += " SPECTRAL_NM SPECTRAL_DEC";
    pairRow += " " + std::to_string(nm) + " 0,5";
  }
  const auto [names10, half10] = Flat(380, 730, 10, "0.5");
  const std::pair<std::pair<std::string, std::string>, int> cases[] = {
      {Flat(380, 730, 10, "0.5"), 10},  {Flat(380, 730, 10, "50"), 10},
      {Flat(400, 700, 10, "50,0"), 10}, {Flat(380, 730, 5, "0.5"), 10},
      {Flat(380, 720, 20, "0.5"), 20},  {{pairNames, pairRow}, 10},
      {Flat(360, 780, 10, "0.5"), 10},  {Flat(300, 830, 1, "0.5"), 10},
  };
  for (const auto& [file, step] : cases) {
    SCOPED_TRACE(file.first.substr(0, 40));
    ASSERT_EQ(ReadBytes(ColumnFile("", file.first, {file.second})), 1);
    EXPECT_EQ((std::pair{last_.source, last_.spectralStepNm}),
              (std::pair{LabSource::Spectral, step}));
    for (std::size_t k = 0; k < 3; ++k)
      EXPECT_NEAR(last_.lab[0][k], k == 0 ? grey : 0, 2e-4);
  }
  // A cell that is no number reads as 0.
  std::string holed = half10;
  holed.replace(holed.find(" 0.5"), 4, " n/a");
  ReadBytes(ColumnFile("", names10, {half10, holed}));
  EXPECT_LT(last_.lab[1][0], last_.lab[0][0]);
}

TEST_F(ReaderTest, RefusesFilesWithoutUsableColour) {
  const auto [bandNames, bandRow] = Flat(380, 730, 10, "0.5");
  const auto [narrowNames, narrowRow] = Flat(420, 730, 10, "0.5");
  std::string gapNames = bandNames;
  gapNames.erase(gapNames.find(" R_550"), 6);
  const struct {
    std::string file;
    ReadFailure failure;
    std::string english;
  } cases[] = {
      {ColumnFile("", "SAMPLE_ID CMYK_C CMYK_M CMYK_Y CMYK_K", {"1 0 0 0 0"}),
       ReadFailure::NoColourColumns, "no LAB_L/LAB_A/LAB_B, XYZ or spectral columns"},
      {ColumnFile("", "SAMPLE_ID XYZ_X", {"1 20"}), ReadFailure::NoColourColumns, ""},
      {ColumnFile("ILLUMINANT \"F2\"\n", "XYZ_X XYZ_Y XYZ_Z", {"1 2 3"}),
       ReadFailure::UnknownIlluminant, "illuminant F2: no weighting table"},
      {ColumnFile("", narrowNames, {narrowRow}), ReadFailure::SpectralNarrow, ""},
      {ColumnFile("", gapNames, {bandRow}), ReadFailure::SpectralGap, "no spectral band at 550 nm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(ReadBytes("LGOROWLENGTH 4\n" + c.file), 0);
    EXPECT_EQ(last_.failure.code, c.failure);
    EXPECT_EQ((std::tuple{last_.source, last_.ids.present, last_.device.space}),
              (std::tuple{LabSource::None, false, DeviceSpace::None}));
    EXPECT_EQ(last_.rowLength, std::optional<std::int16_t>(4));
    if (!c.english.empty()) {
      EXPECT_EQ(EnglishReason(last_.failure), c.english);
    }
  }
}

// CMYK columns and both identifier columns are read in the pairing goldens
// (pair-ref.txt has both, and the goldens pair by either and by the CMYK
// values); HeaderScanTests reads the measurement condition.

// Characterization data with both XYZ and L*a*b*: without its LAB columns a
// file reads its XYZ, within what two decimals of XYZ allow of the file's own
// L*a*b*: about ΔE00 0.4, at most 0.402 on TR006's darkest three-colour patch
// (Y = 1.24 ± 0.005).
TEST_F(ReaderTest, RealFilesAgreeWithTheirOwnLab) {
  const std::filesystem::path folder = "/usr/share/color/icc";
  if (!std::filesystem::exists(folder / "FOGRA39L.ti3"))
    GTEST_SKIP() << "icc-profiles-free is not installed";
  for (const char* name : {"FOGRA28L.ti3", "FOGRA29L.ti3", "FOGRA30L.ti3", "FOGRA39L.ti3",
                           "FOGRA40L.ti3", "TR002.ti3", "TR003.ti3", "TR005.ti3", "TR006.ti3"}) {
    std::string text = ReadAll(folder / name);
    const int n = ReadBytes(text);
    const Measurement own = last_;
    text.replace(text.find("LAB_L LAB_A LAB_B"), 17, "L A B");
    ASSERT_GT(n, 900) << name;
    ASSERT_EQ(ReadBytes(text), n) << name;
    EXPECT_EQ((std::pair{last_.source, last_.illuminant}),
              (std::pair{LabSource::Xyz, Illuminant::D50}));
    double worst = 0;
    for (std::size_t i = 0; i < own.lab.size(); ++i) {
      const LabValue &s = own.lab[i], &c = last_.lab[i];
      worst = std::max(worst, Ciede2000(s[0], s[1], s[2], c[0], c[1], c[2]));
    }
    EXPECT_LE(worst, 0.405) << name;
  }
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += text;
  return out;
}

// Identifiers of any length are stored by their last 256 bytes of UTF-8,
// never cut inside a character, whether the file is UTF-8 or CP932.
TEST_F(ReaderTest, IdentifiersKeepTheLast256BytesAtACharacterBoundaryInEitherEncoding) {
  const auto StoredIds = [this](const std::string& rows, int patches) {
    EXPECT_EQ(ReadBytes("SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n" + rows + "END_DATA\r\n"),
              patches);
    return last_.ids.values;
  };
  const std::string e = "é", ha = "ｱ", ki = "基";  // 2, 3 and 3 bytes in UTF-8
  const std::vector<std::string> utf8 =
      StoredIds(Repeat(e, 200) + " 50 0 0\r\nx" + Repeat(e, 200) + " 50 0 0\r\n" +
                    std::string(300, 'x') + ki + " 50 0 0\r\n",
                3);
  EXPECT_EQ(utf8,
            (std::vector<std::string>{Repeat(e, 128), Repeat(e, 128), std::string(253, 'x') + ki}));
  // In CP932 "ｱ" is the one byte B1 and "基" the two bytes 8A EE.
  const std::string kiCp932 = "\x8A\xEE";
  const std::vector<std::string> cp932 =
      StoredIds(Repeat("\xB1", 300) + " 50 0 0\r\n" + std::string(300, 'A') + kiCp932 +
                    " 50 0 0\r\n" + std::string(300, '0') + kiCp932 + " 50 0 0\r\n" +
                    Repeat(kiCp932, 100) + "1" + Repeat(kiCp932, 150) + " 50 0 0\r\nA1 50 0 0\r\n",
                5);
  EXPECT_EQ(cp932, (std::vector<std::string>{Repeat(ha, 85), std::string(253, 'A') + ki,
                                             std::string(253, '0') + ki, Repeat(ki, 85), "A1"}));
}

}  // namespace
}  // namespace korimo::testing
