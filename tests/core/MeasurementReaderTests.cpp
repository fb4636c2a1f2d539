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
#include <tuple>
#include <vector>

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

}  // namespace
}  // namespace korimo::testing
