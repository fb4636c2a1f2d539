#include "app/VerificationRecord.h"

#include <algorithm>
#include <numeric>

#include "app/Comparison.h"
#include "app/Pairing.h"
#include "app/Verification.h"
#include "core/Common.h"

namespace korimo {

namespace {

// "注: M1の測定値が前提です（基準 M0、File1 M2）"
std::string ConditionNote(const Comparison& c, Pair pair) {
  std::string declared;
  for (DataSet set : {DataSet::Reference, SampleOf(pair)}) {
    const Condition condition = c.Set(set)->condition;
    if (condition == Condition::Unknown || condition == Condition::M1)
      continue;
    declared += declared.empty() ? "" : "、";
    declared += set == DataSet::Reference ? "基準 " : set == DataSet::File1 ? "File1 " : "File2 ";
    declared += ConditionName(condition);
  }
  return "注: この基準はM1の測定値が前提です（" + declared + "）";
}

VerificationRow Row(const CriterionResult& result) {
  VerificationRow row;
  row.criterion = result.criterion.Words();
  row.patches = std::to_string(result.patches);
  row.limit = ShortestDecimal(result.criterion.limit);
  if (!result.value) {
    row.verdict = "評価不可（" + ReasonText(result, Language::Japanese) + "）";
    row.mark = VerdictMark::NotEvaluated;
    return row;
  }
  row.value = FormatTwoDec(*result.value);
  row.verdict = result.pass ? "合" : "否";
  row.mark = result.pass ? VerdictMark::Pass : VerdictMark::Fail;
  return row;
}

std::vector<WorstPatchRow> WorstPatches(const Comparison& c,
                                        const std::vector<PatchDifference>& patches) {
  std::vector<int> order;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    if (patches[i].Paired())
      order.push_back(static_cast<int>(i));
  }
  const auto de00 = [&](int i) { return patches[static_cast<std::size_t>(i)].de00; };
  const std::size_t shown = std::min<std::size_t>(order.size(), kWorstPatchCount);
  std::partial_sort(
      order.begin(), order.begin() + static_cast<std::ptrdiff_t>(shown), order.end(),
      [&](int a, int b) { return de00(a) > de00(b) || (de00(a) == de00(b) && a < b); });
  std::vector<WorstPatchRow> rows;
  for (std::size_t r = 0; r < shown; ++r) {
    const int i = order[r];
    const PatchDifference& p = patches[static_cast<std::size_t>(i)];
    rows.push_back({std::to_string(i + 1), c.PatchId(i), DeviceText(c.Set(DataSet::Reference), i),
                    FormatTwoDec(p.de00), FormatTwoDec(p.dl), FormatTwoDec(p.dc),
                    FormatTwoDec(p.dh)});
  }
  return rows;
}

}  // namespace

std::string DeviceText(const Measurement* file, int patch) {
  if (file == nullptr)
    return {};
  const DeviceValues& device = file->device;
  if (patch < 0 || static_cast<std::size_t>(patch) >= device.values.size())
    return {};
  std::string text;
  for (int ch = 0; ch < device.Channels(); ++ch) {
    text += ch == 0 ? "" : "/";
    text += ShortestDecimal(
        device.values[static_cast<std::size_t>(patch)][static_cast<std::size_t>(ch)]);
  }
  return text;
}

VerificationRecord BuildVerificationRecord(const Comparison& c,
                                           const std::optional<CriteriaSet>& set) {
  return set ? BuildVerificationRecord(c, *set) : VerificationRecord{};
}

VerificationRecord BuildVerificationRecord(const Comparison& c, const CriteriaSet& set) {
  VerificationRecord record;
  record.setName = set.name;
  record.disclaimer = kNoCertification;
  const VerificationInput input = VerificationInputs(c);
  const SetVerdict verdict = Verify(c, input, set);
  if (verdict.noPair)
    record.message = NoPairText(Language::Japanese) + "（" + std::string(kFailOverall) + "）";
  for (const PairVerdict& pair : verdict.pairs) {
    PairVerificationPage page;
    page.pair = pair.pair;
    page.title = std::string(PairName(pair.pair));
    for (const CriterionResult& result : pair.criteria)
      page.rows.push_back(Row(result));
    if (pair.otherCondition)
      page.note = ConditionNote(c, pair.pair);
    page.pass = pair.pass;
    page.overall = pair.pass ? kPassOverall : kFailOverall;
    page.worst = WorstPatches(c, input[Index(pair.pair)]);
    record.pairs.push_back(std::move(page));
  }
  return record;
}

}  // namespace korimo
