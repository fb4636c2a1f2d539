#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "CliTestSupport.h"
#include "cli/Cp932Text.h"
#include "core/Encoding.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;

const std::string kColumns10 =
    "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00";
const std::string kColumns15 = kColumns10 + "\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00";

// The lines of a text in which every line ends in CR LF.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "last line without CR LF";
  for (const std::string& line : lines)
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare CR or LF in " << line;
  return lines;
}

// The cells of a data line, each of which ends in a tab.
std::vector<std::string> Cells(const std::string& line) {
  EXPECT_TRUE(line.ends_with('\t')) << line;
  std::vector<std::string> cells;
  for (std::size_t start = 0, tab; (tab = line.find('\t', start)) != std::string::npos;
       start = tab + 1)
    cells.push_back(line.substr(start, tab - start));
  return cells;
}

Args Join(Args options, const Args& files) {
  options.insert(options.end(), files.begin(), files.end());
  return options;
}

TEST(CliResults, FileLinesColumnsAndRowsInCp932AndUtf8) {
  const struct {
    Args files, fileLines;
    std::string columns;
    std::size_t rows, cells;  // the 10-column rows keep an empty cell for File2
  } cases[] = {
      {{kSmallRef, kSmallF1}, {"基準:" + kSmallRef, "File1:" + kSmallF1}, kColumns10, 24, 11},
      {{kSmallRef, "", kSmallF2}, {"基準:" + kSmallRef, "File2:" + kSmallF2}, kColumns15, 24, 15},
      {{kLargeRef, kLargeF1, kLargeF2},
       {"基準:" + kLargeRef, "File1:" + kLargeF1, "File2:" + kLargeF2},
       kColumns15,
       1600,
       15},
  };
  for (const auto& c : cases) {
    const BatchOutcome cp932 = RunCommandLine(c.files);
    const BatchOutcome utf8 = RunCommandLine(Join({"--encoding=utf-8"}, c.files));
    ASSERT_EQ(cp932.ExitCode(), 0);
    ASSERT_EQ(utf8.ExitCode(), 0);
    EXPECT_TRUE(cp932.diagnostics.empty() && utf8.diagnostics.empty());
    EXPECT_TRUE(cp932.output.starts_with("\x8A\xEE\x8F\x80:"));  // "基準:"
    EXPECT_NE(cp932.output.find("\t\x87\x99"
                                "E00\r\n"),
              std::string::npos);                   // "⊿E00"
    EXPECT_TRUE(utf8.output.starts_with("基準:"));  // so no byte order mark
    EXPECT_EQ(cp932.output, Utf8ToCp932(utf8.output));

    const auto lines = CrLfLines(utf8.output);
    const std::size_t n = c.fileLines.size();
    ASSERT_EQ(lines.size(), n + 1 + c.rows);
    EXPECT_EQ(Args(lines.begin(), lines.begin() + n), c.fileLines);
    EXPECT_EQ(lines[n], c.columns);
    double file2De = 0;
    for (std::size_t r = 0; r < c.rows; ++r) {
      const auto cells = Cells(lines[n + 1 + r]);
      ASSERT_EQ(cells.size(), c.cells);
      EXPECT_EQ(std::stoul(cells[0]), r + 1);  // patch order
      file2De += c.cells == 15 ? std::stod(cells[13]) : 0;
    }
    EXPECT_EQ(file2De > 0, c.cells == 15);  // File2 compared only when chosen
  }
}

TEST(CliResults, SortMinus9OrdersRowsByDe00Descending) {
  const auto out = RunCommandLine({"--encoding", "utf-8", "--sort", "-9", kLargeRef, kLargeF1});
  ASSERT_EQ(out.ExitCode(), 0);
  const auto lines = CrLfLines(out.output);
  ASSERT_EQ(lines.size(), 3 + 1600u);
  bool moved = false;
  for (std::size_t r = 4; r < lines.size(); ++r) {
    const auto cells = Cells(lines[r]);
    EXPECT_LE(std::stod(cells[9]), std::stod(Cells(lines[r - 1])[9])) << lines[r];
    moved = moved || std::stoul(cells[0]) != r - 2;
  }
  EXPECT_TRUE(moved) << "rows still in patch order";
}

TEST(CliExit, OneWhenAFileYieldsNoPatchesAndTheOutputIsStillWritten) {
  TempDir dir("cli-empty");
  const std::string missing = dir.File("missing.txt"), empty = dir.File("empty.txt");
  WriteChart(empty, {});
  const auto out = RunCommandLine({"--encoding", "utf-8", kSmallRef, missing, empty});
  EXPECT_EQ(out.ExitCode(), 1);
  EXPECT_EQ(out.diagnostics, (Args{"korimo-cli: " + missing + ": no patches read",
                                   "korimo-cli: " + empty + ": no patches read"}));
  const auto lines = CrLfLines(out.output);
  ASSERT_EQ(lines.size(), 4 + 24u);
  EXPECT_EQ(lines[1], "File1:" + missing);
  EXPECT_EQ(lines[3], kColumns15);
}

