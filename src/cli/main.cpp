#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/BatchRun.h"

int main(int argc, char** argv) {
  // An output past the file-size limit fails as a write error, so that its
  // temporary file is removed, instead of the signal ending the process.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  korimo::BatchOutcome outcome = korimo::RunCommandLineCatching(args);
  for (const std::string& line : outcome.diagnostics)
    std::fprintf(stderr, "%s\n", line.c_str());
  if (!outcome.output.empty()) {
    const std::size_t written =
        std::fwrite(outcome.output.data(), 1, outcome.output.size(), stdout);
    if (written != outcome.output.size() || std::fflush(stdout) != 0) {
      std::fprintf(stderr, "korimo-cli: cannot write to standard output\n");
      return static_cast<int>(korimo::ExitStatus::OutputFailed);
    }
  }
  return outcome.ExitCode();
}
