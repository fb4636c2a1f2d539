#include "app/Pairing.h"

#include <algorithm>

namespace korimo {

namespace {

const std::string& FileIdAt(const ComparisonData& d, DataSet set, int patch) {
  return d.FileId[Index(set)][static_cast<std::size_t>(patch)];
}

// No.1「1」≠「A1」: a position as the grid numbers it, and both identifiers.
std::string Difference(const ComparisonData& d, Pair pair, int patch) {
  return "No." + std::to_string(patch + 1) + "「" + FileIdAt(d, DataSet::Reference, patch) +
         "」≠「" + FileIdAt(d, SampleOf(pair), patch) + "」";
}

}  // namespace

std::string_view PairName(Pair pair) {
  return pair == Pair::ReferenceFile1 ? "基準–File1" : "基準–File2";
}

PairCheck CheckPair(const ComparisonData& d, Pair pair) {
  PairCheck check;
  const DataSet sample = SampleOf(pair);
  check.referenceCount = d.PatchCount[Index(DataSet::Reference)];
  check.sampleCount = d.PatchCount[Index(sample)];
  check.complete = check.referenceCount >= 1 && check.sampleCount >= 1;
  if (!check.complete)
    return check;
  check.countsDiffer = check.referenceCount != check.sampleCount;
  check.idsCompared = d.HasIdColumn[Index(DataSet::Reference)] && d.HasIdColumn[Index(sample)];
  if (!check.idsCompared)
    return check;
  const int common = std::min(check.referenceCount, check.sampleCount);
  for (int i = 0; i < common; ++i) {
    if (FileIdAt(d, DataSet::Reference, i) == FileIdAt(d, sample, i))
      continue;
    ++check.idMismatches;
    if (check.firstMismatches.size() < PairCheck::kListed)
      check.firstMismatches.push_back(i);
  }
  return check;
}

std::string PairingWarning(const ComparisonData& d, Pair pair, const PairCheck& check) {
  if (!check.Mismatch())
    return {};
  std::string text = std::string(PairName(pair)) + ": ";
  if (check.idMismatches > 0) {
    text += "ID不一致 " + std::to_string(check.idMismatches) + "/" +
            std::to_string(std::min(check.referenceCount, check.sampleCount)) + "（" +
            Difference(d, pair, check.firstMismatches.front()) + "）";
    if (check.countsDiffer)
      text += " ";
  }
  if (check.countsDiffer) {
    text += "パッチ数不一致 " + std::to_string(check.referenceCount) + "≠" +
            std::to_string(check.sampleCount);
  }
  return text + " 位置で比較";
}

std::string PairingDetails(const ComparisonData& d, Pair pair, const PairCheck& check) {
  if (!check.Mismatch())
    return {};
  std::string text = std::string(PairName(pair)) + ": ";
  text += check.idsCompared ? "パッチは位置で比較しています"
                            : "IDのないファイルです。パッチは位置で比較しています";
  if (check.countsDiffer) {
    text += "\nパッチ数: 基準 " + std::to_string(check.referenceCount) + "、" +
            (pair == Pair::ReferenceFile1 ? "File1 " : "File2 ") +
            std::to_string(check.sampleCount);
  }
  if (check.idMismatches > 0) {
    text += "\nIDの異なる位置 " + std::to_string(check.idMismatches) + " 件";
    if (check.idMismatches > static_cast<int>(check.firstMismatches.size()))
      text += "（最初の " + std::to_string(check.firstMismatches.size()) + " 件）";
    text += ":";
    for (const int patch : check.firstMismatches)
      text += "\n" + Difference(d, pair, patch);
  }
  return text;
}

}  // namespace korimo
