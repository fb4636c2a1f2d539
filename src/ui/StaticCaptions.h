#pragma once

#include <array>

namespace korimo {

// Captions the window is designed with and nothing ever rewrites. Every text
// a procedure writes comes from the engine's record instead.

// The file buttons and the column-group headings over the grid, per data set.
inline constexpr std::array<const char*, 3> kSetCaptions = {"基　準", "File1", "File2"};

inline constexpr std::array<const char*, 4> kTabCaptions = {
    "\u3000画\u3000像\u3000", "\u3000データ\u3000", "\u3000判\u3000定\u3000",
    "\u3000推\u3000移\u3000"};
// The tabs' places, in the order above.
inline constexpr int kChartPageTab = 0;
inline constexpr int kDataPageTab = 1;
inline constexpr int kVerificationPageTab = 2;
inline constexpr int kRunPageTab = 3;
inline constexpr std::array<const char*, 2> kFrameTitles = {"基準-File1", "基準-File2"};
inline constexpr std::array<const char*, 2> kMetricOptions = {"⊿E", "⊿E00"};

inline constexpr const char* kClearCaption = "全クリア";
inline constexpr const char* kHelpCaption = "?";
inline constexpr const char* kCopyCaption = "Copy";
inline constexpr const char* kResultsCaption = "結果保存";

// The report's controls, on the verification page; the run page saves its
// report with a button of the same caption.
inline constexpr const char* kReportSaveCaption = "レポート保存";

// The run page.
inline constexpr const char* kAddSheetsCaption = "シート追加…";
inline constexpr const char* kWatchFolderCaption = "フォルダ監視…";
inline constexpr const char* kStopWatchingCaption = "監視停止";
inline constexpr const char* kWatchingLabel = "監視中: ";
inline constexpr const char* kOpenListCaption = "一覧を開く…";
inline constexpr const char* kSaveListCaption = "一覧を保存…";
inline constexpr const char* kOrderLabel = "順序:";
// Indexed by the order's place in the box: file name, modification time.
inline constexpr std::array<const char*, 2> kOrderChoices = {"ファイル名", "更新日時"};
inline constexpr const char* kMinPassLabel = "合格率下限:";
// The least pass share's box without one: every compared sheet must pass.
inline constexpr const char* kMinPassNone = "なし";
inline constexpr const char* kMinPassTip =
    "判定の合格に要る、比較したシートの合格率。なし: すべてのシートの合格が要る";
inline constexpr const char* kRemoveSheetsCaption = "選択を削除";
inline constexpr const char* kOpenAsFile1Caption = "File1 に開く";
inline constexpr const char* kMakeReferenceCaption = "基準にする";
inline constexpr const char* kRunCsvCaption = "CSV保存";
inline constexpr const char* kCancelRunCaption = "中止";
inline constexpr const char* kRunStatisticsTitle = "統計";
inline constexpr const char* kUnreadableListMessage = "一覧を読めませんでした。\r\n";

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
