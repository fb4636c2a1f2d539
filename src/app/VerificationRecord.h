#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Criteria.h"
#include "app/Indices.h"

namespace korimo {

class Comparison;
struct Measurement;

enum class VerdictMark { Pass, Fail, NotEvaluated };

// One criterion as the page lists it.
struct VerificationRow {
  std::string criterion;  // "紙白 ⊿E00 最大"
  std::string patches;    // how many were evaluated
  std::string value;      // "0.00", empty when not evaluated
  std::string limit;      // "3"
  std::string verdict;    // "合", "否", "評価不可（…）"
  VerdictMark mark = VerdictMark::NotEvaluated;
  bool operator==(const VerificationRow&) const = default;
};

inline constexpr int kWorstPatchCount = 10;
inline constexpr int kWorstColumns = 7;
using WorstPatchRow = std::array<std::string, kWorstColumns>;

// The verdict of one complete pair and its worst patches by ⊿E00.
struct PairVerificationPage {
  Pair pair = Pair::ReferenceFile1;
  std::string title;  // "基準–File1"
  std::vector<VerificationRow> rows;
  std::string note;     // M1 assumed but another condition declared; else empty
  std::string overall;  // "合格" or "不合格"
  bool pass = false;
  std::vector<WorstPatchRow> worst;  // at most kWorstPatchCount, worst first
  bool operator==(const PairVerificationPage&) const = default;
};

// Everything the verification page shows, as texts.
struct VerificationRecord {
  std::string setName;                      // empty: no set chosen, nothing to show
  std::string message;                      // the set's reason when it has no complete pair
  std::vector<PairVerificationPage> pairs;  // complete pairs, Reference–File1 first
  std::string disclaimer;                   // with every verdict
  bool operator==(const VerificationRecord&) const = default;
};

inline constexpr std::string_view kNoCertification = "規格への適合を認証するものではありません";
inline constexpr std::string_view kNoSetChoice = "なし";
inline constexpr std::string_view kFromFileChoice = "ファイルから…";
inline constexpr std::string_view kVerificationTab = "判定";
inline constexpr std::string_view kPassOverall = "合格";
inline constexpr std::string_view kFailOverall = "不合格";
inline constexpr std::array<std::string_view, 5> kCriteriaHeadings = {"判定基準", "パッチ数", "値",
                                                                      "上限", "判定"};
inline constexpr std::array<std::string_view, kWorstColumns> kWorstHeadings = {
    "No.", "ID", "デバイス値", "⊿E00", "ΔL*", "ΔC*", "ΔH*"};

// The page for a set, from the comparison's files and maps: the window's
// chosen set, or each set the batch tool checks, as the report shows it.
VerificationRecord BuildVerificationRecord(const Comparison& c, const CriteriaSet& set);
// Nothing to show without a set.
VerificationRecord BuildVerificationRecord(const Comparison& c,
                                           const std::optional<CriteriaSet>& set);

// "40/27/27/0": a patch's device values, empty when the file has none.
std::string DeviceText(const Measurement* file, int patch);

}  // namespace korimo
