#include "cli/BatchRun.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>

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

}  // namespace
}  // namespace korimo::testing
