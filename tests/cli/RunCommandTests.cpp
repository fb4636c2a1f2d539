#include "cli/RunCommand.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <random>
#include <tuple>

#include "cli/AtomicFile.h"
#include "core/Common.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;
using Json = nlohmann::ordered_json;

Json RunJson(const Args& args, BatchOutcome* outcome = nullptr) {
  BatchOutcome out = RunCommandLine(args);
  if (outcome != nullptr)
    *outcome = out;
  return out.output.empty() ? Json() : Json::parse(out.output);
}

// A Reference of 24 patches and sheets made from it with noise and a drift:
// alike, in another order, lacking a patch, renamed, and one that is no
// measurement, in turn.
class GeneratedRun : public ::testing::Test {
 protected:
  GeneratedRun() : dir_("run-cmd") {
    std::mt19937 random(26);
    std::normal_distribution<double> noise(0, 0.4);
    std::vector<Patch> reference;
    for (int i = 0; i < 24; ++i) {
      reference.push_back({"A" + std::to_string(i + 1), 30 + 2.5 * i, 40 - 3.0 * i, -20 + 1.5 * i,
                           std::array{i * 4, (i * 7) % 100, (i * 11) % 100, i % 3 * 20}});
    }
    WriteChart(ref_, reference);
    for (int k = 0; k < 15; ++k) {
      std::vector<Patch> sheet = reference;
      for (Patch& s : sheet) {
        for (double* v : {&s.L, &s.a, &s.b})
          *v += noise(random) + 0.05 * k;
      }
      const int variant = k % 5;
      if (variant == 1)
        std::shuffle(sheet.begin(), sheet.end(), random);
      if (variant == 2)
        sheet.erase(sheet.begin() + 5);
      if (variant == 3) {
        for (Patch& s : sheet)
          s.id = "x" + s.id;
      }
      const std::string name = "sheet" + std::to_string(k) + ".txt";
      sheets_.push_back(variant == 4 ? dir_.Write(name, "no measurement\n")
                                     : dir_.Chart(name, sheet));
    }
  }
  TempDir dir_;
  const std::string ref_ = dir_.File("ref.txt");
  std::vector<std::string> sheets_;
};

// Each row is the single comparison of the Reference with that sheet: its
// figures where its labels show them, excluded exactly when it warns; the
// drift is the single comparison of the two sheets.
TEST_F(GeneratedRun, RowsAreTheSingleComparisonsInEveryPairingMode) {
  for (const std::string mode : {"position", "id", "device"}) {
    Args args{"run", "--format=json", "--pair-by=" + mode, ref_};
    args.insert(args.end(), sheets_.begin(), sheets_.end());
    const Json run = RunJson(args);
    ASSERT_EQ(run["sheets"].size(), sheets_.size());
    int compared = 0;
    std::string previous;
    for (std::size_t k = 0; k < sheets_.size(); ++k) {
      const Json& row = run["sheets"][k];
      BatchOutcome single;
      const Json one = RunJson({"--format=json", "--pair-by=" + mode, ref_, sheets_[k]}, &single);
      const bool warned = std::any_of(
          single.diagnostics.begin(), single.diagnostics.end(),
          [](const std::string& l) { return l.starts_with("korimo-cli: Reference-File1: "); });
      const std::string status = single.ExitCode() == 1 ? "refused"
                                 : warned               ? "excluded"
                                                        : "compared";
      ASSERT_EQ(row["status"], status) << mode << " " << k;
      if (status == "refused")
        continue;
      for (const auto& [key, value] : row["figures"].items()) {
        const bool shown = !one["pairs"][0]["labels"][key].get<std::string>().empty();
        EXPECT_EQ(value, shown ? one["pairs"][0][key] : Json()) << mode << " " << k << key;
      }
      EXPECT_EQ(row["paired"], one["pairing"][0]["paired"]);
      if (status != "compared")
        continue;
      ++compared;
      if (!previous.empty()) {
        const Json drift = RunJson({"--format=json", "--pair-by=" + mode, previous, sheets_[k]});
        const double expected = drift["pairs"][0]["avg_de00"];
        const double value = row["drift_de00"];
        EXPECT_TRUE(static_cast<float>(value) == expected ||
                    FormatTwoDec(value) == FormatTwoDec(expected))
            << mode << " " << k;
      }
      previous = sheets_[k];
    }
    EXPECT_EQ(run["run"]["compared"], compared);
    EXPECT_GE(compared, mode == "position" ? 3 : 6);
  }
}

TEST_F(GeneratedRun, JsonKeysInOrderAndNullsForARefusedSheet) {
  const Json run = RunJson(
      {"run", "--format", "json", "--check", "iso12647-7-2016", ref_, sheets_[0], sheets_[4]});
  const auto keys = [](const Json& object) {
    std::string names;
    for (const auto& [key, value] : object.items())
      names += (names.empty() ? "" : " ") + key;
    return names;
  };
  EXPECT_EQ(keys(run), "reference options sheets run patches most_variable");
  EXPECT_EQ(keys(run["sheets"][0]),
            "file mtime status reason paired figures paper_de00 solids_de00 drift_de00 verdicts");
  EXPECT_EQ(
      keys(run["sheets"][0]["figures"]),
      "avg_de_ab max_de_ab best10_de_ab pct95_de_ab avg_de00 max_de00 best10_de00 pct95_de00");
  EXPECT_EQ(keys(run["run"]), "sheets_given compared excluded refused figures pass_share");
  EXPECT_EQ(keys(run["run"]["figures"]["drift_de00"]), "mean sd min max min_sheet max_sheet");
  EXPECT_EQ(keys(run["patches"][0]), "id mean_de00 sd_l sd_a sd_b");
  const Json& refused = run["sheets"][1];
  EXPECT_EQ(refused["reason"], "no BEGIN_DATA line");
  for (const char* key : {"paired", "figures", "drift_de00", "paper_de00"})
    EXPECT_TRUE(refused[key].is_null()) << key;
  EXPECT_TRUE(run["sheets"][0]["reason"].is_null());
  EXPECT_EQ(run["sheets"][0]["verdicts"][0]["name"], run["run"]["pass_share"][0]["name"]);
  EXPECT_EQ(run["patches"][0]["id"], "A1");
  EXPECT_TRUE(run["patches"][0]["sd_l"].is_null());  // one compared sheet
  EXPECT_EQ(std::string(run["sheets"][0]["mtime"]).size(),
            std::string("2025-01-15T09:30:00Z").size());
}

