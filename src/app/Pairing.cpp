#include "app/Pairing.h"

#include <algorithm>

namespace korimo {

namespace {

int CountOf(const Measurement* m) {
  return m == nullptr ? 0 : m->Count();
}

const std::string& IdAt(const Measurement* m, int patch) {
  return m->ids.values[static_cast<std::size_t>(patch)];
}

// No.1「1」≠「A1」: a position as the grid numbers it, and both identifiers.
std::string Difference(const Measurement* reference, const Measurement* sample, int patch) {
  return "No." + std::to_string(patch + 1) + "「" + IdAt(reference, patch) + "」≠「" +
         IdAt(sample, patch) + "」";
}

}  // namespace

std::string_view PairName(Pair pair) {
  return pair == Pair::ReferenceFile1 ? "基準–File1" : "基準–File2";
}

PairCheck CheckPair(const Measurement* reference, const Measurement* sample) {
  PairCheck check;
  check.referenceCount = CountOf(reference);
  check.sampleCount = CountOf(sample);
  check.complete = check.referenceCount >= 1 && check.sampleCount >= 1;
  if (!check.complete)
    return check;
  check.countsDiffer = check.referenceCount != check.sampleCount;
  check.idsCompared = reference->ids.present && sample->ids.present;
  if (!check.idsCompared)
    return check;
  const int common = std::min(check.referenceCount, check.sampleCount);
  for (int i = 0; i < common; ++i) {
    if (IdAt(reference, i) == IdAt(sample, i))
      continue;
    ++check.idMismatches;
    if (check.firstMismatches.size() < PairCheck::kListed)
      check.firstMismatches.push_back(i);
  }
  return check;
}

std::string PairingWarning(const Measurement* reference, const Measurement* sample, Pair pair,
                           const PairCheck& check) {
  if (!check.Mismatch())
    return {};
  std::string text = std::string(PairName(pair)) + ": ";
  if (check.idMismatches > 0) {
    text += "ID不一致 " + std::to_string(check.idMismatches) + "/" +
            std::to_string(std::min(check.referenceCount, check.sampleCount)) + "（" +
            Difference(reference, sample, check.firstMismatches.front()) + "）";
    if (check.countsDiffer)
      text += " ";
  }
  if (check.countsDiffer) {
    text += "パッチ数不一致 " + std::to_string(check.referenceCount) + "≠" +
            std::to_string(check.sampleCount);
  }
  return text + " 位置で比較";
}

std::string PairingDetails(const Measurement* reference, const Measurement* sample, Pair pair,
                           const PairCheck& check) {
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
      text += "\n" + Difference(reference, sample, patch);
  }
  return text;
}

}  // namespace korimo
