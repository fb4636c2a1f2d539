#pragma once

#include "app/EngineState.h"

namespace korimo {

// Brings the record and the pictures up to date once an event is handled:
// every text from the comparison it was last made from, and each picture
// and the grid drawn anew where a step of the event asked for it.
void Render(EngineState& state);

// The lines of the tab-row strip about a pair (files that do not match,
// the pairing mode's outcome) and their tooltips, and the line about
// differing measurement conditions.
struct PairingTexts {
  std::string line;
  std::string tip;
  std::string conditions;
};
PairingTexts PairingTextsOf(const Comparison& c, Pair pair);

// The same warning as the batch tools word it in English, without the
// pair's name: the files do not match (position mode), or the chosen mode
// fell back or did not pair completely. Empty exactly when the strip's line
// is.
std::string PairingWarningEnglish(const Comparison& c, Pair pair);

}  // namespace korimo
