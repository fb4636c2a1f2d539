#pragma once

#include <array>

namespace korimo {

// Captions the window is designed with and nothing ever rewrites. Every text
// a procedure writes comes from the engine's record instead.

// The file buttons and the column-group headings over the grid, per data set.
inline constexpr std::array<const char*, 3> kSetCaptions = {"基　準", "File1", "File2"};

inline constexpr std::array<const char*, 3> kTabCaptions = {
    "\u3000画\u3000像\u3000", "\u3000データ\u3000", "\u3000判\u3000定\u3000"};
inline constexpr std::array<const char*, 2> kFrameTitles = {"基準-File1", "基準-File2"};
inline constexpr std::array<const char*, 2> kMetricOptions = {"⊿E", "⊿E00"};

inline constexpr const char* kClearCaption = "全クリア";
inline constexpr const char* kHelpCaption = "?";
inline constexpr const char* kCopyCaption = "Copy";
inline constexpr const char* kResultsCaption = "結果保存";

// Inside a statistics frame.
inline constexpr const char* kAverageMaximumHeading = "\u3000平均\u3000\u3000\u3000最大";
inline constexpr const char* kPercentileHeading = "Best10%     95%";
inline constexpr const char* kDeAbRowHeading = "⊿E";
inline constexpr const char* kDe00RowHeading = "⊿E00";
inline constexpr const char* kHistogramOrigin = "0";

// The Edit pop-up menu.
inline constexpr const char* kEditMenuTitle = "編集(&E)";
inline constexpr const char* kEditMenuCopy = "コピー";
inline constexpr const char* kEditMenuSave = "保  存";

}  // namespace korimo
