#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/PatchRoles.h"

namespace korimo {

// The reasons the engine gives are written once, in the window's Japanese
// and in the batch tool's English.
enum class Language { Japanese, English };

// What a criterion measures per patch: the differences, and the absolute
// values of their components.
enum class VerifyMetric { De, De00, Dl, Dc, Dh, Dch };
// Which figure over a role's patches.
enum class VerifyStat { Avg, Max, Pct95, Best10 };

// ROLE:METRIC:STAT<=LIMIT
struct Criterion {
  Role role = Role::All;
  VerifyMetric metric = VerifyMetric::De00;
  VerifyStat stat = VerifyStat::Avg;
  double limit = 0;
  std::string text;  // as written

  // "紙白 ⊿E00 最大"
  std::string Words() const;

  bool operator==(const Criterion&) const = default;
};

struct CriteriaSet {
  std::string id;    // built-in sets only
  std::string name;  // as shown
  std::vector<Criterion> criteria;
  bool assumesM1 = false;  // its limits are meant for M1 measurements
  std::string path;        // the criteria file it came from; empty for built-ins

  bool operator==(const CriteriaSet&) const = default;
};

std::string_view MetricKey(VerifyMetric metric);  // "de00"
std::optional<VerifyMetric> MetricOfKey(std::string_view key);
std::optional<VerifyStat> StatOfKey(std::string_view key);
std::string_view MetricName(VerifyMetric metric);  // "⊿E00"
std::string_view StatKey(VerifyStat stat);         // "pct95"
std::string_view StatName(VerifyStat stat);        // "95%"

// Why a criterion or a criteria file could not be read.
enum class CriteriaErrorCode {
  None,
  Unreadable,  // the file could not be opened or read
  TooLarge,    // more than kMaxCriteriaFileBytes
  NotUtf8,
  Form,       // not ROLE:METRIC:STAT<=LIMIT
  Role,       // unknown role
  Metric,     // unknown metric
  Stat,       // unknown statistic
  Limit,      // not a plain decimal number
  EmptyName,  // "name:" without a name
  TwoNames,   // a second "name:" line
  NoCriteria  // a file without a single criterion
};

inline constexpr std::size_t kMaxCriteriaFileBytes = 1 << 20;

struct CriteriaError {
  CriteriaErrorCode code = CriteriaErrorCode::None;
  int line = 0;       // 1-based; 0 when the error is the whole file's
  std::string token;  // the part at fault
  explicit operator bool() const { return code != CriteriaErrorCode::None; }
};

std::string ErrorText(const CriteriaError& error, Language language);

// Digits with at most one decimal point ("2", "2.5", ".5", "5."); nothing
// else, not even a sign or blanks. A number of that form that a double
// cannot hold sets `outOfRange` when it is given.
std::optional<double> ParsePlainDecimal(std::string_view text, bool* outOfRange = nullptr);

// One criterion, surrounding blanks ignored.
std::optional<Criterion> ParseCriterion(std::string_view text, CriteriaError& error);

// A criteria file's bytes; `fallbackName` names a set without a "name:" line.
// On error the set is empty and `error` names the first faulty line.
std::optional<CriteriaSet> ParseCriteriaText(std::string_view bytes, std::string_view fallbackName,
                                             CriteriaError& error);

// Reads and parses a criteria file; the set is named after the file's name
// unless it names itself.
std::optional<CriteriaSet> LoadCriteriaFile(const std::string& path, CriteriaError& error);

// The sets the program knows by id.
std::span<const CriteriaSet> BuiltInCriteriaSets();
const CriteriaSet* FindBuiltInSet(std::string_view id);

// A built-in id or a criteria file's path, as the batch tool takes them.
std::optional<CriteriaSet> ResolveCriteriaSet(const std::string& idOrPath, CriteriaError& error);

}  // namespace korimo
