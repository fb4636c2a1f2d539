// Drives the batch tool with arbitrary arguments and files. The input is
// split at the first three runs of three NULs into the argument text and up
// to three file contents; arguments are separated by single NULs (two in a
// row give an empty argument), "@1", "@2", "@3" stand for the files and
// "@D" for the folder that holds them. A file named after --sheets-from is a
// list of sheets, whose lines may use the same names. Outputs are confined
// to a scratch folder; "-o @1" may aim at an input, which the tool must
// refuse.
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

// The files live in a folder of their own, which "@D" names.
fs::path Folder() {
  return Scratch() / "files";
}

fs::path FilePath(std::size_t i) {
  return Folder() / ("file" + std::to_string(i) + ".txt");
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
void CheckFiles(const std::vector<std::string>& parts, const std::vector<bool>& isInput,
                const std::string& output, int code, bool wroteOutput) {
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (isInput[i - 1] && ReadAll(FilePath(i)) != parts[i])
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

// Whether `a` names one of our files or our folder, and which.
std::string Substitute(const std::string& a, const std::vector<std::string>& files) {
  if (a == "@D")
    return Folder().string();
  for (std::size_t f = 0; f < files.size(); ++f) {
    if (a == "@" + std::to_string(f + 1))
      return files[f];
  }
  return a;
}

// A list's lines, with our names substituted and any other path that leaves
// the scratch folder made a file that does not exist. `named` gains the files
// the list makes inputs.
std::string SafeList(std::string_view text, const std::vector<std::string>& files,
                     std::vector<bool>& named) {
  std::string out;
  bool first = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr)
      line.pop_back();
    if (first && line.starts_with("\xEF\xBB\xBF"))
      line.erase(0, 3);
    first = false;
    line = Substitute(line, files);
    if (line == Folder().string() || line == ".")
      named.assign(named.size(), true);
    for (std::size_t f = 0; f < files.size(); ++f) {
      if (line == files[f] || line == fs::path(files[f]).filename().string())
        named[f] = true;
    }
    const bool ours =
        line == Folder().string() || std::find(files.begin(), files.end(), line) != files.end();
    if (!ours && line.find('/') != std::string::npos)
      line = (Scratch() / "missing.txt").string();
    out += line + (cr ? "\r\n" : "\n");
  }
  return out;
}

bool IsListOption(const std::string& a) {
  return a == "--sheets-from";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::vector<std::string> parts;
  for (const std::string_view part :
       SplitParts(std::string_view(reinterpret_cast<const char*>(bytes), size)))
    parts.emplace_back(part);
  std::vector<std::string> files;
  for (std::size_t i = 1; i < parts.size(); ++i)
    files.push_back(FilePath(i).string());
  std::vector<std::string> args;
  std::string_view text = parts[0];
  while (!text.empty() || args.empty()) {
    const auto cut = text.find('\0');
    args.emplace_back(text.substr(0, cut));
    if (cut == std::string_view::npos)
      break;
    text.remove_prefix(cut + 1);
  }
  // Files named after --sheets-from are lists; what they name is read too.
  std::vector<bool> isInput(files.size(), false);
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string named;
    if (IsListOption(args[i]) && i + 1 < args.size())
      named = args[i + 1];
    else if (args[i].starts_with("--sheets-from="))
      named = args[i].substr(std::string("--sheets-from=").size());
    for (std::size_t f = 0; f < files.size(); ++f) {
      if (named == "@" + std::to_string(f + 1))
        parts[f + 1] = SafeList(parts[f + 1], files, isInput);
    }
  }
  fs::create_directories(Folder());
  for (const auto& entry : fs::directory_iterator(Folder()))
    fs::remove_all(entry.path());
  for (std::size_t f = 0; f < files.size(); ++f)
    std::ofstream(files[f], std::ios::binary) << parts[f + 1];
  const std::string output = (Scratch() / "out.txt").string();
  std::ofstream(output, std::ios::binary | std::ios::trunc) << kSentinel;
  bool wroteOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string& a = args[i];
    if (a == "@D")
      isInput.assign(isInput.size(), true);
    a = Substitute(a, files);
    if (a.starts_with("--sheets-from="))
      a = "--sheets-from=" + Substitute(a.substr(std::string("--sheets-from=").size()), files);
    // Never let an input read the machine's files or choose where the tool
    // writes: other paths, and folders but ours, become a file that does not
    // exist.
    const std::size_t equals = a.starts_with("--") ? a.find('=') : std::string::npos;
    const std::string value = equals == std::string::npos ? a : a.substr(equals + 1);
    const bool ours = value == output || value == Folder().string() ||
                      std::find(files.begin(), files.end(), value) != files.end();
    std::error_code ec;
    const bool path = value.find('/') != std::string::npos || fs::is_directory(value, ec);
    if (!ours && path && (equals != std::string::npos || !a.starts_with("-")))
      a = a.substr(0, equals == std::string::npos ? 0 : equals + 1) +
          (Scratch() / "missing.txt").string();
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
