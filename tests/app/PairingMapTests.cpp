#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/PairingMap.h"

namespace korimo {
namespace {

using Recipe = std::array<float, 4>;

// One file as a read leaves it: identifiers of either column, device values.
struct FileFacts {
  std::vector<std::string> names;  // SAMPLE_NAME; empty: no such column
  std::vector<std::string> ids;    // SAMPLE_ID; empty: no such column
  DeviceSpace space = DeviceSpace::None;
  std::vector<Recipe> recipes;
  int count = 0;
};

class Files {
 public:
  Files(const FileFacts& reference, const FileFacts& sample) {
    Fill(DataSet::Reference, reference);
    Fill(DataSet::File1, sample);
  }
  PairMap Map(PairingMode mode, Pair pair = Pair::ReferenceFile1) const {
    return BuildPairMap(*data_, sets_, pair, mode);
  }
  std::array<MeasurementSet, kSets>& Sets() { return sets_; }

 private:
  void Fill(DataSet set, const FileFacts& facts) {
    const std::size_t s = Index(set);
    data_->PatchCount[s] = static_cast<std::int16_t>(facts.count);
    MeasurementSet& m = sets_[s];
    m.sampleName = {!facts.names.empty(), facts.names};
    m.sampleId = {!facts.ids.empty(), facts.ids};
    m.device = {facts.space, facts.recipes};
  }
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
  std::array<MeasurementSet, kSets> sets_;
};

std::vector<std::string> Names(std::initializer_list<const char*> list) {
  return {list.begin(), list.end()};
}

FileFacts Named(std::vector<std::string> names) {
  FileFacts facts;
  facts.count = static_cast<int>(names.size());
  facts.names = std::move(names);
  return facts;
}

FileFacts Cmyk(std::vector<Recipe> recipes, DeviceSpace space = DeviceSpace::Cmyk) {
  FileFacts facts;
  facts.count = static_cast<int>(recipes.size());
  facts.space = space;
  facts.recipes = std::move(recipes);
  return facts;
}

std::vector<std::int16_t> Partners(std::initializer_list<int> list) {
  return {list.begin(), list.end()};
}

TEST(PairingMapTest, IdentifiersPairWhateverTheOrderAndListWhatIsLeftOver) {
  struct Case {
    const char* name;
    FileFacts reference, sample;
    std::vector<std::int16_t> partners;
    int paired, referenceOnly, sampleOnly;
    std::vector<std::string> sampleOnlyIds;
  };
  const Case cases[] = {
      {"missing on both sides", Named(Names({"A1", "A2", "A3", "A4"})),
       Named(Names({"A4", "X9", "A1", "X8"})), Partners({2, -1, -1, 0}), 2, 2, 2,
       Names({"X9", "X8"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PairMap map = Files(c.reference, c.sample).Map(PairingMode::Id);
    EXPECT_EQ(map.mode, PairingMode::Id);
    EXPECT_FALSE(map.byPosition);
    EXPECT_EQ(map.sample, c.partners);
    EXPECT_EQ(map.paired, c.paired);
    EXPECT_EQ(map.referenceOnly, c.referenceOnly);
    EXPECT_EQ(map.sampleOnly, c.sampleOnly);
    EXPECT_EQ(map.sampleOnlyIds, c.sampleOnlyIds);
    EXPECT_TRUE(map.fallbackReason.empty());
  }
}

TEST(PairingMapTest, NamesComeFirstAndSampleIdsServeWhenOneFileHasNoNames) {
  FileFacts instrument = Named(Names({"A1", "A2"}));
  instrument.ids = Names({"2", "1"});
  FileFacts characterization;
  characterization.ids = Names({"1", "2"});
  characterization.count = 2;
  EXPECT_EQ(Files(instrument, characterization).Map(PairingMode::Id).sample, Partners({1, 0}));
  FileFacts both = Named(Names({"A2", "A1"}));
  both.ids = Names({"1", "2"});
  EXPECT_EQ(Files(instrument, both).Map(PairingMode::Id).sample, Partners({1, 0}));
}

TEST(PairingMapTest, RepeatedRecipesPairInFileOrderWithinTheTolerance) {
  const Recipe white{0, 0, 0, 0}, black{0, 0, 0, 100}, cyan{100, 0, 0, 0};
  // 0.01 apart as the files write it: the floats lie a hair further apart.
  const Recipe nearlyCyan{99.99f, 0, 0.01f, 0};
  const PairMap map = Files(Cmyk({white, black, white, cyan, white}),
                            Cmyk({black, white, nearlyCyan, white, white, white}))
                          .Map(PairingMode::Device);
  EXPECT_EQ(map.sample, Partners({1, 0, 3, 2, 4}));
  EXPECT_EQ(map.sampleOnly, 1);
  EXPECT_EQ(map.sampleOnlyIds, Names({"No.6"}));

  const Recipe offCyan{99.98f, 0, 0, 0};
  const PairMap apart = Files(Cmyk({cyan, white}), Cmyk({offCyan, white})).Map(PairingMode::Device);
  EXPECT_EQ(apart.sample, Partners({-1, 1}));
}

TEST(PairingMapTest, AModeThatCannotApplyFallsBackToPositionAndSaysWhy) {
  const Recipe r{10, 20, 30, 0};
  FileFacts duplicated = Named(Names({"A1", "B1", "A1"}));
  struct Case {
    const char* name;
    FileFacts reference, sample;
    PairingMode mode;
    std::string reason;
  };
  const Case cases[] = {
      {"duplicate identifier", Named(Names({"A1", "B1", "C1"})), duplicated, PairingMode::Id,
       "ID重複（「A1」×2）"},
      {"no identifiers", Cmyk({r, r, r}), Named(Names({"A1", "B1", "C1"})), PairingMode::Id,
       "共通のID列なし"},
      {"CMYK against RGB", Cmyk({r, r, r}), Cmyk({r, r, r}, DeviceSpace::Rgb), PairingMode::Device,
       "デバイス値の色空間違い（CMYK・RGB）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PairMap map = Files(c.reference, c.sample).Map(c.mode, Pair::ReferenceFile1);
    EXPECT_EQ(map.mode, PairingMode::Position);
    EXPECT_TRUE(map.byPosition);
    EXPECT_EQ(map.fallbackReason, c.reason);
    EXPECT_EQ(map.paired, 3);
    EXPECT_EQ(PairMapStrip(Pair::ReferenceFile1, map), "基準–File1: " + c.reason + " 位置で比較");
  }
}

TEST(PairingMapTest, StripLinesNameThePairAndTheOutcome) {
  // Renumbered identifiers: the recipes tell that ID pairing went wrong.
  const Recipe a{0, 0, 0, 0}, b{50, 0, 0, 0};
  FileFacts reference = Cmyk({a, b, a});
  reference.names = Names({"1", "2", "3"});
  FileFacts renumbered = Cmyk({b, a, a});
  renumbered.names = Names({"1", "2", "3"});
  const PairMap wrong = Files(reference, renumbered).Map(PairingMode::Id);
  EXPECT_EQ(wrong.deviceMismatches, 2);
  EXPECT_EQ(PairMapStrip(Pair::ReferenceFile1, wrong),
            "基準–File1: ID対応でデバイス値不一致 2/3 → デバイス値で対応を");
  EXPECT_EQ(Files(Named(Names({"1"})), Named(Names({"1"}))).Map(PairingMode::Id).deviceMismatches,
            std::nullopt);
}

}  // namespace
}  // namespace korimo
