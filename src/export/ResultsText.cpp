#include "export/ResultsText.h"

#include "core/TextFields.h"

namespace korimo {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::array<std::string_view, 3> kFileLabels = {"基準:", "File1:", "File2:"};
constexpr std::string_view kColumnNames =
    "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00";
constexpr std::string_view kFile2ColumnNames = "\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00";
constexpr std::size_t kLastColumnWithoutFile2 = 10;
constexpr std::size_t kLastColumnWithFile2 = 14;

}  // namespace

std::string BuildResultsText(const std::array<std::string, 3>& paths, const GridContent& grid) {
  std::string text;
  for (DataSet set : kAllSets) {
    if (!paths[Index(set)].empty())
      text.append(kFileLabels[Index(set)]).append(paths[Index(set)]).append(kEol);
  }
  const bool withFile2 = !paths[Index(DataSet::File2)].empty();
  text.append(kColumnNames);
  if (withFile2)
    text.append(kFile2ColumnNames);
  text.append(kEol);
  const std::size_t last = withFile2 ? kLastColumnWithFile2 : kLastColumnWithoutFile2;
  text.reserve(text.size() + grid.RowCount() * 100);
  for (std::size_t r = 0; r < grid.RowCount(); ++r) {
    const GridRow& row = grid.Row(r);
    for (std::size_t c = 0; c <= last; ++c)
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
