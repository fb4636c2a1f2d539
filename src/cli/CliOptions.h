#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korimo {

enum class CliAction { Run, Help, Version };
enum class OutputFormat { Results, Json };
enum class TextEncoding { Cp932, Utf8 };
enum class Metric { DeAb, De00 };

inline constexpr int kDefaultUnder = 2;
inline constexpr int kDefaultOver = 15;

// The command line of korimo-cli once it has been understood. Defaults are
// those of a freshly started window.
struct CliOptions {
  CliAction action = CliAction::Run;
  OutputFormat format = OutputFormat::Results;
  TextEncoding encoding = TextEncoding::Cp932;
  Metric metric = Metric::DeAb;
  int sortKey = 0;
  int under = kDefaultUnder;
  int over = kDefaultOver;
  std::optional<std::string> outputPath;
  // Reference, File1, File2 in that order; an empty entry chooses no file.
  std::vector<std::string> files;
};

struct ParsedCommandLine {
  CliOptions options;
  std::string error;  // empty when the command line is usable
  bool ok() const { return error.empty(); }
};

// `args` excludes the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageLine();
std::string HelpText();

}  // namespace korimo
