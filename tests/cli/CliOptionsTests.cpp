#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

#include "cli/CliOptions.h"

namespace korimo {
namespace {

ParsedCommandLine Parse(std::vector<std::string> args) {
  return ParseCommandLine(args);
}

TEST(CliOptions, DefaultsAreThoseOfAFreshWindow) {
  const auto p = Parse({"ref.txt"});
  ASSERT_TRUE(p.ok()) << p.error;
  const CliOptions& o = p.options;
  EXPECT_EQ(o.action, CliAction::Run);
  EXPECT_EQ(o.format, OutputFormat::Results);
  EXPECT_EQ(o.encoding, TextEncoding::Cp932);
  EXPECT_EQ(o.metric, Metric::DeAb);
  EXPECT_EQ(o.sortKey, 0);
  EXPECT_EQ(o.under, 2);
  EXPECT_EQ(o.over, 15);
  EXPECT_FALSE(o.outputPath);
  EXPECT_EQ(o.files, std::vector<std::string>{"ref.txt"});
}

TEST(CliOptions, EveryOptionInBothSpellings) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"-o", "out.txt", "--format", "json", "--encoding", "utf-8", "--sort", "-9", "--metric",
            "de00", "--under", "0", "--over", "20", "r", "f1", "f2"},
           {"--output=out.txt", "--format=json", "--encoding=utf-8", "--sort=-9", "--metric=de00",
            "--under=0", "--over=20", "r", "f1", "f2"},
           {"r", "-oout.txt", "f1", "--format", "json", "--encoding=utf-8", "--sort", "-9", "f2",
            "--metric", "de00", "--under=0", "--over", "20"}}) {
    const auto p = Parse(args);
    ASSERT_TRUE(p.ok()) << p.error;
    const CliOptions& o = p.options;
    EXPECT_EQ(o.outputPath.value_or(""), "out.txt");
    EXPECT_EQ(o.format, OutputFormat::Json);
    EXPECT_EQ(o.encoding, TextEncoding::Utf8);
    EXPECT_EQ(o.sortKey, -9);
    EXPECT_EQ(o.metric, Metric::De00);
    EXPECT_EQ(o.under, 0);
    EXPECT_EQ(o.over, 20);
    EXPECT_EQ(o.files, (std::vector<std::string>{"r", "f1", "f2"}));
  }
}

TEST(CliOptions, SortKeyBoundsAreInclusive) {
  EXPECT_EQ(Parse({"--sort", "-14", "r"}).options.sortKey, -14);
  EXPECT_EQ(Parse({"--sort", "14", "r"}).options.sortKey, 14);
  EXPECT_FALSE(Parse({"--sort", "15", "r"}).ok());
  EXPECT_FALSE(Parse({"--sort", "-15", "r"}).ok());
}

TEST(CliOptions, EmptyArgumentsKeepTheirSlot) {
  const auto p = Parse({"ref.txt", "", "f2.txt"});
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.options.files, (std::vector<std::string>{"ref.txt", "", "f2.txt"}));
}

TEST(CliOptions, DoubleDashEndsOptions) {
  const auto p = Parse({"--format", "json", "--", "-ref.txt", "--sort"});
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.options.format, OutputFormat::Json);
  EXPECT_EQ(p.options.files, (std::vector<std::string>{"-ref.txt", "--sort"}));
}

TEST(CliOptions, SingleDashIsAFileName) {
  const auto p = Parse({"-"});
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.options.files, std::vector<std::string>{"-"});
}

TEST(CliOptions, LastRepeatedOptionWins) {
  EXPECT_EQ(Parse({"--sort", "3", "--sort=-4", "r"}).options.sortKey, -4);
}

TEST(CliOptions, HelpAndVersionNeedNoFiles) {
  EXPECT_EQ(Parse({"--help"}).options.action, CliAction::Help);
  EXPECT_EQ(Parse({"-h"}).options.action, CliAction::Help);
  EXPECT_EQ(Parse({"--version"}).options.action, CliAction::Version);
  EXPECT_TRUE(Parse({"--version"}).ok());
  EXPECT_EQ(Parse({"a", "b", "c", "d", "--help"}).options.action, CliAction::Help);
}

struct BadLine {
  std::vector<std::string> args;
  std::string fragment;  // expected in the message
};

// Keeps the discovered test names short and readable.
void PrintTo(const BadLine& line, std::ostream* os) {
  std::string name;
  for (const std::string& arg : line.args) {
    for (char c : arg)
      name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    name += '_';
  }
  *os << (name.empty() ? "none" : name);
}

class CliOptionsUsageError : public ::testing::TestWithParam<BadLine> {};

TEST_P(CliOptionsUsageError, IsRefusedWithAMessage) {
  const auto p = Parse(GetParam().args);
  EXPECT_FALSE(p.ok());
  EXPECT_NE(p.error.find(GetParam().fragment), std::string::npos) << p.error;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CliOptionsUsageError,
    ::testing::Values(
        BadLine{{"--sort", "15", "r"}, "--sort"}, BadLine{{"--under", "21", "r"}, "--under"},
        BadLine{{"--under", "-1", "r"}, "--under"}, BadLine{{"--over", "99", "r"}, "--over"},
        BadLine{{"--sort", "x", "r"}, "'x'"}, BadLine{{"--sort", "3.0", "r"}, "'3.0'"},
        BadLine{{"--sort", "+3", "r"}, "'+3'"}, BadLine{{"--sort", "", "r"}, "--sort"},
        BadLine{{"--under=2x", "r"}, "'2x'"},
        BadLine{{"--sort", "99999999999999999999", "r"}, "--sort"},
        BadLine{{"--format", "csv", "r"}, "'csv'"}, BadLine{{"--metric", "de94", "r"}, "'de94'"},
        BadLine{{"--encoding", "latin1", "r"}, "'latin1'"}, BadLine{{"--bogus", "r"}, "'--bogus'"},
        BadLine{{"-x", "r"}, "'-x'"}, BadLine{{"r", "--sort"}, "needs a value"},
        BadLine{{"r", "-o"}, "needs a value"}, BadLine{{"-o", "", "r"}, "empty"},
        BadLine{{"--help=yes"}, "takes no value"}, BadLine{{}, "no REFERENCE"},
        BadLine{{"--format", "json"}, "no REFERENCE"}, BadLine{{"", "f1"}, "REFERENCE"},
        BadLine{{"a", "b", "c", "d"}, "too many"}));

TEST(CliOptions, HelpShowsUsageLineAndEveryOption) {
  const std::string help = HelpText();
  EXPECT_EQ(help.rfind(UsageLine(), 0), 0u);
  for (const char* option : {"--output", "--format", "--encoding", "--sort", "--metric", "--under",
                             "--over", "--help", "--version", "Exit status"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace korimo
