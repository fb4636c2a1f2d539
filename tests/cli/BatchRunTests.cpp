#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "CliTestSupport.h"
#include "core/Encoding.h"

namespace korimo::testing {
namespace {

const std::string kCp932Reference = "\x8A\xEE\x8F\x80:";  // "基準:"
const std::string kColumns10 =
    "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00";
const std::string kColumns15 = kColumns10 + "\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00";

struct Results {
  std::vector<std::string> fileLines;
  std::string columns;
  std::vector<std::vector<std::string>> rows;  // cells, without the empty one after the last tab
  bool crlf = false;
  bool tabTerminated = true;
};

// Splits a results text (UTF-8) into its parts.
Results ParseResults(const std::string& utf8) {
  Results r;
  const auto lines = CrLfLines(utf8, &r.crlf);
  std::size_t i = 0;
  while (i < lines.size() && lines[i].rfind("No.\t", 0) != 0)
    r.fileLines.push_back(lines[i++]);
  if (i < lines.size())
    r.columns = lines[i++];
  for (; i < lines.size(); ++i) {
    auto cells = SplitTabs(lines[i]);
    if (cells.back().empty()) {
      cells.pop_back();
    } else {
      r.tabTerminated = false;
    }
    r.rows.push_back(std::move(cells));
  }
  return r;
}

// ---------------------------------------------------------------- exit codes

TEST(CliExit, ZeroWhenEveryFileYieldsPatches) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{kSmallRef},
                                             {kSmallRef, kSmallF1},
                                             {kSmallRef, kSmallF1, kSmallF2},
                                             {kSmallRef, "", kSmallF2},
                                             {"--format", "json", kLargeRef, kLargeF1, kLargeF2}}) {
    const auto out = RunCli(args);
    EXPECT_EQ(out.ExitCode(), 0);
    EXPECT_TRUE(out.diagnostics.empty()) << out.diagnostics.front();
    EXPECT_FALSE(out.output.empty());
  }
}

TEST(CliExit, OneWhenAFileYieldsNoPatchesButOutputIsStillProduced) {
  TempDir dir("cli-missing");
  const std::string missing = dir.File("missing.txt");
  const std::string empty = dir.File("empty.txt");
  WriteAll(empty, "CGATS.17\r\nBEGIN_DATA_FORMAT\r\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B\r\n");
  const auto out = RunCli({"--encoding", "utf-8", kSmallRef, missing, empty});
  EXPECT_EQ(out.ExitCode(), 1);
  ASSERT_EQ(out.diagnostics.size(), 2u);
  EXPECT_EQ(out.diagnostics[0], "korimo-cli: " + missing + ": no patches read");
  EXPECT_EQ(out.diagnostics[1], "korimo-cli: " + empty + ": no patches read");
  // The window shows the Reference in its grid and both paths in its labels.
  const Results r = ParseResults(out.output);
  EXPECT_EQ(r.fileLines,
            (std::vector<std::string>{"基準:" + kSmallRef, "File1:" + missing, "File2:" + empty}));
  EXPECT_EQ(r.columns, kColumns15);
  EXPECT_EQ(r.rows.size(), 24u);
}

TEST(CliExit, OneForAMissingReference) {
  const auto out = RunCli({"/nonexistent/korimo/ref.txt"});
  EXPECT_EQ(out.ExitCode(), 1);
  EXPECT_EQ(CountOccurrences(out.diagnostics, "/nonexistent/korimo/ref.txt"), 1);
  // Nothing loaded: the column-name line alone after the file line.
  EXPECT_EQ(Cp932ToUtf8(out.output), "基準:/nonexistent/korimo/ref.txt\r\n" + kColumns10 + "\r\n");
}

