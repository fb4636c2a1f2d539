#include "cli/BatchRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <tuple>

#include "cli/CliOptions.h"
#include "support/EngineDriver.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;
using Json = nlohmann::ordered_json;

const std::string kRef = KORIMO_SAMPLES_DIR "/small-reference.txt";
const std::string kF1 = KORIMO_SAMPLES_DIR "/small-file1.txt";
const std::string kF2 = KORIMO_SAMPLES_DIR "/small-file2.txt";

std::string Diagnostics(const BatchOutcome& out) {
  std::string text;
  for (const std::string& line : out.diagnostics)
    text += line + "\n";
  return text;
}

// Each status with its messages: the usage line follows a usage error only,
// and a run that reads writes its output despite unreadable files. (The
// goldens and the hostile input test run the executable.)
TEST(BatchRun, StatusesAndMessages) {
  TempDir dir("cli-exit");
  const std::string missing = dir.File("missing.txt"), empty = dir.File("empty.txt");
  WriteChart(empty, {});
  const std::tuple<Args, int, std::string> cases[] = {
      {{kRef, kF1, kF2}, 0, ""},
      {{kRef, missing, empty},
       1,
       "korimo-cli: " + missing + ": no such file\nkorimo-cli: " + empty +
           ": no data lines after BEGIN_DATA\n"},
      {{dir.path().string(), kF1}, 1, ": not a regular file\n"},
      {{"-o", empty + "/x.txt", kRef}, 3, "korimo-cli: cannot write " + empty + "/x.txt: "},
      {{"--sort", "15", kRef}, 2, "'15' for --sort"},
  };
  for (const auto& [args, status, message] : cases) {
    const BatchOutcome out = RunCommandLine(args);
    const std::string err = Diagnostics(out);
    EXPECT_EQ(out.ExitCode(), status) << err;
    EXPECT_EQ(out.output.empty(), status >= 2) << err;
    EXPECT_NE(err.find(message), std::string::npos) << err;
    EXPECT_EQ(err.empty(), status == 0) << err;
    EXPECT_EQ(err.find("\n" + UsageLine() + "\n") != std::string::npos, status == 2) << err;
  }
}

// The figures reach the JSON once, as numbers, and their texts there and in
// the report are what a window shown the same three files labels them.
TEST(BatchRun, JsonAndReportShowTheWindowsLabelsOfTheirNumbers) {
  const std::string samples = KORIMO_SAMPLES_DIR "/", inputs = KORIMO_GOLDEN_DIR "/inputs/";
  const Args runs[] = {
      {kRef, kF1, kF2},
      {samples + "large-reference.txt", samples + "large-file1.txt", samples + "large-file2.txt"},
      {samples + "wedge-reference.txt", samples + "wedge-proof-pass.txt",
       samples + "wedge-proof-fail.txt"},
      {inputs + "ties-ref.txt", inputs + "ties-f1.txt", inputs + "ties-f2.txt"},
      {inputs + "crlf.txt", inputs + "long-f2.txt", inputs + "short-f1.txt"},  // 12, 20, 8
  };
  for (const Args& files : runs) {
    SCOPED_TRACE(files[0]);
    Args json = {"--format=json"}, html = {"--format=html"};
    json.insert(json.end(), files.begin(), files.end());
    html.insert(html.end(), files.begin(), files.end());
    const Json doc = Json::parse(RunCommandLine(json).output);
    const std::string report = RunCommandLine(html).output;
    Engine window;
    for (DataSet s : kAllSets)
      window.Choose(s, files[Index(s)]);
    const WindowRecord& r = window.record();
    // "Best10%" and "95%" are shown from 15 Reference patches on.
    const bool percentiles = doc["sets"][0]["patch_count"] >= 15;
    for (Pair pair : kAllPairs) {
      const std::size_t p = Index(pair);
      const Json& figures = doc["pairs"][p];
      const std::pair<const char*, std::string> shown[] = {
          {"avg_de_ab", r.Lb_De[2 * p]},    {"max_de_ab", r.Lb_De[2 * p + 1]},
          {"best10_de_ab", r.Lb_BestDe[p]}, {"pct95_de_ab", r.Lb_WorsDe[p]},
          {"avg_de00", r.Lb_De2K[2 * p]},   {"max_de00", r.Lb_De2K[2 * p + 1]},
          {"best10_de00", r.Lb_Best2K[p]},  {"pct95_de00", r.Lb_Wors2K[p]}};
      for (const auto& [key, label] : shown) {
        EXPECT_EQ(figures["labels"][key], label) << key;
        const bool written = percentiles || key[0] == 'a' || key[0] == 'm';
        EXPECT_EQ(written ? FormatFixed7(figures[key].get<double>()) : "", label) << key;
      }
      EXPECT_EQ(figures["under_percent"], r.Lb_UPar[p]);
      EXPECT_EQ(figures["over_percent"], r.Lb_OPar[p]);
      for (const auto& [metric, row] :
           {std::pair{"⊿E", r.Lb_De[2 * p] + "<td>" + r.Lb_De[2 * p + 1] + "<td>" + r.Lb_BestDe[p] +
                                "<td>" + r.Lb_WorsDe[p]},
            {"⊿E00", r.Lb_De2K[2 * p] + "<td>" + r.Lb_De2K[2 * p + 1] + "<td>" + r.Lb_Best2K[p] +
                         "<td>" + r.Lb_Wors2K[p]}})
        EXPECT_NE(report.find("<tr><th>" + std::string(metric) + "<td>" + row + "</tr>"),
                  std::string::npos)
            << metric << row;
    }
    EXPECT_EQ(doc["captions"]["under"], r.ChkBest);
    EXPECT_EQ(doc["captions"]["over"], r.ChkWorst);
    EXPECT_EQ(doc["count_labels"], Json(r.Lb_NoP));
  }
}

