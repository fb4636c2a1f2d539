#pragma once

#include <optional>

#include "app/Labels.h"

#include <string>

#include "app/Platform.h"
#include "app/WindowRecord.h"

namespace korimo {

// "Copy" of one row of a statistics frame: the four figures of a pair and
// metric as shown, tab-separated. The message comes first, the clipboard
// after it.
void But_Copy_Click(Metric metric, const FrameTexts& frame, Platform& platform);

// "Copy" beside an area box: the four area figures as two tab-separated
// lines. The clipboard comes first, the message after it.
void But_CPArea_Click(const std::optional<AreaFigures>& area, Platform& platform);

// The clipboard text of an area's figures, or empty when the box holds none.
std::string AreaCopyText(const std::optional<AreaFigures>& area);

}  // namespace korimo
