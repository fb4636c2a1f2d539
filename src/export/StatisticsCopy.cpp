#include "export/StatisticsCopy.h"

#include <array>

namespace korimo {

namespace {

constexpr std::string_view kCopied = "コピーしました";

struct CopyRow {
  Ctl averageMaximum;  // Lb_De or Lb_De2K
  int pair;
  Ctl best;
  Ctl worst;
  std::string_view heading;
};

constexpr std::array<CopyRow, 4> kCopyRows = {{
    {Ctl::Lb_De, 0, Ctl::Lb_BestDe, Ctl::Lb_WorsDe, "平均⊿E  最大⊿E  Best10%, 95%"},
    {Ctl::Lb_De, 1, Ctl::Lb_BestDe, Ctl::Lb_WorsDe, "平均⊿E  最大⊿E  Best10%, 95%"},
    {Ctl::Lb_De2K, 0, Ctl::Lb_Best2K, Ctl::Lb_Wors2K, "平均⊿E00  最大⊿E00  Best10%, 95%"},
    {Ctl::Lb_De2K, 1, Ctl::Lb_Best2K, Ctl::Lb_Wors2K, "平均⊿E00  最大⊿E00  Best10%, 95%"},
}};

}  // namespace

void But_Copy_Click(int index, const FormView& view, Platform& platform) {
  if (index < 0 || index >= static_cast<int>(kCopyRows.size()))
    return;
  const CopyRow& row = kCopyRows[index];
  platform.ClipboardClear();
  const std::string text = view.Caption(row.averageMaximum, 2 * row.pair) + "\t" +
                           view.Caption(row.averageMaximum, 2 * row.pair + 1) + "\t" +
                           view.Caption(row.best, row.pair) + "\t" +
                           view.Caption(row.worst, row.pair);
  platform.ShowMessage(std::string(row.heading) + "\r\n\r\n" + std::string(kCopied));
  platform.ClipboardSetText(text);
}

std::string AreaCopyText(const std::string& s) {
  // The four figures each follow an "=" and end with the blank after them,
  // which they keep; the last one runs to the end of the text.
  std::array<std::string, 4> figures;
  std::size_t from = 0;
  for (std::size_t k = 0; k < figures.size(); ++k) {
    const auto equals = s.find('=', from);
    if (equals == std::string::npos)
      return {};
    if (k + 1 == figures.size()) {
      figures[k] = s.substr(equals + 1);
      break;
    }
    const auto blank = s.find(' ', equals);
    if (blank == std::string::npos)
      return {};
    figures[k] = s.substr(equals + 1, blank - equals);
    from = blank;
  }
  return figures[0] + "\t" + figures[1] + "\r\n" + figures[2] + "\t" + figures[3];
}

void But_CPArea_Click(int index, const FormView& view, Platform& platform) {
  if (index < 0 || index > 1)
    return;
  platform.ClipboardClear();
  const std::string text = AreaCopyText(view.Caption(Ctl::Lb_DeBox, index));
  if (text.empty())
    return;
  platform.ClipboardSetText(text);
  platform.ShowMessage("平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\nコピーしました");
}

}  // namespace korimo
