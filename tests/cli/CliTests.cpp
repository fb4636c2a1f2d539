#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "cli/BatchRun.h"
#include "core/Common.h"
#include "core/Encoding.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;

const std::string kRef = KORIMO_SAMPLES_DIR "/small-reference.txt";
const std::string kF1 = KORIMO_SAMPLES_DIR "/small-file1.txt";
const std::string kF2 = KORIMO_SAMPLES_DIR "/small-file2.txt";
const std::string kBigRef = KORIMO_SAMPLES_DIR "/large-reference.txt";
const std::string kBigF1 = KORIMO_SAMPLES_DIR "/large-file1.txt";
const std::string kBigF2 = KORIMO_SAMPLES_DIR "/large-file2.txt";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pieces of a text each of which ends in `end`: lines in CR LF, cells in a tab.
Args Split(const std::string& text, const std::string& end) {
  Args pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
    pieces.push_back(text.substr(start, at - start));
  EXPECT_EQ(text.substr(start), "") << "after the last end";
  return pieces;
}

TEST(CliResults, LinesColumnsAndRowsInCp932AndUtf8) {
  const struct {
    Args args;
    std::size_t rows, cells;  // 10-column rows keep an empty cell for File2
    Args head;                // the file lines
  } cases[] = {
      {{kRef, kF1}, 24, 11, {"基準:" + kRef, "File1:" + kF1}},
      {{kRef, "", kF2}, 24, 15, {"基準:" + kRef, "File2:" + kF2}},
      {{"--sort", "-9", kBigRef, kBigF1, kBigF2},
       1600,
       15,
       {"基準:" + kBigRef, "File1:" + kBigF1, "File2:" + kBigF2}},
  };
  for (const auto& c : cases) {
    Args utf8Args = c.args;
    utf8Args.insert(utf8Args.begin(), "--encoding=utf-8");
    const BatchOutcome cp932 = RunCommandLine(c.args), utf8 = RunCommandLine(utf8Args);
    ASSERT_EQ(cp932.ExitCode() + utf8.ExitCode(), 0);
    EXPECT_TRUE(cp932.diagnostics.empty() && utf8.diagnostics.empty());
    EXPECT_TRUE(cp932.output.starts_with("\x8A\xEE\x8F\x80:"));            // "基準:"
    EXPECT_NE(cp932.output.find("\t\207\231E00\r\n"), std::string::npos);  // "⊿E00": 87 99
    EXPECT_TRUE(utf8.output.starts_with("基準:"));                         // so no byte order mark
    EXPECT_EQ(cp932.output, Utf8ToCp932(utf8.output));

    const Args lines = Split(utf8.output, "\r\n");
    const std::size_t n = c.head.size();
    ASSERT_EQ(lines.size(), n + 1 + c.rows);
    EXPECT_EQ(Args(lines.begin(), lines.begin() + n), c.head);
    EXPECT_EQ(lines[n], "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00" +
                            std::string(c.cells == 15 ? "\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00" : ""));
    for (std::size_t r = n + 1; r < lines.size(); ++r) {
      const Args cells = Split(lines[r], "\t");
      ASSERT_EQ(cells.size(), c.cells) << lines[r];
      EXPECT_EQ(cells.back().empty(), c.cells == 11) << lines[r];  // File2 only when chosen
      if (c.args[0] != "--sort") {
        EXPECT_EQ(std::stoul(cells[0]), r - n);
      } else if (r > n + 1) {  // by ⊿E00, descending
        EXPECT_LE(std::stod(cells[9]), std::stod(Split(lines[r - 1], "\t")[9])) << lines[r];
      }
    }
  }
}

