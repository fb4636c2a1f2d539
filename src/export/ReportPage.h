#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korimo {

// What the user wrote about the job; an empty field is left out.
struct ReportJob {
  std::string title;      // 件名
  std::string operator_;  // 担当者
  std::string note;       // メモ
};

// Now, or SOURCE_DATE_EPOCH when it is set to a number, so that a report can
// be made again byte for byte.
std::int64_t ReportCreationTime();

// The page's font list: the common Japanese fonts of each platform, then a
// generic family.
inline constexpr std::string_view kReportFonts =
    "\"Hiragino Kaku Gothic ProN\", \"Hiragino Sans\", \"Yu Gothic UI\", \"Yu Gothic\", YuGothic, "
    "Meiryo, \"MS PGothic\", \"Noto Sans CJK JP\", \"Noto Sans JP\", \"Source Han Sans JP\", "
    "\"IPAexGothic\", \"IPAPGothic\", \"VL PGothic\", \"IPAGothic\", \"VL Gothic\", sans-serif";

// The pieces every report page is made of, so that the comparison report
// and the run report look and read alike.
namespace report {

inline constexpr std::string_view kNotCertified = "規格への適合を認証するものではありません";

// "<!DOCTYPE html>…</head>": the title (with the job's title), the fonts,
// the shared style followed by `style`, and `runningHead` (plain text) at
// the top of every printed page.
std::string PageHead(std::string_view title, const ReportJob& job, std::string_view style,
                     std::string_view runningHead);

// The heading, the job fields and the verdict lines are the caller's; this
// is the table of the job fields, empty when the user wrote none.
std::string JobTable(const ReportJob& job);

// "作成 2025-12-06 05:46 UTC　Korimo 1.0.0"
std::string CreatedLine(std::int64_t createdAt);

// 合格 or 不合格 in the verdict colours.
std::string VerdictWord(bool pass);

// "2025-12-06 05:46 UTC"; `withSeconds` adds ":SS" and leaves out " UTC".
std::string UtcTime(std::int64_t seconds, bool withSeconds = false);

// Columns of a monospaced Japanese font a text takes: two for CJK and the
// symbols and Greek letters of Japanese character sets, one otherwise.
std::size_t DisplayWidth(std::string_view text);

// Rows as lines of aligned columns, escaped, for a <pre class="all">: a
// browser prints thousands of lines of preformatted text in a tenth of the
// time a table of as many rows takes, and a line is never split across
// pages. Columns flagged in `left` read from the left, the others from the
// right.
std::string AlignedLines(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& left);

}  // namespace report
}  // namespace korimo
