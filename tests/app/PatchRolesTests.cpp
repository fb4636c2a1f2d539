#include "app/PatchRoles.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

DeviceValues Cmyk(std::span<const CmykRecipe> recipes) {
  DeviceValues device{DeviceSpace::Cmyk, {}};
  device.values.assign(recipes.begin(), recipes.end());
  return device;
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
}

// Each recipe at its first patch within half a percent in every channel,
// among the counted patches only; a recipe without one is missing.
TEST(PatchRoles, FirstPatchWithinHalfAPercentAmongTheCounted) {
  const std::vector<CmykRecipe> values{{0.5f, 0, 0, 0.5f}, {99.4f, 0, 0, 0}, {100, 0, 0, 0}, {}};
  const DeviceValues device = Cmyk(values);
  EXPECT_EQ(FindRolePatches(Role::Paper, device, 4).patches, std::vector{0});
  const RolePatches solids = FindRolePatches(Role::SolidsCmy, device, 4);
  EXPECT_EQ(std::pair(solids.patches, solids.missing), std::pair(std::vector{2}, 2));
  EXPECT_EQ(FindRolePatches(Role::SolidsCmy, device, 2).missing, 3);
  EXPECT_FALSE(FindRolePatches(Role::Paper, DeviceValues{}, 4).deviceValues);
}

}  // namespace
}  // namespace korimo
