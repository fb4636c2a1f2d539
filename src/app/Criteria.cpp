#include "app/Criteria.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <utility>

#include "core/Utf8.h"

namespace korimo {

namespace {

struct MetricWords {
  VerifyMetric metric;
  std::string_view key;
  std::string_view name;
};
constexpr std::array<MetricWords, 6> kMetrics{{
    {VerifyMetric::De, "de", "⊿E"},
    {VerifyMetric::De00, "de00", "⊿E00"},
    {VerifyMetric::Dl, "dl", "ΔL*"},
    {VerifyMetric::Dc, "dc", "ΔC*"},
    {VerifyMetric::Dh, "dh", "ΔH*"},
    {VerifyMetric::Dch, "dch", "ΔCh"},
}};

struct StatWords {
  VerifyStat stat;
  std::string_view key;
  std::string_view name;
};
constexpr std::array<StatWords, 4> kStats{{
    {VerifyStat::Avg, "avg", "平均"},
    {VerifyStat::Max, "max", "最大"},
    {VerifyStat::Pct95, "pct95", "95%"},
    {VerifyStat::Best10, "best10", "Best10%"},
}};

constexpr std::string_view kAtMost = "<=";
constexpr std::string_view kNameKey = "name:";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Choices(std::span<const std::string_view> keys) {
  std::string text;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0)
      text += i + 1 == keys.size() ? " or " : ", ";
    text += keys[i];
  }
  return text;
}

std::string RoleChoices() {
  std::vector<std::string_view> keys;
  for (const RoleDefinition& role : RoleDefinitions())
    keys.push_back(role.key);
  return Choices(keys);
}

template <typename Table>
std::string KeyChoices(const Table& table) {
  std::vector<std::string_view> keys;
  for (const auto& entry : table)
    keys.push_back(entry.key);
  return Choices(keys);
}

CriteriaError Fault(CriteriaErrorCode code, std::string_view token, int line = 0) {
  return {code, line, std::string(token)};
}

// What the message says, without the line.
std::string Message(const CriteriaError& e, Language language) {
  const bool ja = language == Language::Japanese;
  const std::string token = ja ? "「" + e.token + "」" : "'" + e.token + "'";
  switch (e.code) {
    case CriteriaErrorCode::None:
      break;
    case CriteriaErrorCode::Unreadable:
      return ja ? "ファイルを読めません" : "cannot be read";
    case CriteriaErrorCode::TooLarge:
      return ja ? "ファイルが大きすぎます（1 MiBまで）" : "larger than 1 MiB";
    case CriteriaErrorCode::NotUtf8:
      return ja ? "UTF-8ではありません" : "not UTF-8";
    case CriteriaErrorCode::Form:
      return ja ? token + "はROLE:METRIC:STAT<=LIMITの形ではありません"
                : token + " is not ROLE:METRIC:STAT<=LIMIT";
    case CriteriaErrorCode::Role:
      return (ja ? "役割" + token + "はありません（" : "unknown role " + token + " (") +
             RoleChoices() + (ja ? "）" : ")");
    case CriteriaErrorCode::Metric:
      return (ja ? "指標" + token + "はありません（" : "unknown metric " + token + " (") +
             KeyChoices(kMetrics) + (ja ? "）" : ")");
    case CriteriaErrorCode::Stat:
      return (ja ? "統計" + token + "はありません（" : "unknown statistic " + token + " (") +
             KeyChoices(kStats) + (ja ? "）" : ")");
    case CriteriaErrorCode::Limit:
      return ja ? "上限" + token + "が0以上の数ではありません"
                : "limit " + token + " is not a plain decimal number of 0 or more";
    case CriteriaErrorCode::EmptyName:
      return ja ? "name:に名前がありません" : "name: without a name";
    case CriteriaErrorCode::TwoNames:
      return ja ? "name:が2回あります" : "a second name: line";
    case CriteriaErrorCode::NoCriteria:
      return ja ? "判定基準が1行もありません" : "no criteria";
  }
  return {};
}

template <typename Table, typename Value>
bool Lookup(const Table& table, std::string_view key, Value& out) {
  for (const auto& entry : table) {
    if (entry.key == key) {
      out = entry;
      return true;
    }
  }
  return false;
}

std::string FileStem(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

}  // namespace

std::string_view MetricKey(VerifyMetric metric) {
  return kMetrics[static_cast<std::size_t>(metric)].key;
}
std::optional<VerifyMetric> MetricOfKey(std::string_view key) {
  MetricWords entry{};
  if (!Lookup(kMetrics, key, entry))
    return std::nullopt;
  return entry.metric;
}

std::optional<VerifyStat> StatOfKey(std::string_view key) {
  StatWords entry{};
  if (!Lookup(kStats, key, entry))
    return std::nullopt;
  return entry.stat;
}

std::string_view MetricName(VerifyMetric metric) {
  return kMetrics[static_cast<std::size_t>(metric)].name;
}
std::string_view StatKey(VerifyStat stat) {
  return kStats[static_cast<std::size_t>(stat)].key;
}
std::string_view StatName(VerifyStat stat) {
  return kStats[static_cast<std::size_t>(stat)].name;
}

