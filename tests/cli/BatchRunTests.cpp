#include "cli/BatchRun.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>

#include "core/Encoding.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;

const std::string kRef = KORIMO_SAMPLES_DIR "/small-reference.txt";
const std::string kF1 = KORIMO_SAMPLES_DIR "/small-file1.txt";
const std::string kF2 = KORIMO_SAMPLES_DIR "/small-file2.txt";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The results text is the window's export: CP932 by default, UTF-8 without a
// byte-order mark on request, the same characters either way.
TEST(BatchRun, ResultsTextInBothEncodings) {
  const BatchOutcome cp932 = RunCommandLine({kRef, "", kF2});
  const BatchOutcome utf8 = RunCommandLine({"--encoding=utf-8", kRef, "", kF2});
  ASSERT_EQ(cp932.ExitCode() + utf8.ExitCode(), 0);
  EXPECT_TRUE(cp932.output.starts_with("\x8A\xEE\x8F\x80:"));  // "基準:"
  EXPECT_TRUE(utf8.output.starts_with("基準:" + kRef + "\r\nFile2:" + kF2 + "\r\n"));
  EXPECT_EQ(cp932.output, Utf8ToCp932(utf8.output));
}

// An empty argument chooses no file, the Reference's included: File1 alone
// is listed as the window lists it, against zeros.
TEST(BatchRun, AnEmptyReferenceArgumentChoosesNoReference) {
  const BatchOutcome out = RunCommandLine({"--encoding=utf-8", "", kF1});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_TRUE(out.output.starts_with("File1:" + kF1 + "\r\nNo.\t"));
  EXPECT_NE(out.output.find("\r\n    1\t   A1\t0.00\t0.00\t0.00\t"), std::string::npos);
}

// Each status with its messages, alike from the built executable.
TEST(BatchRun, StatusesAndMessagesAlsoFromTheExecutable) {
  TempDir dir("cli-exit");
  const std::string missing = dir.File("missing.txt"), empty = dir.File("empty.txt"),
                    begin = dir.File("begin.txt");
  WriteChart(empty, {});
  std::ofstream(begin) << "SAMPLE_NAME LAB_L LAB_A LAB_B\r\nA1 50 0 0\r\n";
  const std::tuple<Args, int, std::string> cases[] = {
      {{kRef, kF1, kF2}, 0, ""},
      {{kRef, missing, empty},
       1,
       "korimo-cli: " + missing + ": no such file\nkorimo-cli: " + empty +
           ": no data lines after BEGIN_DATA\n"},
      {{kRef, begin}, 1, "korimo-cli: " + begin + ": no BEGIN_DATA line\n"},
      {{dir.path().string(), kF1}, 1, ": not a regular file\n"},
      {{"-o", empty + "/x.txt", kRef}, 3, "korimo-cli: cannot write " + empty + "/x.txt: "},
      {{"--sort", "15", kRef}, 2, "'15' for --sort"},
      {{"--frobnicate", kRef}, 2, "--frobnicate"},
  };
  for (const auto& [args, status, message] : cases) {
    const BatchOutcome expected = RunCommandLine(args);
    std::string command = "'" KORIMO_CLI_PATH "'", err;  // no argument holds a quote
    for (const std::string& arg : args)
      command += " '" + arg + "'";
    for (const std::string& line : expected.diagnostics)
      err += line + "\n";
    EXPECT_EQ(expected.ExitCode(), status) << command;
    EXPECT_EQ(expected.output.empty(), status >= 2) << command;  // written despite empty files
    EXPECT_NE(err.find(message), std::string::npos) << err;
    EXPECT_EQ(err.empty(), status == 0) << err;
    EXPECT_EQ(err.find("\n" + UsageLine() + "\n") != std::string::npos, status == 2) << err;
    const int raw =
        std::system((command + " >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'").c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << command;
    EXPECT_EQ(WEXITSTATUS(raw), status) << command;
    EXPECT_EQ(ReadAll(dir.File("out")), expected.output);
    EXPECT_EQ(ReadAll(dir.File("err")), err);
  }
}

// A file over 3000 patches is cut and reported once, although choosing File2
// reads File1 again; -o writes exactly what standard output would get.
TEST(BatchRun, TheCutAt3000IsReportedOnceAndOutputFilesHoldTheSameBytes) {
  TempDir dir("cli-run");
  const std::string over = dir.File("over.txt"), target = dir.File("results.txt");
  WriteChart(over, Flat(3001));
  const BatchOutcome out = RunCommandLine({kRef, over, kF2});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(
      std::count(out.diagnostics.begin(), out.diagnostics.end(),
                 "korimo-cli: " + over + ": パッチ数が最大3000を越えました。読み込みを中止します"),
      1);
  EXPECT_EQ(RunCommandLine({"-o" + target, kRef, over, kF2}).output, "");
  EXPECT_EQ(ReadAll(target), out.output);
  EXPECT_EQ(RunCommandLine({"--version"}).output, "korimo-cli 1.0.0\n");
  EXPECT_NE(RunCommandLine({"--help"}).output.find("--encoding ENC"), std::string::npos);
}

}  // namespace
}  // namespace korimo::testing