// Each status and its messages, alike from the built executable.
TEST(CliExit, StatusesAndMessagesAlsoFromTheExecutable) {
  TempDir dir("cli-exit");
  const std::string missing = dir.File("missing.txt"), empty = dir.File("empty.txt");
  WriteChart(empty, {});
  const std::tuple<Args, int, std::string> cases[] = {
      {{kRef, kF1, kF2}, 0, ""},
      {{kRef, missing, empty}, 1, missing + ": no patches read\nkorimo-cli: " + empty + ": no"},
      {{"-o", empty + "/x.txt", kRef}, 3, "korimo-cli: cannot write " + empty + "/x.txt: "},
      {{"--sort", "15", kRef}, 2, "'15' for --sort"},
      {{"--sort=-15", kRef}, 2, "'-15' for --sort"},
      {{"--under=-1", kRef}, 2, "'-1' for --under"},
      {{"--over", "21", kRef}, 2, "'21' for --over"},
      {{"--under", "2x", kRef}, 2, "'2x' for --under"},
      {{"--format", "xml", kRef}, 2, "'xml' for --format"},
      {{"--metric=cie94", kRef}, 2, "'cie94' for --metric"},
      {{"--encoding", "sjis", kRef}, 2, "'sjis' for --encoding"},
      {{"--frobnicate", kRef}, 2, "unknown option '--frobnicate'"},
      {{kRef, "-o"}, 2, "'-o' needs a value"},
      {{"--format", "json"}, 2, "no REFERENCE"},
      {{kRef, kF1, kF2, kF2}, 2, "too many files"},
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

TEST(CliOutputFile, WritesTheBytesOfStandardOutputOrLeavesTheOldFileUntouched) {
  TempDir dir("cli-out");
  const std::string target = dir.File("results.txt"), expected = RunCommandLine({kRef, kF1}).output;
  EXPECT_EQ(RunCommandLine({"-o" + target, kRef, kF1}).output, "");
  EXPECT_EQ(ReadAll(target), expected);
  // A write failing midway, as on a full disk: the 1600-patch text is far larger.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{4096, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const int status = RunCommandLine({"--output=" + target, kBigRef, kBigF1, kBigF2}).ExitCode();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(status, 3);
  EXPECT_EQ(ReadAll(target), expected);  // untouched, and no temporary file left beside it
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

QJsonValue Parse(const std::string& text) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

// Keys and sizes: "s" a string, "n" a number, an array its size and the
// shapes of its elements with consecutive repeats once.
std::string Shape(const QJsonValue& v) {
  if (!v.isObject() && !v.isArray())
    return v.isString() ? "s" : v.isDouble() ? "n" : "?";
  std::string out, last;
  for (const QString& key : v.toObject().keys())
    out += (out.empty() ? "{" : ",") + key.toStdString() + ":" + Shape(v[key]);
  if (v.isObject())
    return out + "}";
  for (const QJsonValue& e : v.toArray())
    if (const std::string s = Shape(e); s != last)
      out += (out.empty() ? "" : "|") + (last = s);
  return std::to_string(v.toArray().size()) + "[" + out + "]";
}

std::string Str(const QJsonValue& v) {
  return v.toString().toStdString();
}

TEST(CliJson, KeysShapesAndFiguresBesideTheirLabels) {
  const QJsonValue doc =
      Parse(RunCommandLine({"--format=json", "--metric", "de00", kRef, kF1, kBigF2}).output);
  EXPECT_EQ(Shape(doc),
            "{captions:{over:s,under:s},chart:{cols:n,rows:n},count_labels:3[s],grid:24[15[s]],"
            "pairs:2[{avg_de00:n,avg_de_ab:n,best10_de00:n,best10_de_ab:n,de00:24[n],de_ab:24[n],"
            "hist_count:11[n],hist_value:11[n],labels:{avg_de00:s,avg_de_ab:s,best10_de00:s,"
            "best10_de_ab:s,max_de00:s,max_de_ab:s,pct95_de00:s,pct95_de_ab:s},max_de00:n,"
            "max_de_ab:n,over_percent:s,pct95_de00:n,pct95_de_ab:n,under_percent:s}],"
            "patch_id:24[s],sets:3[{lab:24[3[n]],patch_count:n,path:s,row_length:n}|"
            "{lab:1600[3[n]],patch_count:n,path:s,row_length:n}],thresholds:{over_de00:n,"
            "over_de_ab:n,under_de00:n,under_de_ab:n},version:s}");
  EXPECT_TRUE(Str(doc["captions"]["under"]).starts_with("Under ⊿E00<"));
  for (const QJsonValue pair : doc["pairs"].toArray())
    for (const QString& key : pair["labels"].toObject().keys())
      EXPECT_EQ(Str(pair["labels"][key]), FormatFixed7(pair[key].toDouble())) << key.toStdString();
}

// Numbers are the shortest text that reads back as the float widened to
// double, paths are escaped, and a file over 3000 patches is cut and
// reported once although choosing File2 reads File1 again.
TEST(CliJson, NumbersPathsAndTheCutAt3000) {
  TempDir dir("cli-json");
  const std::string full = dir.File("q\"b\\s\x01\t⊿\x8a.txt"), over = dir.File("over.txt");
  std::vector<Patch> patches = Flat(3000);
  patches[0] = {"W1", 95.12, -0.5, 1.25};
  WriteChart(full, patches);
  WriteChart(over, Flat(3001));
  const BatchOutcome out = RunCommandLine({"--format", "json", full, over, full});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(out.diagnostics,
            Args{"korimo-cli: " + over + ": パッチ数が最大3000を越えました。読み込みを中止します"});
  EXPECT_NE(out.output.find("[95.12000274658203, -0.5, 1.25]"), std::string::npos);
  const QJsonValue doc = Parse(out.output);
  EXPECT_EQ(Str(doc["sets"][0]["path"]), dir.File("q\"b\\s\x01\t⊿\uFFFD.txt"));
  for (int s = 0; s < 3; ++s)
    EXPECT_EQ(doc["sets"][s]["patch_count"].toInt(), 3000);
}

}  // namespace
}  // namespace korimo::testing
