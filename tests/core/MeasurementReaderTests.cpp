#include "core/MeasurementReader.h"

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "color/ColorDifference.h"
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

using Lab = std::array<double, 3>;
constexpr Lab kFirst{95.12f, -0.48f, 2.33f};  // what "95.12 -0.48 2.33" reads as
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

  static long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
  }

  // Any file reads in bounded time and memory: lines are cut at 64 MiB, and
  // holding a 150 MB line whole, or growing a copy towards the cut by
  // doubling, would cost over 100 MiB.
  int Check(ReadResult result) {
    EXPECT_LT(std::chrono::steady_clock::now() - start_, std::chrono::minutes(1));  // sanitizers
    EXPECT_LT(PeakRssKb() - peakBefore_, kReadGrowthLimitKb);
    last_ = result;
    return last_.patches;
  }
  int Read(const std::string& path, int set = 0) {
    start_ = std::chrono::steady_clock::now();
    return Check(ReadMeasurementFile(path, set, *data_, Notice()));
  }
  // The bytes read from memory as the reader reads an open file.
  int ReadBytes(std::string bytes, int set = 0) {
    start_ = std::chrono::steady_clock::now();
    std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    const ReadResult result = ReadMeasurementStream(file, set, *data_, Notice());
    std::fclose(file);
    return Check(result);
  }
  TooManyPatchesNotice Notice() {
    return [this](std::string_view m) { messages_.emplace_back(m); };
  }

  TempDir dir_{"reader"};
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
  std::vector<std::string> messages_;
  ReadResult last_;
  long peakBefore_ = PeakRssKb();
  std::chrono::steady_clock::time_point start_;
};

