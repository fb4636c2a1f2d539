#include "app/PatchRoles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/Characterization.h"

namespace korimo {
namespace {

DeviceValues Cmyk(std::span<const CmykRecipe> recipes) {
  DeviceValues device{DeviceSpace::Cmyk, {}};
  device.values.assign(recipes.begin(), recipes.end());
  return device;
}

// Recipes as the wedge's documentation numbers them (1-based).
TEST(MediaWedgeV3, SeventyTwoDistinctRecipesInWedgeOrder) {
  const auto wedge = MediaWedgeV3();
  ASSERT_EQ(wedge.size(), 72u);
  EXPECT_EQ(std::set<CmykRecipe>(wedge.begin(), wedge.end()).size(), 72u);
  const std::pair<int, CmykRecipe> spots[] = {
      {1, {100, 0, 0, 0}},    {10, {0, 10, 0, 0}},     {16, {0, 0, 0, 10}},
      {21, {0, 0, 0, 100}},   {22, {0, 100, 0, 100}},  {25, {100, 100, 0, 0}},
      {34, {0, 10, 10, 0}},   {39, {10, 0, 10, 0}},    {40, {10, 6, 6, 0}},
      {45, {100, 85, 85, 0}}, {47, {20, 100, 70, 60}}, {49, {100, 100, 100, 0}},
      {54, {20, 70, 70, 0}},  {62, {10, 40, 40, 0}},   {69, {0, 0, 0, 0}},
      {72, {70, 0, 0, 80}}};
  for (const auto& [number, recipe] : spots)
    EXPECT_EQ(wedge[static_cast<std::size_t>(number - 1)], recipe) << "patch " << number;
}

// A wedge file holds every recipe once, in wedge order: the roles are the
// wedge's patch numbers less one.
TEST(PatchRoles, FoundInAWedgeFile) {
  const DeviceValues device = Cmyk(MediaWedgeV3());
  const std::pair<Role, std::vector<int>> expected[] = {
      {Role::Paper, {68}},
      {Role::Solids, {0, 5, 10, 20}},
      {Role::SolidsCmy, {0, 5, 10}},
      {Role::Overprints, {24, 29, 34}},
      {Role::Grey, {39, 40, 41, 42, 43, 44}},
  };
  for (const auto& [role, patches] : expected) {
    const RolePatches found = FindRolePatches(role, device, 72);
    EXPECT_TRUE(found.deviceValues);
    EXPECT_EQ(found.missing, 0);
    EXPECT_EQ(found.patches, patches) << DefinitionOf(role).key;
  }
  const RolePatches mw3 = FindRolePatches(Role::Mw3, device, 72);
  ASSERT_EQ(mw3.patches.size(), 72u);
  for (int i = 0; i < 72; ++i)
    EXPECT_EQ(mw3.patches[static_cast<std::size_t>(i)], i);
}

// FOGRA39L holds the 1617 patches of an IT8.7/4 chart, some recipes twice;
// a role takes the first. Expected patches looked up in the file itself
// (SAMPLE_ID less one).
TEST(PatchRoles, FirstOccurrenceInAWhole1617PatchChart) {
  const testing::Characterization fogra = testing::ReadCharacterization(testing::kFogra39L);
  if (fogra.cmyk.empty())
    GTEST_SKIP() << "icc-profiles-free is not installed";
  ASSERT_EQ(fogra.cmyk.size(), 1617u);
  const DeviceValues device = Cmyk(fogra.cmyk);
  EXPECT_EQ(FindRolePatches(Role::Paper, device, 1617).patches, std::vector<int>{0});
  EXPECT_EQ(FindRolePatches(Role::Solids, device, 1617).patches,
            (std::vector<int>{72, 8, 648, 1259}));
  const RolePatches grey = FindRolePatches(Role::Grey, device, 1617);
  ASSERT_EQ(grey.patches.size(), 6u);
  EXPECT_EQ(grey.patches[0], 1372);  // 10/6/6/0
  EXPECT_EQ(grey.patches[2], 1370);  // 40/27/27/0
  EXPECT_EQ(grey.patches[5], 646);   // 100/85/85/0, also at a later patch
  const RolePatches mw3 = FindRolePatches(Role::Mw3, device, 1617);
  EXPECT_EQ(mw3.missing, 0);
  EXPECT_EQ(mw3.patches.size(), 72u);
}

TEST(PatchRoles, RecipesMatchWithinHalfAPercentPerChannel) {
  const struct {
    CmykRecipe value;
    bool paper;
  } cases[] = {
      {{0, 0, 0, 0}, true},     {{0.5f, 0, 0, 0.5f}, true}, {{0, 0.51f, 0, 0}, false},
      {{0, 0, 0, -0.5f}, true}, {{0, 0, -0.6f, 0}, false},
  };
  for (const auto& c : cases) {
    const std::array<CmykRecipe, 1> one{c.value};
    EXPECT_EQ(FindRolePatches(Role::Paper, Cmyk(one), 1).missing == 0, c.paper)
        << c.value[0] << "/" << c.value[1] << "/" << c.value[2] << "/" << c.value[3];
  }
}

TEST(PatchRoles, WithoutCmykOnlyAllIsFound) {
  DeviceValues rgb{DeviceSpace::Rgb, {{0, 0, 0, 0}, {100, 0, 0, 0}}};
  for (const DeviceValues& device : {DeviceValues{}, rgb}) {
    const RolePatches paper = FindRolePatches(Role::Paper, device, 2);
    EXPECT_FALSE(paper.deviceValues);
    EXPECT_TRUE(paper.patches.empty());
    EXPECT_EQ(FindRolePatches(Role::All, device, 2).patches, (std::vector<int>{0, 1}));
  }
}

}  // namespace
}  // namespace korimo
