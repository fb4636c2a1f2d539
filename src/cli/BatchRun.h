#pragma once

#include <string>
#include <vector>

#include "cli/CliOptions.h"

namespace korimo {

// Exit statuses of korimo-cli. Where several apply, usage comes first, then
// output, then a file without patches, then a failed check.
enum class ExitStatus {
  Ok = 0,
  NoPatches = 1,  // a file given yielded no patches; the output is still written
  RunFailed = 1,  // the run itself failed (out of memory); nothing is written
  Usage = 2,
  OutputFailed = 3,  // the output could not or must not be written (an input, read-only)
  CheckFailed = 4,   // a tolerance check failed, or --strict-ids met mismatching files
};

struct BatchOutcome {
  ExitStatus status = ExitStatus::Ok;
  std::string output;                    // bytes for standard output
  std::vector<std::string> diagnostics;  // lines for standard error, no line ends
  int ExitCode() const { return static_cast<int>(status); }
};

// One run on an understood command line: the engine of a freshly started
// window, its threshold panel and sort set as a user would, then each file
// chosen in the order Reference, File1, File2.
BatchOutcome RunBatch(const CliOptions& options);

// The whole tool short of the process: parses `args` (without the program
// name) and answers help, version and usage errors, or runs.
BatchOutcome RunCommandLine(const std::vector<std::string>& args);

// RunCommandLine for the process: a run that fails on memory or on any
// other exception says so instead of aborting, and writes nothing.
BatchOutcome RunCommandLineCatching(const std::vector<std::string>& args);

}  // namespace korimo
