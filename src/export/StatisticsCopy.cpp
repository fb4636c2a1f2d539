#include "export/StatisticsCopy.h"

#include <array>

namespace korimo {

namespace {

constexpr std::string_view kCopied = "コピーしました";

}  // namespace

void But_Copy_Click(Metric metric, const FrameTexts& frame, Platform& platform) {
  const bool deAb = metric == Metric::DeAb;
  const std::array<std::string, 4>& row = frame.Row(metric);
  const std::string_view heading =
      deAb ? "平均⊿E  最大⊿E  Best10%, 95%" : "平均⊿E00  最大⊿E00  Best10%, 95%";
  platform.ClipboardClear();
  const std::string text = row[0] + "\t" + row[1] + "\t" + row[2] + "\t" + row[3];
  platform.ShowMessage(std::string(heading) + "\r\n\r\n" + std::string(kCopied));
  platform.ClipboardSetText(text);
}

std::string AreaCopyText(const std::optional<AreaFigures>& area) {
  if (!area)
    return {};
  // The figures as the box shows them, the first three each followed by
  // the blank that ends it there.
  return FormatTwoDec(area->avgDeAb) + " \t" + FormatTwoDec(area->maxDeAb) + " \r\n" +
         FormatTwoDec(area->avgDe00) + " \t" + FormatTwoDec(area->maxDe00);
}

void But_CPArea_Click(const std::optional<AreaFigures>& area, Platform& platform) {
  platform.ClipboardClear();
  const std::string text = AreaCopyText(area);
  if (text.empty())
    return;
  platform.ClipboardSetText(text);
  platform.ShowMessage("平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\n" +
                       std::string(kCopied));
}

}  // namespace korimo
