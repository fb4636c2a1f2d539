// Drives the batch tool with arbitrary arguments and files. The input is
// split at the first three runs of three NULs into the argument text and up
// to three file contents; arguments are separated by single NULs (two in a
// row give an empty argument), and "@1", "@2", "@3" stand for the files.
// Outputs are confined to a scratch folder; "-o @1" may aim at an input,
// which the tool must refuse.
//
// Any status the tool documents (0 to 4) is a normal end. A trap means a
// crash or sanitizer report (by the runtime), an input changed, a temporary
// file left behind, or an output that a failed run touched or a successful
// run left without its last line end.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "cli/BatchRun.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Scratch() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("korimo-cli-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

std::vector<std::string_view> SplitParts(std::string_view input) {
  std::vector<std::string_view> parts;
  while (parts.size() < 3) {
    const auto cut = input.find(std::string_view("\0\0\0", 3));
    if (cut == std::string_view::npos)
      break;
    parts.push_back(input.substr(0, cut));
    input.remove_prefix(cut + 3);
  }
  parts.push_back(input);
  return parts;
}

bool IsOutputOption(const std::string& a) {
  return a == "-o" || a == "--output";
}

bool IsFileReference(const std::string& a, std::size_t files) {
  for (std::size_t f = 0; f < files; ++f) {
    if (a == "@" + std::to_string(f + 1))
      return true;
  }
  return false;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr std::string_view kSentinel = "output before the run";

// Whatever ended the run, nothing it must not touch changed.
void CheckFiles(const std::vector<std::string_view>& parts, const std::vector<bool>& isInput,
                const std::string& output, int code, bool wroteOutput) {
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (isInput[i - 1] && ReadAll(Scratch() / ("file" + std::to_string(i) + ".txt")) != parts[i])
      __builtin_trap();
  }
  for (const auto& entry : fs::directory_iterator(Scratch())) {
    if (entry.path().filename().string().starts_with("."))
      __builtin_trap();  // a temporary left behind
  }
  const std::string after = ReadAll(output);
  const bool untouched = after == kSentinel;
  if ((code == 2 || code == 3 || !wroteOutput) && !untouched)
    __builtin_trap();
  if (wroteOutput && code != 2 && code != 3 && (untouched || !after.ends_with('\n')))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::vector<std::string_view> parts =
      SplitParts(std::string_view(reinterpret_cast<const char*>(bytes), size));
  std::vector<std::string> files;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const fs::path p = Scratch() / ("file" + std::to_string(i) + ".txt");
    std::ofstream(p, std::ios::binary) << parts[i];
    files.push_back(p.string());
  }
  std::vector<std::string> args;
  std::string_view text = parts[0];
  while (!text.empty() || args.empty()) {
    const auto cut = text.find('\0');
    args.emplace_back(text.substr(0, cut));
    if (cut == std::string_view::npos)
      break;
    text.remove_prefix(cut + 1);
  }
  const std::string output = (Scratch() / "out.txt").string();
  std::ofstream(output, std::ios::binary | std::ios::trunc) << kSentinel;
  bool wroteOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string& a = args[i];
    for (std::size_t f = 0; f < files.size(); ++f) {
      if (a == "@" + std::to_string(f + 1))
        a = files[f];
    }
    // Never let an input read the machine's files or choose where the tool
    // writes: other paths become a file that does not exist.
    const bool ours = a == output || std::find(files.begin(), files.end(), a) != files.end();
    if (!ours && a.find('/') != std::string::npos && a.rfind("--", 0) != 0)
      a = (Scratch() / "missing.txt").string();
    if (a.rfind("--output=", 0) == 0 || (a.rfind("-o", 0) == 0 && a.size() > 2)) {
      a = "--output=" + output;
      wroteOutput = true;
    } else if (IsOutputOption(a) && i + 1 < args.size() &&
               !IsFileReference(args[i + 1], files.size())) {
      args[i + 1] = output;
      wroteOutput = true;
    }
  }
  // A scratch file named only by -o is an output the run may replace, not an input.
  std::vector<bool> isInput(files.size(), false);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool outputTarget = i > 0 && IsOutputOption(args[i - 1]);
    for (std::size_t f = 0; f < files.size(); ++f) {
      if (args[i] == files[f] && !outputTarget)
        isInput[f] = true;
    }
  }
  const korimo::BatchOutcome outcome = korimo::RunCommandLine(args);
  const int code = outcome.ExitCode();
  if (code < 0 || code > 4)
    __builtin_trap();
  // The last occurrence of -o counts; an earlier one at the scratch output
  // with a later one at an input leaves the output as it was.
  CheckFiles(parts, isInput, output, code, wroteOutput && outcome.output.empty());
  return 0;
}
