#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/Encoding.h"
#include "core/MeasurementReader.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Files nobody would write on purpose: each must read without a crash, in
// bounded time and memory, as a number of patches between 0 and 3000.
class HostileFileTest : public ::testing::Test {
 protected:
  int Read(const std::string& path, int set = 0) {
    messages_ = 0;
    const auto start = std::chrono::steady_clock::now();
    const int n = ReadMeasurementFile(path, set, *data_, [this](std::string_view) { ++messages_; });
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              60);  // generous: sanitizer builds are slow
    // kB: lines are cut at 64 MiB; holding the 150 MB line whole costs over 250 MB.
    EXPECT_LT(PeakRssKb() - peakBefore_, 200 * 1024);
    return n;
  }

  // Arbitrary bytes, optionally without any line break.
  static void WriteRandom(const std::string& path, int mebibytes, bool lineBreaks) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 rng(20261206);
    std::vector<std::uint64_t> block(1 << 17);
    char* bytes = reinterpret_cast<char*>(block.data());
    for (int m = 0; m < mebibytes; ++m) {
      std::generate(block.begin(), block.end(), std::ref(rng));
      if (!lineBreaks)
        std::replace_if(
            bytes, bytes + (1 << 20), [](char c) { return c == '\r' || c == '\n'; }, ' ');
      out.write(bytes, 1 << 20);
    }
  }

  TempDir dir_{"hostile"};
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
  int messages_ = 0;
  long peakBefore_ = PeakRssKb();
};

TEST_F(HostileFileTest, HugeFiles) {
  const std::string path = dir_.File("random.bin");
  WriteRandom(path, 150, false);  // one endless line
  EXPECT_EQ(Read(path), 0);
  WriteRandom(path, 200, true);
  const int n = Read(path);
  EXPECT_GE(n, 0);
  EXPECT_LE(n, kMaxPatches);
  {
    std::ofstream out(path, std::ios::binary);
    out << "SAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\nBEGIN_DATA\n";
    for (int i = 0; i < 1000000; ++i)
      out << "P" << i << "\t50\t1\t2\n";
  }
  EXPECT_EQ(Read(path), kMaxPatches);  // a million data lines
  EXPECT_EQ(messages_, 1);
}

TEST_F(HostileFileTest, JunkContentAndUnreadablePaths) {
  const std::string path = dir_.File("junk.txt");
  std::ofstream(path, std::ios::binary)
      << "SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n"
      << std::string("A\0B 1e39 -0 1e-45\r\n", 20) << "\x87\r\n"  // truncated CP932
      << "\xFF\xFE\x80 4 nan inf\r\n\xE3\x81 3.4028235e38 -1e39 0x1p4\r\nEND_DATA\r\n";
  ASSERT_EQ(Read(path), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(IsValidUtf8(data_->PatchId[i])) << i;
  EXPECT_EQ(data_->Lab0[0][0], 0.0);
  EXPECT_TRUE(std::signbit(data_->Lab0[0][1]));
  EXPECT_GT(data_->Lab0[0][2], 0.0);
  EXPECT_EQ(data_->Lab0[2], (std::array<double, 3>{4, 0, 0}));
  EXPECT_EQ(data_->Lab0[3], (std::array<double, 3>{3.4028235e38f, 0, 0}));
  // Paths that are not readable files yield nothing.
  EXPECT_EQ(Read(dir_.path().string()), 0);  // a folder
  EXPECT_EQ(Read("/dev/zero"), 0);           // never ends
  WriteChart(path, {{"A1", 50, 0, 0}});
  EXPECT_EQ(Read(path, 1), 1);
  std::filesystem::remove(path);  // vanished between two loads
  EXPECT_EQ(Read(path, 1), 0);
  EXPECT_EQ(data_->Lab1[0][0], 0.0);
  WriteChart(path, {{"A1", 50, 0, 0}});
  std::filesystem::permissions(path, std::filesystem::perms::none);
  EXPECT_EQ(Read(path), ::geteuid() == 0 ? 1 : 0);  // root reads it regardless
}

}  // namespace
}  // namespace korimo::testing