TEST(CliExit, TwoForUsageErrorsWithUsageOnStandardError) {
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"--sort", "15", kSmallRef},
                                                                {"--under", "x", kSmallRef},
                                                                {"--over", "21", kSmallRef},
                                                                {"--format", "xml", kSmallRef},
                                                                {"--metric", "cie94", kSmallRef},
                                                                {"--encoding", "sjis", kSmallRef},
                                                                {"--frobnicate", kSmallRef},
                                                                {kSmallRef, "-o"},
                                                                {"a", "b", "c", "d"}}) {
    const auto out = RunCli(args);
    EXPECT_EQ(out.ExitCode(), 2);
    EXPECT_TRUE(out.output.empty());
    ASSERT_FALSE(out.diagnostics.empty());
    EXPECT_EQ(out.diagnostics[0].rfind("korimo-cli: ", 0), 0u);
    EXPECT_EQ(CountOccurrences(out.diagnostics, "Usage: korimo-cli"), 1);
  }
}

TEST(CliExit, HelpAndVersionExitZero) {
  const auto help = RunCli({"--help"});
  EXPECT_EQ(help.ExitCode(), 0);
  EXPECT_EQ(help.output.rfind("Usage: korimo-cli [OPTIONS] REFERENCE [FILE1 [FILE2]]", 0), 0u);
  const auto version = RunCli({"--version"});
  EXPECT_EQ(version.ExitCode(), 0);
  EXPECT_EQ(version.output.rfind("korimo-cli ", 0), 0u);
  EXPECT_EQ(version.output.back(), '\n');
}

// ----------------------------------------------------------- results format

TEST(CliResults, Cp932TextWithReferenceFileAndTenColumns) {
  const auto out = RunCli({kSmallRef, kSmallF1});
  ASSERT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(out.output.rfind(kCp932Reference, 0), 0u);
  EXPECT_NE(out.output.find("\x87\x99"
                            "E00"),
            std::string::npos);  // "⊿E00"
  EXPECT_FALSE(IsValidUtf8(out.output));
  const Results r = ParseResults(Cp932ToUtf8(out.output));
  EXPECT_TRUE(r.crlf);
  EXPECT_EQ(r.fileLines, (std::vector<std::string>{"基準:" + kSmallRef, "File1:" + kSmallF1}));
  EXPECT_EQ(r.columns, kColumns10);
  ASSERT_EQ(r.rows.size(), 24u);
  EXPECT_TRUE(r.tabTerminated);
  for (const auto& cells : r.rows) {
    ASSERT_EQ(cells.size(), 11u);
    EXPECT_EQ(cells[10], "");  // the grid's L2 column, File2 not chosen
  }
  EXPECT_EQ(r.rows[0][0], "    1");
  EXPECT_EQ(r.rows[0][1], "   A1");
  EXPECT_EQ(r.rows[0][2], "37.93");
}

TEST(CliResults, FifteenColumnsWithFile2) {
  const auto out = RunCli({"--encoding", "utf-8", kLargeRef, kLargeF1, kLargeF2});
  ASSERT_EQ(out.ExitCode(), 0);
  const Results r = ParseResults(out.output);
  EXPECT_TRUE(r.crlf);
  EXPECT_EQ(r.fileLines.size(), 3u);
  EXPECT_EQ(r.columns, kColumns15);
  ASSERT_EQ(r.rows.size(), 1600u);
  EXPECT_TRUE(r.tabTerminated);
  for (const auto& cells : r.rows) {
    ASSERT_EQ(cells.size(), 15u);
    for (int c = 2; c < 15; ++c)
      EXPECT_NE(ParseCell(cells[c]), -1e300) << cells[c];
  }
}

