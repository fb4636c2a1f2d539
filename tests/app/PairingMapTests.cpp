#include "app/PairingMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korimo {
namespace {

using Recipe = std::array<float, 4>;
using Names = std::vector<std::string>;
using Partners = std::vector<std::int16_t>;

// One file as a read leaves it: identifiers of either column, device
// values, and as many patches as the longest of them.
Measurement Named(std::vector<std::string> names) {
  Measurement m;
  m.lab.resize(names.size());
  m.sampleName = {true, std::move(names)};
  return m;
}

Measurement Cmyk(std::vector<Recipe> recipes, DeviceSpace space = DeviceSpace::Cmyk) {
  Measurement m;
  m.lab.resize(recipes.size());
  m.device = {space, std::move(recipes), 0};
  return m;
}

PairMap Map(const Measurement& reference, const Measurement& sample, PairingMode mode) {
  return BuildPairMap(&reference, &sample, mode);
}

TEST(PairingMapTest, IdentifiersPairWhateverTheOrderAndListWhatIsLeftOver) {
  const PairMap map =
      Map(Named({"A1", "A2", "A3", "A4"}), Named({"A4", "X9", "A1", "X8"}), PairingMode::Id);
  EXPECT_EQ(std::tuple(map.mode, map.byPosition, map.fallbackReason),
            std::tuple(PairingMode::Id, false, ""));
  EXPECT_EQ(map.sample, (Partners{2, -1, -1, 0}));
  EXPECT_EQ((std::array{map.paired, map.referenceOnly, map.sampleOnly}), (std::array{2, 2, 2}));
  EXPECT_EQ(map.sampleOnlyIds, (Names{"X9", "X8"}));
}

TEST(PairingMapTest, NamesComeFirstAndSampleIdsServeWhenOneFileHasNoNames) {
  Measurement instrument = Named({"A1", "A2"});
  instrument.sampleId = {true, Names{"2", "1"}};
  Measurement characterization;
  characterization.lab.resize(2);
  characterization.sampleId = {true, Names{"1", "2"}};
  EXPECT_EQ(Map(instrument, characterization, PairingMode::Id).sample, (Partners{1, 0}));
  Measurement both = Named({"A2", "A1"});
  both.sampleId = {true, Names{"1", "2"}};
  EXPECT_EQ(Map(instrument, both, PairingMode::Id).sample, (Partners{1, 0}));
}

// A CxF3 file's names fill both columns; against a CGATS file with both,
// the column that pairs more patches serves, whichever file is the
// Reference, and SAMPLE_NAME on a tie.
TEST(PairingMapTest, CxfNamesPairWithTheCgatsColumnThatHoldsThem) {
  Measurement cgats = Named({"A1", "A2", "A3"});
  cgats.sampleId = {true, Names{"1", "2", "3"}};
  const auto cxf = [](std::vector<std::string> names) {
    Measurement m = Named(names);
    m.sampleId = {true, std::move(names)};
    m.format = FileFormat::Cxf3;
    return m;
  };
  const struct {
    Measurement names;
    std::vector<std::int16_t> partners;
  } cases[] = {
      {cxf(Names{"3", "2", "1"}), Partners{2, 1, 0}},
      {cxf(Names{"A3", "2", "A1"}), Partners{2, -1, 0}},
      {cxf(Names{"A3", "2", "X"}), Partners{-1, -1, 0}},  // one each: names
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Map(cgats, c.names, PairingMode::Id).sample, c.partners);
    const PairMap reversed = Map(c.names, cgats, PairingMode::Id);
    for (std::size_t i = 0; i < c.partners.size(); ++i) {
      if (c.partners[i] >= 0) {
        EXPECT_EQ(reversed.sample[static_cast<std::size_t>(c.partners[i])],
                  static_cast<std::int16_t>(i));
      }
    }
  }
}

TEST(PairingMapTest, RepeatedRecipesPairInFileOrderWithinTheTolerance) {
  const Recipe white{0, 0, 0, 0}, black{0, 0, 0, 100}, cyan{100, 0, 0, 0};
  // 0.01 apart as the files write it: the floats lie a hair further apart.
  const Recipe nearlyCyan{99.99f, 0, 0.01f, 0};
  const PairMap map =
      Map(Cmyk({white, black, white, cyan, white}),
          Cmyk({black, white, nearlyCyan, white, white, white}), PairingMode::Device);
  EXPECT_EQ(map.sample, (Partners{1, 0, 3, 2, 4}));
  EXPECT_EQ(map.sampleOnlyIds, Names{"No.6"});
  const Recipe offCyan{99.98f, 0, 0, 0};
  const PairMap apart = Map(Cmyk({cyan, white}), Cmyk({offCyan, white}), PairingMode::Device);
  EXPECT_EQ(apart.sample, (Partners{-1, 1}));
}

TEST(PairingMapTest, AModeThatCannotApplyFallsBackToPositionAndSaysWhy) {
  const Recipe r{10, 20, 30, 0};
  Measurement duplicated = Named({"A1", "B1", "A1"});
  struct Case {
    Measurement reference, sample;
    PairingMode mode;
    std::string reason;
  };
  const Case cases[] = {
      {Named({"A1", "B1", "C1"}), duplicated, PairingMode::Id, "ID重複（「A1」×2）"},
      {Cmyk({r, r, r}), Named({"A1", "B1", "C1"}), PairingMode::Id, "共通のID列なし"},
      {Cmyk({r, r, r}), Cmyk({r, r, r}, DeviceSpace::Rgb), PairingMode::Device,
       "デバイス値の色空間違い（CMYK・RGB）"},
  };
  for (const Case& c : cases) {
    const PairMap map = Map(c.reference, c.sample, c.mode);
    EXPECT_EQ(std::tuple(map.mode, map.byPosition, map.fallbackReason, map.paired),
              std::tuple(PairingMode::Position, true, c.reason, 3));
    EXPECT_EQ(PairMapStrip(Pair::ReferenceFile1, map), "基準–File1: " + c.reason + " 位置で比較");
  }
}

TEST(PairingMapTest, StripLinesNameThePairAndTheOutcome) {
  // Renumbered identifiers: the recipes tell that ID pairing went wrong.
  const Recipe a{0, 0, 0, 0}, b{50, 0, 0, 0};
  Measurement reference = Cmyk({a, b, a});
  reference.sampleName = {true, Names{"1", "2", "3"}};
  Measurement renumbered = Cmyk({b, a, a});
  renumbered.sampleName = {true, Names{"1", "2", "3"}};
  const PairMap wrong = Map(reference, renumbered, PairingMode::Id);
  EXPECT_EQ(wrong.deviceMismatches, 2);
  EXPECT_EQ(PairMapStrip(Pair::ReferenceFile1, wrong),
            "基準–File1: ID対応でデバイス値不一致 2/3 → デバイス値で対応を");
  EXPECT_EQ(Map(Named({"1"}), Named({"1"}), PairingMode::Id).deviceMismatches, std::nullopt);
}

}  // namespace
}  // namespace korimo
