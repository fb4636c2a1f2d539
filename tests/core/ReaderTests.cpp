#include "core/MeasurementReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TestCharts.h"

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

  int Read(const std::string& bytes, int set = 0) {
    std::ofstream(dir_.File("m.txt"), std::ios::binary) << bytes;
    return ReadMeasurementFile(dir_.File("m.txt"), set, *data_,
                               [this](std::string_view m) { messages_.emplace_back(m); });
  }

  TempDir dir_{"reader"};
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
  std::vector<std::string> messages_;
};

// One change per case; `patch` is the patch checked.
TEST_F(ReaderTest, HeaderAndDataRules) {
  const std::string tabs = "SAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B";
  struct Case {
    const char* what;
    int count;
    int patch;
    std::string id;
    Lab lab;
    int rowLength;  // 9 when the file leaves it unchanged
    std::string bytes;
  };
  const Lab zero{0, 0, 0};
  const Lab a2{50, 10, -20};
  const Lab shifted{0, 95.12f, -0.48f};
  const Lab noA{95.12f, 1, 2.33f};
  const Case cases[] = {
      {"valid", 2, 0, "A1", kFirst, 6, File()},
      {"LF only", 2, 0, "A1", kFirst, 6, File({}, "\n")},
      {"CR only", 2, 0, "A1", kFirst, 6, File({}, "\r")},
      {"BOM before the keyword", 2, 0, "A1", kFirst, 6, "\xEF\xBB\xBF" + File({{0, kDrop}})},
      {"tabs", 2, 0, "A1", kFirst, 6, File({{3, tabs}, {6, "1\tA1\t95.12\t-0.48\t2.33"}})},
      {"padding", 2, 0, "A1", kFirst, 6,
       File({{3, "SAMPLE_ID   SAMPLE_NAME  LAB_L \t LAB_A   LAB_B"},
             {6, "1    A1   95.12     -0.48   2.33   "}})},
      {"double tab shifts the values", 2, 0, "A1", shifted, 6,
       File({{3, tabs}, {6, "1\tA1\t\t95.12\t-0.48\t2.33"}})},
      {"quotes and decimal commas", 2, 0, "A1", kFirst, 6,
       File({{6, "\"1\" \"A1\" \"95,12\" \"-0,48\" \"2.33\""}})},
      {"CP932 identifier", 2, 0, "基⊿", kFirst, 6,
       File({{6, "1 \x8A\xEE\x87\x99 95.12 -0.48 2.33"}})},
      {"UTF-8 identifier", 2, 0, "基⊿", kFirst, 6, File({{6, "1 基⊿ 95.12 -0.48 2.33"}})},
      {"NUL in a line", 2, 0, std::string("A\0B", 3), kFirst, 6,
       File({{6, std::string("1 A\0B 95.12 -0.48 2.33", 22)}})},
      {"long line", 2, 1, "A2", a2, 6, File({{7, "2 A2 50 10 -20 " + std::string(100000, 'y')}})},
      {"blank data line", 3, 0, "", zero, 6, File({{6, "\r\n1 A1 95.12 -0.48 2.33"}})},
      {"quoted row length", 2, 0, "A1", kFirst, 0, File({{1, "LGOROWLENGTH \"6\""}})},
      {"lower-case keyword", 2, 0, "A1", kFirst, 9, File({{1, "lgorowlength 6"}})},
      {"no keyword", 2, 0, "A1", kFirst, 9, File({{1, kDrop}})},
      {"indented BEGIN_DATA", 0, 0, "", zero, 6, File({{5, "  BEGIN_DATA"}})},
      {"no column names", 2, 0, "", {1, 1, 1}, 6, File({{3, ""}})},
      {"no LAB_A", 2, 0, "A1", noA, 6, File({{3, "SAMPLE_ID SAMPLE_NAME LAB_L LAB_X LAB_B"}})},
      {"name after the Lab columns is not seen", 2, 0, "", kFirst, 6,
       File({{3, "SAMPLE_ID LAB_L LAB_A LAB_B SAMPLE_NAME"}, {6, "1 95.12 -0.48 2.33 A1"}})},
      {"lower-case end_data ends", 1, 1, "", zero, 6, File({{7, "end_data"}})},
      {"indented END_DATA is data", 3, 1, "", zero, 6, File({{7, " END_DATA"}, {8, "3 A3 1 2 3"}})},
      {"no END_DATA", 2, 1, "A2", a2, 6, File({{8, kDrop}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    data_->RowLength[0] = 9;
    EXPECT_EQ(Read(c.bytes), c.count);
    EXPECT_EQ(data_->PatchId[c.patch], c.id);
    EXPECT_EQ(data_->Lab0[c.patch], c.lab);
    EXPECT_EQ(data_->RowLength[0], c.rowLength);
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ReaderTest, ThreeThousandPatchesIsTheLimitWithOneMessage) {
  auto make = [](int count) {
    std::string s = "SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n";
    for (int i = 0; i < count; ++i)
      s += "P" + std::to_string(i) + " 50 1 2\r\n";
    return s + "END_DATA\r\n";
  };
  EXPECT_EQ(Read(make(3000)), 3000);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Read(make(3001)), 3000);
  EXPECT_EQ(messages_, std::vector<std::string>{std::string(kTooManyPatchesMessage)});
  EXPECT_EQ(data_->PatchId[2999], "P2999");
  EXPECT_EQ(data_->Lab0[3000][0], 0.0);
}

TEST_F(ReaderTest, ReadingASetEmptiesItAndSampleIdentifiersReplaceTheReferenceOnes) {
  Edits many;
  for (int i = 8; i < 27; ++i)  // 21 patches, no END_DATA
    many.push_back({i, "9 X 1 2 3"});
  Read(File(many), 0);
  EXPECT_EQ(Read(File(many), 1), 21);
  EXPECT_EQ(data_->PatchId[20], "X");
  EXPECT_EQ(Read(File(), 0), 2);
  EXPECT_EQ(data_->PatchId[20], "");
  EXPECT_EQ(Read(File(), 1), 2);
  EXPECT_EQ(data_->Lab1[20][0], 0.0);
  EXPECT_EQ(data_->Lab1[0], kFirst);

  Read(File({{6, "1 Z9 95.12 -0.48 2.33"}}), 2);
  EXPECT_EQ(data_->PatchId[0], "Z9");
  Read(File({{3, "SAMPLE_ID LAB_L LAB_A LAB_B"}, {6, "1 95.12 -0.48 2.33"}}), 1);
  EXPECT_EQ(data_->PatchId[0], "Z9");  // no name column: unchanged
}

}  // namespace
}  // namespace korimo::testing
