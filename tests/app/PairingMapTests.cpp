#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/PairingMap.h"

namespace korimo {
namespace {

using Recipe = std::array<float, 4>;

std::vector<std::string> Names(std::initializer_list<const char*> list) {
  return {list.begin(), list.end()};
}

// One file as a read leaves it: identifiers of either column, device values.
MeasurementSet Named(std::vector<std::string> names) {
  MeasurementSet m;
  m.sampleName = {true, std::move(names)};
  return m;
}

MeasurementSet Cmyk(std::vector<Recipe> recipes, DeviceSpace space = DeviceSpace::Cmyk) {
  MeasurementSet m;
  m.device = {space, std::move(recipes)};
  return m;
}

class Files {
 public:
  Files(const MeasurementSet& reference, const MeasurementSet& sample)
      : sets_{reference, sample, {}} {
    for (std::size_t s = 0; s < 2; ++s) {
      data_->PatchCount[s] = static_cast<std::int16_t>(
          std::max({sets_[s].sampleName.values.size(), sets_[s].sampleId.values.size(),
                    sets_[s].device.values.size()}));
    }
  }
  PairMap Map(PairingMode mode) const {
    return BuildPairMap(*data_, sets_, Pair::ReferenceFile1, mode);
  }

 private:
  std::unique_ptr<ComparisonData> data_ = std::make_unique<ComparisonData>();
  std::array<MeasurementSet, kSets> sets_;
};

std::vector<std::int16_t> Partners(std::initializer_list<int> list) {
  return {list.begin(), list.end()};
}

TEST(PairingMapTest, IdentifiersPairWhateverTheOrderAndListWhatIsLeftOver) {
  const PairMap map =
      Files(Named(Names({"A1", "A2", "A3", "A4"})), Named(Names({"A4", "X9", "A1", "X8"})))
          .Map(PairingMode::Id);
  EXPECT_EQ(map.mode, PairingMode::Id);
  EXPECT_FALSE(map.byPosition);
  EXPECT_EQ(map.sample, Partners({2, -1, -1, 0}));
  EXPECT_EQ((std::array{map.paired, map.referenceOnly, map.sampleOnly}), (std::array{2, 2, 2}));
  EXPECT_EQ(map.sampleOnlyIds, Names({"X9", "X8"}));
  EXPECT_TRUE(map.fallbackReason.empty());
}

TEST(PairingMapTest, NamesComeFirstAndSampleIdsServeWhenOneFileHasNoNames) {
  MeasurementSet instrument = Named(Names({"A1", "A2"}));
  instrument.sampleId = {true, Names({"2", "1"})};
  MeasurementSet characterization;
  characterization.sampleId = {true, Names({"1", "2"})};
  EXPECT_EQ(Files(instrument, characterization).Map(PairingMode::Id).sample, Partners({1, 0}));
  MeasurementSet both = Named(Names({"A2", "A1"}));
  both.sampleId = {true, Names({"1", "2"})};
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
  MeasurementSet duplicated = Named(Names({"A1", "B1", "A1"}));
  struct Case {
    const char* name;
    MeasurementSet reference, sample;
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
    const PairMap map = Files(c.reference, c.sample).Map(c.mode);
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
  MeasurementSet reference = Cmyk({a, b, a});
  reference.sampleName = {true, Names({"1", "2", "3"})};
  MeasurementSet renumbered = Cmyk({b, a, a});
  renumbered.sampleName = {true, Names({"1", "2", "3"})};
  const PairMap wrong = Files(reference, renumbered).Map(PairingMode::Id);
  EXPECT_EQ(wrong.deviceMismatches, 2);
  EXPECT_EQ(PairMapStrip(Pair::ReferenceFile1, wrong),
            "基準–File1: ID対応でデバイス値不一致 2/3 → デバイス値で対応を");
  EXPECT_EQ(Files(Named(Names({"1"})), Named(Names({"1"}))).Map(PairingMode::Id).deviceMismatches,
            std::nullopt);
}

}  // namespace
}  // namespace korimo
