#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

using Args = std::vector<std::string>;

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
      {{"--pair-by", "ID", "r"}, "'ID' for --pair-by"},
      {{"--pair-by", "", "r"}, "'' for --pair-by"},
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
}

}  // namespace
}  // namespace korimo
