#pragma once

#include <array>
#include <cstddef>

namespace korimo {

// The three measurement files of one comparison.
enum class DataSet { Reference = 0, File1 = 1, File2 = 2 };

// The two comparisons. Chart c and histogram c show pair c.
enum class Pair { ReferenceFile1 = 0, ReferenceFile2 = 1 };

// The colour difference the threshold panel, the marks and the histograms use.
enum class Metric { DeAb, De00 };  // "⊿E" (CIE 1976), "⊿E00" (CIEDE2000)

inline constexpr std::array kAllSets{DataSet::Reference, DataSet::File1, DataSet::File2};
inline constexpr std::array kAllPairs{Pair::ReferenceFile1, Pair::ReferenceFile2};

// Position in the per-set and per-pair tables of the inputs, the comparison and the record.
constexpr std::size_t Index(DataSet set) {
  return static_cast<std::size_t>(set);
}
constexpr std::size_t Index(Pair pair) {
  return static_cast<std::size_t>(pair);
}

// The sample file a pair compares with the Reference.
constexpr DataSet SampleOf(Pair pair) {
  return pair == Pair::ReferenceFile1 ? DataSet::File1 : DataSet::File2;
}

// The pair a sample file belongs to; the Reference belongs to both.
constexpr Pair PairOf(DataSet sample) {
  return sample == DataSet::File2 ? Pair::ReferenceFile2 : Pair::ReferenceFile1;
}

constexpr bool IsSample(DataSet set) {
  return set != DataSet::Reference;
}

// Mouse events as the window's handlers see them.
enum class MouseButton { None, Left, Right, Middle };

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool Any() const { return shift || ctrl || alt; }
};

// What opened the Edit pop-up menu, and its two items.
enum class MenuSource { None, Chart, Histogram, Grid };
enum class MenuItem { Copy, Save };

}  // namespace korimo
