#include "export/ReportPage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <ctime>

#include "app/SvgCanvas.h"
#include "app/Version.h"

namespace korimo {

namespace {

// No row or picture is split across pages.
constexpr std::string_view kPageStyle = R"(
@page{size:A4 portrait;margin:15mm;@bottom-right{content:counter(page) " / " counter(pages);font-size:7.5pt}}
html{font-size:9pt;line-height:1.3;color:#000;background:#fff;-webkit-print-color-adjust:exact;print-color-adjust:exact}
body{margin:0 auto;max-width:180mm}
h1{font-size:16pt;margin:0 0 2mm}
h2{font-size:11.5pt;margin:5mm 0 1.5mm;break-after:avoid}
h3{font-size:10pt;margin:3mm 0 1mm;break-after:avoid}
p{margin:1mm 0}
table{border-collapse:collapse;margin:1mm 0}
th,td{border:.5pt solid #888;padding:.3mm 1.2mm;vertical-align:top}
th{background:#eee;font-weight:normal;text-align:center}
tr,figure,.keep{break-inside:avoid}
thead{display:table-header-group}
figure{margin:0}
figcaption{font-size:8pt;color:#333}
.job th{text-align:left}
.job td{white-space:pre-wrap}
.num td,td.num{text-align:right;font-variant-numeric:tabular-nums;white-space:pre}
.path{word-break:break-all}
.pass{color:#007a1f;font-weight:bold}
.fail{color:#c40000;font-weight:bold}
.big{font-size:13pt}
.note{font-size:8pt;color:#333}
.all{font-family:"MS Gothic","Osaka-Mono","Noto Sans Mono CJK JP","IPAGothic","VL Gothic",monospace;font-size:6.5pt;line-height:1.3;margin:0}
)";

// A CSS string literal that no file name can end early or use to close the
// style element.
std::string CssString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\' || c == '<' || c == '>' || c < 0x20 || c == 0x7F) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += '\\';
      if (c >= 16)
        out += kHex[c >> 4];
      out += kHex[c & 0xF];
      out += ' ';
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace

std::int64_t ReportCreationTime() {
  if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) {
    std::int64_t seconds = 0;
    const char* end = fixed + std::string_view(fixed).size();
    const auto [ptr, ec] = std::from_chars(fixed, end, seconds);
    if (ec == std::errc() && ptr == end && ptr != fixed)
      return seconds;
  }
  return static_cast<std::int64_t>(std::time(nullptr));
}

namespace report {

std::string PageHead(std::string_view title, const ReportJob& job, std::string_view style,
                     std::string_view runningHead) {
  std::string out = "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">";
  out += "<meta name=\"viewport\" content=\"width=device-width\"><title>";
  out += EscapeMarkup(title);
  if (!job.title.empty())
    out += " — " + EscapeMarkup(job.title);
  out += "</title><style>html,svg text{font-family:" + std::string(kReportFonts) + "}";
  out += kPageStyle;
  out += style;
  out += "@page{@top-left{content:" + CssString(runningHead) + ";font-size:7.5pt;color:#333}}\n";
  out += "</style></head>";
  return out;
}

std::string JobTable(const ReportJob& job) {
  const std::array<std::pair<std::string_view, const std::string*>, 3> fields = {
      {{"件名", &job.title}, {"担当者", &job.operator_}, {"メモ", &job.note}}};
  std::string rows;
  for (const auto& [caption, value] : fields) {
    if (!value->empty())
      rows += "<tr><th>" + std::string(caption) + "<td>" + EscapeMarkup(*value);
  }
  return rows.empty() ? rows : "<table class=\"job\">" + rows + "</table>";
}

std::string CreatedLine(std::int64_t createdAt) {
  return "<p>作成 " + UtcTime(createdAt) + "　Korimo " + std::string(kVersionText) + "</p>";
}

std::string VerdictWord(bool pass) {
  return pass ? "<span class=\"pass\">合格</span>" : "<span class=\"fail\">不合格</span>";
}

std::string UtcTime(std::int64_t seconds, bool withSeconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  std::array<char, 40> buffer{};
  const std::size_t n = std::strftime(
      buffer.data(), buffer.size(), withSeconds ? "%Y-%m-%d %H:%M:%S" : "%Y-%m-%d %H:%M UTC", &utc);
  return std::string(buffer.data(), n);
}

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if ((lead & 0xC0) == 0x80)
      continue;  // continuation byte
    if (lead < 0x80) {
      ++width;
    } else if (lead == 0xCE || lead == 0xCF) {
      width += 2;  // Greek
    } else if (lead >= 0xE1 && lead != 0xEF) {
      width += 2;
    } else if (lead == 0xEF && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0xBD) {
      ++width;  // halfwidth katakana and forms
    } else {
      width += lead >= 0xE0 ? 2 : 1;
    }
  }
  return width;
}

std::string AlignedLines(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& left) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t c = 0; c < row.size(); ++c)
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }
  std::string out;
  for (const auto& row : rows) {
    std::string text;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string pad(widths[c] - DisplayWidth(row[c]), ' ');
      const bool fromLeft = c < left.size() && left[c];
      text += (c == 0 ? "" : "  ") + (fromLeft ? row[c] + pad : pad + row[c]);
    }
    const std::size_t end = text.find_last_not_of(' ');
    out += EscapeMarkup(end == std::string::npos ? std::string() : text.substr(0, end + 1)) + "\n";
  }
  return out;
}

}  // namespace report
}  // namespace korimo
