#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "core/Encoding.h"
#include "core/MeasurementReader.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

namespace fs = std::filesystem;

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Files nobody would write on purpose: each must read without a crash, in
// bounded time and memory, as a number of patches between 0 and 3000.
class HostileFileTest : public ::testing::Test {
 protected:
  struct Outcome {
    int patches = 0;
    int messages = 0;
    double seconds = 0;
    long peakGrowthKb = 0;
  };

  Outcome Read(const std::string& path, int set = 0) {
    Outcome out;
    const long before = PeakRssKb();
    const auto start = std::chrono::steady_clock::now();
    out.patches =
        ReadMeasurementFile(path, set, *data_, [&out](std::string_view) { ++out.messages; });
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out.peakGrowthKb = PeakRssKb() - before;
    RecordProperty("seconds", std::to_string(out.seconds));
    RecordProperty("peak_growth_kb", std::to_string(out.peakGrowthKb));
    return out;
  }

  // Fast deterministic bytes; the content only has to be arbitrary.
  static void WriteRandom(const std::string& path, std::size_t bytes, bool lineBreaks) {
    std::ofstream out(path, std::ios::binary);
    std::vector<std::uint64_t> block(1 << 17);
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (std::size_t written = 0; written < bytes;) {
      for (auto& w : block) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        w = x;
      }
      auto* p = reinterpret_cast<char*>(block.data());
      const std::size_t n = std::min(bytes - written, block.size() * sizeof(std::uint64_t));
      if (!lineBreaks) {
        for (std::size_t i = 0; i < n; ++i) {
          if (p[i] == '\r' || p[i] == '\n')
            p[i] = ' ';
        }
      }
      out.write(p, static_cast<std::streamsize>(n));
      written += n;
    }
  }

  TempDir dir_{"hostile"};
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
};

constexpr double kSecondsLimit = 60;  // generous: sanitizer builds are slow
constexpr long kMemoryLimitKb = 300 * 1024;

TEST_F(HostileFileTest, TwoHundredMegabytesOfRandomBytes) {
  const std::string path = dir_.File("random.bin");
  WriteRandom(path, 200u << 20, true);
  const Outcome out = Read(path);
  EXPECT_GE(out.patches, 0);
  EXPECT_LE(out.patches, kMaxPatches);
  EXPECT_LT(out.seconds, kSecondsLimit);
  EXPECT_LT(out.peakGrowthKb, kMemoryLimitKb);
  std::cout << "200 MB random: " << out.seconds << " s, peak growth " << out.peakGrowthKb
            << " kB\n";
}

TEST_F(HostileFileTest, OneLineWithoutBreaksCostsBoundedMemory) {
  const std::string path = dir_.File("oneline.bin");
  WriteRandom(path, 150u << 20, false);
  const Outcome out = Read(path);
  EXPECT_EQ(out.patches, 0);
  EXPECT_LT(out.seconds, kSecondsLimit);
  EXPECT_LT(out.peakGrowthKb, kMemoryLimitKb);  // the line is cut, not held whole
  std::cout << "150 MB single line: " << out.seconds << " s, peak growth " << out.peakGrowthKb
            << " kB\n";
}

TEST_F(HostileFileTest, AMillionDataLinesStopAtTheLimitWithOneMessage) {
  const std::string path = dir_.File("million.txt");
  {
    std::ofstream out(path, std::ios::binary);
    out << "SAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\nBEGIN_DATA\n";
    for (int i = 0; i < 1000000; ++i)
      out << "P" << i << "\t50\t1\t2\n";
  }
  const Outcome out = Read(path);
  EXPECT_EQ(out.patches, kMaxPatches);
  EXPECT_EQ(out.messages, 1);
  EXPECT_LT(out.seconds, kSecondsLimit);
}

TEST_F(HostileFileTest, NulBytesAndBrokenEncodingsStillGiveValidText) {
  const std::string path = dir_.File("junk.txt");
  std::ofstream(path, std::ios::binary)
      << std::string("SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n", 44)
      << std::string("A\0B 1 2 3\r\n", 11) << "\x87\r\n"  // truncated CP932
      << "\xFF\xFE\x80 4 5 6\r\n"
      << "\xE3\x81 7 8 9\r\n"
      << "END_DATA\r\n";
  const Outcome out = Read(path);
  ASSERT_EQ(out.patches, 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(IsValidUtf8(data_->PatchId[i])) << i;
  EXPECT_EQ(data_->Lab0[2][0], 4.0);
}

TEST_F(HostileFileTest, ExtremeNumbersReadAsFiniteValues) {
  const std::string path = dir_.File("numbers.txt");
  std::ofstream(path, std::ios::binary) << "SAMPLE_NAME LAB_L LAB_A LAB_B\nBEGIN_DATA\n"
                                        << "A 1e39 -0 1e-45\nB -1e39 nan inf\nC 3.4028235e38 1e-50 "
                                           "0x1p4\n";
  ASSERT_EQ(Read(path).patches, 3);
  EXPECT_EQ(data_->Lab0[0][0], 0.0);
  EXPECT_TRUE(std::signbit(data_->Lab0[0][1]));
  EXPECT_GT(data_->Lab0[0][2], 0.0);
  for (double v : data_->Lab0[1])
    EXPECT_EQ(v, 0.0);
  EXPECT_EQ(data_->Lab0[2][0], static_cast<double>(3.4028235e38f));
  EXPECT_EQ(data_->Lab0[2][1], 0.0);
}

TEST_F(HostileFileTest, PathsThatAreNotReadableFilesYieldNothing) {
  EXPECT_EQ(Read(dir_.path().string()).patches, 0);  // a folder
  EXPECT_EQ(Read("/dev/zero").patches, 0);           // never ends
  const std::string path = dir_.File("gone.txt");
  WriteChart(path, {{"A1", 50, 0, 0}});
  EXPECT_EQ(Read(path, 1).patches, 1);
  fs::remove(path);  // vanished between two loads
  EXPECT_EQ(Read(path, 1).patches, 0);
  EXPECT_EQ(data_->Lab1[0][0], 0.0);
}

TEST_F(HostileFileTest, FileWithoutReadPermission) {
  const std::string path = dir_.File("locked.txt");
  WriteChart(path, {{"A1", 50, 0, 0}});
  fs::permissions(path, fs::perms::none);
  // Root reads it regardless; anybody else gets no patches. Either way the
  // read returns.
  const int expected = ::geteuid() == 0 ? 1 : 0;
  EXPECT_EQ(Read(path).patches, expected);
}

}  // namespace
}  // namespace korimo::testing
