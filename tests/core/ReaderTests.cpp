#include "core/MeasurementReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace korimo {
namespace {

namespace fs = std::filesystem;

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korimo-reader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& bytes, const std::string& name = "m.txt") {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }

  // Lines joined with CR LF, the files' usual line end.
  static std::string Lines(const std::vector<std::string>& lines, const std::string& eol = "\r\n") {
    std::string out;
    for (const auto& l : lines)
      out += l + eol;
    return out;
  }

  // The valid file every bad-input case starts from.
  static std::vector<std::string> Valid() {
    return {"CGATS.17",
            "LGOROWLENGTH 6",
            "BEGIN_DATA_FORMAT",
            "SAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B",
            "END_DATA_FORMAT",
            "BEGIN_DATA",
            "1 A1 95.12 -0.48 2.33",
            "2 A2 50 10 -20",
            "END_DATA"};
  }

  int Read(const std::string& bytes, int set = 0) {
    return ReadMeasurementFile(Write(bytes), set, *data_,
                               [this](std::string_view m) { messages_.emplace_back(m); });
  }

  void ExpectFirstPatch(int set = 0) {
    const LabTable& lab = data_->Lab(set);
    EXPECT_EQ(data_->PatchId[0], "A1");
    EXPECT_EQ(lab[0][0], static_cast<double>(95.12f));
    EXPECT_EQ(lab[0][1], static_cast<double>(-0.48f));
    EXPECT_EQ(lab[0][2], static_cast<double>(2.33f));
  }

  fs::path dir_;
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
  std::vector<std::string> messages_;
};

TEST_F(ReaderTest, ReadsBlankSeparatedFile) {
  EXPECT_EQ(Read(Lines(Valid())), 2);
  ExpectFirstPatch();
  EXPECT_EQ(data_->RowLength[0], 6);
  EXPECT_EQ(data_->Lab0[1][2], -20.0);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ReaderTest, SeparatorsAndPaddingDoNotChangeTheValues) {
  auto tabs = Valid();
  tabs[3] = "SAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B";
  tabs[6] = "1\tA1\t95.12\t-0.48\t2.33";
  EXPECT_EQ(Read(Lines(tabs)), 2);
  ExpectFirstPatch();

  auto padded = Valid();
  padded[3] = "SAMPLE_ID   SAMPLE_NAME  LAB_L \t LAB_A   LAB_B";
  padded[6] = "1    A1   95.12     -0.48   2.33   ";
  EXPECT_EQ(Read(Lines(padded)), 2);
  ExpectFirstPatch();
}

TEST_F(ReaderTest, DoubleTabShiftsTheValuesByOneColumn) {
  auto f = Valid();
  f[3] = "SAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B";
  f[6] = "1\tA1\t\t95.12\t-0.48\t2.33";
  EXPECT_EQ(Read(Lines(f)), 2);
  EXPECT_EQ(data_->Lab0[0][0], 0.0);
  EXPECT_EQ(data_->Lab0[0][1], static_cast<double>(95.12f));
  EXPECT_EQ(data_->Lab0[0][2], static_cast<double>(-0.48f));
}

TEST_F(ReaderTest, QuotesAndDecimalCommasAreAccepted) {
  auto f = Valid();
  f[6] = "1 \"A1\" \"95,12\" -0,48 2.33";
  EXPECT_EQ(Read(Lines(f)), 2);
  ExpectFirstPatch();
}

TEST_F(ReaderTest, BlankDataLineIsAnEmptyPatch) {
  auto f = Valid();
  f.insert(f.begin() + 7, "");
  EXPECT_EQ(Read(Lines(f)), 3);
  EXPECT_EQ(data_->PatchId[1], "");
  EXPECT_EQ(data_->Lab0[1], (std::array<double, 3>{0, 0, 0}));
  EXPECT_EQ(data_->PatchId[2], "A2");
}

TEST_F(ReaderTest, RowLengthKeywordRules) {
  auto quoted = Valid();
  quoted[1] = "LGOROWLENGTH \"6\"";
  Read(Lines(quoted));
  EXPECT_EQ(data_->RowLength[0], 0);

  auto lower = Valid();
  lower[1] = "lgorowlength 9";
  Read(Lines(lower));
  EXPECT_EQ(data_->RowLength[0], 0);

  Read(Lines(Valid()));
  EXPECT_EQ(data_->RowLength[0], 6);
  auto none = Valid();
  none.erase(none.begin() + 1);
  Read(Lines(none));
  EXPECT_EQ(data_->RowLength[0], 6);  // a file without the keyword keeps it
}

TEST_F(ReaderTest, EndDataIsMatchedOnTheFirstEightCharacters) {
  auto lower = Valid();
  lower[7] = "end_data";
  EXPECT_EQ(Read(Lines(lower)), 1);

  auto indented = Valid();
  indented[7] = " END_DATA";
  indented[8] = "3 A3 1 2 3";
  EXPECT_EQ(Read(Lines(indented)), 3);
  EXPECT_EQ(data_->Lab0[1][0], 0.0);

  auto noEnd = Valid();
  noEnd.pop_back();
  EXPECT_EQ(Read(Lines(noEnd)), 2);
}

