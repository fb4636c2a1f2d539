#include "app/PatchRoles.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "core/MeasurementReader.h"

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

// FOGRA39L holds the 1617 patches of an IT8.7/4 chart, some recipes twice;
// a role takes the first. Expected patches looked up in the file itself
// (SAMPLE_ID less one).
TEST(PatchRoles, FirstOccurrenceInAWhole1617PatchChart) {
  auto data = std::make_unique<ComparisonData>();
  const ReadResult fogra = ReadMeasurementFile("/usr/share/color/icc/FOGRA39L.ti3", 0, *data);
  if (fogra.patches == 0)
    GTEST_SKIP() << "icc-profiles-free is not installed";
  ASSERT_EQ(fogra.patches, 1617);
  const DeviceValues& device = fogra.info.device;
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

}  // namespace
}  // namespace korimo
