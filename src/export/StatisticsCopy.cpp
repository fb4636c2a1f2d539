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
  // The four figures each follow an "=" and end at a blank, the last one at
  // the end of the text.
  const auto a = s.find('=');
  if (a == std::string::npos)
    return {};
  const auto b = s.find(' ', a);
  if (b == std::string::npos)
    return {};
  const auto c = s.find('=', b);
  if (c == std::string::npos)
    return {};
  const auto dPos = s.find(' ', c);
  if (dPos == std::string::npos)
    return {};
  const auto f = s.find('=', dPos);
  if (f == std::string::npos)
    return {};
  const auto g = s.find(' ', f);
  if (g == std::string::npos)
    return {};
  const auto h = s.find('=', g);
  if (h == std::string::npos)
    return {};
  const std::string first = s.substr(a + 1, b - a);
  const std::string second = s.substr(c + 1, dPos - c);
  const std::string third = s.substr(f + 1, g - f);
  const std::string fourth = s.substr(h + 1);
  return first + "\t" + second + "\r\n" + third + "\t" + fourth;
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
