#pragma once

#include <string>
#include <string_view>

#include "app/Platform.h"

namespace korimo {

inline constexpr std::string_view kManualFileName = "Korimo使用説明書.pdf";

// The manual beside the program.
std::string ManualPath(const std::string& programFolder);

// "?": opens the manual with the desktop's PDF viewer. Nothing is reported
// when it is missing, as the desktop's opener decides what to show.
void But_Help_Click(Platform& platform);

}  // namespace korimo
