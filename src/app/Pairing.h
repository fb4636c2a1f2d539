#pragma once

#include <string>
#include <vector>

#include "app/Indices.h"
#include "core/Measurement.h"

namespace korimo {

// Whether the two files of a pair describe the same chart. Patches are
// compared by position whatever this says; it only warns when positions
// cannot be trusted to hold the same patch.
struct PairCheck {
  static constexpr std::size_t kListed = 20;  // differing positions kept for the user

  bool complete = false;      // both files loaded
  bool idsCompared = false;   // both files have an identifier column
  bool countsDiffer = false;  // the two files hold different numbers of patches
  int referenceCount = 0;
  int sampleCount = 0;
  int idMismatches = 0;              // positions below the smaller count whose identifiers differ
  std::vector<int> firstMismatches;  // the first kListed of them, 0-based

  bool Mismatch() const { return countsDiffer || idMismatches > 0; }
};

// Compares the Reference with the pair's sample file: counts, then the
// whole stored identifiers at every position below the smaller count.
PairCheck CheckPair(const Measurement* reference, const Measurement* sample);

// The short Japanese line the window shows for a mismatching pair, and the
// tooltip that lists its first differing positions; both empty otherwise.
std::string PairingWarning(const Measurement* reference, const Measurement* sample, Pair pair,
                           const PairCheck& check);
std::string PairingDetails(const Measurement* reference, const Measurement* sample, Pair pair,
                           const PairCheck& check);

// "基準–File1" or "基準–File2".
std::string_view PairName(Pair pair);

}  // namespace korimo
