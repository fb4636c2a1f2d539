#include "app/Inputs.h"

#include <gtest/gtest.h>

#include "app/Comparison.h"

namespace korimo {
namespace {

using Ids = std::vector<std::string>;

// A read of n neutral patches at L*, named prefix1 ... prefixn, without names
// when there is no prefix; n = 0: a read that stored nothing.
std::shared_ptr<Measurement> Read(int n, float L, const std::string& prefix = "") {
  auto m = std::make_shared<Measurement>();
  m->lab.assign(static_cast<std::size_t>(n), {L, 0, 0});
  m->ids.present = !prefix.empty();
  for (int i = 1; i <= n && m->ids.present; ++i)
    m->ids.values.push_back(prefix + std::to_string(i));
  m->sampleName = m->ids;
  return m;
}

// The inputs after a sequence of reads, and what pair 0 then shows.
struct History : Inputs {
  History& operator()(DataSet set, MeasurementPtr read) {
    ApplyRead(*this, set, std::move(read));
    return *this;
  }
  ComparisonPtr Now() const { return Comparison::Compute(*this); }
  float MaxDeAb() const { return Now()->MaxDeAb(Pair::ReferenceFile1); }
  Ids Names(int n) const {
    Ids names;
    for (int i = 0; i < n; ++i)
      names.push_back(Now()->ShownId(i));
    return names;
  }
};

// A read that stores nothing zeroes the stored averages and maxima; the
// thresholds follow once taken again. A change of mode cannot bring back
// figures whose file holds nothing; the next good read does.
TEST(ReadHistory, AReadOfNothingResetsTheFiguresUntilTheNextComparison) {
  History h;
  h(DataSet::Reference, Read(30, 50))(DataSet::File1, Read(30, 53));
  EXPECT_EQ(h.Now()->CurrentThresholds().underDeAb, 0.4f);  // maximum 3: scale 4, 4 x 2 / 20
  h(DataSet::File1, Read(0, 0));
  EXPECT_EQ(h.MaxDeAb(), 0);
  EXPECT_EQ(h.Now()->CurrentThresholds().underDeAb, 0.4f);
  ApplyThresholdUpdate(h);
  EXPECT_EQ(h.Now()->CurrentThresholds().underDeAb, 0.1f);  // maximum 0: scale 1
  ApplyPairingMode(h, PairingMode::Id);
  EXPECT_EQ(h.MaxDeAb(), 0);
  h(DataSet::File1, Read(30, 52));
  EXPECT_EQ(h.MaxDeAb(), 2);
}

// Reading the Reference empties the names shown; every read with a name
// column overwrites the positions it covers. A row length stays until a
// file states another.
TEST(ReadHistory, NamesLayerInReadOrder) {
  History h;
  const auto reference = Read(5, 50, "R");
  reference->rowLength = 6;
  h(DataSet::Reference, reference)(DataSet::File1, Read(3, 50, "F"))(DataSet::File2, Read(2, 50));
  EXPECT_EQ(h.Names(5), (Ids{"F1", "F2", "F3", "R4", "R5"}));
  h(DataSet::Reference, Read(4, 50));
  EXPECT_EQ(h.Names(5), (Ids{"", "", "", "", ""}));
  EXPECT_EQ(h.Now()->RowLength(DataSet::Reference), 6);
  h(DataSet::File2, Read(2, 50, "G"))(DataSet::File1, Read(1, 50, "H"));
  EXPECT_EQ(h.Names(5), (Ids{"H1", "G2", "", "", ""}));
}

}  // namespace
}  // namespace korimo
