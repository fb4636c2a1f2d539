#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Measurement.h"

namespace korimo {

// Every per-patch table has one spare slot past the 3000 patches a file may
// hold: the 95% position of a tiny chart reads the slot just after the sorted
// entries, and that read must stay inside the table.
inline constexpr int kSlots = 3001;
inline constexpr int kSets = 3;   // 0 Reference, 1 File1, 2 File2
inline constexpr int kPairs = 2;  // 0 Reference-File1, 1 Reference-File2

// A per-patch table of kSlots entries, each zero (or empty) until written.
// Storage reaches only as far as the slots written: the tables of a
// 3000-patch chart are about 400 kB, and filling them whole at every start
// and every read cost more than most comparisons do.
template <typename T>
class SlotTable {
 public:
  const T& operator[](std::size_t i) const { return i < values_.size() ? values_[i] : Zero(); }
  T& operator[](std::size_t i) {
    if (i >= values_.size())
      Grow(i + 1);
    return values_[i];
  }
  // The first n slots, to be sorted or written in place.
  std::span<T> First(std::size_t n) {
    if (n > values_.size())
      Grow(n);
    return {values_.data(), n};
  }
  const T* data() const { return values_.data(); }  // the slots written so far
  typename std::vector<T>::const_iterator begin() const { return values_.begin(); }
  typename std::vector<T>::const_iterator end() const { return values_.end(); }
  // Every slot back to zero; the storage stays for the next read.
  void clear() { values_.clear(); }
  // Slots never written equal zero ones.
  bool operator==(const SlotTable& other) const {
    const std::size_t n = std::max(values_.size(), other.values_.size());
    for (std::size_t i = 0; i < n; ++i) {
      if (!((*this)[i] == other[i]))
        return false;
    }
    return true;
  }

 private:
  static const T& Zero() {
    static const T kZero{};
    return kZero;
  }
  void Grow(std::size_t n) {
    // Reserved once, whole: untouched capacity costs no memory, and the
    // slots written stay where they are.
    values_.reserve(kSlots);
    values_.resize(std::max<std::size_t>(n, values_.size()));
  }
  std::vector<T> values_;
};

// [patch][component]: L*, a*, b* read as 32-bit floats and held widened.
using LabTable = SlotTable<std::array<double, 3>>;
// [patch][pair]
using DiffTable = SlotTable<std::array<float, kPairs>>;
using SortedTable = SlotTable<double>;
using IdTable = SlotTable<std::string>;  // UTF-8
using PairFloats = std::array<float, kPairs>;

// The comparison state of the three data sets and the two pairs. A plain
// record: every procedure that changes it lives elsewhere.
struct ComparisonData {
  LabTable Lab0{};
  LabTable Lab1{};
  LabTable Lab2{};
  std::array<std::int16_t, kSets> PatchCount{};
  std::array<std::int16_t, kSets> RowLength{};
  IdTable PatchId{};
  // Each file's own identifiers as stored (whole texts, not the five
  // characters the grid shows), and whether the file had an identifier
  // column at all; what tells two files of different charts apart.
  std::array<IdTable, kSets> FileId{};
  std::array<bool, kSets> HasIdColumn{};

  DiffTable DeAb{};
  DiffTable De00{};
  SortedTable SortDeAb1{};
  SortedTable SortDeAb2{};
  SortedTable SortDe001{};
  SortedTable SortDe002{};

  PairFloats AvgDeAb{};
  PairFloats AvgDe00{};
  PairFloats MaxDeAb{};
  PairFloats MaxDe00{};
  PairFloats Best10DeAb{};
  PairFloats Best10De00{};
  PairFloats Pct95DeAb{};
  PairFloats Pct95De00{};

  float UnderDeAb = 0;
  float OverDeAb = 0;
  float UnderDe00 = 0;
  float OverDe00 = 0;

  LabTable& Lab(int set) { return set == 0 ? Lab0 : set == 1 ? Lab1 : Lab2; }
  const LabTable& Lab(int set) const { return set == 0 ? Lab0 : set == 1 ? Lab1 : Lab2; }
  SortedTable& SortedDeAb(int pair) { return pair == 0 ? SortDeAb1 : SortDeAb2; }
  const SortedTable& SortedDeAb(int pair) const { return pair == 0 ? SortDeAb1 : SortDeAb2; }
  SortedTable& SortedDe00(int pair) { return pair == 0 ? SortDe001 : SortDe002; }
  const SortedTable& SortedDe00(int pair) const { return pair == 0 ? SortDe001 : SortDe002; }

  bool IsLoaded(int set) const { return PatchCount[set] >= 1; }
  bool IsPairComplete(int pair) const { return IsLoaded(0) && IsLoaded(pair + 1); }
};

// The patch count of the first data set that has patches (Reference, then
// File1, then File2); 0 when none has. Grid, chart and histograms all size
// themselves by it.
inline int ShownPatchCount(const ComparisonData& d) {
  for (int s = 0; s < kSets; ++s) {
    if (d.PatchCount[s] >= 1)
      return d.PatchCount[s];
  }
  return 0;
}

}  // namespace korimo