TEST_F(GeneratedRun, ExitStatusesAndUsageErrors) {
  const std::string tight = dir_.Write("tight.txt", "all:de:avg<=0.01\n");
  const std::string list = dir_.Write("list.txt", "sheet0.txt\n");
  const std::tuple<Args, int, std::string> cases[] = {
      {{"run", ref_, sheets_[0], sheets_[5]}, 0, ""},
      {{"run", ref_, sheets_[0], sheets_[4], sheets_[1]},
       1,
       "korimo-cli: " + sheets_[4] + ": no BEGIN_DATA line\nkorimo-cli: " + sheets_[1] +
           ": excluded: "},
      {{"run", "--check", tight, ref_, sheets_[0]}, 4, ""},
      {{"run", "--check", tight, "--min-pass", "0", ref_, sheets_[0]}, 0, ""},
      {{"run", "--check", tight, "--min-pass=0.5", ref_, sheets_[0]}, 4, ""},
      {{"run", "--min-pass", "50", ref_, sheets_[0]}, 2, "--min-pass needs --check"},
      {{"run", "--check", tight, "--min-pass", "100.5", ref_}, 2, "'100.5' for --min-pass"},
      {{"run", "--order", "size", ref_}, 2, "'size' for --order"},
      {{"run", "--format", "results", ref_}, 2, "'results' for --format"},
      {{"run", "--sheets-from", dir_.File("none.txt"), ref_}, 2, "cannot read"},
      {{"run", "-o", sheets_[0], ref_, sheets_[0]}, 3, "refusing to overwrite an input file"},
      {{"run", "-o", list, "--sheets-from", list, ref_}, 3, "refusing to overwrite"},
      {{"run", "-o", tight, "--check", tight, ref_}, 3, "refusing to overwrite"},
      {{"run", dir_.File("missing.txt"), sheets_[0]}, 1, "missing.txt: no such file\n"},
  };
  for (const auto& [args, status, message] : cases) {
    const BatchOutcome out = RunCommandLine(args);
    std::string err;
    for (const std::string& line : out.diagnostics)
      err += line + "\n";
    EXPECT_EQ(out.ExitCode(), status) << args[1] << err;
    EXPECT_NE(err.find(message), std::string::npos) << err;
    EXPECT_EQ(err.find("\n" + RunUsageLine() + "\n") != std::string::npos, status == 2) << err;
  }
  // An output inside a folder the run reads is not one of its sheets.
  EXPECT_EQ(RunCommandLine({"run", "-o", tight, ref_, dir_.path().string()}).ExitCode(), 1);
  EXPECT_EQ(ReadAll(tight).find("tight.txt"), std::string::npos);
  EXPECT_NE(ReadAll(tight).find("list.txt,"), std::string::npos);
}

// SHEET arguments first, then the list's lines (from the list's folder);
// then by name or by modification time.
TEST_F(GeneratedRun, OrderOfTheRun) {
  namespace fs = std::filesystem;
  const auto now = fs::file_time_type::clock::now();
  for (int k = 0; k < 3; ++k)
    fs::last_write_time(sheets_[static_cast<std::size_t>(k)], now - std::chrono::hours(k));
  fs::create_directory(dir_.File("lists"));
  dir_.Write("lists/l.txt", "\xEF\xBB\xBF../sheet0.txt\r\n\r\n" + sheets_[2] + "\n");
  const std::tuple<std::string, Args> cases[] = {
      {"args", {sheets_[1], dir_.File("lists/../sheet0.txt"), sheets_[2]}},
      {"name", {dir_.File("lists/../sheet0.txt"), sheets_[1], sheets_[2]}},
      {"mtime", {sheets_[2], sheets_[1], dir_.File("lists/../sheet0.txt")}},
  };
  for (const auto& [order, files] : cases) {
    const Json run = RunJson({"run", "--format=json", "--order", order, "--sheets-from",
                              dir_.File("lists/l.txt"), ref_, sheets_[1]});
    Args got;
    for (const Json& sheet : run["sheets"])
      got.push_back(sheet["file"]);
    EXPECT_EQ(got, files) << order;
  }
}

// Ctrl-C while the output is being written ends the process only once the
// output is whole, and leaves no temporary file.
TEST(RunOutput, InterruptedWriteLeavesWholeOutputOrNone) {
  TempDir dir("run-int");
  const std::string out = dir.File("out.csv");
  const std::string bytes(std::size_t{256} << 20, 'x');
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WriteFileAtomically(out, bytes);
    _exit(0);
  }
  usleep(20000);
  kill(child, SIGINT);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status));
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path(), out);
  std::error_code ec;
  const auto size = std::filesystem::file_size(out, ec);
  EXPECT_TRUE(ec || size == bytes.size());
}

}  // namespace
}  // namespace korimo::testing
