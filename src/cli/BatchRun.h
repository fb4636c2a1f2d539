#pragma once

#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliPlatform.h"
#include "cli/CliWindow.h"

namespace korimo {

// Exit statuses of korimo-cli.
enum class ExitStatus {
  Ok = 0,
  NoPatches = 1,  // a file given yielded no patches; the output is still written
  Usage = 2,
  OutputFailed = 3,  // the output could not be written
};

struct BatchOutcome {
  ExitStatus status = ExitStatus::Ok;
  std::string output;                    // bytes for standard output
  std::vector<std::string> diagnostics;  // lines for standard error, no line ends
  int ExitCode() const { return static_cast<int>(status); }
};

// One run of the batch tool on an understood command line: a freshly started
// window, the threshold panel and sort set as a user would, then each file
// chosen through its file button, Reference first.
class BatchRun {
 public:
  explicit BatchRun(CliOptions options);
  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;

  BatchOutcome Execute();

 private:
  void SetUpPanel();
  void ChooseFiles();
  bool ReportEmptyFiles();
  std::string Render() const;
  ExitStatus Deliver(std::string bytes, BatchOutcome& outcome);

  CliOptions options_;
  CliPlatform platform_;
  CliWindow window_;
};

// The whole tool short of the process: parses `args` (without the program
// name) and answers help, version and usage errors, or runs.
BatchOutcome RunCommandLine(const std::vector<std::string>& args);

}  // namespace korimo
