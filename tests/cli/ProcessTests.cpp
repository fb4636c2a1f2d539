#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "CliTestSupport.h"
#include "app/Version.h"

namespace korimo::testing {
namespace {

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

struct ProcessResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the installed-style executable with its streams captured in files.
ProcessResult RunProcess(const std::vector<std::string>& args) {
  TempDir dir("cli-process");
  std::string command = Quote(KORIMO_CLI_PATH);
  for (const auto& arg : args)
    command += " " + Quote(arg);
  command += " >" + Quote(dir.File("out")) + " 2>" + Quote(dir.File("err")) + " </dev/null";
  const int raw = std::system(command.c_str());
  ProcessResult r;
  if (raw != -1 && WIFEXITED(raw))
    r.status = WEXITSTATUS(raw);
  r.out = ReadAll(dir.File("out"));
  r.err = ReadAll(dir.File("err"));
  return r;
}

TEST(CliProcess, VersionLine) {
  const auto r = RunProcess({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "korimo-cli " + std::string(kVersionText) + "\n");
  EXPECT_EQ(r.err, "");
}

TEST(CliProcess, StandardOutputCarriesTheResultsBytesUnchanged) {
  const auto r = RunProcess({kSmallRef, kSmallF1, kSmallF2});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, RunCli({kSmallRef, kSmallF1, kSmallF2}).output);
  EXPECT_EQ(r.out.rfind("\x8A\xEE\x8F\x80:", 0), 0u);
}

TEST(CliProcess, MissingFileGivesStatusOneAndStillWritesTheResults) {
  const auto r = RunProcess({kSmallRef, "/nonexistent/korimo/file1.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "korimo-cli: /nonexistent/korimo/file1.txt: no patches read\n");
  EXPECT_EQ(r.out.rfind("\x8A\xEE\x8F\x80:", 0), 0u);
}

TEST(CliProcess, UsageErrorGivesStatusTwoAndNothingOnStandardOutput) {
  const auto r = RunProcess({"--sort", "99", kSmallRef});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("Usage: korimo-cli"), std::string::npos);
}

TEST(CliProcess, OutputFileOptionLeavesStandardOutputEmpty) {
  TempDir dir("cli-process-o");
  const auto r = RunProcess({"-o", dir.File("r.txt"), kSmallRef});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadAll(dir.File("r.txt")), RunCli({kSmallRef}).output);
}

}  // namespace
}  // namespace korimo::testing