// One change per case: what, patches read, the patch checked, its identifier
// and Lab, and the row length (9 when the file leaves it unchanged).
TEST_F(ReaderTest, HeaderAndDataRules) {
  const std::string tabs = "SAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B";
  const Lab zero{0, 0, 0}, a2{50, 10, -20}, shifted{0, 95.12f, -0.48f}, nonNumbers{95.12f, 0, 0};
  const std::tuple<const char*, int, int, std::string, Lab, int, std::string> cases[] = {
      {"valid", 2, 0, "A1", kFirst, 6, File()},
      {"LF only", 2, 0, "A1", kFirst, 6, File({}, "\n")},
      {"CR only", 2, 0, "A1", kFirst, 6, File({}, "\r")},
      {"BOM before the keyword", 2, 0, "A1", kFirst, 6, "\xEF\xBB\xBF" + File({{0, kDrop}})},
      {"tabs", 2, 0, "A1", kFirst, 6, File({{3, tabs}, {6, "1\tA1\t95.12\t-0.48\t2.33"}})},
      {"padding", 2, 0, "A1", kFirst, 6,
       File({{3, "SAMPLE_ID  SAMPLE_NAME LAB_L \t LAB_A  LAB_B"},
             {6, "1  A1 95.12   -0.48 2.33  "}})},
      {"double tab shifts the values", 2, 0, "A1", shifted, 6,
       File({{3, tabs}, {6, "1\tA1\t\t95.12\t-0.48\t2.33"}})},
      {"blank after a tab is part of the name: no L*, refused", 0, 0, "", zero, 6,
       File({{3, "SAMPLE_ID\tSAMPLE_NAME\t LAB_L\tLAB_A\tLAB_B"}})},
      {"quotes and decimal commas", 2, 0, "A1", kFirst, 6,
       File({{6, "\"1\" \"A1\" \"95,12\" \"-0,48\" \"2.33\""}})},
      {"one-sided quotes", 2, 0, "A1", kFirst, 6, File({{6, "1 \"A1 95.12\" -0.48 2.33"}})},
      {"non-numbers read as 0", 2, 0, "A1", nonNumbers, 6, File({{6, "1 A1 95.12 x 1e39"}})},
      {"CP932 identifier", 2, 0, "基⊿", kFirst, 6,
       File({{6, "1 \x8A\xEE\x87\x99 95.12 -0.48 2.33"}})},
      {"UTF-8 identifier", 2, 0, "基⊿", kFirst, 6, File({{6, "1 基⊿ 95.12 -0.48 2.33"}})},
      {"blank data line", 3, 0, "", zero, 6, File({{6, "\r\n1 A1 95.12 -0.48 2.33"}})},
      {"quoted row length", 2, 0, "A1", kFirst, 0, File({{1, "LGOROWLENGTH \"6\""}})},
      {"row length 6.5 to even", 2, 0, "A1", kFirst, 6, File({{1, "LGOROWLENGTH 6.5"}})},
      {"lower-case keyword", 2, 0, "A1", kFirst, 9, File({{1, "lgorowlength 6"}})},
      {"no keyword", 2, 0, "A1", kFirst, 9, File({{1, kDrop}})},
      {"indented BEGIN_DATA", 0, 0, "", zero, 6, File({{5, "  BEGIN_DATA"}})},
      {"no column names: refused", 0, 0, "", zero, 6, File({{3, ""}})},
      {"no LAB_A: refused", 0, 0, "", zero, 6,
       File({{3, "SAMPLE_ID SAMPLE_NAME LAB_L LAB_X LAB_B"}})},
      {"name after the Lab columns is not seen, the id before them is", 2, 0, "1", kFirst, 6,
       File({{3, "SAMPLE_ID LAB_L LAB_A LAB_B SAMPLE_NAME"}, {6, "1 95.12 -0.48 2.33 A1"}})},
      {"lower-case end_data ends", 1, 1, "", zero, 6, File({{7, "end_data"}})},
      {"indented END_DATA is data", 3, 1, "", zero, 6, File({{7, " END_DATA"}, {8, "3 A3 1 2 3"}})},
      {"no END_DATA", 2, 1, "A2", a2, 6, File({{8, kDrop}})},
  };
  for (const auto& [what, count, patch, id, lab, rowLength, bytes] : cases) {
    SCOPED_TRACE(what);
    data_->RowLength[0] = 9;
    EXPECT_EQ(ReadBytes(bytes), count);
    EXPECT_EQ(data_->PatchId[patch], id);
    EXPECT_EQ(data_->Lab0[patch], lab);
    EXPECT_EQ(data_->RowLength[0], rowLength);
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ReaderTest, ThreeThousandPatchesIsTheLimitWithOneMessageAndReadingEmptiesTheSet) {
  Edits lines;
  for (int i = 0; i < 3001; ++i)
    lines.push_back({6 + i, "1 P" + std::to_string(i) + " 50 1 2"});
  lines.push_back({3006, "END_DATA"});  // in place of the last patch
  EXPECT_EQ(ReadBytes(File(lines), 1), 3000);
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(last_.cutAt3000);
  lines.back().first = 3007;
  EXPECT_EQ(ReadBytes(File(lines)), 3000);
  EXPECT_EQ(messages_, std::vector<std::string>{std::string(kTooManyPatchesMessage)});
  EXPECT_TRUE(last_.cutAt3000);
  EXPECT_EQ(data_->PatchId[2999], "P2999");
  EXPECT_EQ(data_->Lab0[3000][0], 0.0);
  ReadBytes(File(), 1);
  ReadBytes(File(), 0);
  EXPECT_EQ((std::array{data_->Lab0[2][0], data_->Lab1[2][0]}), (std::array{0.0, 0.0}));
  EXPECT_EQ(data_->PatchId[2], "");
}

// Files nobody would write on purpose read as 0 to 3000 patches.
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
  EXPECT_EQ(ReadBytes(million), kMaxPatches);
  EXPECT_EQ(messages_.size(), 1u);
  ASSERT_EQ(ReadBytes("SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n" +
                      std::string("A\0B 1e39 -0 1e-45\r\n\x87\r\n", 22) +  // truncated CP932
                      "\xFF\xFE\x80 4 nan inf\r\n\xE3\x81 3.4028235e38 -1e39 0x1p4\r\nEND_DATA"),
            4);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(IsValidUtf8(data_->PatchId[i])) << i;
  EXPECT_EQ(data_->Lab0[0][0], 0.0);
  EXPECT_TRUE(std::signbit(data_->Lab0[0][1]));
  EXPECT_GT(data_->Lab0[0][2], 0.0);
  EXPECT_EQ(data_->Lab0[2], (Lab{4, 0, 0}));
  EXPECT_EQ(data_->Lab0[3], (Lab{3.4028235e38f, 0, 0}));
  EXPECT_EQ(Read(dir_.path().string()), 0);  // a folder
  EXPECT_EQ(Read("/dev/zero"), 0);           // never ends
  WriteChart(path, {{"A1", 50, 0, 0}});
  EXPECT_EQ(Read(path, 1), 1);
  std::filesystem::permissions(path, std::filesystem::perms::none);
  EXPECT_EQ(Read(path), ::geteuid() == 0 ? 1 : 0);  // root reads it regardless
  EXPECT_EQ(last_.failure, ::geteuid() == 0 ? ReadFailure::None : ReadFailure::Unreadable);
  std::filesystem::remove(path);  // vanished between two loads
  EXPECT_EQ(Read(path, 1), 0);
  EXPECT_EQ(data_->Lab1[0][0], 0.0);
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

// CIE L* by the κ/ε form of the formula, apart from the reader's own.
double LightnessOf(double y) {
  constexpr double kEpsilon = 216.0 / 24389.0;
  constexpr double kKappa = 24389.0 / 27.0;
  return y > kEpsilon ? 116.0 * std::cbrt(y) - 16.0 : kKappa * y;
}

void ExpectLab(const Lab& lab, double L, double a, double b, double tolerance) {
  EXPECT_NEAR(lab[0], L, tolerance);
  EXPECT_NEAR(lab[1], a, tolerance);
  EXPECT_NEAR(lab[2], b, tolerance);
}

// XYZ on either scale and under the declared white; LAB columns win over XYZ.
TEST_F(ReaderTest, ComputesLabFromXyz) {
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
    ASSERT_EQ(ReadBytes(ColumnFile(c.header, c.names, {c.row})), 1) << c.row;
    EXPECT_EQ(last_.info.source, c.source) << c.row;
    SCOPED_TRACE(c.row);
    ExpectLab(data_->Lab0[0], c.L, c.a, c.b, 2e-4);
  }
}