std::string Criterion::Words() const {
  return std::string(DefinitionOf(role).name) + " " + std::string(MetricName(metric)) + " " +
         std::string(StatName(stat));
}

std::string ErrorText(const CriteriaError& error, Language language) {
  const std::string message = Message(error, language);
  if (error.line <= 0)
    return message;
  const std::string line = std::to_string(error.line);
  return language == Language::Japanese ? line + "行目: " + message
                                        : "line " + line + ": " + message;
}

std::optional<double> ParsePlainDecimal(std::string_view text, bool* outOfRange) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const bool digits = std::any_of(text.begin(), text.end(), isDigit);
  const bool allowed =
      std::all_of(text.begin(), text.end(), [&](char c) { return isDigit(c) || c == '.'; });
  if (!digits || !allowed || std::count(text.begin(), text.end(), '.') > 1)
    return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (outOfRange != nullptr)
    *outOfRange = ec == std::errc::result_out_of_range;
  if (ec != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

std::optional<Criterion> ParseCriterion(std::string_view text, CriteriaError& error) {
  text = Trim(text);
  const auto colon1 = text.find(':');
  const auto colon2 = colon1 == std::string_view::npos ? colon1 : text.find(':', colon1 + 1);
  const auto atMost = text.find(kAtMost);
  if (colon2 == std::string_view::npos || atMost == std::string_view::npos || atMost < colon2) {
    error = Fault(CriteriaErrorCode::Form, text);
    return std::nullopt;
  }
  Criterion c;
  c.text = text;
  const std::string_view role = text.substr(0, colon1);
  const std::string_view metric = text.substr(colon1 + 1, colon2 - colon1 - 1);
  const std::string_view stat = text.substr(colon2 + 1, atMost - colon2 - 1);
  const std::string_view limit = text.substr(atMost + kAtMost.size());
  RoleDefinition roleEntry{};
  MetricWords metricEntry{};
  StatWords statEntry{};
  if (!Lookup(RoleDefinitions(), role, roleEntry)) {
    error = Fault(CriteriaErrorCode::Role, role);
    return std::nullopt;
  }
  if (!Lookup(kMetrics, metric, metricEntry)) {
    error = Fault(CriteriaErrorCode::Metric, metric);
    return std::nullopt;
  }
  if (!Lookup(kStats, stat, statEntry)) {
    error = Fault(CriteriaErrorCode::Stat, stat);
    return std::nullopt;
  }
  const std::optional<double> value = ParsePlainDecimal(limit);
  if (!value) {
    error = Fault(CriteriaErrorCode::Limit, limit);
    return std::nullopt;
  }
  c.role = roleEntry.role;
  c.metric = metricEntry.metric;
  c.stat = statEntry.stat;
  c.limit = *value;
  return c;
}

std::optional<CriteriaSet> ParseCriteriaText(std::string_view bytes, std::string_view fallbackName,
                                             CriteriaError& error) {
  if (bytes.starts_with(kBom))
    bytes.remove_prefix(kBom.size());
  CriteriaSet set;
  bool named = false;
  int number = 0;
  while (!bytes.empty()) {
    ++number;
    const auto end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (!IsValidUtf8(line)) {
      error = Fault(CriteriaErrorCode::NotUtf8, {}, number);
      return std::nullopt;
    }
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty())
      continue;
    if (line.starts_with(kNameKey)) {
      const std::string_view name = Trim(line.substr(kNameKey.size()));
      if (name.empty() || named) {
        error =
            Fault(named ? CriteriaErrorCode::TwoNames : CriteriaErrorCode::EmptyName, line, number);
        return std::nullopt;
      }
      set.name = name;
      named = true;
      continue;
    }
    const std::optional<Criterion> criterion = ParseCriterion(line, error);
    if (!criterion) {
      error.line = number;
      return std::nullopt;
    }
    set.criteria.push_back(*criterion);
  }
  if (set.criteria.empty()) {
    error = Fault(CriteriaErrorCode::NoCriteria, {});
    return std::nullopt;
  }
  if (!named)
    set.name = fallbackName;
  return set;
}

std::optional<CriteriaSet> LoadCriteriaFile(const std::string& path, CriteriaError& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = Fault(CriteriaErrorCode::Unreadable, path);
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes(kMaxCriteriaFileBytes + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || !in.is_open()) {
    error = Fault(CriteriaErrorCode::Unreadable, path);
    return std::nullopt;
  }
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (bytes.size() > kMaxCriteriaFileBytes) {
    error = Fault(CriteriaErrorCode::TooLarge, path);
    return std::nullopt;
  }
  std::optional<CriteriaSet> set = ParseCriteriaText(bytes, FileStem(path), error);
  if (set)
    set->path = path;
  return set;
}

const CriteriaSet* FindBuiltInSet(std::string_view id) {
  for (const CriteriaSet& set : BuiltInCriteriaSets()) {
    if (set.id == id)
      return &set;
  }
  return nullptr;
}

std::optional<CriteriaSet> ResolveCriteriaSet(const std::string& idOrPath, CriteriaError& error) {
  if (const CriteriaSet* builtIn = FindBuiltInSet(idOrPath))
    return *builtIn;
  return LoadCriteriaFile(idOrPath, error);
}

}  // namespace korimo
