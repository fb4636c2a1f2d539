#pragma once

#include <string>

#include "app/Platform.h"
#include "app/WindowRecord.h"

namespace korimo {

// "Copy" of one row of a statistics frame: the four figures of a pair and
// metric as shown, tab-separated. The message comes first, the clipboard
// after it.
void But_Copy_Click(Pair pair, Metric metric, const WindowRecord& record, Platform& platform);

// "Copy" beside an area box: the four area figures as two tab-separated
// lines. The clipboard comes first, the message after it.
void But_CPArea_Click(Pair chart, const WindowRecord& record, Platform& platform);

// The clipboard text of an area box, or empty when it holds no figures.
std::string AreaCopyText(const std::string& boxText);

}  // namespace korimo