TEST(CliExit, TwoForUsageErrors) {
  const std::pair<Args, std::string> cases[] = {
      {{"--sort", "15", kSmallRef}, "'15' for --sort"},
      {{"--sort=-15", kSmallRef}, "'-15' for --sort"},
      {{"--under=-1", kSmallRef}, "'-1' for --under"},
      {{"--over", "21", kSmallRef}, "'21' for --over"},
      {{"--under", "2x", kSmallRef}, "'2x' for --under"},
      {{"--format", "xml", kSmallRef}, "'xml' for --format"},
      {{"--metric=cie94", kSmallRef}, "'cie94' for --metric"},
      {{"--encoding", "sjis", kSmallRef}, "'sjis' for --encoding"},
      {{"--frobnicate", kSmallRef}, "unknown option '--frobnicate'"},
      {{kSmallRef, "-o"}, "'-o' needs a value"},
      {{"--format", "json"}, "no REFERENCE"},
      {{kSmallRef, kSmallF1, kSmallF2, kSmallF2}, "too many files"},
  };
  for (const auto& [args, message] : cases) {
    const auto out = RunCommandLine(args);
    EXPECT_EQ(out.ExitCode(), 2) << message;
    EXPECT_TRUE(out.output.empty());
    ASSERT_EQ(out.diagnostics.size(), 3u) << message;
    EXPECT_NE(out.diagnostics[0].find(message), std::string::npos) << out.diagnostics[0];
    EXPECT_EQ(out.diagnostics[1], UsageLine());
  }
}

TEST(CliOutputFile, ReplacesTheTargetWithTheBytesOfStandardOutput) {
  TempDir dir("cli-out");
  const std::string target = dir.File("results.txt"), link = dir.File("link.txt");
  std::ofstream(target) << "previous";
  std::filesystem::create_hard_link(target, link);
  const auto out = RunCommandLine({"-o" + target, kSmallRef, kSmallF1});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_TRUE(out.output.empty());
  EXPECT_EQ(ReadAll(target), RunCommandLine({kSmallRef, kSmallF1}).output);
  EXPECT_EQ(ReadAll(link), "previous");  // a new file, not the old one rewritten
}

TEST(CliOutputFile, AFailedWriteGivesThreeAndLeavesTheExistingFileUntouched) {
  TempDir dir("cli-fail");
  const std::string target = dir.File("results.txt");
  std::ofstream(target) << "previous";
  auto out = RunCommandLine({"--output=" + target + "/x.txt", kSmallRef});
  EXPECT_EQ(out.ExitCode(), 3);
  ASSERT_EQ(out.diagnostics.size(), 1u);
  EXPECT_TRUE(out.diagnostics[0].starts_with("korimo-cli: cannot write " + target + "/x.txt: "));

  // A write failing midway, as on a full disk: the 1600-patch text is far larger.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 4096;
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  out = RunCommandLine({"-o", target, kLargeRef, kLargeF1, kLargeF2});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, handler);
  EXPECT_EQ(out.ExitCode(), 3);
  EXPECT_TRUE(out.output.empty());
  EXPECT_EQ(ReadAll(target), "previous");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "temporary file left behind";
}

TEST(CliCp932, FastPathGivesTheBytesOfTheConverter) {
  std::mt19937 rng(932);
  const std::string pieces[] = {"a", "\t",   "\r\n", "\\",       "~",        "基",       "⊿",   "ｯ",
                                "😀", "\x80", "\xE6", "\xE6\x97", "\xF0\x9F", "\xC0\xAF", "\xFF"};
  for (int round = 0; round < 1000; ++round) {
    std::string text;
    for (int i = static_cast<int>(rng() % 24); i > 0; --i)
      text += pieces[rng() % std::size(pieces)];
    ASSERT_EQ(EncodeCp932(text), Utf8ToCp932(text)) << "round " << round;
  }
}

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The built executable exits, writes and complains exactly as the run in
// this process does.
TEST(CliProcess, ExecutablePassesTheOutcomeThrough) {
  TempDir dir("cli-process");
  for (const Args& args : {Args{kSmallRef, kSmallF1, kSmallF2}, Args{kSmallRef, "/nonexistent/f1"},
                           Args{"--sort", "99", kSmallRef}}) {
    std::string command = Quote(KORIMO_CLI_PATH);
    for (const std::string& arg : args)
      command += " " + Quote(arg);
    const int status = std::system(
        (command + " >" + Quote(dir.File("out")) + " 2>" + Quote(dir.File("err"))).c_str());
    const BatchOutcome expected = RunCommandLine(args);
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), expected.ExitCode()) << command;
    EXPECT_EQ(ReadAll(dir.File("out")), expected.output);
    std::string err;
    for (const std::string& line : expected.diagnostics)
      err += line + "\n";
    EXPECT_EQ(ReadAll(dir.File("err")), err);
  }
}

}  // namespace
}  // namespace korimo::testing