TEST(CliResults, Utf8VariantHasNoBomAndMatchesTheCp932Text) {
  const auto utf8 = RunCli({"--encoding=utf-8", kSmallRef, kSmallF1, kSmallF2});
  const auto cp932 = RunCli({kSmallRef, kSmallF1, kSmallF2});
  ASSERT_EQ(utf8.ExitCode(), 0);
  EXPECT_EQ(utf8.output.rfind("基準:", 0), 0u);
  EXPECT_NE(utf8.output.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_TRUE(IsValidUtf8(utf8.output));
  EXPECT_EQ(Cp932ToUtf8(cp932.output), utf8.output);
}

TEST(CliResults, SortMinus9OrdersByDe00Descending) {
  const auto out = RunCli({"--encoding", "utf-8", "--sort", "-9", kLargeRef, kLargeF1});
  ASSERT_EQ(out.ExitCode(), 0);
  const Results r = ParseResults(out.output);
  ASSERT_EQ(r.rows.size(), 1600u);
  bool moved = false;
  for (std::size_t i = 1; i < r.rows.size(); ++i) {
    EXPECT_LE(ParseCell(r.rows[i][9]), ParseCell(r.rows[i - 1][9])) << "row " << i;
    if (ParseCell(r.rows[i][0]) != static_cast<double>(i + 1))
      moved = true;
  }
  EXPECT_TRUE(moved) << "rows still in patch order";
}

TEST(CliResults, SortZeroKeepsPatchOrder) {
  const auto out = RunCli({"--encoding", "utf-8", "--sort=0", kLargeRef, kLargeF1});
  const Results r = ParseResults(out.output);
  ASSERT_EQ(r.rows.size(), 1600u);
  for (std::size_t i = 0; i < r.rows.size(); ++i) {
    EXPECT_EQ(ParseCell(r.rows[i][0]), static_cast<double>(i + 1));
  }
}

TEST(CliResults, EmptyFile1ArgumentComparesReferenceAndFile2Only) {
  const auto out = RunCli({"--encoding", "utf-8", kSmallRef, "", kSmallF2});
  ASSERT_EQ(out.ExitCode(), 0);
  const Results r = ParseResults(out.output);
  EXPECT_EQ(r.fileLines, (std::vector<std::string>{"基準:" + kSmallRef, "File2:" + kSmallF2}));
  EXPECT_EQ(r.columns, kColumns15);
  ASSERT_EQ(r.rows.size(), 24u);
  for (const auto& cells : r.rows) {
    ASSERT_EQ(cells.size(), 15u);
    EXPECT_NE(ParseCell(cells[10]), -1e300);  // File2 values shown
    EXPECT_GT(ParseCell(cells[13]), 0.0);     // and compared
  }
}

// ---------------------------------------------------------------- -o output

TEST(CliOutputFile, WritesTheSameBytesAsStandardOutput) {
  TempDir dir("cli-out");
  const std::string target = dir.File("results.txt");
  const auto toFile = RunCli({"-o", target, kSmallRef, kSmallF1});
  const auto toStdout = RunCli({kSmallRef, kSmallF1});
  EXPECT_EQ(toFile.ExitCode(), 0);
  EXPECT_TRUE(toFile.output.empty());
  EXPECT_EQ(ReadAll(target), toStdout.output);
}

TEST(CliOutputFile, ReplacesAnExistingFileAsAWholeNewFile) {
  TempDir dir("cli-replace");
  const std::string target = dir.File("results.txt");
  const std::string otherLink = dir.File("old-results.txt");
  WriteAll(target, "old content");
  std::filesystem::create_hard_link(target, otherLink);
  const auto out = RunCli({"--output=" + target, kSmallRef});
  ASSERT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(ReadAll(target).rfind(kCp932Reference, 0), 0u);
  // Replaced by a new file, never rewritten in place.
  EXPECT_EQ(ReadAll(otherLink), "old content");
}

TEST(CliOutputFile, UnwritableTargetsFailWithStatusThreeAndChangeNothing) {
  TempDir dir("cli-unwritable");
  const std::string plain = dir.File("plain.txt");
  WriteAll(plain, "keep me");
  const std::string folder = dir.File("folder");
  std::filesystem::create_directory(folder);
  WriteAll(folder + "/inside.txt", "inside");
  for (const std::string& target : {plain + "/results.txt", folder}) {
    const auto out = RunCli({"-o", target, kSmallRef, kSmallF1});
    EXPECT_EQ(out.ExitCode(), 3) << target;
    EXPECT_TRUE(out.output.empty());
    ASSERT_EQ(out.diagnostics.size(), 1u);
    EXPECT_EQ(out.diagnostics[0].rfind("korimo-cli: cannot write " + target + ": ", 0), 0u)
        << out.diagnostics[0];
  }
  EXPECT_EQ(ReadAll(plain), "keep me");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadAll(folder + "/inside.txt"), "inside");
  // No temporary file left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(CliOutputFile, AWriteFailingMidwayLeavesTheExistingFileUntouched) {
  TempDir dir("cli-full");
  const std::string target = dir.File("results.txt");
  WriteAll(target, "previous results");
  BatchOutcome out;
  {
    FileSizeLimit limit(4096);  // the 1600-patch results text is far larger
    out = RunCli({"-o", target, kLargeRef, kLargeF1, kLargeF2});
  }
  EXPECT_EQ(out.ExitCode(), 3);
  ASSERT_FALSE(out.diagnostics.empty());
  EXPECT_NE(out.diagnostics.back().find("cannot write " + target), std::string::npos);
  EXPECT_EQ(ReadAll(target), "previous results");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(CliOutputFile, APipeIsWrittenInPlaceAndStaysAPipe) {
  TempDir dir("cli-fifo");
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Holding both ends lets the tool open the pipe without waiting for a
  // reader; the small results text fits into the pipe's buffer.
  const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  const auto out = RunCli({"-o", fifo, kSmallRef});
  std::string received;
  char buffer[4096];
  for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
    received.append(buffer, got);
  ::close(fd);
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(received, RunCli({kSmallRef}).output);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

// -------------------------------------------------------- reader's messages

TEST(CliMessages, OversizedFilesAreReportedOncePerFileAndCutTo3000) {
  TempDir dir("cli-over");
  const std::string ref = dir.File("ref.txt");
  const std::string f1 = dir.File("f1.txt");
  const std::string f2 = dir.File("f2.txt");
  for (const auto& path : {ref, f1, f2})
    WriteChart(path, Patches(3001));
  // Choosing File2 re-reads File1, so File1 is read twice.
  const auto out = RunCli({"--format", "json", ref, f1, f2});
  EXPECT_EQ(out.ExitCode(), 0);
  const std::string message = "パッチ数が最大3000を越えました。読み込みを中止します";
  EXPECT_EQ(CountOccurrences(out.diagnostics, message), 3);
  for (const auto& path : {ref, f1, f2}) {
    EXPECT_EQ(CountOccurrences(out.diagnostics, "korimo-cli: " + path + ": " + message), 1) << path;
  }
  EXPECT_NE(out.output.find("\"patch_count\": 3000"), std::string::npos);
  EXPECT_EQ(out.output.find("\"patch_count\": 3001"), std::string::npos);
}

TEST(CliMessages, OneOversizedFileAmongOrdinaryOnes) {
  TempDir dir("cli-over1");
  const std::string big = dir.File("big.txt");
  WriteChart(big, Patches(3500));
  const auto out = RunCli({"--encoding", "utf-8", kSmallRef, big, kSmallF2});
  EXPECT_EQ(out.ExitCode(), 0);
  ASSERT_EQ(out.diagnostics.size(), 1u);
  EXPECT_EQ(out.diagnostics[0],
            "korimo-cli: " + big + ": パッチ数が最大3000を越えました。読み込みを中止します");
}

TEST(CliMessages, ExactlyThreeThousandPatchesIsNoMessage) {
  TempDir dir("cli-3000");
  const std::string full = dir.File("full.txt");
  WriteChart(full, Patches(3000));
  const auto out = RunCli({full, full});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_TRUE(out.diagnostics.empty());
}

}  // namespace
}  // namespace korimo::testing
