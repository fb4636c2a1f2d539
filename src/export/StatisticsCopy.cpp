#include "export/StatisticsCopy.h"

#include <array>

namespace korimo {

namespace {

constexpr std::string_view kCopied = "コピーしました";

}  // namespace

void But_Copy_Click(Pair pair, Metric metric, const WindowRecord& r, Platform& platform) {
  const std::size_t p = Index(pair);
  const bool deAb = metric == Metric::DeAb;
  const auto& averageMaximum = deAb ? r.Lb_De : r.Lb_De2K;
  const std::string& best = deAb ? r.Lb_BestDe[p] : r.Lb_Best2K[p];
  const std::string& worst = deAb ? r.Lb_WorsDe[p] : r.Lb_Wors2K[p];
  const std::string_view heading =
      deAb ? "平均⊿E  最大⊿E  Best10%, 95%" : "平均⊿E00  最大⊿E00  Best10%, 95%";
  platform.ClipboardClear();
  const std::string text =
      averageMaximum[2 * p] + "\t" + averageMaximum[2 * p + 1] + "\t" + best + "\t" + worst;
  platform.ShowMessage(std::string(heading) + "\r\n\r\n" + std::string(kCopied));
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

void But_CPArea_Click(Pair chart, const WindowRecord& r, Platform& platform) {
  platform.ClipboardClear();
  const std::string text = AreaCopyText(r.Lb_DeBox[Index(chart)]);
  if (text.empty())
    return;
  platform.ClipboardSetText(text);
  platform.ShowMessage("平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\n" +
                       std::string(kCopied));
}

}  // namespace korimo
