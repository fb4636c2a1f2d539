#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Indices.h"
#include "core/Measurement.h"

namespace korimo {

// How the patches of a pair find each other. Position is the window's
// original behaviour and the default.
enum class PairingMode { Position, Id, Device };

// The modes in the order the window offers them: option and JSON key, and
// the window's caption.
struct PairingModeName {
  PairingMode mode;
  std::string_view key;
  std::string_view caption;
};
inline constexpr std::array<PairingModeName, 3> kPairingModes{{
    {PairingMode::Position, "position", "位置"},
    {PairingMode::Id, "id", "ID"},
    {PairingMode::Device, "device", "デバイス値"},
}};
std::string_view PairingModeKey(PairingMode mode);

// Device values of one recipe may differ by this much between two files.
inline constexpr double kDeviceTolerance = 0.01;
// Sample-only identifiers kept for the tooltip and the JSON.
inline constexpr std::size_t kListedSampleOnly = 20;
inline constexpr std::int16_t kUnpaired = -1;
// "Best10%" and "95%" are shown from this many sorted differences on.
inline constexpr int kPercentileMinimum = 15;

// Which sample patch each Reference patch of one pair is compared with.
struct PairMap {
  PairingMode mode = PairingMode::Position;  // the mode used; incomplete pair: the one chosen
  bool complete = false;                     // both files loaded
  // Position mode, a fallback to it, or an incomplete pair: Reference patch
  // i meets sample patch i over the comparison range of the last read.
  bool byPosition = true;
  std::vector<std::int16_t> sample;  // per Reference patch when !byPosition; kUnpaired = none
  int paired = 0;                    // k
  int referenceOnly = 0;
  int sampleOnly = 0;
  std::vector<std::string> sampleOnlyIds;  // first kListedSampleOnly, in the sample's file order
  std::string fallbackReason;              // why the chosen mode could not apply; empty: it did
  std::optional<int> deviceMismatches;     // ID mode with device values on both sides only

  // The differences "Best10%" and "95%" are taken over: by position the
  // Reference's count, zeros of missing patches included; else k.
  int SortedCount(int referenceCount) const { return byPosition ? referenceCount : paired; }
  int SampleOf(int patch) const {
    return byPosition ? patch : sample[static_cast<std::size_t>(patch)];
  }
  bool Paired(int patch) const {
    return byPosition || (patch >= 0 && static_cast<std::size_t>(patch) < sample.size() &&
                          sample[static_cast<std::size_t>(patch)] >= 0);
  }
};

// The map in `mode` between the Reference and a sample file (null: none
// read).
PairMap BuildPairMap(const Measurement* reference, const Measurement* sample, PairingMode mode);

// The tab row's line for a pair whose chosen mode did not pair everything,
// and its tooltip listing the unpaired sample patches; empty otherwise.
std::string PairMapStrip(Pair pair, const PairMap& map);
std::string PairMapTip(Pair pair, const PairMap& map);

}  // namespace korimo
