#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/EngineState.h"
#include "export/ReportPage.h"

namespace korimo {

struct VerificationRecord;

// How each pair was paired, and the lines the tab-row strip shows.
struct ReportPairing {
  std::array<std::string, 2> mode;  // per pair, as the strip names it
  std::vector<std::string> strip;
};

// One criterion of a set as the verification page words it.
struct ReportCriterion {
  std::string words;    // "紙白 ⊿E00 最大"
  std::string patches;  // patches evaluated
  std::string value;    // "0.00", or empty when not evaluated
  std::string limit;
  std::string verdict;  // 合, 否, or 評価不可 with its reason
  bool pass = false;
};

struct ReportPairVerdict {
  Pair pair = Pair::ReferenceFile1;
  std::vector<ReportCriterion> criteria;
  std::vector<std::string> notes;  // lines under the table
  bool pass = false;
};

struct ReportCriteriaSet {
  std::string name;
  bool pass = false;
  std::string reason;  // why the set failed as a whole; empty otherwise
  std::vector<ReportPairVerdict> pairs;
};

// The verdicts the report shows; none when no set was chosen.
struct ReportVerification {
  std::vector<ReportCriteriaSet> sets;
};

enum class ReportPatches { Worst, All };

struct ReportInput {
  ReportJob job;
  ReportPatches patches = ReportPatches::Worst;
  std::int64_t createdAt = 0;  // seconds since 1970 (UTC)
  ReportPairing pairing;
  ReportVerification verification;
};

// The report of the comparison the state holds, as one self-contained HTML
// page (UTF-8, inline CSS and SVG, no script), laid out for A4 paper. Reads
// the state only; the same state and input give the same bytes.
std::string BuildHtmlReport(const EngineState& state, const ReportInput& input);

// Each pair's mode and every line of the tab-row strip.
ReportPairing PairingForReport(const EngineState& state);

// A criteria set's verdicts as the verification page words them.
ReportCriteriaSet ReportSetOf(const VerificationRecord& record);

// Patches the worst-patch list holds per pair.
inline constexpr int kReportWorstPatches = 20;

}  // namespace korimo