// Reference Pi at L* 30 + i; File1 has Pi at L* 31 + i, lacks P3 and lists
// its patches in reverse order: every paired difference is 1. The Reference's
// name holds what JSON escapes and a byte that is no UTF-8.
class PairByRun : public ::testing::Test {
 protected:
  PairByRun() : dir_("pair-by") {
    std::vector<Patch> reference, sample;
    for (int i = 1; i <= 20; ++i) {
      reference.push_back({"P" + std::to_string(i), 30.0 + i, 0, 0});
      if (i != 3)
        sample.insert(sample.begin(), {"P" + std::to_string(i), 31.0 + i, 0, 0});
    }
    WriteChart(ref_, reference);
    WriteChart(dir_.File("f1.txt"), sample);
  }
  BatchOutcome Run(Args options) const {
    options.push_back(ref_);
    options.push_back(dir_.File("f1.txt"));
    return RunCommandLine(options);
  }
  TempDir dir_;
  const std::string ref_ = dir_.File("q\"b\\s\x01\t⊿\x8a.txt");
};

// How pairs met, figures and nulls of unpaired patches are in the goldens.
TEST_F(PairByRun, JsonNamesTheFileInValidTextAndWhyDevicePairingFellBack) {
  const Json doc = Json::parse(Run({"--format=json", "--pair-by=device"}).output);
  EXPECT_EQ(doc["sets"][0]["path"], dir_.File("q\"b\\s\x01\t⊿\uFFFD.txt"));
  EXPECT_EQ(doc["pairing"][0]["mode"], "position");
  EXPECT_EQ(doc["pairing"][0]["fallback_reason"], "デバイス値なし");
}

// Every paired difference is 1: within a tolerance of 1 by ID, not by
// position. (Strict identifiers' statuses and the pairing lines are in the
// goldens pair-strict-id, pair-strict-device-rgb and pair-id.)
TEST_F(PairByRun, TolerancesUseWhatPaired) {
  const std::tuple<Args, int, std::string> cases[] = {
      {{"--pair-by=id", "--tolerance=de:pct95<=1"}, 0, ""},
      {{"--tolerance=de:avg<=1"}, 4, "failed"},
  };
  for (const auto& [options, status, message] : cases) {
    SCOPED_TRACE(options.back());
    const BatchOutcome out = Run(options);
    EXPECT_EQ(out.ExitCode(), status);
    EXPECT_NE(Diagnostics(out).find(message), std::string::npos) << Diagnostics(out);
  }
}

class Check : public ::testing::Test {
 protected:
  TempDir dir_{"check"};
};

// A set that cannot be had is a usage error naming why, with the line.
TEST_F(Check, UnusableSetsAreUsageErrors) {
  const std::string broken = dir_.Write("broken.txt", "# ok\nall:de:max<=2\nall:de:mean<=1\n");
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

// A set with no pair to compare fails; an unreadable file (1) and an
// unwritable output (3) outrank failed criteria (4). The lines of failed and
// passed sets are in the goldens.
TEST_F(Check, NoPairFailsAndEarlierStatusesOutrankFailedCriteria) {
  const std::string strict = dir_.Write("strict.txt", "name: Strict\nall:de:avg<=1\n");
  const BatchOutcome noPair = RunCommandLine({"--check", strict, kRef});
  EXPECT_EQ(noPair.ExitCode(), 4);
  EXPECT_EQ(noPair.diagnostics, Args{"korimo-cli: Strict: FAIL (no pair to compare)"});
  EXPECT_EQ(RunCommandLine({"--check", strict, kRef, kF1}).ExitCode(), 4);  // ⊿E 1.10
  EXPECT_EQ(RunCommandLine({"--check", strict, kRef, dir_.File("missing.txt")}).ExitCode(), 1);
  EXPECT_EQ(
      RunCommandLine({"--check", strict, "-o", dir_.File("no/such/dir.txt"), kRef, kF1}).ExitCode(),
      3);
}

}  // namespace
}  // namespace korimo::testing
