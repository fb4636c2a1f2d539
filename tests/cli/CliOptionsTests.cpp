#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korimo {
namespace {

using Args = std::vector<std::string>;

TEST(CliOptions, ValuesInEitherFormTheLastOccurrenceAndEmptyFiles) {
  const ParsedCommandLine p = ParseCommandLine(
      {"--format=json", "--encoding", "utf-8", "-o", "out.txt", "--sort", "-9", "--sort=14",
       "--metric", "de00", "--under=0", "--over", "20", "", "f1.txt", "--", "-f2.txt"});
  ASSERT_TRUE(p.ok()) << p.error;
  const CliOptions& o = p.options;
  EXPECT_EQ(o.format, OutputFormat::Json);
  EXPECT_EQ(o.encoding, TextEncoding::Utf8);
  EXPECT_EQ(o.outputPath, "out.txt");
  EXPECT_EQ(o.sortKey, 14);
  EXPECT_EQ((std::tuple{o.panel.metric, o.panel.under, o.panel.over}),
            (std::tuple{Metric::De00, 0, 20}));
  EXPECT_EQ(o.files, (Args{"", "f1.txt", "-f2.txt"}));
  const ParsedCommandLine defaults = ParseCommandLine({"ref.txt"});
  EXPECT_EQ((std::tuple{defaults.options.format, defaults.options.encoding,
                        defaults.options.sortKey, defaults.options.panel.under,
                        defaults.options.panel.over, defaults.options.outputPath.has_value()}),
            (std::tuple{OutputFormat::Results, TextEncoding::Cp932, 0, 2, 15, false}));
  EXPECT_EQ(ParseCommandLine({"-ox.txt", "r"}).options.outputPath, "x.txt");
}

// Out-of-range or unknown values are usage errors that name the bad value.
TEST(CliOptions, UsageErrorsNameWhatIsWrong) {
  const std::pair<Args, const char*> cases[] = {
      {{"--sort", "15", "r"}, "'15' for --sort"},
      {{"--sort=-15", "r"}, "'-15' for --sort"},
      {{"--sort", "+3", "r"}, "'+3' for --sort"},
      {{"--under=-1", "r"}, "'-1' for --under"},
      {{"--over", "21", "r"}, "'21' for --over"},
      {{"--under", "2x", "r"}, "'2x' for --under"},
      {{"--under", "", "r"}, "'' for --under"},
      {{"--format", "xml", "r"}, "'xml' for --format"},
      {{"--metric=cie94", "r"}, "'cie94' for --metric"},
      {{"--encoding", "sjis", "r"}, "'sjis' for --encoding"},
      {{"--frobnicate", "r"}, "--frobnicate"},
      {{"r", "-o"}, "--output"},
      {{"-o", "", "r"}, "empty file name for --output"},
      {{"--format", "json"}, "no REFERENCE"},
      {{"r", "a", "b", "c"}, "At Most 3"},
  };
  for (const auto& [args, message] : cases) {
    const ParsedCommandLine p = ParseCommandLine(args);
    EXPECT_FALSE(p.ok()) << args[0];
    EXPECT_NE(p.error.find(message), std::string::npos) << p.error;
  }
  EXPECT_EQ(ParseCommandLine({"--sort", "99", "--help"}).options.action, CliAction::Help);
  EXPECT_EQ(ParseCommandLine({"--version"}).options.action, CliAction::Version);
}

}  // namespace
}  // namespace korimo
