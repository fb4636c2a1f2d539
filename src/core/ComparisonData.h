#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korimo {

// Every per-patch table has one spare slot past the 3000 patches a file may
// hold: the 95% position of a tiny chart reads the slot just after the sorted
// entries, and that read must stay inside the table.
inline constexpr int kSlots = 3001;
inline constexpr int kMaxPatches = 3000;
inline constexpr int kSets = 3;   // 0 Reference, 1 File1, 2 File2
inline constexpr int kPairs = 2;  // 0 Reference-File1, 1 Reference-File2

// [patch][component]: L*, a*, b* read as 32-bit floats and held widened.
using LabTable = std::array<std::array<double, 3>, kSlots>;
// [patch][pair]
using DiffTable = std::array<std::array<float, kPairs>, kSlots>;
using SortedTable = std::array<double, kSlots>;

// Identifiers per patch slot (UTF-8). Slots past the last one written read as
// empty and take no memory: four tables of 3001 strings each were 384 kB
// touched at every start, most of it for charts never loaded.
class IdTable {
 public:
  const std::string& operator[](std::size_t i) const {
    static const std::string kEmpty;
    return i < ids_.size() ? ids_[i] : kEmpty;
  }
  std::string& operator[](std::size_t i) {
    if (i >= ids_.size())
      ids_.resize(i + 1);
    return ids_[i];
  }
  // The first n slots; they must have been written.
  const std::string* data() const { return ids_.data(); }
  std::vector<std::string>::const_iterator begin() const { return ids_.begin(); }
  std::vector<std::string>::const_iterator end() const { return ids_.end(); }
  void clear() { ids_.clear(); }
  // Slots never written equal empty ones.
  bool operator==(const IdTable& other) const {
    const std::size_t n = std::max(ids_.size(), other.ids_.size());
    for (std::size_t i = 0; i < n; ++i) {
      if ((*this)[i] != other[i])
        return false;
    }
    return true;
  }

 private:
  std::vector<std::string> ids_;
};
using PairFloats = std::array<float, kPairs>;

// The comparison state of the three data sets and the two pairs. A plain
// record: every procedure that changes it lives elsewhere. About 400 kB, so
// owners keep it on the heap.
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
