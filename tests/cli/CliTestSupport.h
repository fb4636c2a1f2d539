#pragma once

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "cli/BatchRun.h"
#include "support/TestCharts.h"

namespace korimo::testing {

inline std::string Sample(const std::string& name) {
  return std::string(KORIMO_SAMPLES_DIR) + "/" + name;
}
inline const std::string kSmallRef = Sample("small-reference.txt");
inline const std::string kSmallF1 = Sample("small-file1.txt");
inline const std::string kSmallF2 = Sample("small-file2.txt");
inline const std::string kLargeRef = Sample("large-reference.txt");
inline const std::string kLargeF1 = Sample("large-file1.txt");
inline const std::string kLargeF2 = Sample("large-file2.txt");

inline BatchOutcome RunCli(std::vector<std::string> args) {
  return RunCommandLine(args);
}

// Lines of a CR LF text; fails the split (returns nothing) on a bare LF or CR.
inline std::vector<std::string> CrLfLines(std::string_view text, bool* allCrLf = nullptr) {
  std::vector<std::string> lines;
  bool ok = true;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) {
      ok = false;
      lines.emplace_back(text.substr(start));
      break;
    }
    if (lf == start || text[lf - 1] != '\r')
      ok = false;
    std::string line(text.substr(start, lf - start));
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.find('\r') != std::string::npos)
      ok = false;
    lines.push_back(std::move(line));
    start = lf + 1;
  }
  if (allCrLf != nullptr)
    *allCrLf = ok;
  return lines;
}

inline std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos)
      return cells;
    start = tab + 1;
  }
}

inline double ParseCell(const std::string& cell) {
  std::size_t i = cell.find_first_not_of(' ');
  if (i == std::string::npos)
    i = cell.size();
  double value = 0;
  const auto r = std::from_chars(cell.data() + i, cell.data() + cell.size(), value);
  if (r.ec != std::errc() || r.ptr != cell.data() + cell.size())
    return -1e300;
  return value;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline int CountOccurrences(const std::vector<std::string>& lines, std::string_view needle) {
  int n = 0;
  for (const auto& line : lines) {
    if (line.find(needle) != std::string::npos)
      ++n;
  }
  return n;
}

inline std::vector<Patch> Patches(int count, double L = 50) {
  std::vector<Patch> patches;
  for (int i = 0; i < count; ++i) {
    patches.push_back({"P" + std::to_string(i + 1), L, 0.5 * (i % 7), -0.25 * (i % 5)});
  }
  return patches;
}

}  // namespace korimo::testing
