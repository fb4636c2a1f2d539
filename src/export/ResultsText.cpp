#include "export/ResultsText.h"

#include "core/TextFields.h"

namespace korimo {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::array<std::string_view, 3> kFileLabels = {"基準:", "File1:", "File2:"};
constexpr std::string_view kColumnNames =
    "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00";
constexpr std::string_view kFile2ColumnNames = "\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00";
constexpr int kLastColumnWithoutFile2 = 10;
constexpr int kLastColumnWithFile2 = 14;

}  // namespace

std::string BuildResultsText(const std::array<std::string, 3>& paths,
                             const std::vector<GridRow>& rows) {
  std::string text;
  for (std::size_t s = 0; s < paths.size(); ++s) {
    if (paths[s].empty())
      continue;
    text.append(kFileLabels[s]).append(paths[s]).append(kEol);
  }
  const bool withFile2 = !paths[2].empty();
  text.append(kColumnNames);
  if (withFile2)
    text.append(kFile2ColumnNames);
  text.append(kEol);
  const int last = withFile2 ? kLastColumnWithFile2 : kLastColumnWithoutFile2;
  for (const GridRow& row : rows) {
    for (int c = 0; c <= last; ++c)
      text.append(row[c]).append("\t");
    text.append(kEol);
  }
  return text;
}

std::string ResultsFileName(const std::string& chosen) {
  if (EndsWithUpperAscii(chosen, ".TXT"))
    return chosen;
  return chosen + ".txt";
}

}  // namespace korimo
