// korimo-cli --check: options, messages, exit statuses and the JSON verdict.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

#include "cli/BatchRun.h"
#include "cli/CliOptions.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;
using Json = nlohmann::ordered_json;

const std::string kRef = KORIMO_SAMPLES_DIR "/small-reference.txt";
const std::string kF1 = KORIMO_SAMPLES_DIR "/small-file1.txt";
const std::string kF2 = KORIMO_SAMPLES_DIR "/small-file2.txt";

class Check : public ::testing::Test {
 protected:
  std::string Criteria(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name), std::ios::binary) << text;
    return dir_.File(name);
  }
  TempDir dir_{"check"};
};

// A set that cannot be had is a usage error naming why, with the line.
TEST_F(Check, UnusableSetsAreUsageErrors) {
  const std::string broken = Criteria("broken.txt", "# ok\nall:de:max<=2\nall:de:mean<=1\n");
  const std::pair<Args, std::string> cases[] = {
      {{"--check", "iso12647-7", kRef},
       "korimo-cli: --check: 'iso12647-7' is neither a built-in set (iso12647-7-2016, "
       "iso12647-7-2007 or iso12647-2-2013-solids) nor a readable criteria file"},
      {{"--check", broken, kRef},
       "korimo-cli: --check: criteria file '" + broken +
           "': line 3: unknown statistic 'mean' (avg, max, pct95 or best10)"},
  };
  for (const auto& [args, message] : cases) {
    const BatchOutcome out = RunCommandLine(args);
    EXPECT_EQ(out.ExitCode(), 2);
    ASSERT_FALSE(out.diagnostics.empty());
    EXPECT_EQ(out.diagnostics[0], message);
  }
}

// Exit 4 with a line per failed criterion and a summary per set; the
// statuses before it keep their precedence.
TEST_F(Check, FailedCriteriaOnStandardErrorAndStatusFour) {
  const std::string lenient = Criteria("lenient.txt", "name: Lenient\nall:de:max<=2\n");
  const std::string strict = Criteria("strict.txt", "name: Strict\nall:de:avg<=1\nall:dl:max<=9\n");
  const BatchOutcome pass = RunCommandLine({"--check", lenient, kRef, kF1});
  EXPECT_EQ(pass.ExitCode(), 0);
  EXPECT_EQ(pass.diagnostics, Args{"korimo-cli: Lenient: pass (Reference-File1 passes)"});

  const BatchOutcome fail = RunCommandLine({"--check", strict, "--check", lenient, kRef, kF1, kF2});
  EXPECT_EQ(fail.ExitCode(), 4);
  EXPECT_EQ(fail.diagnostics,
            (Args{"korimo-cli: Strict: Reference-File1: all:de:avg<=1 failed: 1.10",
                  "korimo-cli: Strict: Reference-File2: all:de:avg<=1 failed: 2.41",
                  "korimo-cli: Strict: FAIL (Reference-File1 1 of 2 failed; Reference-File2 1 "
                  "of 2 failed)",
                  "korimo-cli: Lenient: Reference-File2: all:de:max<=2 failed: 6.80",
                  "korimo-cli: Lenient: FAIL (Reference-File1 passes; Reference-File2 1 of 1 "
                  "failed)"}));

  const BatchOutcome noPair = RunCommandLine({"--check", lenient, kRef});
  EXPECT_EQ(noPair.ExitCode(), 4);
  EXPECT_EQ(noPair.diagnostics, Args{"korimo-cli: Lenient: FAIL (no pair to compare)"});

  EXPECT_EQ(RunCommandLine({"--check", strict, kRef, dir_.File("missing.txt")}).ExitCode(), 1);
  EXPECT_EQ(
      RunCommandLine({"--check", strict, "-o", dir_.File("no/such/dir.txt"), kRef, kF1}).ExitCode(),
      3);
}

}  // namespace
}  // namespace korimo::testing
