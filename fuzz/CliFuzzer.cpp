// Drives the batch tool with arbitrary arguments and files. The input is
// split at the first three runs of three NULs into the argument text and up
// to three file contents; arguments are separated by single NULs (two in a
// row give an empty argument), and "@1", "@2", "@3" stand for the files.
// Outputs are confined to a scratch folder.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
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
    if (a.rfind("--output=", 0) == 0 || (a.rfind("-o", 0) == 0 && a.size() > 2))
      a = "--output=" + output;
    else if (IsOutputOption(a) && i + 1 < args.size())
      args[i + 1] = output;
  }
  const korimo::BatchOutcome outcome = korimo::RunCommandLine(args);
  const int code = outcome.ExitCode();
  if (code < 0 || code > 3)
    __builtin_trap();
  return 0;
}