// Fractions or percent, 5/10/20 nm, 380–730 or 400–700, pairs with decimal
// commas, 10°: a 50 % grey is L* = 116·0.5^(1/3) − 16 on every table.
TEST_F(ReaderTest, ComputesLabFromSpectra) {
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
    ASSERT_EQ(ReadBytes(ColumnFile(c.header, c.file.first, {c.file.second})), 1)
        << c.file.first.substr(0, 40);
    EXPECT_EQ(last_.info.source, LabSource::Spectral);
    EXPECT_EQ(last_.info.spectralStepNm, c.step);
    EXPECT_EQ(last_.info.observer, c.observer);
    ExpectLab(data_->Lab0[0], grey, 0, 0, 2e-4);
  }
  // A cell that is no number reads as 0.
  std::string holed = half10;
  holed.replace(holed.find(" 0.5"), 4, " n/a");
  ReadBytes(ColumnFile("", names10, {half10, holed}));
  EXPECT_LT(data_->Lab0[1][0], data_->Lab0[0][0]);
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
    EXPECT_EQ(ReadBytes(c.file), 0) << c.file;
    EXPECT_EQ(last_.failure, c.failure) << c.file;
    EXPECT_EQ(last_.info.source, LabSource::None);
    EXPECT_TRUE(data_->FileId[0][0].empty());
    if (!c.english.empty()) {
      EXPECT_EQ(EnglishReason(last_.Reason()), c.english);
    }
  }
}

TEST_F(ReaderTest, KeepsDeviceValuesAndBothIdentifiers) {
  ReadBytes(ColumnFile("MEASUREMENT_CONDITION M1\n",
                       "SAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B CMYK_C CMYK_M CMYK_Y "
                       "CMYK_K",
                       {"1 A1 50 0 0 10,5 20 30 40", "2 A2 50 0 0 x 0 0 100"}));
  const MeasurementSet& set = last_.info;
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
// file reads its XYZ, within what two decimals of XYZ allow of the file's own
// L*a*b*: about ΔE00 0.4, at most 0.402 on TR006's darkest three-colour patch
// (Y = 1.24 ± 0.005).
TEST_F(ReaderTest, RealFilesAgreeWithTheirOwnLab) {
  const std::filesystem::path folder = "/usr/share/color/icc";
  if (!std::filesystem::exists(folder / "FOGRA39L.ti3"))
    GTEST_SKIP() << "icc-profiles-free is not installed";
  int files = 0;
  for (const char* name : {"FOGRA28L.ti3", "FOGRA29L.ti3", "FOGRA30L.ti3", "FOGRA39L.ti3",
                           "FOGRA40L.ti3", "TR002.ti3", "TR003.ti3", "TR005.ti3", "TR006.ti3"}) {
    std::string text = ReadAll(folder / name);
    const int n = ReadBytes(text, 0);
    text.replace(text.find("LAB_L LAB_A LAB_B"), 17, "L A B");
    ASSERT_GT(n, 900) << name;
    ASSERT_EQ(ReadBytes(text, 1), n) << name;
    EXPECT_EQ(last_.info.source, LabSource::Xyz);
    EXPECT_EQ(last_.info.illuminant, Illuminant::D50) << name;
    double worst = 0;
    for (int i = 0; i < n; ++i) {
      const Lab& own = data_->Lab0[i];
      const Lab& computed = data_->Lab1[i];
      worst =
          std::max(worst, Ciede2000(own[0], own[1], own[2], computed[0], computed[1], computed[2]));
    }
    EXPECT_LE(worst, 0.405) << name;
    ++files;
  }
  EXPECT_EQ(files, 9);
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
    return std::vector<std::string>(data_->PatchId.begin(), data_->PatchId.begin() + patches);
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