TEST_F(ReaderTest, MissingSectionsAndColumns) {
  auto noBegin = Valid();
  noBegin[5] = "  BEGIN_DATA";  // indented: not recognised
  EXPECT_EQ(Read(Lines(noBegin)), 0);

  auto noNames = Valid();
  noNames[3] = "";
  EXPECT_EQ(Read(Lines(noNames)), 2);
  EXPECT_EQ(data_->Lab0[0], (std::array<double, 3>{1, 1, 1}));
  EXPECT_EQ(data_->PatchId[0], "");

  auto noLabA = Valid();
  noLabA[3] = "SAMPLE_ID SAMPLE_NAME LAB_L LAB_X LAB_B";
  EXPECT_EQ(Read(Lines(noLabA)), 2);
  EXPECT_EQ(data_->Lab0[0][1], 1.0);
  EXPECT_EQ(data_->Lab0[0][2], static_cast<double>(2.33f));

  auto nameLast = Valid();
  nameLast[3] = "SAMPLE_ID LAB_L LAB_A LAB_B SAMPLE_NAME";
  nameLast[6] = "1 95.12 -0.48 2.33 A1";
  EXPECT_EQ(Read(Lines(nameLast)), 2);
  EXPECT_EQ(data_->PatchId[0], "");  // the name column after the Lab columns is not seen
  EXPECT_EQ(data_->Lab0[0][0], static_cast<double>(95.12f));
}

TEST_F(ReaderTest, ThreeThousandPatchesIsTheLimit) {
  auto make = [](int count, bool end) {
    std::string s = "SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n";
    for (int i = 0; i < count; ++i)
      s += "P" + std::to_string(i) + " 50 1 2\r\n";
    if (end)
      s += "END_DATA\r\n";
    return s;
  };
  EXPECT_EQ(Read(make(3000, true)), 3000);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Read(make(3001, true)), 3000);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], kTooManyPatchesMessage);
  EXPECT_EQ(data_->PatchId[2999], "P2999");
  EXPECT_EQ(data_->Lab0[3000][0], 0.0);
}

TEST_F(ReaderTest, EveryLineEndReadsTheSame) {
  for (const std::string eol : {"\n", "\r"}) {
    EXPECT_EQ(Read(Lines(Valid(), eol)), 2);
    ExpectFirstPatch();
    EXPECT_EQ(data_->RowLength[0], 6);
  }
}

TEST_F(ReaderTest, ByteOrderMarkIsSkipped) {
  auto f = Valid();
  f.erase(f.begin());  // keyword on the first line, right after the mark
  EXPECT_EQ(Read("\xEF\xBB\xBF" + Lines(f)), 2);
  EXPECT_EQ(data_->RowLength[0], 6);
}

TEST_F(ReaderTest, IdentifiersAreDecodedByTheFileEncoding) {
  auto cp932 = Valid();
  cp932[6] = "1 \x8A\xEE\x87\x99 95.12 -0.48 2.33";  // "基⊿" in CP932
  Read(Lines(cp932));
  EXPECT_EQ(data_->PatchId[0], "基⊿");

  auto utf8 = Valid();
  utf8[6] = "1 基⊿ 95.12 -0.48 2.33";
  Read(Lines(utf8));
  EXPECT_EQ(data_->PatchId[0], "基⊿");
}

TEST_F(ReaderTest, ReadingASetEmptiesItFirst) {
  auto twenty = Valid();
  twenty.pop_back();
  for (int i = 3; i <= 20; ++i)
    twenty.push_back(std::to_string(i) + " X" + std::to_string(i) + " 1 2 3");
  Read(Lines(twenty), 0);
  Read(Lines(twenty), 1);
  EXPECT_EQ(data_->PatchId[19], "X20");
  EXPECT_EQ(Read(Lines(Valid()), 0), 2);
  EXPECT_EQ(data_->PatchId[19], "");
  EXPECT_EQ(Read(Lines(Valid()), 1), 2);
  EXPECT_EQ(data_->Lab1[19][0], 0.0);
  ExpectFirstPatch(1);
}

TEST_F(ReaderTest, SampleFileIdentifiersReplaceTheReferenceOnes) {
  Read(Lines(Valid()), 0);
  auto other = Valid();
  other[6] = "1 Z9 95.12 -0.48 2.33";
  Read(Lines(other), 2);
  EXPECT_EQ(data_->PatchId[0], "Z9");
  auto noNames = Valid();
  noNames[3] = "SAMPLE_ID LAB_L LAB_A LAB_B";
  noNames[6] = "1 95.12 -0.48 2.33";
  Read(Lines(noNames), 1);
  EXPECT_EQ(data_->PatchId[0], "Z9");  // no name column: unchanged
}

TEST_F(ReaderTest, UnreadablePathsYieldNothing) {
  data_->Lab1[0] = {1, 2, 3};
  EXPECT_EQ(ReadMeasurementFile((dir_ / "missing.txt").string(), 1, *data_), 0);
  EXPECT_EQ(data_->Lab1[0], (std::array<double, 3>{0, 0, 0}));
  EXPECT_EQ(ReadMeasurementFile(dir_.string(), 1, *data_), 0);  // a directory
}

TEST_F(ReaderTest, BinaryJunkAndEndlessLinesAreHarmless) {
  EXPECT_EQ(Read(std::string(1 << 20, 'x')), 0);
  auto nul = Valid();
  nul[6] = std::string("1 A\0B 95.12 -0.48 2.33", 22);
  EXPECT_EQ(Read(Lines(nul)), 2);
  EXPECT_EQ(data_->PatchId[0], std::string("A\0B", 3));
  auto longLine = Valid();
  longLine[7] = "2 A2 50 10 -20 " + std::string(100000, 'y');
  EXPECT_EQ(Read(Lines(longLine)), 2);
  EXPECT_EQ(data_->Lab0[1][0], 50.0);
}

}  // namespace
}  // namespace korimo
